#include "app/recentlocation.h"

#include "platform/application.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace helicordia {

QString RecentFilePath(const QString &programFolder, const QString &userDataFolder,
                       const std::function<bool(const QString &)> &canWrite)
{
    const QString &name = RecentListFileName;
    const QString inProgramFolder = QDir(programFolder).filePath(name);
    const QFileInfo file(inProgramFolder);
    if (QFileInfo(programFolder).isDir() && canWrite(programFolder) && (!file.exists() || canWrite(inProgramFolder)))
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

QString RecentFilePath(const QString &programFolder)
{
    return RecentFilePath(programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                          [](const QString &path) { return QFileInfo(path).isWritable(); });
}

} // namespace helicordia
