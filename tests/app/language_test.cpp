// The two interface languages on a running program: the Options menu's items
// switch the main window, the player, the history and session windows, their
// menus and the About window at once; in Romanian no English caption is
// left, and no caption is cut off or runs into its neighbour; the choice is
// stored as "DictLang".
#include "app/history_window.h"
#include "app/program.h"
#include "app/session_actions.h"
#include "app/session_window.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "ui/about/about_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QXmlStreamReader>

using namespace helicordia;

namespace {

class SettingsPlatform : public test::RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;
    std::unique_ptr<QSettings> openSettings() override
    {
        return std::make_unique<QSettings>(folder + "/settings.ini", QSettings::IniFormat);
    }
};

// The English texts whose Romanian translation differs, from the .ts file (a
// text that some place keeps as it is, a key's name say, is left out).
QSet<QString> EnglishOnlyTexts()
{
    QFile file(QStringLiteral(HELICORDIA_TS_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> english, kept;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            (xml.readElementText(QXmlStreamReader::IncludeChildElements) == source ? kept : english) << source;
    }
    return english.subtract(kept);
}

// Every caption a person can read on the window's visible controls.
QStringList Captions(QWidget *window)
{
    QStringList captions{window->windowTitle()};
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        captions << w->toolTip();
        if (auto *label = qobject_cast<QLabel *>(w))
            captions << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            captions << button->text();
        if (auto *list = qobject_cast<QTreeView *>(w))
            captions << list->model()->headerData(0, Qt::Horizontal).toString();
    }
    for (QMenu *menu : window->findChildren<QMenu *>())
        for (QAction *action : menu->actions())
            captions << action->text();
    captions.removeAll(QString());
    return captions;
}

// Where a label's text is drawn in the window, and whether it fits its label.
struct Drawn {
    QRect rect;
    bool fits;
};
Drawn DrawnText(QLabel *label, QWidget *window)
{
    const QRect area = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) | Qt::TextShowMnemonic;
    const QRect needed = label->fontMetrics().boundingRect(area, flags, label->text());
    // A pixel of a glyph's bearing may reach past the label unseen.
    return {QRect(label->mapTo(window, needed.topLeft()), needed.size()), area.adjusted(-1, -1, 1, 1).contains(needed)};
}

QString LayoutFaults(QWidget *window)
{
    QStringList faults;
    QList<std::pair<QLabel *, QRect>> texts;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty() || label->textFormat() == Qt::RichText)
            continue;
        const Drawn drawn = DrawnText(label, window);
        if (!drawn.fits)
            faults << QStringLiteral("cut off: %1 \"%2\"").arg(label->objectName(), label->text());
        for (const auto &[other, rect] : texts)
            if (rect.intersects(drawn.rect))
                faults << QStringLiteral("overlap: %1 / %2").arg(label->objectName(), other->objectName());
        texts.append({label, drawn.rect});
    }
    return faults.join('\n');
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir, locks;
    test::RecordingEngine engine;
    std::unique_ptr<SettingsPlatform> platform;
    std::unique_ptr<Program> program;
    QSet<QString> english;

    MainWindow &main() { return program->mainWindow(); }
    Player &player() { return program->player(); }
    QAction *item(const char *name) { return main().findChild<QAction *>(name); }
    QString text(QWidget *window, const char *name) { return window->findChild<QLabel *>(name)->text(); }

