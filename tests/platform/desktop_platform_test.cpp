// The real platform where a test can reach it: message boxes show text as
// written, an opener that finds no program is reported, and a settings file
// that is not a regular file is refused before it is opened.
#include "platform/desktop_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

using namespace helicordia;

class DesktopPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void messagesShowTextAsWritten()
    {
        Qt::TextFormat format = Qt::RichText;
        QTimer::singleShot(0, this, [&format] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            box->accept();
        });
        DesktopPlatform().message("Helicordia", "Tag <b>bold</b>");
        QCOMPARE(format, Qt::PlainText);
    }

    void openerFailuresAreReported_data()
    {
        QTest::addColumn<QString>("script"); // empty: no such program
        QTest::addColumn<bool>("reported");
        QTest::newRow("opened") << "exit 0" << false;
        QTest::newRow("no method available") << "exit 3" << true;
        QTest::newRow("opener missing") << QString() << true;
    }
    void openerFailuresAreReported()
    {
        QFETCH(QString, script);
        QFETCH(bool, reported);
        QTemporaryDir dir;
        const QString opener = dir.filePath("xdg-open");
        if (!script.isEmpty()) {
            QFile file(opener);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(("#!/bin/sh\n" + script + "\n").toUtf8());
            file.close();
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        }
        bool notOpened = false;
        QProcess *process = RunOpener(opener, QUrl::fromLocalFile("/help page.html"), [&] { notOpened = true; });
        QSignalSpy gone(process, &QObject::destroyed);
        QVERIFY(gone.wait(20000));
        QCOMPARE(notOpened, reported);
    }

    // The settings file is looked at before it is opened: a FIFO is refused
    // at once, with its name.
    void settingsFileThatIsNoFileIsRefused()
    {
        QTemporaryDir dir;
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        DesktopPlatform platform;
        const QString file = DesktopPlatform::settingsFile();
        QCOMPARE(file, dir.filePath("config/Verbarium/Verbarium.conf"));
        QVERIFY(QDir().mkpath(dir.filePath("config/Verbarium")));
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        QVERIFY(!platform.openSettings());
        QVERIFY2(platform.settingsRefusal().contains(file), qPrintable(platform.settingsRefusal()));
        QFile::remove(file);
        QVERIFY(platform.openSettings() && platform.settingsRefusal().isEmpty());
        qputenv("XDG_CONFIG_HOME", saved);
    }
};

QTEST_MAIN(DesktopPlatformTest)
#include "desktop_platform_test.moc"
