// The yardstick for the program's start-up: an empty Qt window of the main
// window's size, shown and timed the same way (see bench/startup.py).
#include "platform/shown_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(623, 457);
    helicordia::WatchFirstPaint(window);
    window.show();
    return app.exec();
}
