// The player's side of the sound output: the clock that runs only while the
// tone can be heard, what the status line is told when the output is lost,
// comes back or falls back to the default, and the output the user chose.
#include "treatment/player_core.h"

#include "platform/platform.h"

#include <QSettings>

namespace helicordia {

void PlayerCore::setClock(bool on)
{
    clockWanted_ = on;
    view_.setClockTimer(on && output_.heard());
}

// The clock runs only while the tone can be heard; each change of the sound
// output is told once.
void PlayerCore::watchSoundOutput()
{
    const SoundOutputWatch::News news = output_.look(soundSystem_);
    if (news.heardChanged)
        view_.setClockTimer(clockWanted_ && output_.heard());
    if (!news.notice.isEmpty()) {
        notice_ = news.notice;
        noticeTicks_ = 5000 / EngineTickIntervalMs;
        view_.soundOutputNotice(news.notice);
    }
}

void PlayerCore::chooseOutput(const QString &name)
{
    chosenOutput_ = name;
    outputForThisRun_ = false;
    WriteChosenOutput(platform_.openSettings().get(), name);
    if (programEnded_ || soundSystem_ == 0)
        return;
    // A sounding tone fades out where it plays and rises again there.
    engine_.Tone_System_SetOutput(soundSystem_, chosenOutput_.toUtf8().constData());
}

void PlayerCore::setOutputForThisRun(const QString &name)
{
    chosenOutput_ = name;
    outputForThisRun_ = true;
}

} // namespace helicordia
