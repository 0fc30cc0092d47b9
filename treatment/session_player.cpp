#include "treatment/session_player.h"

namespace helicordia {

SessionPlayer::SessionPlayer(Stage stage, QObject *parent) : QObject(parent), stage_(std::move(stage))
{
    handOff_.setInterval(HandOffPollMs);
    handOff_.setTimerType(Qt::PreciseTimer);
    connect(&handOff_, &QTimer::timeout, this, &SessionPlayer::handOff_Timer);
}

SessionPlayer::~SessionPlayer()
{
    if (active())
        stage_.core->setStoppedListener({});
}

bool SessionPlayer::start(const SessionPlan &plan)
{
    end();
    if (plan.isEmpty())
        return false;
    plan_ = plan;
    PlayerCore &core = *stage_.core;
    // A treatment playing by hand ends first (a hold is let go, or Stop would
    // be ignored).
    if (core.state() == PlayerState::Holding)
        core.btnHold_Click();
    core.btnStop_Click();
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
    handOffWait_.start();
    handOff_.start();
}

void SessionPlayer::handOff_Timer()
{
    // The next tone rises once the last one has faded out where it is heard.
    if (stage_.core->toneHeard() && handOffWait_.isValid() && handOffWait_.elapsed() < HandOffLongestMs)
        return;
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
