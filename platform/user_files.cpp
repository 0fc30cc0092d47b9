#include "platform/user_files.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace helicordia {

namespace {

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString NotRegular(const QString &path)
{
    return QCoreApplication::translate("UserFiles", "\"%1\" is not a regular file.").arg(Native(path));
}

// Empty when `path` is missing or (through its links) a regular file.
QString CheckTarget(const QString &path)
{
    const QFileInfo info(path); // follows links
    return !info.exists() || info.isFile() ? QString() : NotRegular(path);
}

QString MakeFolderFor(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder))
        return QString();
    return QCoreApplication::translate("UserFiles", "The folder \"%1\" could not be created.").arg(Native(folder));
}

} // namespace

namespace {

FileRead ReadRegular(const QString &path, qint64 maxBytes, bool startOnly)
{
    FileRead result;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) // no such file, or a file where a folder on its way should be
            result.missing = true;
        else
            result.error = QCoreApplication::translate("UserFiles", "\"%1\" could not be read: %2.")
                               .arg(Native(path), SystemReason());
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.error = NotRegular(path);
        return result;
    }
    if (st.st_size > maxBytes && !startOnly) {
        ::close(fd);
        result.error = QCoreApplication::translate("UserFiles", "\"%1\" is larger than %2 MiB and was not read.")
                           .arg(Native(path))
                           .arg(double(maxBytes) / (1024.0 * 1024.0), 0, 'g', 3);
        return result;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = QCoreApplication::translate("UserFiles", "\"%1\" could not be read: %2.")
                           .arg(Native(path), file.errorString());
        return result;
    }
    // The file may grow while it is read: never take more than the limit.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        result.error = QCoreApplication::translate("UserFiles", "\"%1\" could not be read: %2.")
                           .arg(Native(path), file.errorString());
    else if (result.bytes.size() > maxBytes && startOnly)
        result.truncated = true;
    else if (result.bytes.size() > maxBytes)
        result.error = QCoreApplication::translate("UserFiles", "\"%1\" grew past its size limit while it was read.")
                           .arg(Native(path));
    if (!result.error.isEmpty())
        result.bytes.clear();
    if (result.truncated)
        result.bytes.truncate(maxBytes);
    return result;
}

} // namespace

FileRead ReadRegularFile(const QString &path, qint64 maxBytes)
{
    return ReadRegular(path, maxBytes, false);
}

FileRead ReadRegularFileStart(const QString &path, qint64 maxBytes)
{
    return ReadRegular(path, maxBytes, true);
}

QString WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (QString refused = CheckTarget(path); !refused.isEmpty())
        return refused;
    if (QString folder = MakeFolderFor(path); !folder.isEmpty())
        return folder;
    QSaveFile file(path);
    const auto fail = [&file, &path] {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QCoreApplication::translate("UserFiles", "\"%1\" could not be saved: %2.").arg(Native(path), reason);
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    if (file.write(bytes) != bytes.size())
        return fail();
    if (!file.commit())
        return QCoreApplication::translate("UserFiles", "\"%1\" could not be saved: %2.")
            .arg(Native(path), file.errorString());
    return QString();
}

QString AppendToFile(const QString &path, const QByteArray &record)
{
    if (QString refused = CheckTarget(path); !refused.isEmpty())
        return refused;
    if (QString folder = MakeFolderFor(path); !folder.isEmpty())
        return folder;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return QCoreApplication::translate("UserFiles", "\"%1\" could not be opened: %2.")
            .arg(Native(path), SystemReason());
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return NotRegular(path);
    }
    qsizetype done = 0;
    while (done < record.size()) {
        const ssize_t n = ::write(fd, record.constData() + done, static_cast<size_t>(record.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const QString reason = SystemReason();
            ::close(fd);
            return QCoreApplication::translate("UserFiles", "\"%1\" could not be written: %2.")
                .arg(Native(path), reason);
        }
        done += n;
    }
    if (::close(fd) != 0)
        return QCoreApplication::translate("UserFiles", "\"%1\" could not be written: %2.")
            .arg(Native(path), SystemReason());
    return QString();
}

} // namespace helicordia
