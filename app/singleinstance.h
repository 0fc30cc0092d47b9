// One running copy per program folder. Two copies would each keep their own
// recent list and the one that ends last would overwrite the other's Dic.ini,
// so a second start hands over to the running copy and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace helicordia {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `programFolder` keys the lock and the local socket; `tempFolder` holds
    // the lock file.
    SingleInstance(const QString &programFolder, const QString &tempFolder);
    ~SingleInstance() override;

    // True when this is the only copy: the lock is taken (a lock left by a
    // copy that crashed is taken over) and the running copy now listens for
    // later starts. False when another copy runs: it has been asked to come to
    // the front.
    bool start();

    // The lock file and local socket name, derived from the program folder.
    const QString &lockPath() const { return lockPath_; }
    const QString &serverName() const { return serverName_; }

signals:
    // A later start asked this copy to bring its window to the front.
    void activationRequested();

private:
    bool askRunningCopy();

    QString lockPath_;
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace helicordia
