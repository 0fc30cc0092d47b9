#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace helicordia {

namespace {

QString FolderKey(const QString &programFolder)
{
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    return QString::fromLatin1(QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

// The socket's address; false when the path is too long for one.
bool AddressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray encoded = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

const sockaddr *Generic(const sockaddr_un &address)
{
    return reinterpret_cast<const sockaddr *>(&address);
}

} // namespace

SingleInstance::SingleInstance(const QString &programFolder, const QString &tempFolder)
{
    const QString key = FolderKey(programFolder);
    lockPath_ = QDir(tempFolder).filePath(QStringLiteral("helicordia-%1.lock").arg(key));
    socketPath_ = QDir(tempFolder).filePath(QStringLiteral("helicordia-%1").arg(key));
}

SingleInstance::~SingleInstance()
{
    if (listener_ < 0)
        return;
    knocks_.reset();
    ::close(listener_);
    ::unlink(QFile::encodeName(socketPath_).constData());
}

bool SingleInstance::start()
{
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // Never stale by age: the copy holding it may run for days. A lock whose
    // process is gone is taken over by tryLock itself.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() == QLockFile::LockFailedError && askRunningCopy())
            return false;
        // The running copy does not answer, or the lock cannot be made at all:
        // start anyway rather than leave the user with nothing.
        if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
            lock_->tryLock(0);
    }
    listen();
    return true;
}

void SingleInstance::listen()
{
    sockaddr_un address;
    if (!AddressOf(socketPath_, address))
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    ::unlink(address.sun_path); // a socket left by a crashed copy
    if (::bind(fd, Generic(address), sizeof address) != 0 || ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    listener_ = fd;
    knocks_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(knocks_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptAll);
}

void SingleInstance::acceptAll()
{
    for (;;) {
        const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0)
            return;
        ::close(peer);
        emit activationRequested();
    }
}

bool SingleInstance::askRunningCopy()
{
    sockaddr_un address;
    if (!AddressOf(socketPath_, address))
        return false;
    // The running copy may still be starting: give it a moment to listen.
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Not blocking: a copy that hangs with a full queue must not hang this one.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return false;
        const bool answered = ::connect(fd, Generic(address), sizeof address) == 0;
        if (answered)
            ::send(fd, "raise\n", 6, MSG_NOSIGNAL); // older copies read it; being heard is enough
        ::close(fd);
        if (answered)
            return true;
        QLockFile probe(lockPath_);
        qint64 pid = 0;
        QString host, app;
        if (!probe.getLockInfo(&pid, &host, &app))
            return false; // the lock is gone: nobody to ask
        QThread::msleep(100);
    }
    return false;
}

} // namespace helicordia
