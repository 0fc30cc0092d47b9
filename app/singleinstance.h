// One running copy per program folder. Two copies would each keep their own
// recent list and the one that ends last would overwrite the other's Dic.ini,
// so a second start hands over to the running copy and ends.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace helicordia {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `programFolder` keys the lock and the local socket; `tempFolder` holds
    // both.
    SingleInstance(const QString &programFolder, const QString &tempFolder);
    ~SingleInstance() override;

    // True when this is the only copy: the lock is taken (a lock left by a
    // copy that crashed is taken over) and the running copy now listens for
    // later starts. False when another copy runs: it has been asked to come to
    // the front.
    bool start();

    // The lock file and the local socket, named after the program folder.
    const QString &lockPath() const { return lockPath_; }
    const QString &socketPath() const { return socketPath_; }

signals:
    // A later start asked this copy to bring its window to the front.
    void activationRequested();

private:
    bool askRunningCopy();
    void listen();
    void acceptAll();

    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    // A plain Unix socket: a knock on it is the whole message.
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> knocks_;
};

} // namespace helicordia
