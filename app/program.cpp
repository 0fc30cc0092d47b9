#include "app/program.h"

#include "app/history_window.h"
#include "app/session_actions.h"
#include "treatment/export/audio_export.h"

#include <QApplication>
#include <QTimer>

namespace helicordia {

void SilencingPlatform::endProgram(int status)
{
    if (auto silence = std::exchange(silence_, nullptr))
        silence();
    inner_.endProgram(status);
}

Program::Program(ToneEngine &engine, Platform &platform, const QString &lockFolder)
    : engine_(engine),
      platform_(platform),
      filesAhead_(platform_),
      main_(platform_),
      instance_(platform.programFolder(), lockFolder)
{
    recorder_ = std::make_unique<TreatmentRecorder>(
        platform_.userFile(QLatin1String(HistoryFileName)), platform_.userFile(QLatin1String(ResumeFileName)),
        [this](const QString &text) { platform_.message(ApplicationTitle, text); });
    main_.setShowHistory([this] { showHistory(); });
    main_.useFilesReadAhead(&filesAhead_);
    main_.setToneEngine(engine_);
    // A player never built has no tone to fade.
    platform_.setSilence([this] {
        if (player_)
            player_->silenceForEnd();
    });
    main_.setPlayerStart([this](int numar, const QString &description, const QString &frecvente) {
        player().Player_Start(numar, description, frecvente);
    });
    main_.sessionActions().setPlayer([this](const SessionPlan &plan) { player().playSession(plan); },
                                     [this] { return player_ ? player_->chosenVolume() : DefaultExportVolume; });
    connect(&instance_, &SingleInstance::activationRequested, this, &Program::bringToFront);
    // A signal ends the program the way Exit does: tone out, settings and
    // recent list written, status 0. Before the main window has loaded, it
    // ends the program at once and writes nothing (Form_Unload).
    connect(&signals_, &ExitSignals::exitRequested, this, &Program::end);
}

std::optional<int> Program::start()
{
    if (!instance_.start())
        return 0;
    if (!main_.Form_Load())
        return 1;
    main_.show();
    // Asked once the window is there; never by a second copy, which has ended above.
    QTimer::singleShot(0, this, &Program::offerResume);
    return std::nullopt;
}

Player &Program::player()
{
    if (!player_) {
        player_ = std::make_unique<Player>(engine_, platform_, &main_);
        player_->setSaveBeforeAbruptEnd([this] { main_.SaveAll(); });
        player_->core().setObserver(recorder_.get());
        player_->setShowHistory([this] { showHistory(); });
    }
    return *player_;
}

void Program::end()
{
    main_.Form_Unload();
}

void Program::bringToFront()
{
    QWidget *window = player_ && player_->isVisible() ? static_cast<QWidget *>(player_.get()) : &main_;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    // A question that is open (the resume question) stays above its window.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace helicordia
