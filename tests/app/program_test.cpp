// The whole program with a recording engine: however it ends, the tone is
// stopped and the engine closed (so the sound fades out) before the process
// goes, and a normal end writes the settings and the recent list.
#include "app/program.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"

#include <QCloseEvent>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace helicordia;

namespace {

// Remembers which engine calls had been made when the program ended.
class EndWatch : public test::RecordingPlatform {
public:
    EndWatch(const QString &programFolder, test::RecordingEngine &engine)
        : RecordingPlatform(programFolder), engine_(engine)
    {
    }
    QStringList callsAtEnd;
    void endProgram(int status) override
    {
        callsAtEnd = engine_.calls;
        RecordingPlatform::endProgram(status);
    }
    std::unique_ptr<QSettings> openSettings() override
    {
        return std::make_unique<QSettings>(folder + "/settings.ini", QSettings::IniFormat);
    }

private:
    test::RecordingEngine &engine_;
};

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir, locks;

private slots:
    void initTestCase()
    {
        QStringList lines(1553, "Filler - 440");
        lines[0] = "Alpha - 528,741";
        QFile db(dir.filePath("db.db"));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write(lines.join("\r\n").toUtf8());
        db.close();
        QImage background(623, 460, QImage::Format_RGB32);
        background.fill(Qt::gray);
        QVERIFY(background.save(dir.filePath("Background_5.jpg"), "JPG"));
    }

    void everyEndFadesTheToneOut_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("status");
        QTest::newRow("Exit") << "exit" << 0;
        QTest::newRow("window manager") << "close" << 0;
        QTest::newRow("SIGTERM") << "signal" << 0;
        QTest::newRow("engine error") << "engine" << 1;
    }
    void everyEndFadesTheToneOut()
    {
        QFETCH(QString, how);
        QFETCH(int, status);
        QFile::remove(dir.filePath("Dic.ini"));
        test::RecordingEngine engine;
        EndWatch platform(dir.path(), engine);
        Program program(engine, platform, locks.path());
        QCOMPARE(program.start(), std::nullopt);
        program.mainWindow().playButton_Click(); // "Alpha"
        program.player().btnPlay_Click();
        QVERIFY(engine.calls.contains("Tone_Channel_SetPaused(33,0)"));

        if (how == "exit") {
            program.end();
        } else if (how == "close") {
            QCloseEvent close;
            QApplication::sendEvent(&program.mainWindow(), &close);
        } else if (how == "signal") {
            ::raise(SIGTERM);
            QTRY_VERIFY(!platform.endStatuses.isEmpty());
        } else {
            engine.failures["Tone_Channel_SetFrequency"] = TONE_ERR_INVALID_PARAM;
            program.player().btnSkip_Click();
            program.player().clockTimer_Timer();
        }
        QCOMPARE(platform.endStatuses, QList<int>{status});
        QVERIFY2(platform.callsAtEnd.contains("Tone_Channel_Stop(33)"), qPrintable(platform.callsAtEnd.join(' ')));
        QVERIFY(platform.callsAtEnd.contains("Tone_System_Close(11)"));
        QFile recent(dir.filePath("Dic.ini"));
        QVERIFY(recent.open(QIODevice::ReadOnly));
        QCOMPARE(recent.readAll(), QByteArray("Alpha\r\n"));
        QVERIFY(QSettings(dir.filePath("settings.ini"), QSettings::IniFormat).contains("Startup/Left"));
    }

    // The player window is made when the first entry plays; an end before
    // that has no player to silence and still saves.
    void playerBuiltOnFirstPlay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit") << "exit";
        QTest::newRow("SIGTERM") << "signal";
    }
    void playerBuiltOnFirstPlay()
    {
        QFETCH(QString, how);
        QFile::remove(dir.filePath("settings.ini"));
        test::RecordingEngine engine;
        EndWatch platform(dir.path(), engine);
        {
            Program program(engine, platform, locks.path());
            QCOMPARE(program.start(), std::nullopt);
            QVERIFY(!program.playerBuilt());
            if (how == "exit") {
                program.end();
            } else {
                ::raise(SIGTERM);
                QTRY_VERIFY(!platform.endStatuses.isEmpty());
            }
            QCOMPARE(platform.endStatuses, QList<int>{0});
            QVERIFY(!program.playerBuilt());
            QVERIFY(engine.calls.isEmpty());
            QVERIFY(QSettings(dir.filePath("settings.ini"), QSettings::IniFormat).contains("Startup/Left"));
        }
        Program again(engine, platform, locks.path());
        QCOMPARE(again.start(), std::nullopt);
        again.mainWindow().playButton_Click();
        QVERIFY(again.playerBuilt());
        QVERIFY(again.player().isVisible());
        QVERIFY(!again.mainWindow().isVisible());
    }

    // The files are read while the windows are built; a missing one is still
    // reported alone, the picture before the catalogue, and nothing shows.
    void missingFileEndsTheStart_data()
    {
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("named");
        QTest::newRow("both") << ""
                              << "background picture \"";
        QTest::newRow("catalogue") << "Background_5.jpg"
                                   << "catalogue file \"";
    }
    void missingFileEndsTheStart()
    {
        QFETCH(QString, present);
        QFETCH(QString, named);
        QTemporaryDir folder;
        if (!present.isEmpty())
            QVERIFY(QFile::copy(dir.filePath(present), folder.filePath(present)));
        test::RecordingEngine engine;
        EndWatch platform(folder.path(), engine);
        Program program(engine, platform, locks.path());
        QCOMPARE(program.start(), std::optional<int>(1));
        QCOMPARE(platform.messages.size(), 1);
        QVERIFY2(platform.messages.first().contains(named), qPrintable(platform.messages.first()));
        QCOMPARE(platform.endStatuses, QList<int>{1});
        QVERIFY(!program.mainWindow().isVisible());
    }

    // An end signal that comes before the main window has loaded ends the
    // program without a message and without writing over the stored
    // settings or the recent list, which were not read yet.
    void signalDuringStartWritesNothing_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalDuringStartWritesNothing()
    {
        QFETCH(int, number);
        const QByteArray stored = "[Startup]\nDictLang=True\nLeft=4500\nTop=1500\nWidth=9345\nHeight=6855\n";
        QFile settings(dir.filePath("settings.ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(stored) == stored.size());
        settings.close();
        QFile::remove(dir.filePath("Dic.ini"));
        test::RecordingEngine engine;
        EndWatch platform(dir.path(), engine);
        Program program(engine, platform, locks.path());
        QCOMPARE(::raise(number), 0); // arrives while the program starts
        program.start();
        QCOMPARE(platform.endStatuses, QList<int>{0});
        QVERIFY2(platform.messages.isEmpty(), qPrintable(platform.messages.join('|')));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), stored);
        QVERIFY(!QFile::exists(dir.filePath("Dic.ini")));
    }

    void secondStartEndsAtOnce()
    {
        test::RecordingEngine engine;
        EndWatch platform(dir.path(), engine);
        Program first(engine, platform, locks.path());
        QCOMPARE(first.start(), std::nullopt);
        Program second(engine, platform, locks.path());
        QCOMPARE(second.start(), std::optional<int>(0));
        QVERIFY(!second.mainWindow().isVisible());
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
