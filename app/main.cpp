#include "mainwindow.h"
#include "player.h"
#include "tone_engine.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Helicordia"));
    QApplication::setApplicationVersion(QStringLiteral(HELICORDIA_VERSION));

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
