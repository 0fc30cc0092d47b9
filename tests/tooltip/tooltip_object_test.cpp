// The tooltip object as its control sees it: what it sends, in what order,
// what it keeps, and where it refuses.
#include "tests/tooltip/recording_control.h"

#include <QTest>

using namespace helicordia;
using namespace helicordia::testing;

Q_DECLARE_METATYPE(std::function<void(cTooltip &)>)
using Steps = std::function<void(cTooltip &)>;

class TooltipObjectTest : public QObject {
    Q_OBJECT
    QStringList log;
    QWidget form;
    QWidget *list = nullptr;
    QWidget *other[3] = {};

private slots:
    void initTestCase()
    {
        form.setObjectName("form");
        list = new QWidget(&form);
        list->setObjectName("list");
        for (QWidget *&w : other)
            w = new QWidget(&form);
    }
    void init() { log.clear(); }

    void inertBeforeCreate_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("sentByCreate");
        QTest::newRow("nothing stored") << "" << 0 << QStringList();
        QTest::newRow("title, icon 0") << "T" << 0 << QStringList{"TTM_SETTITLEA 0 \"T\""};
        QTest::newRow("icon, no title") << "" << 1 << QStringList{"TTM_SETTITLEA 1 \"\""};
    }
    void inertBeforeCreate()
    {
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QStringList, sentByCreate);
        int made = 0;
        cTooltip tip = RecordingTooltip(log, &made);
        QCOMPARE(tip.hwnd(), nullptr);
        QCOMPARE(tip.ToolCount(), 0);
        QCOMPARE(tip.ToolText(list), QString());
        QCOMPARE(tip.BackColor() | tip.ForeColor() | tip.DelayTime(2) | tip.Margin(0), 0);
        QCOMPARE(tip.MaxTipWidth(), 0);
        QVERIFY(!tip.AddTool(list, "x"));
        QVERIFY(!tip.RemoveTool(list));
        tip.Title(title);
        tip.Icon(icon);
        QCOMPARE(tip.Title(), title);
        QCOMPARE(made, 0);
        QVERIFY(tip.create(&form));
        QVERIFY(tip.create(&form));
        QCOMPARE(made, 1);
        QCOMPARE(log, sentByCreate);
    }

    void failedCreateTriesAgain()
    {
        int calls = 0;
        unsigned style = 0;
        cTooltip tip([&](QWidget *, unsigned s) -> std::unique_ptr<tip::TooltipWindow> {
            style = s;
            return ++calls == 1 ? nullptr : std::make_unique<RecordingControl>(log);
        });
        QVERIFY(!tip.create(&form));
        QVERIFY(!tip.AddTool(list));
        QVERIFY(tip.create(&form));
        QCOMPARE(style, tip::TTS_ALWAYSTIP);
        QVERIFY(tip.AddTool(list));
    }

    void tools()
    {
        cTooltip tip = RecordingTooltip(log);
        tip.create(&form);
        QVERIFY(tip.AddTool(list, "first"));
        QCOMPARE(log.last(), "TTM_ADDTOOLA 0 {44 17 form list \"first\"}");
        QVERIFY(!tip.AddTool(list, "second"));
        QCOMPARE(tip.ToolText(list), "first");
        QVERIFY(!tip.RemoveTool(other[0]));
        QVERIFY(tip.AddTool(other[0]) && tip.AddTool(other[1]));
        QCOMPARE(tip.ToolText(other[1]), "Tool3");

        // The read buffer only grows: 10 characters, then 3.
        tip.ToolText(list, "0123456789");
        tip.ToolText(list, "abc");
        QCOMPARE(tip.TextBufferLength(), 11);
        QCOMPARE(tip.ToolText(list), "abc");
        log.clear();
        QVERIFY(tip.RemoveTool(list));
        QCOMPARE(log, (QStringList{"TTM_GETTOOLCOUNT 0", "TTM_ENUMTOOLSA 0 {44 0 0 0}",
                                   "TTM_DELTOOLA 0 {44 17 form list \"\"}"}));
        QCOMPARE(tip.TextBufferLength(), 11);
        QVERIFY(tip.AddTool(other[2]));
        QCOMPARE(tip.ToolText(other[2]), "Tool3");
        QVERIFY(tip.AddTool(list));
        QCOMPARE(tip.ToolText(list), "Tool4");
        QCOMPARE(tip.ToolCount(), 4);
    }

    void settings_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<Steps>("check");
        auto row = [](const char *name, Steps steps, QStringList sent, Steps check) {
            QTest::newRow(name) << steps << sent << check;
        };
        row(
            "width 0", [](cTooltip &t) { t.MaxTipWidth(0); }, {"TTM_SETMAXTIPWIDTH 0 -1"},
            [](cTooltip &t) { QCOMPARE(t.MaxTipWidth(), -1); });
        row("width -7", [](cTooltip &t) { t.MaxTipWidth(-7); }, {"TTM_SETMAXTIPWIDTH 0 -1"}, {});
        row(
            "width 300", [](cTooltip &t) { t.MaxTipWidth(300); }, {"TTM_SETMAXTIPWIDTH 0 300"},
            [](cTooltip &t) { QCOMPARE(t.MaxTipWidth(), 300); });
        row(
            "delay 6 is auto-pop", [](cTooltip &t) { t.DelayTime(6, 4000); }, {"TTM_SETDELAYTIME 2 4000"},
            [](cTooltip &t) { QCOMPARE(t.DelayTime(2), 4000); });
        row(
            "margin 4",
            [](cTooltip &t) {
                t.Margin(1, 7);
                t.Margin(4, 9);
            },
            {"TTM_GETMARGIN 0", "TTM_SETMARGIN 0 {0 7 0 0}", "TTM_GETMARGIN 0", "TTM_SETMARGIN 0 {0 7 0 0}"},
            [](cTooltip &t) {
                QCOMPARE(t.Margin(4), 0);
                QCOMPARE(t.Margin(1), 7);
            });
        row(
            "colours",
            [](cTooltip &t) {
                t.BackColor(0xDC7DFF);
                t.ForeColor(0x800000);
            },
            {"TTM_SETTIPBKCOLOR 14450175", "TTM_SETTIPTEXTCOLOR 8388608"},
            [](cTooltip &t) {
                QCOMPARE(t.BackColor(), 0xDC7DFF);
                QCOMPARE(t.ForeColor(), 0x800000);
            });
        row("title then icon",
            [](cTooltip &t) {
                t.Title("A");
                t.Icon(1);
            },
            {"TTM_SETTITLEA 0 \"A\"", "TTM_SETTITLEA 1 \"A\""}, {});
        row("icon without title", [](cTooltip &t) { t.Icon(2); }, {}, {});
        row(
            "cleared title is kept, not sent",
            [](cTooltip &t) {
                t.Title("A");
                t.Title("");
            },
            {"TTM_SETTITLEA 0 \"A\""}, [](cTooltip &t) { QCOMPARE(t.Title(), ""); });
        row(
            "icon 0 is kept, not sent",
            [](cTooltip &t) {
                t.Title("A");
                t.Icon(1);
                t.Icon(0);
            },
            {"TTM_SETTITLEA 0 \"A\"", "TTM_SETTITLEA 1 \"A\""}, [](cTooltip &t) { QCOMPARE(t.Icon(), 0); });
    }
    void settings()
    {
        QFETCH(Steps, steps);
        QFETCH(Steps, check);
        QFETCH(QStringList, sent);
        cTooltip tip = RecordingTooltip(log);
        tip.create(&form);
        steps(tip);
        QCOMPARE(log, sent);
        if (check)
            check(tip);
    }

    void failures()
    {
        RecordingControl *control = nullptr;
        cTooltip tip = RecordingTooltip(log, nullptr, &control);
        QWidget loose;
        QVERIFY_THROWS_EXCEPTION(TooltipError, tip.AddTool(nullptr));
        QVERIFY_THROWS_EXCEPTION(TooltipError, tip.AddTool(&loose));
        tip.create(&form);
        QVERIFY_THROWS_EXCEPTION(TooltipError, tip.ToolText(nullptr, "x"));
        control->toolCount = 32767;
        QCOMPARE(tip.ToolCount(), 32767);
        QVERIFY_THROWS_EXCEPTION(TooltipError, tip.AddTool(list));
        control->toolCount = 32768;
        QVERIFY_THROWS_EXCEPTION(TooltipError, tip.ToolCount());
        QCOMPARE(tip.TextBufferLength(), 0);
    }
};

QTEST_MAIN(TooltipObjectTest)
#include "tooltip_object_test.moc"