private slots:
    void initTestCase()
    {
        for (const char *name :
             {"db.db", "Background_5.jpg", "helicordia_ro.qm", "helicordia_help.html", "helicordia_help.ro.html"})
            QVERIFY(QFile::copy(QStringLiteral(HELICORDIA_PROGRAM_DIR "/") + name, dir.filePath(name)));
        english = EnglishOnlyTexts();
        QVERIFY(english.size() > 200);
        platform = std::make_unique<SettingsPlatform>(dir.path());
        program = std::make_unique<Program>(engine, *platform, locks.path());
        QVERIFY(!program->start());
        player().Player_Start(2, "Alpha (reference)", "528,741");
        player().btnPlay_Click();
        engine.playing = 1;
        engine.frequency = 2750.0f; // 27.5 Hz
        program->showHistory();
        QVERIFY(program->historyWindow());
    }
    void cleanupTestCase() { delete &main().sessionActions().sessionWindow(); }

    void switchesEveryOpenWindow()
    {
        item("romanianItem")->trigger();
        QVERIFY(item("romanianItem")->isChecked() && !item("englishItem")->isChecked());
        QCOMPARE(text(&main(), "searchCaption"), QString("&Caută afecțiuni:"));
        QCOMPARE(text(&player(), "lblState"), QString("Redare"));
        player().engineTimer_Timer();
        QVERIFY(player().findChild<QLineEdit *>("statusLine")->text().startsWith("  Canal activ : Frecvență 27,5Hz"));
        for (QWidget *window : {static_cast<QWidget *>(&main()), static_cast<QWidget *>(&player()),
                                static_cast<QWidget *>(program->historyWindow()),
                                static_cast<QWidget *>(&main().sessionActions().sessionWindow())})
            for (const QString &caption : Captions(window))
                QVERIFY2(!english.contains(caption), qPrintable(caption));

        item("englishItem")->trigger();
        QVERIFY(!item("romanianItem")->isChecked() && item("englishItem")->isChecked());
        QCOMPARE(text(&main(), "searchCaption"), QString("&Find health problems:"));
        QCOMPARE(text(&player(), "lblState"), QString("Play"));
        QCOMPARE(text(&player(), "healthProblemHeading"), QString("Health problem:"));
        player().engineTimer_Timer();
        QVERIFY(
            player().findChild<QLineEdit *>("statusLine")->text().startsWith("  Channel playing : Frequency 27.5Hz"));
    }

    void aboutWindowAndMessages()
    {
        item("romanianItem")->trigger();
        QString title, notes;
        QStringList captions;
        QTimer::singleShot(0, this, [&] {
            auto *about = main().findChild<AboutWindow *>();
            title = about->windowTitle();
            notes = about->notesText();
            captions = Captions(about);
            about->close();
        });
        main().findChild<QMenu *>("optionsMenu")->actions().first()->trigger(); // About
        QVERIFY(captions.size() > 5);
        for (const QString &caption : captions)
            QVERIFY2(!english.contains(caption), qPrintable(caption));
        QCOMPARE(title, QString("Despre"));
        main().findChild<QMenu *>("optionsMenu")->actions()[1]->trigger(); // Help
        QVERIFY(!platform->urls.isEmpty() && platform->urls.last().path().endsWith("/helicordia_help.ro.html"));
        QVERIFY(notes.contains("Cei mai mulți oameni rulează fiecare frecvență"));
        main().FillList("How to");
        platform->messages.clear();
        main().playButton_Click();
        QVERIFY(!platform->messages.isEmpty() && platform->messages.last().startsWith("Intrarea selectată"));
        item("englishItem")->trigger();
    }

    void layoutHolds_data()
    {
        QTest::addColumn<bool>("romanian");
        QTest::newRow("English") << false;
        QTest::newRow("Romanian") << true;
    }
    void layoutHolds()
    {
        QFETCH(bool, romanian);
        item(romanian ? "romanianItem" : "englishItem")->trigger();
        for (QWidget *window : {static_cast<QWidget *>(&main()), static_cast<QWidget *>(&player())})
            QVERIFY2(LayoutFaults(window).isEmpty(), qPrintable(LayoutFaults(window)));
    }

    void choiceIsStored()
    {
        item("romanianItem")->trigger();
        QVERIFY(main().SaveSettings());
        QSettings stored(dir.filePath("settings.ini"), QSettings::IniFormat);
        QCOMPARE(stored.value("Startup/DictLang").toString(), QString("True"));
        item("englishItem")->trigger();
        QVERIFY(main().SaveSettings());
        stored.sync();
        QCOMPARE(stored.value("Startup/DictLang").toString(), QString("False"));
    }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
