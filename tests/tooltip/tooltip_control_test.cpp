// The tooltip control as a user meets it: when the tip comes and goes, what
// it draws, and where it goes on the screen. Timers are run by the test.
#include "ui/tooltip/tooltip.h"
#include "ui/tooltip/tooltip_control.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

using namespace helicordia;
using namespace helicordia::tip;

class TooltipControlTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> form;
    QListWidget *list = nullptr;
    std::unique_ptr<cTooltip> tooltip;
    TooltipControl *control = nullptr;

    void move(QPoint at = {20, 20}, QWidget *over = nullptr)
    {
        over = over ? over : list->viewport();
        QMouseEvent event(QEvent::MouseMove, at, over->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &event);
    }
    void send(QWidget *to, QEvent::Type type)
    {
        QEvent event(type);
        QApplication::sendEvent(to, &event);
    }

private slots:
    void init()
    {
        form = std::make_unique<QWidget>();
        list = new QListWidget(form.get());
        list->resize(200, 100);
        form->show();
        tooltip = std::make_unique<cTooltip>();
        QVERIFY(tooltip->create(form.get()));
        control = dynamic_cast<TooltipControl *>(tooltip->hwnd());
        tooltip->AddTool(list, "Full name");
    }
    void cleanup()
    {
        tooltip.reset();
        form.reset();
    }

    void delays_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QList<int>>("initialAutoPopReshow");
        QTest::newRow("defaults") << 1 << -1 << QList<int>{500, 5000, 100};
        QTest::newRow("automatic") << 0 << 1000 << QList<int>{1000, 10000, 200};
        QTest::newRow("auto-pop") << 2 << 4000 << QList<int>{500, 4000, 100};
    }
    void delays()
    {
        QFETCH(int, type);
        QFETCH(int, ms);
        QFETCH(QList<int>, initialAutoPopReshow);
        tooltip->DelayTime(type, ms);
        const QList<int> got{tooltip->DelayTime(3), tooltip->DelayTime(2), tooltip->DelayTime(1)};
        QCOMPARE(got, initialAutoPopReshow);
    }

    void showsAfterRestAndPops()
    {
        tooltip->DelayTime(2, 4000);
        move();
        QVERIFY(control->showTimer().isActive());
        QCOMPARE(control->showTimer().interval(), 500);
        QVERIFY(!control->tipShown());
        control->showTimerElapsed();
        QVERIFY(control->tipShown() && control->isVisible());
        QCOMPARE(control->popTimer().interval(), 4000);
        const QPoint at = list->viewport()->mapToGlobal(QPoint(20, 20));
        QVERIFY(control->geometry().top() > at.y());
        tooltip->ToolText(list, "Other entry");
        QVERIFY(control->relayoutTimer().isActive());
        control->relayoutTimerElapsed();
        QCOMPARE(control->shownText(), "Other entry");
        control->popTimerElapsed();
        QVERIFY(!control->isVisible());
        move(); // same item, same text: stays away
        QVERIFY(!control->showTimer().isActive());
        tooltip->ToolText(list, "Third entry"); // another item: back after the initial delay
        QCOMPARE(control->showTimer().interval(), 500);
        control->showTimerElapsed();
        QVERIFY(control->isVisible());
    }

    // A shown tip that takes another row's text goes beside the pointer; the
    // delays set again (as every move over the list does) do not keep it up longer.
    void followsThePointerToAnotherRow()
    {
        tooltip->DelayTime(2, 4000);
        move({20, 10});
        control->showTimerElapsed();
        move({20, 80});
        tooltip->ToolText(list, "A row further down");
        tooltip->DelayTime(2, 9000);
        control->relayoutTimerElapsed();
        QCOMPARE(control->shownText(), "A row further down");
        const QPoint pointer = list->viewport()->mapToGlobal(QPoint(20, 80));
        QCOMPARE(control->pos(), PlaceTip(pointer, control->size(), control->screen()->geometry()));
        QCOMPARE(control->popTimer().interval(), 4000);
    }

    // A tip that follows one just shown comes after the reshow delay; once
    // that delay has passed without a tip, the initial delay holds again.
    void reshowDelay_data()
    {
        QTest::addColumn<bool>("leaveFirst");
        QTest::newRow("leaving, then onto another tool") << true;
        QTest::newRow("straight onto another tool") << false;
    }
    void reshowDelay()
    {
        QFETCH(bool, leaveFirst);
        auto *other = new QWidget(form.get());
        tooltip->AddTool(other, "Other tool");
        tooltip->DelayTime(TTDT_INITIAL, 700);
        tooltip->DelayTime(TTDT_RESHOW, 30);
        move();
        control->showTimerElapsed();
        if (leaveFirst)
            send(list->viewport(), QEvent::Leave);
        move({5, 5}, other);
        QCOMPARE(control->showTimer().interval(), 30);
        control->showTimerElapsed();
        QCOMPARE(control->shownText(), "Other tool");
        send(other, QEvent::Leave);
        control->reshowWindowElapsed();
        move();
        QCOMPARE(control->showTimer().interval(), 700);
    }

    void hides_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("pointer leaves") << 0;
        QTest::newRow("mouse press") << 1;
        QTest::newRow("key") << 2;
        QTest::newRow("empty text") << 3;
    }
    void hides()
    {
        QFETCH(int, how);
        move();
        control->showTimerElapsed();
        QVERIFY(control->isVisible());
        if (how == 0)
            send(list->viewport(), QEvent::Leave);
        else if (how == 1)
            QTest::mousePress(form.get(), Qt::LeftButton);
        else if (how == 2)
            QTest::keyClick(form.get(), Qt::Key_A);
        else
            tooltip->ToolText(list, "");
        QVERIFY(!control->isVisible());
        control->showTimerElapsed();
        QVERIFY(!control->isVisible());
    }

    void readsBackNoMoreTextThanThereIsRoomFor()
    {
        char buffer[] = "#####";
        ToolInfo record;
        QVERIFY(control->EnumTools(0, record, std::span(buffer, 4)));
        QCOMPARE(QByteArray(buffer, sizeof buffer), QByteArray("Ful\0#", sizeof buffer));
        QCOMPARE(record.uId, WindowId(list));
        QVERIFY(!control->EnumTools(1, record, {}));
    }

    void drawsTitleAndColours()
    {
        tooltip->BackColor(0xDC7DFF); // pink
        tooltip->ForeColor(0x800000); // dark blue
        tooltip->Icon(TTI_INFO);
        tooltip->Title("Short title");
        move();
        control->showTimerElapsed();
        QCOMPARE(control->shownTitle(), "Short title");
        QCOMPARE(control->shownIcon(), TTI_INFO);
        const QImage image = control->grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 128));
        QCOMPARE(image.pixelColor(image.width() - 3, image.height() - 3), QColor(255, 125, 220));
    }

    void layoutWrapsAtMaxWidth()
    {
        TipContent content{QString("Title ").repeated(10), true, QString("word ").repeated(40), 120, {1, 2, 3, 4}};
        const QFont font;
        const TipGeometry g = LayoutTip(content, font, font, 16);
        QVERIFY(g.textRect.width() <= 120);
        QVERIFY(g.textRect.height() > 3 * QFontMetrics(font).height());
        QCOMPARE(g.textRect.left(), 1 + TipPadding + 1);
        QCOMPARE(g.size.height(), g.textRect.bottom() + 1 + 4 + TipPadding + 1);
        QVERIFY(g.iconRect.right() < g.titleRect.left());
        QVERIFY(g.titleRect.right() - g.iconRect.left() < 120);
        QCOMPARE(g.size.width(), 1 + TipPadding + 1 +
                                     std::max(g.textRect.width(), g.titleRect.right() + 1 - g.iconRect.left()) + 3 +
                                     TipPadding + 1);
    }

    void placement_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("below the pointer") << QPoint(100, 100) << QPoint(100, 120);
        QTest::newRow("above near the bottom") << QPoint(100, 590) << QPoint(100, 538);
        QTest::newRow("pulled in from the right") << QPoint(790, 100) << QPoint(700, 120);
        QTest::newRow("pulled in from the left") << QPoint(-50, 100) << QPoint(0, 120);
    }
    void placement()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, topLeft);
        QCOMPARE(PlaceTip(pointer, QSize(100, 50), QRect(0, 0, 800, 600)), topLeft);
        QCOMPARE(PlaceTip(pointer, QSize(900, 700), QRect(0, 0, 800, 600)), QPoint(0, 0));
    }
};

QTEST_MAIN(TooltipControlTest)
#include "tooltip_control_test.moc"
