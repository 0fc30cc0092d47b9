// What survives a restart: the recent-list file and the stored settings; and
// where the shipped data files are found.
#include "app/recentfile.h"
#include "app/recentlocation.h"
#include "app/settings.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace helicordia;

class StorageTest : public QObject {
    Q_OBJECT

private slots:
    void dataFilesComeFromTheProgramFolderFirst_data()
    {
        QTest::addColumn<bool>("inProgramFolder");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("expectedFolder");
        QTest::newRow("both") << true << true << "program";
        QTest::newRow("installed only") << false << true << "share";
        QTest::newRow("neither: the report names the program folder") << false << false << "program";
        // Only the program that takes its data from share/ counts as installed.
    }
    void dataFilesComeFromTheProgramFolderFirst()
    {
        QFETCH(bool, inProgramFolder);
        QFETCH(bool, installed);
        QFETCH(QString, expectedFolder);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("program");
        QDir(dir.path()).mkpath("share");
        if (inProgramFolder)
            QFile(dir.filePath("program/db.db")).open(QIODevice::WriteOnly);
        if (installed)
            QFile(dir.filePath("share/db.db")).open(QIODevice::WriteOnly);
        struct Folders : Platform {
            QString program, share;
            void message(const QString &, const QString &) override {}
            void endProgram(int) override {}
            QString programFolder() const override { return program; }
            QString installedDataFolder() const override { return share; }
            std::unique_ptr<QSettings> openSettings() override { return nullptr; }
            bool openUrl(const QUrl &) override { return false; }
        } folders;
        folders.program = dir.filePath("program");
        folders.share = dir.filePath("share");
        const QString found = folders.dataFile("db.db");
        QCOMPARE(found, dir.filePath(expectedFolder + "/db.db"));
        QCOMPARE(folders.installed(), expectedFolder == "share");
    }

