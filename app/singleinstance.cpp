#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace helicordia {

namespace {

QString FolderKey(const QString &programFolder)
{
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    return QString::fromLatin1(QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

constexpr int ConnectMs = 1000;

} // namespace

SingleInstance::SingleInstance(const QString &programFolder, const QString &tempFolder)
{
    const QString key = FolderKey(programFolder);
    lockPath_ = QDir(tempFolder).filePath(QStringLiteral("helicordia-%1.lock").arg(key));
    serverName_ = QStringLiteral("helicordia-%1").arg(key);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activationRequested();
        }
    });
}

SingleInstance::~SingleInstance() = default;

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
    QLocalServer::removeServer(serverName_); // a socket left by a crashed copy
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(serverName_);
    return true;
}

bool SingleInstance::askRunningCopy()
{
    // The running copy may still be starting: give it a moment to listen.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(ConnectMs)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(ConnectMs);
            socket.disconnectFromServer();
            return true;
        }
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
