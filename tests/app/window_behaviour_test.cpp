// The main window's own behaviour with real mouse events: hover colours and
// frames, dragging, the Options menu and its commands, minimise and restore,
// and the two ways to close.
#include "app/mainwindow.h"
#include "platform/platform.h"
#include "ui/about/about_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

using namespace helicordia;

namespace {

class TestPlatform : public Platform {
public:
    QTemporaryDir dir;
    QStringList messages;
    QList<int> ends;
    QList<QUrl> urls;
    bool opens = true; // whether some program takes what is handed over

    void message(const QString &, const QString &text) override { messages << text; }
    void endProgram(int status) override { ends << status; }
    QString programFolder() const override { return dir.path(); }
    std::unique_ptr<QSettings> openSettings() override
    {
        return std::make_unique<QSettings>(dir.filePath("settings.ini"), QSettings::IniFormat);
    }
    bool openUrl(const QUrl &url) override
    {
        urls << url;
        return opens;
    }
};

// A point of the window's background that no control covers.
const QPoint Background(100, 62);

} // namespace

class WindowBehaviourTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestPlatform> platform;
    std::unique_ptr<MainWindow> window;

    template <typename T = QWidget> T *control(const QString &name) { return window->findChild<T *>(name); }
    QColor textColour(const QString &name) { return control(name)->palette().color(QPalette::WindowText); }
    bool framed(const QString &name) { return control<QLabel>(name)->frameShape() != QFrame::NoFrame; }
    QMenu *menu() { return window->findChild<QMenu *>(); }

