// Both windows without a mouse, and as a screen reader sees them: real key
// events, and a walk through the accessibility tree.
#include "app/main_window_access.h"
#include "app/mainwindow.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "treatment/player.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace helicordia;
using namespace helicordia::test;

namespace {

// Every visible control a user can act on or read, by role, with its name.
void Walk(QAccessibleInterface *node, const QString &path, QStringList &unnamed, int &controls)
{
    static const QList<QAccessible::Role> containers = {
        QAccessible::Client,   QAccessible::Window,       QAccessible::Pane,      QAccessible::Grouping,
        QAccessible::Border,   QAccessible::Separator,    QAccessible::ScrollBar, QAccessible::Row,
        QAccessible::Cell,     QAccessible::ColumnHeader, QAccessible::RowHeader, QAccessible::ListItem,
        QAccessible::TreeItem, QAccessible::StatusBar};
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        const QAccessible::Role role = child->role();
        const QString where = path + "/" + (child->object() ? child->object()->objectName() : QString::number(i));
        // A label with nothing in it has nothing to read.
        const bool emptyText = role == QAccessible::StaticText && child->text(QAccessible::Value).isEmpty() &&
                               child->text(QAccessible::Name).isEmpty();
        if (!containers.contains(role) && !emptyText) {
            ++controls;
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QString("%1 (role 0x%2)").arg(where).arg(int(role), 0, 16);
        }
        if (role != QAccessible::List && role != QAccessible::Tree && role != QAccessible::Table)
            Walk(child, where, unnamed, controls);
    }
}

} // namespace

class AccessTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<MainWindow> window;
    QList<int> played;

    QLineEdit *search() const { return window->searchBox(); }
    int currentRow() const { return window->catalogueList()->currentIndex().row(); }

