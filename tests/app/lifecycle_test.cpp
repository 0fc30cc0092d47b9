// How the program begins and ends besides its own buttons: a second start
// hands over to the running copy, and the end signals go through the event
// loop.
#include "app/exitsignals.h"
#include "app/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace helicordia;

namespace {

int modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void secondStartRaisesTheFirstAndEnds()
    {
        QTemporaryDir temp, program, otherProgram;
        SingleInstance first(program.path(), temp.path());
        QVERIFY(first.start());
        QSignalSpy raised(&first, &SingleInstance::activationRequested);
        SingleInstance second(program.path() + "/.", temp.path()); // the same folder, written differently
        QVERIFY(!second.start());
        QVERIFY(raised.wait(5000));
        // Another program folder is another program.
        SingleInstance other(otherProgram.path(), temp.path());
        QVERIFY(other.start());
    }

    void staleLockDoesNotBlock()
    {
        QTemporaryDir temp, program;
        QByteArray contents;
        {
            SingleInstance crashed(program.path(), temp.path());
            QVERIFY(crashed.start());
            QFile lock(crashed.lockPath());
            QVERIFY(lock.open(QIODevice::ReadOnly));
            contents = lock.readAll();
        }
        // The same lock again, left by a process that has ended.
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        QVERIFY(child > 0);
        QCOMPARE(waitpid(child, nullptr, 0), child);
        SingleInstance next(program.path(), temp.path());
        QFile lock(next.lockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(child) + contents.mid(contents.indexOf('\n')));
        lock.close();
        QVERIFY(next.start());
    }

    // The lock is the user's alone (mode 0600); files another user planted
    // are not trusted, and a folder others may enter is not used at all.
    // Neither costs the start any waiting.
    void othersCannotTakeTheLock_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("own folder") << "own";
        QTest::newRow("lock and socket of another user") << "planted";
        QTest::newRow("folder others may enter") << "open";
    }
    void othersCannotTakeTheLock()
    {
        QFETCH(QString, situation);
        QTemporaryDir temp, program;
        const QString folder = temp.filePath("run");
        QVERIFY(QDir().mkdir(folder));
        QFile::setPermissions(folder, situation == "open" ? QFile::Permissions(0x7755) : QFile::Permissions(0x7700));
        SingleInstance probe(program.path(), folder);
        int plantedLock = -1, plantedSocket = -1;
        if (situation == "planted") {
            // A lock held and a socket listening, both owned by someone else.
            plantedLock = ::open(QFile::encodeName(probe.lockPath()).constData(), O_RDWR | O_CREAT, 0644);
            QVERIFY(plantedLock >= 0 && ::flock(plantedLock, LOCK_EX) == 0);
            plantedSocket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, QFile::encodeName(probe.socketPath()).constData(),
                         sizeof address.sun_path - 1);
            QVERIFY(::bind(plantedSocket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            QVERIFY(::listen(plantedSocket, 8) == 0);
            for (const QString &path : {probe.lockPath(), probe.socketPath()})
                if (::lchown(QFile::encodeName(path).constData(), 65534, 65534) != 0)
                    QSKIP("changing a file's owner needs root");
        }
        QElapsedTimer clock;
        clock.start();
        SingleInstance instance(program.path(), folder);
        QVERIFY(instance.start());
        QVERIFY(clock.elapsed() < 1000);
        if (situation == "open") {
            QVERIFY(QDir(folder).isEmpty());
        } else {
            QCOMPARE(modeOf(instance.lockPath()), 0600);
            QCOMPARE(QFileInfo(instance.lockPath()).ownerId(), ::geteuid());
            QCOMPARE(QFileInfo(instance.socketPath()).ownerId(), ::geteuid());
        }
        for (const int fd : {plantedLock, plantedSocket})
            if (fd >= 0)
                ::close(fd);
    }

    // The runtime folder: XDG_RUNTIME_DIR when it is private, otherwise a
    // folder of mode 0700 in the user's cache.
    void runtimeFolderIsPrivate()
    {
        QTemporaryDir runtime, cache;
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"), savedCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        QCOMPARE(SingleInstance::UserRuntimeFolder(), runtime.path());
        QFile::setPermissions(runtime.path(), QFile::Permissions(0x7755));
        const QString fallback = SingleInstance::UserRuntimeFolder();
        QCOMPARE(fallback, cache.filePath("helicordia"));
        QCOMPARE(modeOf(fallback), 0700);
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("XDG_CACHE_HOME", savedCache);
    }

    void endSignalsArriveThroughTheEventLoop_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endSignalsArriveThroughTheEventLoop()
    {
        QFETCH(int, number);
        ExitSignals watcher;
        QVERIFY(watcher.installed());
        QSignalSpy requested(&watcher, &ExitSignals::exitRequested);
        QCOMPARE(::raise(number), 0); // with the default action this test would end here
        QVERIFY(requested.wait(5000));
        QCOMPARE(requested.first().first().toInt(), number);
    }
};

QTEST_GUILESS_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
