#include "commandline.h"
#include "mainwindow.h"
#include "player.h"
#include "tone_engine.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Helicordia"));
    QApplication::setApplicationVersion(QStringLiteral(HELICORDIA_VERSION));
    {
        QTextStream out(stdout), err(stderr);
        helicordia::CommandLine commandLine;
        if (const auto status = commandLine.handle(helicordia::ArgumentsOf(argc, argv), out, err))
            return *status;
    }

    QApplication app(argc, argv);

    helicordia::MainWindow mainWindow;
    helicordia::Player player(realToneEngine(), &mainWindow);
    mainWindow.setPlayerStart([&player](int numar, const QString &description, const QString &frecvente) {
        player.Player_Start(numar, description, frecvente);
    });
    if (!mainWindow.Form_Load())
        return 1;
    mainWindow.show();
    return app.exec();
}
