// The main window as a user meets it: start-up and its failures, search,
// the recent list, playing an entry, and what shutdown leaves behind.
#include "app/mainwindow.h"
#include "platform/platform.h"
#include "ui/tooltip/tooltip.h"
#include "ui/tooltip/tooltip_control.h"
#include "ui/twips.h"
#include "ui/window_drag.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

using namespace helicordia;

namespace {

struct Played {
    int numar;
    QString description;
    QString frecvente;
};

QStringList CatalogueLines()
{
    QStringList lines;
    for (int n = 1; n <= 1553; ++n)
        lines << QString("Filler entry (reference) - 440");
    lines[0] = "Alpha complaint (example) - 10,20.5,30";
    lines[1] = "ALPHA wave set - 528, 741";
    lines[6] = "How to use the programs";
    lines[41] = "  Beta - 528 ";
    lines[99] = "";
    return lines;
}

// Program folder and settings in a temporary folder; messages and ends kept.
class TestPlatform : public Platform {
public:
    std::unique_ptr<QTemporaryDir> dir;
    QStringList messages;
    QList<int> ends;
    bool settingsUnavailable = false;

    void message(const QString &caption, const QString &text) override { messages << caption + "|" + text; }
    void endProgram(int status) override { ends << status; }
    QString programFolder() const override { return dir->path(); }
    std::unique_ptr<QSettings> openSettings() override
    {
        if (settingsUnavailable)
            return nullptr;
        return std::make_unique<QSettings>(dir->filePath("settings.ini"), QSettings::IniFormat);
    }
    bool openUrl(const QUrl &) override { return true; }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    TestPlatform platform;
    std::unique_ptr<QTemporaryDir> &dir = platform.dir;
    QStringList &messages = platform.messages;
    QList<int> &ends = platform.ends;
    bool &settingsUnavailable = platform.settingsUnavailable;
    QList<Played> played;

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void writeCatalogue(const QStringList &lines) { writeFile("db.db", lines.join("\r\n").toUtf8() + "\r\n"); }

    std::unique_ptr<MainWindow> started()
    {
        auto window = std::make_unique<MainWindow>(platform);
        window->setPlayerStart([this](int n, const QString &d, const QString &f) { played.append({n, d, f}); });
        if (!window->Form_Load())
            return nullptr;
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("main window did not become active");
        return window;
    }

    QSettings storedSettings() const { return QSettings(dir->filePath("settings.ini"), QSettings::IniFormat); }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        messages.clear();
        ends.clear();
        played.clear();
        settingsUnavailable = false;
        QImage background(623, 460, QImage::Format_RGB32);
        background.fill(QColor(200, 210, 220));
        QVERIFY(background.save(dir->filePath("Background_5.jpg"), "JPG"));
        writeCatalogue(CatalogueLines());
        QCoreApplication::setApplicationVersion("2.10.0");
    }
    void cleanup() { QImageReader::setAllocationLimit(256); }

    void startUpShowsTheWholeCatalogue()
    {
        auto window = started();
        QVERIFY(window);
        QCOMPARE(window->titleLabel()->text(), QString("Helicordia ver. 2.10.0"));
        QCOMPARE(window->matchCountLabel()->text(), QString("1552")); // the empty line is never listed
        QCOMPARE(window->selectedItemText(), QString("#0001. Alpha complaint (example) "));
        QCOMPARE(window->catalogue().entry(1553), QString("Filler entry (reference) - 440"));
        QVERIFY(window->recentNames().isEmpty());
        QVERIFY(!window->recentList()->isVisible());
        // The outline cuts the corners off, and the window holds all of it:
        // the bottom corners are rounded as far as the top ones.
        QCOMPARE(window->mask(), QRegion(window->outline(), Qt::OddEvenFill));
        QVERIFY(window->rect().contains(window->mask().boundingRect()));
        QVERIFY(!window->mask().contains(QPoint(0, 0)));
        QVERIFY(!window->mask().contains(QPoint(621, 455)));
        QVERIFY(window->mask().contains(QPoint(300, 200)));
        // First run: default position and the English check mark.
        QCOMPARE(window->pos(), QPoint(200, 200));
        QVERIFY(window->englishChecked());
        QVERIFY(!window->romanianChecked());
        QVERIFY(messages.isEmpty());
        QVERIFY(ends.isEmpty());
    }

