#include "platform/platform.h"

#include "platform/application.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace helicordia {

bool Platform::question(const QString &, const QString &)
{
    return false;
}

QString Platform::userDataFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void Platform::openUrlOrReport(const QUrl &url, std::function<void()> notOpened)
{
    if (!openUrl(url) && notOpened)
        notOpened();
}

QString Platform::userFile(const QString &name) const
{
    return QDir(userDataFolder()).filePath(name);
}

QString Platform::programFile(const QString &name) const
{
    return QDir(programFolder()).filePath(name);
}

bool Platform::installed() const
{
    const QString installedFolder = installedDataFolder();
    return !installedFolder.isEmpty() && !QFileInfo::exists(programFile(CatalogueFileName)) &&
           QFileInfo::exists(QDir(installedFolder).filePath(CatalogueFileName));
}

QString Platform::dataFile(const QString &name) const
{
    const QString local = programFile(name);
    const QString installedFolder = installedDataFolder();
    if (QFileInfo::exists(local) || installedFolder.isEmpty())
        return local;
    const QString installed = QDir(installedFolder).filePath(name);
    return QFileInfo::exists(installed) ? installed : local;
}

} // namespace helicordia
