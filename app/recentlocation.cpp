#include "app/recentlocation.h"

#include "platform/application.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace helicordia {

QString RecentFilePath(const QString &programFolder, const QString &userDataFolder, bool installed,
                       const std::function<bool(const QString &)> &canWrite)
{
    const QString &name = RecentListFileName;
    const QString inProgramFolder = QDir(programFolder).filePath(name);
    const QFileInfo file(inProgramFolder);
    if (!installed && QFileInfo(programFolder).isDir() && canWrite(programFolder) &&
        (!file.exists() || canWrite(inProgramFolder)))
        return inProgramFolder;

    const QString inUserFolder = QDir(userDataFolder).filePath(name);
    if (!QFileInfo::exists(inUserFolder) && QDir().mkpath(userDataFolder) && file.isFile()) {
        // The copy keeps the read-only mode of a read-only original.
        if (QFile::copy(inProgramFolder, inUserFolder))
            QFile::setPermissions(inUserFolder,
                                  QFile::permissions(inUserFolder) | QFile::WriteOwner | QFile::ReadOwner);
    }
    return inUserFolder;
}

QString RecentFilePath(const Platform &platform)
{
    return RecentFilePath(platform.programFolder(), platform.userDataFolder(), platform.installed(),
                          [](const QString &path) { return QFileInfo(path).isWritable(); });
}

} // namespace helicordia
