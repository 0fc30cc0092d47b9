#include "platform/shown_probe.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QMetaObject>
#include <QWidget>

#include <cstdio>
#include <unistd.h>
#include <utility>

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
    FirstPaintWatch(QWidget &window, std::function<void()> action) : QObject(&window), action_(std::move(action))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the painted picture reaches the screen first.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    action_();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

void AfterFirstPaint(QWidget &window, std::function<void()> action)
{
    new FirstPaintWatch(window, std::move(action));
}

void WatchFirstPaint(QWidget &window)
{
    const QByteArray mode = qgetenv("HELICORDIA_SHOWN_PROBE");
    if (mode.isEmpty())
        return;
    AfterFirstPaint(window, [exitAfter = mode == "exit"] {
        std::printf("shown %s\n", ResidentLine().constData());
        std::fflush(stdout);
        if (exitAfter)
            ::_exit(0);
    });
}

} // namespace helicordia
