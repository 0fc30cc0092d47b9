// SIGTERM (logout, kill), SIGINT (Ctrl+C in a terminal) and SIGHUP (the
// terminal went away) end the program the normal way: the handler only
// writes the signal's number into a pipe, and the event loop reads it and
// asks for the normal shutdown.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace helicordia {

class ExitSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for SIGTERM, SIGINT and SIGHUP; one instance at a time.
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

    ExitSignals(const ExitSignals &) = delete;
    ExitSignals &operator=(const ExitSignals &) = delete;

    bool installed() const { return notifier_ != nullptr; }

signals:
    // One of the signals arrived; emitted from the event loop.
    void exitRequested(int signalNumber);

private:
    void readPipe();

    int fds_[2] = {-1, -1};
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace helicordia