private slots:
    void initTestCase()
    {
        // The shipped catalogue and picture, copied beside a Dic.ini of our own.
        const QDir shipped(QCoreApplication::applicationDirPath());
        for (const char *name : {"db.db", "Background_5.jpg"})
            QVERIFY(QFile::copy(shipped.filePath(name), dir.filePath(name)));
        QFile recent(dir.filePath("Dic.ini"));
        QVERIFY(recent.open(QIODevice::WriteOnly));
        recent.write("Alpha\r\nBeta\r\n");
    }
    void init()
    {
        played.clear();
        platform = std::make_unique<RecordingPlatform>(dir.path());
        window = std::make_unique<MainWindow>(*platform);
        window->setPlayerStart([this](int n, const QString &, const QString &) { played << n; });
        QVERIFY(window->Form_Load());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QVERIFY(search()->hasFocus());
    }
    void cleanup() { window.reset(); }

    void searchBoxKeysMoveTheListSelection()
    {
        QCOMPARE(currentRow(), 0);
        QTest::keyClick(search(), Qt::Key_Down);
        QTest::keyClick(search(), Qt::Key_Down);
        QCOMPARE(currentRow(), 2);
        QTest::keyClick(search(), Qt::Key_Up);
        QCOMPARE(currentRow(), 1);
        QTest::keyClick(search(), Qt::Key_PageDown);
        const int page = currentRow() - 1;
        QVERIFY2(page > 5, qPrintable(QString::number(page)));
        QTest::keyClick(search(), Qt::Key_PageUp);
        QCOMPARE(currentRow(), 1);
        QTest::keyClick(search(), Qt::Key_Up);
        QTest::keyClick(search(), Qt::Key_Up); // stays on the first row
        QCOMPARE(currentRow(), 0);
        QVERIFY(search()->hasFocus());
    }

    void ctrlEnterPlaysTheSelectedEntry()
    {
        QTest::keyClicks(search(), "A major scale");
        QTest::keyClick(search(), Qt::Key_Down);
        const QString chosen = window->selectedItemText();
        QTest::keyClick(search(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(played.size(), 1);
        QCOMPARE(QString("#%1.").arg(played[0], 4, 10, QChar('0')), chosen.left(6));
        // The key's release did not run the search again (which would select the first row).
        QCOMPARE(window->selectedItemText(), chosen);
        // A descriptive entry is refused as with the Play picture.
        search()->clear();
        QTest::keyClick(search(), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(played.size() + platform->messages.size(), 2);
    }

    void recentListByKeys()
    {
        QListWidget *recent = window->recentList();
        QTest::keyClick(search(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(recent->isVisible());
        QVERIFY(recent->hasFocus());
        QTest::keyClick(recent, Qt::Key_Down);
        QTest::keyClick(recent, Qt::Key_Return);
        QVERIFY(!recent->isVisible());
        QCOMPARE(search()->text(), QString("Beta"));
        QTest::keyClick(search(), Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(recent, Qt::Key_Escape);
        QVERIFY(!recent->isVisible());
        QVERIFY(search()->hasFocus());
    }

    void ctrlQEndsFromAnyWindow()
    {
        int quits = 0;
        QuitKey quit([&] { ++quits; });
        qApp->installEventFilter(&quit);
        QTest::keyClick(search(), Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(window->catalogueList(), Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(search(), Qt::Key_Q); // a plain q is typed
        qApp->removeEventFilter(&quit);
        QCOMPARE(quits, 2);
        QCOMPARE(search()->text(), QString("q"));
    }

    void playerKeys()
    {
        RecordingEngine engine;
        QWidget mainWindow;
        Player player(engine, *platform, &mainWindow);
        player.Player_Start(5, "Test", "440,528,741");
        player.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&player));
        const auto state = [&] { return int(player.core().state()); };
        // Keys go where the focus is: here the status line, a read-only text box.
        player.findChild<QLineEdit *>("statusLine")->setFocus();
        const auto key = [&](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        key(Qt::Key_Space);
        QCOMPARE(state(), int(PlayerState::Playing));
        key(Qt::Key_N);
        QCOMPARE(player.core().currentFrequency(), 1);
        key(Qt::Key_Space);
        QCOMPARE(state(), int(PlayerState::Paused));
        key(Qt::Key_Space);
        QVERIFY(state() != int(PlayerState::Paused) && state() != int(PlayerState::Stopped));
        key(Qt::Key_H);
        QCOMPARE(state(), int(PlayerState::Holding));
        key(Qt::Key_H);
        QVERIFY(state() != int(PlayerState::Holding));
        key(Qt::Key_S);
        QCOMPARE(state(), int(PlayerState::Stopped));
        key(Qt::Key_Escape);
        QVERIFY(!player.isVisible());
        QVERIFY(mainWindow.isVisible());
    }

    void everyControlHasAName()
    {
        RecordingEngine engine;
        Player player(engine, *platform, window.get());
        player.Player_Start(5, "Test", "440,528");
        for (QWidget *top : {static_cast<QWidget *>(window.get()), static_cast<QWidget *>(&player)}) {
            top->show();
            QStringList unnamed;
            int controls = 0;
            QAccessibleInterface *root = QAccessible::queryAccessibleInterface(top);
            QVERIFY(root);
            QVERIFY(!root->text(QAccessible::Name).isEmpty());
            Walk(root, top->objectName(), unnamed, controls);
            QVERIFY2(controls > 10, qPrintable(QString::number(controls)));
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join("\n")));
        }
        // The sliders say their value as it is heard.
        auto *volume = player.findChild<QSlider *>("volumeSlider");
        volume->setValue(512);
        QCOMPARE(volume->accessibleDescription(), QString("50 %"));
        auto *pan = player.findChild<QSlider *>("panSlider");
        pan->setValue(-256);
        QCOMPARE(pan->accessibleDescription(), QString("50 % left"));
        auto *length = player.findChild<QSlider *>("lengthSlider");
        length->setValue(length->maximum());
        QVERIFY(length->accessibleDescription().contains("h:"));
    }
};

QTEST_MAIN(AccessTest)
#include "access_test.moc"