    void recentListRoundTrip_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty") << QStringList{};
        QTest::newRow("plain") << QStringList{"Alpha", "Beta"};
        QTest::newRow("awkward text") << QStringList{"  leading spaces", "a,b,\"quoted\"", "", "Žluťoučký kůň"};
    }
    void recentListRoundTrip()
    {
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        const QString path = dir.filePath("Dic.ini");
        QVERIFY(SaveRecentList(path, names));
        QCOMPARE(LoadRecentList(path), names);
    }

    void recentFileFormat()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dic.ini");
        QVERIFY(SaveRecentList(path, {}));
        QCOMPARE(QFileInfo(path).size(), 0);
        QVERIFY(SaveRecentList(path, {"One", "Two"}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("One\r\nTwo\r\n"));
    }

    void onlyTheFirstHundredAreStored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dic.ini");
        QStringList names;
        for (int i = 0; i < 150; ++i)
            names << QString("Name %1").arg(i);
        QVERIFY(SaveRecentList(path, names));
        QCOMPARE(LoadRecentList(path), names.mid(0, 100));
    }

    // Only the first hundred lines are read; the rest of a long file is not.
    void handEditedFileLoadsTheFirstHundredLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dic.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 250; ++i)
            bytes += "Line " + QByteArray::number(i) + (i % 2 ? "\n" : "\r\n");
        bytes += "last without break";
        file.write(bytes);
        file.close();
        const QStringList loaded = LoadRecentList(path);
        QCOMPARE(loaded.size(), 100);
        QCOMPARE(loaded.first(), QString("Line 0"));
        QCOMPARE(loaded.last(), QString("Line 99"));
    }

    void olderEightBitFileIsRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dic.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Bolest hlavy \x9A\xE8\r\n"); // Windows-1250: š č
        file.close();
        QCOMPARE(LoadRecentList(path), QStringList{QString::fromUtf8("Bolest hlavy šč")});
    }

    void missingFileGivesEmptyList()
    {
        QTemporaryDir dir;
        QVERIFY(LoadRecentList(dir.filePath("nothing.ini")).isEmpty());
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        // A path whose folder is a file cannot be written.
        QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
        QVERIFY(!SaveRecentList(dir.filePath("file/Dic.ini"), {"x"}));
        QFile::remove(dir.filePath("file"));
        // The file is replaced as a whole: the old content is never left half-overwritten.
        const QString path = dir.filePath("Dic.ini");
        QVERIFY(SaveRecentList(path, {"old one", "old two"}));
        QVERIFY(SaveRecentList(path, {"new"}));
        QCOMPARE(LoadRecentList(path), QStringList{"new"});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Dic.ini"});
    }

    void textToBool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: no value
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("true") << "true" << 1;
        QTest::newRow("FALSE") << "FALSE" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("number") << "-1" << 1;
        QTest::newRow("word") << "maybe" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void textToBool()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<bool> value = TextToBool(text);
        QCOMPARE(value.has_value() ? int(*value) : -1, expected);
    }

    void settingsDefaultsAndRoundTrip()
    {
        QTemporaryDir dir;
        QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
        LoadedSettings first = ReadSettings(store);
        QCOMPARE(first.romanianChecked, std::optional<bool>(false));
        QCOMPARE(first.leftTwips, std::optional<int>(3000));
        QCOMPARE(first.topTwips, std::optional<int>(3000));

        QString error;
        QVERIFY(WriteSettings(store, {true, 4215, -20000, 9345, 6795}, &error));
        QSettings again(dir.filePath("s.ini"), QSettings::IniFormat);
        again.beginGroup("Startup");
        QCOMPARE(again.value("DictLang").toString(), QString("True"));
        QCOMPARE(again.value("Left").toString(), QString("4215"));
        QCOMPARE(again.value("Top").toString(), QString("-20000"));
        QCOMPARE(again.value("Width").toString(), QString("9345"));
        QCOMPARE(again.value("Height").toString(), QString("6795"));
        again.endGroup();
        LoadedSettings second = ReadSettings(again);
        QCOMPARE(second.romanianChecked, std::optional<bool>(true));
        QCOMPARE(second.leftTwips, std::optional<int>(4215));
        QCOMPARE(second.topTwips, std::optional<int>(-20000));
    }

    void unusableStoredValuesAreSkipped()
    {
        QTemporaryDir dir;
        QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
        store.setValue("Startup/DictLang", "perhaps");
        store.setValue("Startup/Left", "left");
        store.setValue("Startup/Top", "123.5");
        const LoadedSettings loaded = ReadSettings(store);
        QVERIFY(!loaded.romanianChecked);
        QVERIFY(!loaded.leftTwips);
        QCOMPARE(loaded.topTwips, std::optional<int>(124));
    }

    void reachablePosition_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("expected");
        const QRect w(0, 0, 623, 453);
        QTest::newRow("on screen") << w.translated(100, 100) << QPoint(100, 100);
        QTest::newRow("partly visible stays") << w.translated(-500, 50) << QPoint(-500, 50);
        QTest::newRow("only masked pixels show") << w.translated(-9300 / 15, 50) << QPoint(200, 200);
        QTest::newRow("title band 31 px wide") << w.translated(-(15 + 594 - 31), 50) << QPoint(200, 200);
        QTest::newRow("title band 32 px wide") << w.translated(-(15 + 594 - 32), 50) << QPoint(-(15 + 594 - 32), 50);
        QTest::newRow("only the bottom shows") << w.translated(100, -400) << QPoint(200, 200);
        QTest::newRow("far left goes home") << w.translated(-20000 / 15, 100) << QPoint(200, 200);
        QTest::newRow("below the screens goes home") << w.translated(10, 5000) << QPoint(200, 200);
        QTest::newRow("on the second screen stays") << w.translated(1500, 10) << QPoint(1500, 10);
    }
    void reachablePosition()
    {
        QFETCH(QRect, window);
        QFETCH(QPoint, expected);
        const QList<QRect> screens{QRect(0, 0, 1024, 768), QRect(1024, 0, 1280, 1024)};
        QCOMPARE(ReachablePosition(window.topLeft(), QRect(15, 2, 594, 34), screens), expected);
    }

    void damagedSettingsFileGivesDefaultsAndIsRewrittenClean()
    {
        QTemporaryDir dir;
        QByteArray junk(100 * 1024, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919) % 251);
        QFile file(dir.filePath("s.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(junk) == junk.size());
        file.close();
        QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
        const LoadedSettings loaded = ReadSettings(store);
        QCOMPARE(loaded.romanianChecked, std::optional<bool>(false));
        QCOMPARE(loaded.leftTwips, std::optional<int>(3000));
        QString error;
        QVERIFY2(WriteSettings(store, {false, 4500, 3000, 9345, 6795}, &error), qPrintable(error));
        QSettings again(dir.filePath("s.ini"), QSettings::IniFormat);
        QCOMPARE(again.status(), QSettings::NoError);
        QCOMPARE(again.allKeys().size(), 5);
        QCOMPARE(again.value("Startup/Left").toString(), QString("4500"));
    }

    // A Dic.ini that is not a regular file (a FIFO would hold the start, a
    // link to /dev/zero would fill the memory) is skipped with a reason that
    // names it, and is not replaced at exit; a huge file gives its first
    // lines.
    void oddRecentFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo"), huge = dir.filePath("huge");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QFile::link(fifo, dir.filePath("to-fifo")) && QFile::link("/dev/zero", dir.filePath("to-zero")));
        {
            QFile f(huge); // 129 MB, mostly a hole
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray("first\r\nsecond\r\n")) > 0);
            QVERIFY(f.resize(129'000'000));
        }
        for (const char *name : {"fifo", "to-fifo", "to-zero"}) {
            QString skipped;
            QVERIFY(LoadRecentList(dir.filePath(name), &skipped).isEmpty());
            QVERIFY2(skipped.contains(dir.filePath(name)) && skipped.contains("not a regular file"),
                     qPrintable(skipped));
        }
        QCOMPARE(LoadRecentList(huge).mid(0, 2), (QStringList{"first", "second"}));
        for (const char *name : {"fifo", "to-fifo"}) {
            QString why;
            QVERIFY(!SaveRecentList(dir.filePath(name), {"x"}, &why));
            QVERIFY2(why.contains("not a regular file"), qPrintable(why));
        }
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    }

    void failedSaveSaysWhy()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Dic.ini")); // a folder where the file should be
        QString why;
        QVERIFY(!SaveRecentList(dir.filePath("Dic.ini"), {"x"}, &why));
        QVERIFY(!why.isEmpty());
    }

    // Which Dic.ini is used, by which places can be written.
    void recentFileLocation_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<QByteArray>("userFile"); // "-": none
        QTest::addColumn<bool>("inProgramFolder");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("installed");
        QTest::newRow("writable folder") << true << true << QByteArray("-") << true << QByteArray("program\r\n")
                                         << false;
        QTest::newRow("read-only file") << true << false << QByteArray("-") << false << QByteArray("program\r\n")
                                        << false;
        QTest::newRow("first run: seeded")
            << false << false << QByteArray("-") << false << QByteArray("program\r\n") << false;
        QTest::newRow("later runs: own file")
            << false << false << QByteArray("user\r\n") << false << QByteArray("user\r\n") << false;
        // Run by root, an installed program's folder can be written; the list
        // still goes to the user's folder.
        QTest::newRow("installed, writable folder")
            << true << true << QByteArray("user\r\n") << false << QByteArray("user\r\n") << true;
    }
    void recentFileLocation()
    {
        QFETCH(bool, folderWritable);
        QFETCH(bool, fileWritable);
        QFETCH(QByteArray, userFile);
        QFETCH(bool, inProgramFolder);
        QFETCH(QByteArray, expected);
        QFETCH(bool, installed);
        QTemporaryDir dir;
        const QString program = dir.filePath("program"), user = dir.filePath("user/data");
        QDir().mkpath(program);
        QVERIFY(SaveRecentList(program + "/Dic.ini", {"program"}));
        if (userFile != "-") {
            QDir().mkpath(user);
            QVERIFY(SaveRecentList(user + "/Dic.ini", {QString::fromLatin1(userFile.chopped(2))}));
        }
        const QString path = RecentFilePath(program, user, installed, [&](const QString &p) {
            return p.endsWith("Dic.ini") ? fileWritable : folderWritable;
        });
        QCOMPARE(path, (inProgramFolder ? program : user) + "/Dic.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
        QVERIFY(SaveRecentList(path, {"new"}));
    }
};

QTEST_GUILESS_MAIN(StorageTest)
#include "storage_test.moc"
