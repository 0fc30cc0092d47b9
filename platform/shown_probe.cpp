#include "platform/shown_probe.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QMetaObject>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace helicordia {

namespace {

QByteArray ResidentLine()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QByteArray();
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.simplified();
    return QByteArray();
}

class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget &window, bool exitAfter) : QObject(&window), exitAfter_(exitAfter) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the painted picture reaches the screen first.
            QMetaObject::invokeMethod(this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        std::printf("shown %s\n", ResidentLine().constData());
        std::fflush(stdout);
        if (exitAfter_)
            ::_exit(0);
    }

    bool exitAfter_;
};

} // namespace

void WatchFirstPaint(QWidget &window)
{
    const QByteArray mode = qgetenv("HELICORDIA_SHOWN_PROBE");
    if (mode.isEmpty())
        return;
    window.installEventFilter(new FirstPaintWatch(window, mode == "exit"));
}

} // namespace helicordia
