#include "engine/tone_engine.h"

namespace {

class RealToneEngine final : public ToneEngine {
public:
    ToneResult Tone_System_Create(ToneHandle *system) override { return ::Tone_System_Create(system); }
    ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *version) override
    {
        return ::Tone_System_GetVersion(system, version);
    }
    ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *extra) override
    {
        return ::Tone_System_Init(system, maxChannels, flags, extra);
    }
    ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp) override
    {
        return ::Tone_System_CreateDSPByType(system, type, dsp);
    }
    ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value) override
    {
        return ::Tone_DSP_SetParameter(dsp, index, value);
    }
    ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused,
                                   ToneHandle *channel) override
    {
        return ::Tone_System_PlayDSP(system, channelIndex, dsp, paused, channel);
    }
    ToneResult Tone_Channel_SetFrequency(ToneHandle channel, float frequency) override
    {
        return ::Tone_Channel_SetFrequency(channel, frequency);
    }
    ToneResult Tone_Channel_SetVolume(ToneHandle channel, float volume) override
    {
        return ::Tone_Channel_SetVolume(channel, volume);
    }
    ToneResult Tone_Channel_SetPan(ToneHandle channel, float pan) override
    {
        return ::Tone_Channel_SetPan(channel, pan);
    }
    ToneResult Tone_Channel_SetPaused(ToneHandle channel, int paused) override
    {
        return ::Tone_Channel_SetPaused(channel, paused);
    }
    ToneResult Tone_Channel_Stop(ToneHandle channel) override { return ::Tone_Channel_Stop(channel); }
    ToneResult Tone_Channel_GetPan(ToneHandle channel, float *pan) override
    {
        return ::Tone_Channel_GetPan(channel, pan);
    }
    ToneResult Tone_Channel_GetFrequency(ToneHandle channel, float *frequency) override
    {
        return ::Tone_Channel_GetFrequency(channel, frequency);
    }
    ToneResult Tone_Channel_GetVolume(ToneHandle channel, float *volume) override
    {
        return ::Tone_Channel_GetVolume(channel, volume);
    }
    ToneResult Tone_Channel_IsPlaying(ToneHandle channel, int *playing) override
    {
        return ::Tone_Channel_IsPlaying(channel, playing);
    }
    ToneResult Tone_Channel_IsHeard(ToneHandle channel, int *heard) override
    {
        return ::Tone_Channel_IsHeard(channel, heard);
    }
    ToneResult Tone_System_Update(ToneHandle system) override { return ::Tone_System_Update(system); }
    ToneResult Tone_DSP_Release(ToneHandle dsp) override { return ::Tone_DSP_Release(dsp); }
    ToneResult Tone_System_Close(ToneHandle system) override { return ::Tone_System_Close(system); }
    ToneResult Tone_System_Release(ToneHandle system) override { return ::Tone_System_Release(system); }
    const char *Tone_ErrorString(ToneResult code) override { return ::Tone_ErrorString(code); }
    ToneResult Tone_System_GetOutputStatus(ToneHandle system, ToneOutputStatus *status) override
    {
        return ::Tone_System_GetOutputStatus(system, status);
    }
    ToneResult Tone_System_GetOutputCount(ToneHandle system, int *count) override
    {
        return ::Tone_System_GetOutputCount(system, count);
    }
    ToneResult Tone_System_GetOutputInfo(ToneHandle system, int index, char *name, int nameSize, char *description,
                                         int descriptionSize) override
    {
        return ::Tone_System_GetOutputInfo(system, index, name, nameSize, description, descriptionSize);
    }
    ToneResult Tone_System_SetOutput(ToneHandle system, const char *name) override
    {
        return ::Tone_System_SetOutput(system, name);
    }
};

} // namespace

ToneEngine &realToneEngine()
{
    static RealToneEngine engine;
    return engine;
}
