#include "platform/desktop_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace helicordia {

void DesktopPlatform::message(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
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

std::unique_ptr<QSettings> DesktopPlatform::openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Verbarium"),
                                       QStringLiteral("Verbarium"));
}

bool DesktopPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace helicordia
