// One running copy per program folder. Two copies would each keep their own
// recent list and the one that ends last would overwrite the other's Dic.ini,
// so a second start hands over to the running copy and ends.
//
// The lock and the socket live in the user's own runtime folder, which no
// other user can enter, and nothing found there is trusted unless it belongs
// to this user. The lock is a lock on an open file (flock), which the system
// lets go when its process ends however it ends: a file left by a crash is
// just a file, taken over at once.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace helicordia {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `programFolder` keys the lock and the local socket; `runtimeFolder`
    // holds both. It must be a folder of this user's that nobody else may
    // enter (mode 0700), or the program runs without the one-copy rule.
    SingleInstance(const QString &programFolder, const QString &runtimeFolder);
    ~SingleInstance() override;

    // The user's private runtime folder: $XDG_RUNTIME_DIR when it is a private
    // folder of this user's, otherwise "helicordia" in the user's cache folder
    // (~/.cache), made with mode 0700. Empty when neither can be had.
    static QString UserRuntimeFolder();

    // True when this copy is to run: it holds the lock and listens for later
    // starts (or the lock could not be had at all, and it runs anyway). False
    // when another copy runs: it has been asked to come to the front.
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

    QString folder_;
    QString lockPath_;
    QString socketPath_;
    int lock_ = -1;
    // A plain Unix socket: a knock on it is the whole message.
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> knocks_;
};

} // namespace helicordia
