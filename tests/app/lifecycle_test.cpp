// How the program begins and ends besides its own buttons: a second start
// hands over to the running copy, and the end signals go through the event
// loop.
#include "app/exitsignals.h"
#include "app/singleinstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace helicordia;

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
