#include "app/terminal/terminal_player.h"

#include "app/terminal/terminal_modes.h"
#include "treatment/session_player.h"

namespace helicordia {

TerminalPlayer::TerminalPlayer(ToneEngine &engine, Platform &platform, const Settings &settings,
                               std::function<void(const QString &)> show, std::function<bool()> stopRequested)
    : settings_(settings),
      core_(engine, *this, platform),
      show_(std::move(show)),
      stopRequested_(std::move(stopRequested))
{
    clockTimer_.setInterval(1000);
    clockTimer_.setTimerType(Qt::PreciseTimer);
    engineTimer_.setInterval(100);
    connect(&clockTimer_, &QTimer::timeout, this, &TerminalPlayer::tick);
    connect(&engineTimer_, &QTimer::timeout, this, &TerminalPlayer::engineTick);
}

bool TerminalPlayer::start()
{
    if (settings_.output)
        core_.setOutputForThisRun(*settings_.output);
    if (!core_.Form_Load())
        return false;
    engineTimer_.start();
    core_.LoadProgram(settings_.number, settings_.name, settings_.frequencies);
    length_ = settings_.lengthSeconds > 0 ? settings_.lengthSeconds : core_.treatmentLength();
    elapsed_ = settings_.startSecond;
    core_.lengthSlider_Change();
    return !core_.programEnded();
}

// The output is open: the treatment starts (a resume: where it stopped).
void TerminalPlayer::begin()
{
    begun_ = true;
    if (settings_.startSecond > 0 || settings_.startIndex > 1)
        core_.playFrom(settings_.startSecond, settings_.startIndex);
    else
        core_.btnPlay_Click();
    if (core_.programEnded()) {
        finish();
        return;
    }
    if (settings_.panSlider != 0)
        core_.panSlider_Click();
    report();
}

void TerminalPlayer::soundOutputNotice(const QString &text)
{
    if (notice_)
        notice_(text);
}

// A session starts at once; its clock waits until the tone can be heard.
bool TerminalPlayer::startSession(const SessionPlan &plan)
{
    if (settings_.output)
        core_.setOutputForThisRun(*settings_.output);
    if (!core_.Form_Load())
        return false;
    begun_ = true;
    engineTimer_.start();
    SessionPlayer::Stage stage;
    stage.core = &core_;
    stage.load = [this](const SessionTreatment &t) { loadTreatment(t); };
    stage.showPlace = [this](const QString &text) {
        if (!text.isEmpty())
            place_ = text;
    };
    stage.started = [this] {
        if (settings_.panSlider != 0)
            core_.panSlider_Click();
        elapsed_ = 0;
        report();
    };
    session_ = new SessionPlayer(std::move(stage), this);
    return session_->start(plan) && !core_.programEnded();
}

void TerminalPlayer::loadTreatment(const SessionTreatment &treatment)
{
    settings_.number = PlayerNumber(treatment.found->entry);
    settings_.name = treatment.found->name;
    settings_.frequencies = treatment.found->frequencies;
    core_.LoadProgram(settings_.number, settings_.name, settings_.frequencies);
    length_ = treatment.lengthSeconds;
    core_.lengthSlider_Change();
}

int TerminalPlayer::sessionPart() const
{
    return session_ ? session_->part() : -1;
}

void TerminalPlayer::setText(PlayerLabel, const QString &) {}

void TerminalPlayer::setClockTimer(bool on)
{
    if (on)
        clockTimer_.start();
    else
        clockTimer_.stop();
}

void TerminalPlayer::tick()
{
    core_.clockTimer_Timer();
    if (core_.state() == PlayerState::Stopped) {
        elapsed_ = length_;
        if (session_ && session_->handOffPending())
            report(); // the next treatment follows
        else
            finish();
    } else {
        elapsed_ = core_.elapsedSeconds();
        report();
    }
}

void TerminalPlayer::engineTick()
{
    if (stopRequested_ && stopRequested_()) {
        core_.noteProgramEnding();
        core_.btnStop_Click(); // fades the tone out
        finish();
        return;
    }
    core_.engineTimer_Timer();
    if (begun_ || finished_)
        return;
    // Waiting for the output: it opens (the treatment starts), or the
    // first attempt fails (said once by the notice; the run ends).
    if (core_.soundOutput().neverOpened())
        finish();
    else if (core_.soundOutput().heard())
        begin();
}

void TerminalPlayer::report()
{
    const int k = core_.currentFrequency();
    const QString line = ProgressLine(settings_.name.trimmed(), core_.frequencies()[std::size_t(k)], k,
                                      core_.frequencyCount(), elapsed_, length_);
    show_(place_.isEmpty() ? line : tr("%1 | %2").arg(line, place_));
}

void TerminalPlayer::finish()
{
    if (finished_)
        return;
    finished_ = true;
    clockTimer_.stop();
    engineTimer_.stop();
    if (begun_)
        report();
    core_.Form_Unload(); // closing the engine lets the fade-out play first
    // Status 1 when the treatment was not heard in full: the engine failed,
    // or the sound was lost (or never there) at some time.
    const bool heardInFull = begun_ && !core_.programEnded() && !core_.soundOutput().everLost();
    emit finished(heardInFull ? 0 : 1);
}

} // namespace helicordia
