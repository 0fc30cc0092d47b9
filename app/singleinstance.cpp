#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

QByteArray Encoded(const QString &path)
{
    return QFile::encodeName(path);
}

bool OwnedByMe(const struct stat &st)
{
    return st.st_uid == ::geteuid();
}

// A folder of this user's that nobody else may enter or change.
bool IsPrivateFolder(const QString &path)
{
    struct stat st {};
    return !path.isEmpty() && ::lstat(Encoded(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && OwnedByMe(st) &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// A socket of this user's at `path`.
bool IsOwnSocket(const QString &path)
{
    struct stat st {};
    return ::lstat(Encoded(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) && OwnedByMe(st);
}

// The lock file, opened (made with mode 0600 when missing). Something else
// under its name (another user's file, a link, a folder) is removed first.
int OpenLockFile(const QString &path)
{
    const QByteArray name = Encoded(path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && OwnedByMe(st))
            return fd;
        if (fd >= 0)
            ::close(fd);
        if (::unlink(name.constData()) != 0 && ::rmdir(name.constData()) != 0)
            return -1;
    }
    return -1;
}

// The socket's address; false when the path is too long for one.
bool AddressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray encoded = Encoded(path);
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

SingleInstance::SingleInstance(const QString &programFolder, const QString &runtimeFolder) : folder_(runtimeFolder)
{
    const QString key = FolderKey(programFolder);
    lockPath_ = QDir(runtimeFolder).filePath(QStringLiteral("helicordia-%1.lock").arg(key));
    socketPath_ = QDir(runtimeFolder).filePath(QStringLiteral("helicordia-%1").arg(key));
}

SingleInstance::~SingleInstance()
{
    if (listener_ >= 0) {
        knocks_.reset();
        ::close(listener_);
        ::unlink(Encoded(socketPath_).constData());
    }
    if (lock_ >= 0)
        ::close(lock_); // lets the lock go; the file stays for the next start
}

QString SingleInstance::UserRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return {};
    const QString own = QDir(cache).filePath(QStringLiteral("helicordia"));
    ::mkdir(Encoded(own).constData(), 0700);
    struct stat st {};
    if (::lstat(Encoded(own).constData(), &st) == 0 && S_ISDIR(st.st_mode) && OwnedByMe(st))
        ::chmod(Encoded(own).constData(), 0700);
    return IsPrivateFolder(own) ? own : QString();
}

bool SingleInstance::start()
{
    // In a folder others may enter, nothing can be trusted: run without the rule.
    if (!IsPrivateFolder(folder_))
        return true;
    lock_ = OpenLockFile(lockPath_);
    if (lock_ < 0)
        return true;
    if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) {
        listen();
        return true;
    }
    // Another copy holds the lock; if it does not answer, run anyway rather
    // than leave the user with nothing.
    ::close(std::exchange(lock_, -1));
    return !askRunningCopy();
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
    // The running copy listens right after it takes the lock: give it a
    // moment, in case it is between the two.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (IsOwnSocket(socketPath_)) {
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
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace helicordia