    void layoutKeepsControlsInsideUncoveredAndInTheirFonts()
    {
        // What a layout can get wrong: a control outside the window, a
        // clickable one under another, a font other than the one given.
        auto window = started();
        QVERIFY(window);
        for (const ControlPlace &place : MainWindow::controls()) {
            const auto *control = window->findChild<QWidget *>(place.name);
            QVERIFY2(control, place.name);
            QVERIFY2(window->rect().contains(control->geometry()), place.name);
            if (place.font.points > 0) {
                QCOMPARE(control->font().family(), QString("Arial"));
                QCOMPARE(control->font().pointSizeF(), place.font.points);
                QCOMPARE(control->font().bold(), place.font.bold);
                QCOMPARE(control->font().underline(), place.font.underline);
            }
            if (!place.clickable)
                continue;
            const QRect r = control->geometry();
            for (const QPoint p : {r.center(), r.topLeft() + QPoint(2, 2), r.bottomRight() - QPoint(2, 2)}) {
                const QWidget *hit = window->childAt(p);
                QVERIFY2(hit == control || control->isAncestorOf(hit), place.name);
            }
        }
    }

    void startUpFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // "-" removes the file
        QTest::addColumn<QString>("mustMention");
        QTest::newRow("background missing") << "Background_5.jpg" << QByteArray("-") << "Background_5.jpg";
        QTest::newRow("background not a picture")
            << "Background_5.jpg" << QByteArray("not a jpeg") << "Background_5.jpg";
        QTest::newRow("catalogue missing") << "db.db" << QByteArray("-") << "db.db";
        QTest::newRow("catalogue short") << "db.db" << QByteArray("a - 1\r\nb - 2\r\nc\r\n") << "3";
        QTest::newRow("catalogue is a pipe") << "db.db" << QByteArray("fifo") << "not a regular file";
        QTest::newRow("background too large") << "Background_5.jpg" << QByteArray("big") << "too large";
    }
    void startUpFailures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, mustMention);
        if (content == "-" || content == "fifo")
            QVERIFY(QFile::remove(dir->filePath(file)));
        if (content == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(dir->filePath(file)).constData(), 0600), 0);
        if (content == "big") {
            QImage picture(1200, 1200, QImage::Format_RGB32);
            picture.fill(Qt::gray);
            QVERIFY(picture.save(dir->filePath(file), "JPG"));
            QImageReader::setAllocationLimit(1); // MB: the reader refuses this picture
        }
        if (content != "-" && content != "fifo" && content != "big")
            writeFile(file, content);
        writeFile("Dic.ini", "kept\r\n");

        MainWindow window(platform);
        QVERIFY(!window.Form_Load());
        QCOMPARE(ends, QList<int>{1});
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(file), qPrintable(messages.first()));
        QVERIFY2(messages.first().contains(mustMention), qPrintable(messages.first()));
        // Nothing is written.
        QVERIFY(!QFile::exists(dir->filePath("settings.ini")));
        QFile recent(dir->filePath("Dic.ini"));
        QVERIFY(recent.open(QIODevice::ReadOnly));
        QCOMPARE(recent.readAll(), QByteArray("kept\r\n"));
    }

    void searchFiltersAtEveryKeystroke()
    {
        auto window = started();
        QVERIFY(window);
        QLineEdit *box = window->searchBox();
        QTest::keyClicks(box, "alp");
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
        QCOMPARE(window->selectedItemText(), QString("#0001. Alpha complaint (example) "));
        box->clear();
        QTest::keyClicks(box, "ALPHA");
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
        box->setText("   ");
        QCOMPARE(window->matchCountLabel()->text(), QString("1552"));
        box->setText("528");
        QCOMPARE(window->catalogueList()->model()->rowCount(), 2); // frequency lists are searched too
        box->setText("no such thing");
        QCOMPARE(window->matchCountLabel()->text(), QString("0"));
        QVERIFY(window->selectedItemText().isEmpty());
    }

    void keypadEnterSearches()
    {
        auto window = started();
        QVERIFY(window);
        QLineEdit *box = window->searchBox();
        {
            const QSignalBlocker quiet(box); // typed, not yet searched
            box->setText("alpha");
        }
        QCOMPARE(window->matchCountLabel()->text(), QString("1552"));
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
    }

    void titleDragsTheWindow()
    {
        auto window = started();
        QVERIFY(window);
        QWidget *title = window->titleLabel();
        const QPoint start = window->pos();
        const QPoint grip(20, 10), globalGrip = title->mapToGlobal(grip);
        QMouseEvent press(QEvent::MouseButtonPress, grip, globalGrip, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(title, &press);
        const QPoint moved = globalGrip + QPoint(120, 64);
        QMouseEvent move(QEvent::MouseMove, title->mapFromGlobal(moved), moved, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(title, &move);
        // Positions snap to 32 twips, about two pixels.
        QVERIFY2((window->pos() - (start + QPoint(120, 64))).manhattanLength() <= 4,
                 qPrintable(QString("%1,%2").arg(window->pos().x()).arg(window->pos().y())));
        QMouseEvent release(QEvent::MouseButtonRelease, title->mapFromGlobal(moved), moved, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(title, &release);
        const QPoint after = window->pos();
        QMouseEvent hover(QEvent::MouseMove, grip, globalGrip, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(title, &hover);
        QCOMPARE(window->pos(), after); // no button, no drag
    }

    void playingAPlayableEntry()
    {
        auto window = started();
        QVERIFY(window);
        window->playButton_Click();
        QCOMPARE(played.size(), 1);
        QCOMPARE(played[0].numar, 1);
        QCOMPARE(played[0].description, QString("Alpha complaint (example) "));
        QCOMPARE(played[0].frecvente, QString("10,20.5,30"));
        QCOMPARE(window->recentNames(), QStringList{"Alpha complaint (example)"});

        window->searchBox()->setText("Beta");
        window->playButton_Click();
        QCOMPARE(played.size(), 2);
        QCOMPARE(played[1].numar, 42);
        QCOMPARE(played[1].description, QString("  Beta "));
        QCOMPARE(played[1].frecvente, QString("528"));
        QCOMPARE(window->recentNames(), (QStringList{"Beta", "Alpha complaint (example)"}));
        QVERIFY(messages.isEmpty());
    }

    void descriptiveEntryIsRefused()
    {
        auto window = started();
        QVERIFY(window);
        window->searchBox()->setText("How to use");
        emit window->catalogueList()->doubleClicked(window->catalogueList()->currentIndex());
        QCOMPARE(messages, QStringList{"Helicordia|Selectat item is not playable. Please carefully read the "
                                       "description!\r\n\r\n_0007. How to use the programs"});
        QVERIFY(played.isEmpty());
        QVERIFY(window->recentNames().isEmpty());
    }

    void nothingSelectedPlaysNothing()
    {
        auto window = started();
        QVERIFY(window);
        window->searchBox()->setText("no such thing");
        window->playButton_Click();
        QVERIFY(played.isEmpty());
        QVERIFY(messages.isEmpty());
    }

    void hoverTips_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("row"); // -1: the empty space below the items
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("colour");
        QTest::newRow("playable") << "alpha" << 0 << "Alpha complaint "
                                  << "Alpha complaint (example) " << 0xDCFFFF;
        QTest::newRow("playable, no (") << "alpha" << 1 << "ALPHA wave set "
                                        << "ALPHA wave set " << 0xDCFFFF;
        QTest::newRow("descriptive") << "how to" << 0 << "How to use the programs"
                                     << "How to use the programs" << 0xDC7DFF;
        QTest::newRow("empty space") << "alpha" << -1 << ""
                                     << "" << 0xDC7DFF;
    }
    void hoverTips()
    {
        QFETCH(QString, search);
        QFETCH(int, row);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(int, colour);
        auto window = started();
        QVERIFY(window);
        cTooltip *tooltip = window->listTooltip();
        QCOMPARE(tooltip->MaxTipWidth(), 300);
        QCOMPARE(tooltip->DelayTime(2), 5000);
        window->searchBox()->setText(search);
        QTreeView *list = window->catalogueList();
        const QPoint at = row >= 0 ? list->visualRect(list->model()->index(row, 0)).center()
                                   : QPoint(10, list->viewport()->height() - 5);
        for (int i = 0; i < 3; ++i) {
            QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
        }
        auto *control = dynamic_cast<TooltipControl *>(tooltip->hwnd());
        control->showTimerElapsed();
        QCOMPARE(control->tipShown(), !text.isEmpty());
        QCOMPARE(control->shownTitle(), title);
        QCOMPARE(control->shownText(), text);
        QCOMPARE(tooltip->BackColor(), colour);
        QCOMPARE(tooltip->DelayTime(2), 4000);
        QCOMPARE(tooltip->ToolCount(), 1);
    }

    // The tip describes the row under the pointer, also when the pointer comes
    // onto the list without a move over it (back from over the tip itself).
    void hoverTipFollowsThePointerOntoTheList()
    {
        auto window = started();
        QVERIFY(window);
        QTreeView *list = window->catalogueList();
        const QPointF at = list->visualRect(list->model()->index(6, 0)).center();
        QEnterEvent enter(at, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &enter);
        QCOMPARE(window->listTooltip()->ToolText(list), "How to use the programs");
    }

    void keysInTheListGoToTheSearchBox()
    {
        auto window = started();
        QVERIFY(window);
        window->catalogueList()->setFocus();
        QTest::keyClick(window->catalogueList(), Qt::Key_Return);
        QVERIFY(window->searchBox()->hasFocus());
        QVERIFY(played.isEmpty());
    }

    void pickingARecentName()
    {
        writeFile("Dic.ini", "Beta\r\nAlpha\r\n");
        auto window = started();
        QVERIFY(window);
        QCOMPARE(window->recentNames(), (QStringList{"Beta", "Alpha"}));
        window->recentLink_Click();
        QListWidget *recent = window->recentList();
        QVERIFY(recent->isVisible());
        recent->setCurrentRow(1);
        window->recentList_Click();
        QVERIFY(!recent->isVisible());
        QCOMPARE(window->searchBox()->text(), QString("Alpha"));
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
        QCOMPARE(window->searchBox()->selectedText(), QString("Alpha"));
    }

    void shutdownSavesSettingsThenRecentList()
    {
        auto window = started();
        QVERIFY(window);
        window->move(320, 240);
        window->playButton_Click();
        window->Form_Unload();
        QCOMPARE(ends, QList<int>{0});
        QSettings stored = storedSettings();
        QCOMPARE(stored.value("Startup/Left").toString(), QString("4800"));
        QCOMPARE(stored.value("Startup/Top").toString(), QString("3600"));
        QCOMPARE(stored.value("Startup/DictLang").toString(), QString("False"));
        QCOMPARE(stored.value("Startup/Width").toString(), QString("9345"));
        QFile recent(dir->filePath("Dic.ini"));
        QVERIFY(recent.open(QIODevice::ReadOnly));
        QCOMPARE(recent.readAll(), QByteArray("Alpha complaint (example)\r\n"));
        QVERIFY(window->mask().isEmpty());
    }

    void failedSettingsSaveStillSavesTheRecentList()
    {
        auto window = started();
        QVERIFY(window);
        window->AddRecent("Gamma");
        settingsUnavailable = true;
        window->Form_Unload();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().contains("could not be saved"));
        QCOMPARE(ends, QList<int>{1});
        QCOMPARE(QFile::exists(dir->filePath("Dic.ini")), true);
    }

    void failedRecentSaveSaysWhichFileAndWhy()
    {
        QVERIFY(QDir(dir->path()).mkdir("Dic.ini")); // cannot be replaced by a file
        auto window = started();
        QVERIFY(window);
        window->AddRecent("Gamma");
        window->Form_Unload();
        QCOMPARE(messages.size(), 2); // skipped at the start, not saved at the end
        for (const QString &message : messages)
            QVERIFY2(message.contains(QDir::toNativeSeparators(dir->filePath("Dic.ini"))) &&
                         message.contains("not a regular file"),
                     qPrintable(message));
        QVERIFY(QFileInfo(dir->filePath("Dic.ini")).isDir());
        QCOMPARE(ends, QList<int>{1});
    }

    void storedPosition_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("romanian");
        QTest::newRow("stored") << "4500"
                                << "1500"
                                << "true" << QPoint(300, 100) << true;
        QTest::newRow("partly visible stays") << "-4500"
                                              << "1500"
                                              << "1" << QPoint(-300, 100) << true;
        QTest::newRow("only masked pixels on screen") << "-9300"
                                                      << "1500"
                                                      << "1" << QPoint(200, 200) << true;
        QTest::newRow("lost window comes back") << "-20000"
                                                << "1500"
                                                << "False" << QPoint(200, 200) << false;
        QTest::newRow("unusable values") << "x"
                                         << "y"
                                         << "perhaps" << QPoint(0, 0) << false;
    }
    void storedPosition()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QString, lang);
        QFETCH(QPoint, position);
        QFETCH(bool, romanian);
        {
            QSettings stored = storedSettings();
            stored.setValue("Startup/Left", left);
            stored.setValue("Startup/Top", top);
            stored.setValue("Startup/DictLang", lang);
        }
        auto window = started();
        QVERIFY(window);
        QCOMPARE(window->pos(), position);
        QCOMPARE(window->romanianChecked(), romanian);
        QCOMPARE(window->englishChecked(), !romanian);
    }

    void engineFailureSavesBeforeTheEnd()
    {
        auto window = started();
        QVERIFY(window);
        window->AddRecent("Delta");
        window->SaveAll();
        QFile recent(dir->filePath("Dic.ini"));
        QVERIFY(recent.open(QIODevice::ReadOnly));
        QCOMPARE(recent.readAll(), QByteArray("Delta\r\n"));
        QVERIFY(QFile::exists(dir->filePath("settings.ini")));
    }

    void dragStepsKeepTheWindowOnThe32TwipGrid_data()
    {
        QTest::addColumn<QPoint>("grip"); // where the window is taken
        QTest::addColumn<QPoint>("start");
        QTest::newRow("background") << QPoint(500, 20) << QPoint(100, 100);
        QTest::newRow("title") << QPoint(40, 15) << QPoint(7, 3);
        QTest::newRow("off screen to the left") << QPoint(500, 20) << QPoint(-301, 50);
        QTest::newRow("beyond 2184 pixels on a wide desktop") << QPoint(500, 20) << QPoint(2150, 2150);
    }
    void dragStepsKeepTheWindowOnThe32TwipGrid()
    {
        QFETCH(QPoint, grip);
        QFETCH(QPoint, start);
        auto window = started();
        QVERIFY(window);
        window->move(start);
        QWidget *target = window->childAt(grip) ? window->childAt(grip) : window.get();
        const QPoint local = target->mapFrom(window.get(), grip);
        QPoint pointer = window->mapToGlobal(grip);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
        const auto onGrid = [](int pixels) {
            const int k = pixels * TwipsPerPixel / DragStepTwipsGrid;
            for (int near = k - 2; near <= k + 2; ++near)
                if (TwipsToPixels(near * DragStepTwipsGrid) == pixels)
                    return true;
            return false;
        };
        for (const QPoint step : {QPoint(1, 1), QPoint(37, -13), QPoint(-250, 3), QPoint(7, 301), QPoint(-1, 0)}) {
            pointer += step;
            QMouseEvent move(QEvent::MouseMove, QPointF(target->mapFromGlobal(pointer)), QPointF(pointer), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            QVERIFY2(onGrid(window->x()) && onGrid(window->y()),
                     qPrintable(QStringLiteral("at %1, %2").arg(window->x()).arg(window->y())));
            // The window keeps to the pointer, within a grid step.
            QVERIFY((window->mapToGlobal(grip) - pointer).manhattanLength() <= 6);
        }
        QVERIFY(window->pos() != start);
        QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFromGlobal(pointer));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
