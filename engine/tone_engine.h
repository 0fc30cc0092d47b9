// The tone engine as an object the player calls, so that tests can put a
// recording fake in the real engine's place. Method names are the engine's
// function names.
#pragma once

#include "engine/tone.h"

class ToneEngine {
public:
    virtual ~ToneEngine() = default;
    virtual ToneResult Tone_System_Create(ToneHandle *system) = 0;
    virtual ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *version) = 0;
    virtual ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *extra) = 0;
    virtual ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp) = 0;
    virtual ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value) = 0;
    virtual ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused,
                                           ToneHandle *channel) = 0;
    virtual ToneResult Tone_Channel_SetFrequency(ToneHandle channel, float frequency) = 0;
    virtual ToneResult Tone_Channel_SetVolume(ToneHandle channel, float volume) = 0;
    virtual ToneResult Tone_Channel_SetPan(ToneHandle channel, float pan) = 0;
    virtual ToneResult Tone_Channel_SetPaused(ToneHandle channel, int paused) = 0;
    virtual ToneResult Tone_Channel_Stop(ToneHandle channel) = 0;
    virtual ToneResult Tone_Channel_GetPan(ToneHandle channel, float *pan) = 0;
    virtual ToneResult Tone_Channel_GetFrequency(ToneHandle channel, float *frequency) = 0;
    virtual ToneResult Tone_Channel_GetVolume(ToneHandle channel, float *volume) = 0;
    virtual ToneResult Tone_Channel_IsPlaying(ToneHandle channel, int *playing) = 0;
    // See Tone_Channel_IsHeard; an engine without output renders nothing.
    virtual ToneResult Tone_Channel_IsHeard(ToneHandle, int *heard)
    {
        *heard = 0;
        return TONE_OK;
    }
    virtual ToneResult Tone_System_Update(ToneHandle system) = 0;
    virtual ToneResult Tone_DSP_Release(ToneHandle dsp) = 0;
    virtual ToneResult Tone_System_Close(ToneHandle system) = 0;
    virtual ToneResult Tone_System_Release(ToneHandle system) = 0;
    virtual const char *Tone_ErrorString(ToneResult code) = 0;
    // The sound output: what can be heard, and where (see tone.h).
    virtual ToneResult Tone_System_GetOutputStatus(ToneHandle system, ToneOutputStatus *status) = 0;
    virtual ToneResult Tone_System_GetOutputCount(ToneHandle system, int *count) = 0;
    virtual ToneResult Tone_System_GetOutputInfo(ToneHandle system, int index, char *name, int nameSize,
                                                 char *description, int descriptionSize) = 0;
    virtual ToneResult Tone_System_SetOutput(ToneHandle system, const char *name) = 0;
};

// The real engine: forwards every call to the library's functions.
ToneEngine &realToneEngine();
