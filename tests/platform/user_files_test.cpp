// The user's files: what is read, what is refused, and that a save replaces
// the file whole or not at all.
#include "platform/user_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace helicordia;

class UserFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char *name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void put(const char *name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        put("small", "abc\n");
        put("big", QByteArray(101, 'x'));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(QFile::link(path("small"), path("link")));
    }

    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("error"); // a part of the message, empty when none
        QTest::newRow("regular") << "small" << QByteArray("abc\n") << false << QString();
        QTest::newRow("link to regular") << "link" << QByteArray("abc\n") << false << QString();
        QTest::newRow("missing") << "none" << QByteArray() << true << QString();
        QTest::newRow("over the limit") << "big" << QByteArray() << false << "larger than";
        QTest::newRow("fifo does not block") << "fifo" << QByteArray() << false << "not a regular file";
        QTest::newRow("folder") << "folder" << QByteArray() << false << "not a regular file";
    }
    void read()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, missing);
        QFETCH(QString, error);
        const FileRead r = ReadRegularFile(dir_.filePath(name), 100);
        QCOMPARE(r.bytes, bytes);
        // Of a larger file, only the start can be asked for.
        const FileRead start = ReadRegularFileStart(dir_.filePath(name), 100);
        QCOMPARE(start.bytes, name == "big" ? QByteArray(100, 'x') : bytes);
        QCOMPARE(start.truncated, name == "big");
        QCOMPARE(start.error.isEmpty(), error.isEmpty() || name == "big");
        QCOMPARE(r.missing, missing);
        QCOMPARE(r.error.isEmpty(), error.isEmpty());
        QVERIFY2(r.error.contains(error) && (error.isEmpty() || r.error.contains(name)), qPrintable(r.error));
    }

    void writeReplacesThroughLinksAndRefusesOtherTargets()
    {
        QCOMPARE(WriteFileAtomically(path("link"), "new"), QString());
        QVERIFY(QFileInfo(path("link")).isSymLink());
        QCOMPARE(ReadRegularFile(path("small"), 100).bytes, QByteArray("new"));
        QCOMPARE(WriteFileAtomically(path("sub/dir/made"), "x"), QString());
        for (const char *target : {"fifo", "folder"})
            QVERIFY(WriteFileAtomically(path(target), "x").contains(QLatin1String("not a regular file")));
        QVERIFY(!QFileInfo(path("fifo")).isFile());
    }

    void failedSaveNamesTheFileAndKeepsTheOld()
    {
        // A folder that cannot be written, even by root: its place is taken by a file.
        put("blocked", "old");
        const QString error = WriteFileAtomically(path("blocked/kept"), "new");
        QVERIFY2(error.contains(QLatin1String("blocked")), qPrintable(error));
        QCOMPARE(ReadRegularFile(path("blocked"), 100).bytes, QByteArray("old"));
    }

    void appendAddsRecordsToAPrivateFile()
    {
        QCOMPARE(AppendToFile(path("log/history"), "one\n"), QString());
        QCOMPARE(AppendToFile(path("log/history"), "two\n"), QString());
        QCOMPARE(ReadRegularFile(path("log/history"), 100).bytes, QByteArray("one\ntwo\n"));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(path("log/history")) & others, QFile::Permissions());
        QVERIFY(AppendToFile(path("fifo"), "x\n").contains(QLatin1String("not a regular file")));
    }
};

QTEST_GUILESS_MAIN(UserFilesTest)
#include "user_files_test.moc"
