#include "treatment/listen_tone.h"

#include "platform/application.h"
#include "platform/platform.h"
#include "treatment/engine_error.h"
#include "treatment/frequency_program.h"
#include "treatment/player_core.h"
#include "treatment/sound_output.h"

#include <QSettings>

namespace helicordia {

ListenTone::ListenTone(ToneEngine &engine, Platform &platform) : engine_(engine), platform_(platform) {}

ListenTone::~ListenTone()
{
    stop();
}

bool ListenTone::check(ToneResult result)
{
    if (result == TONE_OK)
        return true;
    stop();
    platform_.message(
        ApplicationTitle,
        tr("The tone cannot be played.\n\n%1").arg(EngineErrorText(result, engine_.Tone_ErrorString(result))));
    return false;
}

bool ListenTone::start(float hertz)
{
    if (system_ != 0)
        return check(engine_.Tone_Channel_SetFrequency(channel_, hertz * ChannelFrequencyUnit));
    if (!check(engine_.Tone_System_Create(&system_)) ||
        !check(engine_.Tone_System_Init(system_, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr)) ||
        !check(engine_.Tone_System_CreateDSPByType(system_, TONE_DSP_TYPE_OSCILLATOR, &oscillator_)) ||
        !check(engine_.Tone_DSP_SetParameter(oscillator_, TONE_OSCILLATOR_PARAM_RATE, 440.0f)) ||
        !check(engine_.Tone_System_PlayDSP(system_, TONE_CHANNEL_REUSE, oscillator_, 1, &channel_)) ||
        !check(engine_.Tone_Channel_SetVolume(channel_, float(InitialVolume) / float(VolumeScale))) ||
        !check(engine_.Tone_DSP_SetParameter(oscillator_, TONE_OSCILLATOR_PARAM_TYPE, 0.0f)) ||
        !check(engine_.Tone_Channel_SetFrequency(channel_, hertz * ChannelFrequencyUnit)))
        return false;
    // Where the player plays.
    const QString output = ReadChosenOutput(platform_.openSettings().get());
    if (!output.isEmpty())
        engine_.Tone_System_SetOutput(system_, output.toUtf8().constData());
    return check(engine_.Tone_Channel_SetPaused(channel_, 0));
}

void ListenTone::stop()
{
    // Results no longer matter: whatever was made is given back.
    if (channel_ != 0)
        engine_.Tone_Channel_Stop(channel_);
    if (oscillator_ != 0)
        engine_.Tone_DSP_Release(oscillator_);
    if (system_ != 0) {
        engine_.Tone_System_Close(system_); // lets the stop's ramp play out
        engine_.Tone_System_Release(system_);
    }
    system_ = oscillator_ = channel_ = 0;
}

} // namespace helicordia