private slots:
    void init()
    {
        platform = std::make_unique<TestPlatform>();
        QImage background(623, 460, QImage::Format_RGB32);
        background.fill(QColor(200, 210, 220));
        QVERIFY(background.save(platform->dir.filePath("Background_5.jpg"), "JPG"));
        QFile catalogue(platform->dir.filePath("db.db"));
        QVERIFY(catalogue.open(QIODevice::WriteOnly));
        for (int n = 1; n <= 1553; ++n)
            catalogue.write("Entry (reference) - 440\r\n");
        catalogue.close();
        QCoreApplication::setApplicationName("Helicordia");
        QCoreApplication::setApplicationVersion("1.0.0");
        window = std::make_unique<MainWindow>(*platform);
        QVERIFY(window->Form_Load());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        if (QMenu *m = menu())
            m->hide();
        window.reset();
        platform.reset();
    }

    // Each step moves the pointer (or presses) on a control; then "Options"
    // and "Recent" have these colours and only the named picture is framed.
    void hoverFeedback()
    {
        const QColor grey(64, 64, 64), darkBlue(0, 0, 192), blue(0, 0, 255), red(255, 0, 0), cyan(0, 255, 255);
        struct Step {
            const char *target;
            bool press;
            QColor options, recent;
            const char *framed;
        };
        const Step steps[] = {
            {"optionsLink", false, red, darkBlue, ""},
            {"", false, blue, blue, ""},
            {"optionsLink", false, red, blue, ""},
            {"", false, blue, blue, ""},
            {"recentLink", true, blue, cyan, ""},
            {"playButton", false, blue, cyan, "playButton"},
            {"", false, blue, blue, ""},
            {"searchButton", false, blue, blue, "searchButton"},
            {"", false, blue, blue, ""},
            {"helpButton", false, blue, blue, "helpButton"},
            {"", false, blue, blue, ""},
        };
        QCOMPARE(textColour("optionsLink"), grey);
        QCOMPARE(textColour("recentLink"), darkBlue);
        int n = 0;
        for (const Step &step : steps) {
            const QString where = QString("step %1").arg(n++);
            QWidget *target = *step.target ? control(step.target) : window.get();
            const QPoint at = *step.target ? QPoint(4, 4) : Background;
            if (step.press) {
                QTest::mousePress(target, Qt::LeftButton, {}, at);
                QTest::mouseRelease(target, Qt::LeftButton, {}, at + QPoint(400, 0)); // let go elsewhere
                control("recentList")->hide();
            } else {
                QTest::mouseMove(target, at);
            }
            QVERIFY2(textColour("optionsLink") == step.options, qPrintable(where));
            QVERIFY2(textColour("recentLink") == step.recent, qPrintable(where));
            for (const char *picture : {"playButton", "searchButton", "helpButton"})
                QVERIFY2(framed(picture) == (QString(picture) == step.framed), qPrintable(where + " " + picture));
        }
    }

    void drag_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("background") << "" << Qt::LeftButton << true;
        QTest::newRow("title") << "titleLabel" << Qt::LeftButton << true;
        QTest::newRow("right button") << "" << Qt::RightButton << false;
        QTest::newRow("search caption") << "searchCaption" << Qt::LeftButton << false;
        QTest::newRow("play caption") << "playCaption" << Qt::LeftButton << false;
    }
    void drag()
    {
        QFETCH(QString, from);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);
        QWidget *source = from.isEmpty() ? window.get() : control(from);
        const QPoint at = from.isEmpty() ? Background : QPoint(10, 8);
        const QPoint start = window->pos();
        QTest::mousePress(source, button, {}, at);
        // A dragged window's left and top lie on the 32-twip grid.
        auto onGrid = [](int pixels) { return qRound(qRound(pixels * 15 / 32.0) * 32 / 15.0) == pixels; };
        for (int step = 1; step <= 3; ++step) {
            // The pointer moves on the screen while the window moves under it.
            QTest::mouseMove(source, at + QPoint(23 * step, 11 * step) - (window->pos() - start));
            if (moves)
                QVERIFY(onGrid(window->x()) && onGrid(window->y()));
        }
        QTest::mouseRelease(source, button, {}, at + QPoint(69, 33) - (window->pos() - start));
        const QPoint moved = window->pos() - start;
        if (moves) {
            QVERIFY2(qAbs(moved.x() - 69) <= 3 && qAbs(moved.y() - 33) <= 3,
                     qPrintable(QString("%1,%2").arg(moved.x()).arg(moved.y())));
        } else {
            QCOMPARE(moved, QPoint());
        }
    }

    void optionsMenu()
    {
        QStringList captions;
        for (QAction *item : menu()->actions())
            captions << (item->isSeparator() ? "-" : item->text());
        QCOMPARE(captions,
                 QStringList({"About", "Help", "Interfata in limba Romana", "English interface", "-", "Exit"}));

        // Any button opens it on the press, at the pointer.
        window->move(0, 0);
        QTest::mousePress(control("optionsLink"), Qt::RightButton, {}, QPoint(6, 5));
        QVERIFY(menu()->isVisible());
        QCOMPARE(menu()->pos(), control("optionsLink")->mapToGlobal(QPoint(6, 5)));
        QCOMPARE(textColour("optionsLink"), QColor(0, 255, 255));
        menu()->hide();

        // A language item takes the mark from the other one; both read the
        // same whichever language is chosen.
        QAction *romanian = menu()->actions()[2];
        QAction *english = menu()->actions()[3];
        for (QAction *item : {romanian, english, english, romanian}) {
            item->trigger();
            QCOMPARE(romanian->isChecked(), item == romanian);
            QCOMPARE(english->isChecked(), item == english);
            QCOMPARE(romanian->text(), QString("Interfata in limba Romana"));
            QCOMPARE(english->text(), QString("English interface"));
        }
        english->trigger();
    }

    void aboutTwice()
    {
        QStringList shown;
        for (int time = 0; time < 2; ++time) {
            QTimer::singleShot(0, this, [&] {
                auto *about = window->findChild<AboutWindow *>();
                QVERIFY(about && about->isVisible() && about->isModal());
                shown << about->notesText();
                about->findChild<QWidget *>("closeButton")->setFocus();
                QTest::mouseClick(about->findChild<QWidget *>("closeButton"), Qt::LeftButton);
            });
            menu()->actions()[0]->trigger();
        }
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], shown[1]);
        QVERIFY(shown[0].startsWith("Helicordia\r\nver. 1.0.0\r\n\r\n"));
    }

    void help()
    {
        const QString page = platform->dir.filePath("helicordia_help.html");
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        menu()->actions()[1]->trigger();
        QTest::mousePress(control("helpButton"), Qt::RightButton, {}, QPoint(4, 4));
        QCOMPARE(platform->urls, QList<QUrl>({QUrl::fromLocalFile(page), QUrl::fromLocalFile(page)}));
        QVERIFY(platform->messages.isEmpty());

        // No program to show it: said so, with the file to open another way.
        platform->opens = false;
        menu()->actions()[1]->trigger();
        QCOMPARE(platform->messages.size(), 1);
        QVERIFY(platform->messages[0].startsWith("The help page could not be opened"));
        QVERIFY(platform->messages[0].contains(QDir::toNativeSeparators(page)));

        QVERIFY(QFile::remove(page));
        menu()->actions()[1]->trigger();
        QCOMPARE(platform->urls.size(), 3);
        QCOMPARE(platform->messages.size(), 2);
        QVERIFY(platform->messages[1].contains(QDir::toNativeSeparators(page)));
    }

    void minimiseAndRestore()
    {
        auto *list = control<QTreeView>("catalogueList");
        list->header()->setStretchLastSection(false);
        list->header()->resizeSection(0, 40);
        QTest::mouseClick(control("minimiseButton"), Qt::LeftButton);
        QVERIFY(window->isMinimized());
        window->showNormal();
        QVERIFY(!window->isMinimized());
        QCOMPARE(list->header()->sectionSize(0), list->viewport()->width());
    }

    void exitAndClosePicture_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Exit item") << true;
        QTest::newRow("close picture") << false;
    }
    void exitAndClosePicture()
    {
        QFETCH(bool, fromMenu);
        window->move(320, 64);
        if (fromMenu)
            menu()->actions().last()->trigger();
        else
            QTest::mouseClick(control("closeButton"), Qt::LeftButton);
        QCOMPARE(platform->ends, QList<int>{0});
        QSettings stored(platform->dir.filePath("settings.ini"), QSettings::IniFormat);
        QCOMPARE(stored.value("Startup/Left").toString(), QString("4800"));
        QVERIFY(QFile::exists(platform->dir.filePath("Dic.ini")));
    }
};

QTEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
