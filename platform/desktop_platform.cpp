#include "platform/desktop_platform.h"

#include <QCoreApplication>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace helicordia {

void DesktopPlatform::message(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // names and paths in a message are shown as written
    box.exec();
}

bool DesktopPlatform::question(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DesktopPlatform::endProgram(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

QString DesktopPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString DesktopPlatform::installedDataFolder() const
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" HELICORDIA_DATA_FROM_BIN));
}

QString DesktopPlatform::settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Verbarium/Verbarium.conf");
}

// The file is named rather than found by application and organisation, so
// that no other file (an organisation-wide or system-wide one) is read, and
// it is looked at before QSettings opens it: opening a FIFO would wait for a
// writer, and saving over a device would replace it.
std::unique_ptr<QSettings> DesktopPlatform::openSettings()
{
    const QString path = settingsFile();
    const QFileInfo file(path);
    settingsRefusal_ =
        file.exists() && !file.isFile()
            ? QCoreApplication::translate("DesktopPlatform", "The settings file \"%1\" is not a regular file.")
                  .arg(QDir::toNativeSeparators(path))
            : QString();
    if (!settingsRefusal_.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

bool DesktopPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

// On X11 and Wayland Qt hands a URL to xdg-open and answers true as soon as
// xdg-open has started; whether it found a program to open it with shows
// only in its exit status, so it is run here and watched.
void DesktopPlatform::openUrlOrReport(const QUrl &url, std::function<void()> notOpened)
{
    const QString platform = QGuiApplication::platformName();
    const bool xdg = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdg || opener.isEmpty() || qEnvironmentVariableIsSet("FLATPAK_ID"))
        Platform::openUrlOrReport(url, std::move(notOpened));
    else
        RunOpener(opener, url, std::move(notOpened));
}

QProcess *RunOpener(const QString &opener, const QUrl &url, std::function<void()> notOpened)
{
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer running;
    running.start();
    QObject::connect(
        process, &QProcess::finished, process, [process, notOpened, running](int code, QProcess::ExitStatus status) {
            if ((status != QProcess::NormalExit || code != 0) && running.elapsed() < OpenerVerdictMs && notOpened)
                notOpened();
            process->deleteLater();
        });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, notOpened](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        if (notOpened)
            notOpened();
        process->deleteLater();
    });
    process->start(opener, {QString::fromLatin1(url.toEncoded())});
    return process;
}

} // namespace helicordia
