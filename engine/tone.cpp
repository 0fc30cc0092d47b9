// The handle-based interface of the tone engine.
//
// Every Tone_* function runs on the caller's thread. One that takes a handle
// reaches its object through one locked lookup (withSystem, withDsp,
// withChannel): the registry lock is held for the whole call, and an unknown
// or released handle gives TONE_ERR_INVALID_HANDLE. The render core (mixer.h)
// and the output stream (output.h) do the sound; this file keeps the handles,
// the channels' settings as the caller sees them, and publishes those
// settings to the voices.
#include "engine/tone.h"

#include "engine/tone_registry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>

namespace {

using namespace tone::registry;
using tone::Voice;

// ---- publishing settings to the voices --------------------------------------

double heardHz(const Registry &r, const Channel &c)
{
    if (c.frequencySet)
        return double(c.frequency) / double(kChannelUnitsPerHz);
    return c.dsp >= 0 ? double(r.dsps[std::size_t(c.dsp)].rate) : 0.0;
}

// A change that can make a voice sound wakes a suspended output; every
// change is told to the output, which may have to write again what has not
// been heard yet.
void publishFrequency(const Registry &r, System &s, const Channel &c)
{
    if (s.voice(c).setFrequency(heardHz(r, c)))
        s.output.changed();
    if (c.playing && !c.paused)
        s.output.wake();
}
void publishGains(System &s, const Channel &c)
{
    if (s.voice(c).setGains(c.volume, c.pan))
        s.output.changed();
}
void publishRun(System &s, const Channel &c)
{
    if (s.voice(c).setRun(c.playing, c.paused || s.moving))
        s.output.changed();
    if (c.playing && !c.paused && !s.moving)
        s.output.wake();
}

bool isFinite(float v)
{
    return std::isfinite(v);
}

void closeSystem(Registry &r, int slot, System &s)
{
    for (Channel &c : s.channels) {
        c.playing = false;
        publishRun(s, c);
    }
    s.output.close();
    for (int i = 0; i < TONE_MAX_CHANNELS; ++i) {
        Channel &c = s.channels[std::size_t(i)];
        if (c.assigned)
            ++r.channelGen[std::size_t(slot * TONE_MAX_CHANNELS + i)]; // old handles die
        c.assigned = false;
        c.playing = false;
        c.paused = false;
        c.dsp = -1;
        s.voice(c).reset();
    }
    s.initialized = false;
    s.noOutput = false;
}

} // namespace

// ---- API ----------------------------------------------------------------------

