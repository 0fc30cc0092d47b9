#include "app/program.h"

namespace helicordia {

void SilencingPlatform::endProgram(int status)
{
    if (auto silence = std::exchange(silence_, nullptr))
        silence();
    inner_.endProgram(status);
}

Program::Program(ToneEngine &engine, Platform &platform, const QString &lockFolder)
    : platform_(platform)
    , main_(platform_)
    , player_(engine, platform_, &main_)
    , instance_(platform.programFolder(), lockFolder)
{
    platform_.setSilence([this] { player_.silenceForEnd(); });
    player_.setSaveBeforeAbruptEnd([this] { main_.SaveAll(); });
    main_.setPlayerStart([this](int numar, const QString &description, const QString &frecvente) {
        player_.Player_Start(numar, description, frecvente);
    });
    connect(&instance_, &SingleInstance::activationRequested, this, &Program::bringToFront);
    // A signal ends the program the way Exit does: tone out, settings and
    // recent list written, status 0.
    connect(&signals_, &ExitSignals::exitRequested, this, &Program::end);
}

std::optional<int> Program::start()
{
    if (!instance_.start())
        return 0;
    if (!main_.Form_Load())
        return 1;
    main_.show();
    return std::nullopt;
}

void Program::end()
{
    main_.Form_Unload();
}

void Program::bringToFront()
{
    QWidget *window = player_.isVisible() ? static_cast<QWidget *>(&player_) : &main_;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace helicordia
