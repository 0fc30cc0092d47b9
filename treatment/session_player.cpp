#include "treatment/session_player.h"

#include "engine/tone.h"

#include <cmath>

namespace helicordia {

SessionPlayer::SessionPlayer(Stage stage, QObject *parent) : QObject(parent), stage_(std::move(stage))
{
    handOff_.setSingleShot(true);
    handOff_.setTimerType(Qt::PreciseTimer);
    connect(&handOff_, &QTimer::timeout, this, &SessionPlayer::handOff_Timer);
}

SessionPlayer::~SessionPlayer()
{
    if (active())
        stage_.core->setStoppedListener({});
}

int SessionPlayer::HandOffDelayMs(float hertz)
{
    const int frames = Tone_RampFrames(hertz * ChannelFrequencyUnit) + 1;
    return int(std::ceil(double(frames) * 1000.0 / TONE_SAMPLE_RATE));
}

bool SessionPlayer::start(const SessionPlan &plan)
{
    end();
    if (plan.isEmpty())
        return false;
    plan_ = plan;
    PlayerCore &core = *stage_.core;
    core.btnStop_Click(); // a treatment playing by hand ends first
    core.setStoppedListener([this](bool byClock) { treatmentStopped(byClock); });
    core.setSkipPastLastEnds(true);
    play(0);
    return true;
}

void SessionPlayer::play(int part)
{
    part_ = part;
    stage_.load(plan_.treatmentOf(part));
    if (stage_.showPlace)
        stage_.showPlace(plan_.placeText(part));
    stage_.core->btnPlay_Click();
    if (stage_.started)
        stage_.started();
    emit partStarted(part);
}

void SessionPlayer::treatmentStopped(bool byClock)
{
    if (!byClock || part_ + 1 >= int(plan_.schedule().parts().size())) {
        finish(byClock);
        return;
    }
    const PlayerCore &core = *stage_.core;
    handOff_.start(HandOffDelayMs(core.frequencies()[std::size_t(core.currentFrequency())]));
}

void SessionPlayer::handOff_Timer()
{
    handOff_.stop();
    if (!active())
        return;
    // Play pressed meanwhile: the user has taken over.
    if (stage_.core->state() != PlayerState::Stopped) {
        finish(false);
        return;
    }
    play(part_ + 1);
}

void SessionPlayer::end()
{
    if (active())
        finish(false);
}

void SessionPlayer::finish(bool completed)
{
    handOff_.stop();
    stage_.core->setStoppedListener({});
    stage_.core->setSkipPastLastEnds(false);
    part_ = -1;
    if (stage_.showPlace)
        stage_.showPlace(QString());
    emit finished(completed);
}

} // namespace helicordia