ToneResult Tone_System_Create(ToneHandle *system)
{
    if (!system)
        return TONE_ERR_INVALID_PARAM;
    return locked([system](Registry &r) -> ToneResult {
        for (std::uint32_t i = 0; i < kMaxSystems; ++i) {
            if (!r.systems[i]) {
                r.systems[i] = std::make_unique<System>();
                *system = makeHandle(kTypeSystem, ++r.systemGen[i], i);
                return TONE_OK;
            }
        }
        return TONE_ERR_OUT_OF_HANDLES;
    });
}

ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *version)
{
    return withSystem(system, Need::Handle,
                      [version](Registry &, System &, int) { return give(version, TONE_VERSION); });
}

ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *)
{
    return withSystem(system, Need::Handle, [=](Registry &, System &s, int) -> ToneResult {
        if (s.initialized)
            return TONE_ERR_ALREADY_INITIALIZED;
        if (maxChannels < 1 || maxChannels > TONE_MAX_CHANNELS)
            return TONE_ERR_INVALID_PARAM;
        s.mixer.channels = maxChannels;
        s.noOutput = (flags & TONE_INIT_NO_OUTPUT) != 0;
        // The output opens in the background: a sound server that is
        // missing or does not answer is a state of the output, not an error.
        if (!s.noOutput)
            s.output.open();
        s.initialized = true;
        return TONE_OK;
    });
}

ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp)
{
    return withSystem(system, Need::Initialised, [=](Registry &r, System &, int slot) -> ToneResult {
        if (!dsp)
            return TONE_ERR_INVALID_PARAM;
        if (type != TONE_DSP_TYPE_OSCILLATOR)
            return TONE_ERR_UNSUPPORTED;
        for (std::uint32_t i = 0; i < kMaxDsps; ++i) {
            Dsp &d = r.dsps[i];
            if (!d.alive) {
                d.alive = true;
                d.system = slot;
                d.rate = kDefaultOscillatorRate;
                d.waveform = 0;
                *dsp = makeHandle(kTypeDsp, ++d.gen, i);
                return TONE_OK;
            }
        }
        return TONE_ERR_OUT_OF_HANDLES;
    });
}

ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value)
{
    return withDsp(dsp, [=](Registry &r, Dsp &d, int slot) -> ToneResult {
        if (!isFinite(value))
            return TONE_ERR_INVALID_PARAM;
        if (index == TONE_OSCILLATOR_PARAM_TYPE) {
            if (value != 0.0f)
                return TONE_ERR_UNSUPPORTED; // only the sine is offered
            d.waveform = 0;
            return TONE_OK;
        }
        if (index == TONE_OSCILLATOR_PARAM_RATE) {
            if (value < 0.0f)
                return TONE_ERR_INVALID_PARAM;
            d.rate = value;
            // Channels that have no frequency of their own sound the rate.
            System &s = *r.systems[std::size_t(d.system)];
            for (const Channel &c : s.channels)
                if (c.assigned && c.dsp == slot && !c.frequencySet)
                    publishFrequency(r, s, c);
            return TONE_OK;
        }
        return TONE_ERR_INVALID_PARAM;
    });
}

ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused, ToneHandle *channel)
{
    return withSystem(system, Need::Initialised, [=](Registry &r, System &s, int sysSlot) -> ToneResult {
        int dspSlot = -1;
        const Dsp *d = findDsp(r, dsp, &dspSlot);
        if (!d || d->system != sysSlot)
            return TONE_ERR_INVALID_HANDLE;
        if (!channel)
            return TONE_ERR_INVALID_PARAM;

        int index = -1;
        bool reuse = false;
        if (channelIndex == TONE_CHANNEL_REUSE) {
            const ChannelRef ref = findChannel(r, *channel);
            if (ref.system == &s) {
                index = ref.index;
                reuse = true;
            }
        } else if (channelIndex >= 0) {
            if (channelIndex >= s.maxChannels())
                return TONE_ERR_INVALID_PARAM;
            index = channelIndex;
        } else if (channelIndex != -1) {
            return TONE_ERR_INVALID_PARAM;
        }
        if (index < 0) { // a free channel: never used first, then stopped ones
            for (int pass = 0; pass < 2 && index < 0; ++pass)
                for (int i = 0; i < s.maxChannels() && index < 0; ++i) {
                    const Channel &c = s.channels[std::size_t(i)];
                    if (pass == 0 ? !c.assigned : !c.playing)
                        index = i;
                }
            if (index < 0)
                return TONE_ERR_NO_FREE_CHANNEL;
        }

        Channel &c = s.channels[std::size_t(index)];
        const std::size_t global = std::size_t(sysSlot * TONE_MAX_CHANNELS + index);
        if (!reuse)
            ++r.channelGen[global];
        c.assigned = true;
        c.playing = true;
        c.paused = paused != 0;
        c.dsp = dspSlot;
        c.frequencySet = false;
        c.frequency = 0.0f;
        c.volume = 1.0f;
        c.pan = 0.0f;
        s.voice(c).restart();
        s.output.changed();
        publishFrequency(r, s, c);
        publishGains(s, c);
        publishRun(s, c);
        *channel = makeHandle(kTypeChannel, r.channelGen[global], std::uint32_t(global));
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetFrequency(ToneHandle channel, float frequency)
{
    // Any value is taken: the voice sounds what can be heard of it.
    return withChannel(channel, [frequency](Registry &r, System &s, Channel &c) -> ToneResult {
        c.frequency = frequency;
        c.frequencySet = true;
        publishFrequency(r, s, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetVolume(ToneHandle channel, float volume)
{
    return withChannel(channel, [volume](Registry &, System &s, Channel &c) -> ToneResult {
        if (std::isnan(volume))
            return TONE_ERR_INVALID_PARAM;
        c.volume = std::clamp(volume, 0.0f, 1.0f);
        publishGains(s, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetPan(ToneHandle channel, float pan)
{
    return withChannel(channel, [pan](Registry &, System &s, Channel &c) -> ToneResult {
        if (std::isnan(pan))
            return TONE_ERR_INVALID_PARAM;
        c.pan = std::clamp(pan, -1.0f, 1.0f);
        publishGains(s, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetPaused(ToneHandle channel, int paused)
{
    return withChannel(channel, [paused](Registry &, System &s, Channel &c) -> ToneResult {
        c.paused = paused != 0;
        publishRun(s, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_Stop(ToneHandle channel)
{
    return withChannel(channel, [](Registry &, System &s, Channel &c) -> ToneResult {
        c.playing = false;
        publishRun(s, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_GetPan(ToneHandle channel, float *pan)
{
    return readChannel(channel, pan, [](const Registry &, const Channel &c) { return c.pan; });
}

ToneResult Tone_Channel_GetFrequency(ToneHandle channel, float *frequency)
{
    return readChannel(channel, frequency, [](const Registry &r, const Channel &c) {
        if (c.frequencySet)
            return c.frequency;
        return c.dsp >= 0 ? r.dsps[std::size_t(c.dsp)].rate * kChannelUnitsPerHz : 0.0f;
    });
}

ToneResult Tone_Channel_GetVolume(ToneHandle channel, float *volume)
{
    return readChannel(channel, volume, [](const Registry &, const Channel &c) { return c.volume; });
}

ToneResult Tone_Channel_IsPlaying(ToneHandle channel, int *playing)
{
    return readChannel(channel, playing, [](const Registry &, const Channel &c) { return c.playing ? 1 : 0; });
}

ToneResult Tone_Channel_IsHeard(ToneHandle channel, int *heard)
{
    return withChannel(channel, [heard](Registry &, System &s, Channel &c) -> ToneResult {
        return give(heard, s.voice(c).heard() ? 1 : 0);
    });
}

ToneResult Tone_System_Update(ToneHandle system)
{
    return withSystem(system, Need::Initialised, [](Registry &, System &s, int) -> ToneResult {
        if (s.noOutput)
            return TONE_OK;
        s.output.update();
        if (s.moving && !s.output.moving()) {
            // Moved: the voices rise again, on the new output.
            s.moving = false;
            for (const Channel &c : s.channels)
                if (c.assigned)
                    publishRun(s, c);
        }
        return TONE_OK;
    });
}

ToneResult Tone_DSP_Release(ToneHandle dsp)
{
    return withDsp(dsp, [](Registry &r, Dsp &d, int slot) -> ToneResult {
        System &s = *r.systems[std::size_t(d.system)];
        for (Channel &c : s.channels) {
            if (c.dsp == slot) {
                c.playing = false; // a channel cannot outlive its oscillator
                publishRun(s, c);
                c.dsp = -1;
            }
        }
        d.alive = false;
        d.system = -1;
        return TONE_OK;
    });
}

ToneResult Tone_System_Close(ToneHandle system)
{
    return withSystem(system, Need::Handle, [](Registry &r, System &s, int slot) -> ToneResult {
        if (s.initialized)
            closeSystem(r, slot, s);
        return TONE_OK;
    });
}

ToneResult Tone_System_Release(ToneHandle system)
{
    return withSystem(system, Need::Handle, [](Registry &r, System &s, int slot) -> ToneResult {
        if (s.initialized)
            closeSystem(r, slot, s);
        for (Dsp &d : r.dsps) {
            if (d.alive && d.system == slot) {
                d.alive = false;
                d.system = -1;
            }
        }
        r.systems[std::size_t(slot)].reset();
        ++r.systemGen[std::size_t(slot)]; // the old handle dies even if the slot is reused
        return TONE_OK;
    });
}

const char *Tone_ErrorString(ToneResult code)
{
    switch (code) {
    case TONE_OK: return "No errors.";
    case TONE_ERR_INVALID_HANDLE: return "An invalid or released handle was used.";
    case TONE_ERR_INVALID_PARAM: return "An invalid parameter was passed to this function.";
    case TONE_ERR_NOT_INITIALIZED: return "The sound system has not been initialised.";
    case TONE_ERR_ALREADY_INITIALIZED: return "The sound system has already been initialised.";
    case TONE_ERR_NO_OUTPUT_DEVICE: return "No sound output device could be opened.";
    case TONE_ERR_OUTPUT_FAILED: return "The sound output failed.";
    case TONE_ERR_UNSUPPORTED: return "This feature is not supported.";
    case TONE_ERR_NO_FREE_CHANNEL: return "No free channel is left to play on.";
    case TONE_ERR_OUT_OF_HANDLES: return "Too many objects are in use.";
    case TONE_ERR_NO_SOUND_SERVER:
        return "No sound server answers. Start PipeWire (with its PulseAudio service, pipewire-pulse) or PulseAudio.";
    case TONE_ERR_SERVER_NOT_ANSWERING: return "The sound server does not answer.";
    case TONE_ERR_SERVER_LOST: return "The sound server went away.";
    case TONE_ERR_MODULE_MISSING: return "A sound-output module of this program is missing.";
    default: return "Unknown error.";
    }
}
