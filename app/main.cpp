#include "app/commandline.h"
#include "app/main_window_access.h"
#include "app/program.h"
#include "app/terminal/terminal_modes.h"
#include "engine/tone_engine.h"
#include "platform/application.h"
#include "platform/desktop_platform.h"
#include "platform/shown_probe.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(helicordia::ApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(HELICORDIA_VERSION));
    helicordia::DesktopPlatform platform;
    if (const auto status = helicordia::RunTerminalMode(argc, argv, platform))
        return *status;
    {
        QTextStream out(stdout), err(stderr);
        helicordia::CommandLine commandLine;
        helicordia::DescribeTerminalModes(commandLine.parser());
        if (const auto status = commandLine.handle(helicordia::ArgumentsOf(argc, argv), out, err))
            return *status;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(HELICORDIA_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(HELICORDIA_APP_ID)));

    helicordia::Program program(realToneEngine(), platform, QDir::tempPath());
    helicordia::QuitKey quitKey([&program] { program.end(); });
    app.installEventFilter(&quitKey);
    helicordia::WatchFirstPaint(program.mainWindow());
    if (const auto status = program.start())
        return *status;
    return app.exec();
}
