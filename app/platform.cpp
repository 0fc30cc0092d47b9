#include "platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace helicordia {

namespace {

Platform realPlatform()
{
    Platform p;
    p.message = [](QWidget *parent, const QString &caption, const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.endProgram = [](int status) {
        std::fflush(nullptr);
        std::_Exit(status);
    };
    p.programFolder = [] { return QCoreApplication::applicationDirPath(); };
    p.installedDataFolder = [] {
        return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" HELICORDIA_DATA_FROM_BIN));
    };
    p.openSettings = [] {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Verbarium"), QStringLiteral("Verbarium"));
    };
    p.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    p.saveBeforeAbruptEnd = [] {};
    return p;
}

} // namespace

Platform &platform()
{
    static Platform instance = realPlatform();
    return instance;
}

void resetPlatform()
{
    platform() = realPlatform();
}

QString programFile(const QString &name)
{
    return QDir(platform().programFolder()).filePath(name);
}

QString dataFile(const QString &name)
{
    const QString local = programFile(name);
    if (QFileInfo::exists(local) || !platform().installedDataFolder)
        return local;
    const QString installed = QDir(platform().installedDataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : local;
}

} // namespace helicordia
