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

#include "engine/mixer.h"
#include "engine/output.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>

namespace {

using tone::Mixer;
using tone::OutputStream;
using tone::Voice;

constexpr int kMaxSystems = 16;
constexpr int kMaxDsps = 256;
constexpr float kDefaultOscillatorRate = 220.0f;
constexpr float kChannelUnitsPerHz = 100.0f; // channel frequencies are Hz x 100

// ---- handles: [type:4][generation:16][index:12] ---------------------------

enum : std::uint32_t { kTypeSystem = 1, kTypeDsp = 2, kTypeChannel = 3 };

ToneHandle makeHandle(std::uint32_t type, std::uint16_t gen, std::uint32_t index)
{
    return (type << 28) | (std::uint32_t(gen) << 12) | (index & 0xFFF);
}
std::uint32_t handleType(ToneHandle h)
{
    return h >> 28;
}
std::uint16_t handleGen(ToneHandle h)
{
    return std::uint16_t((h >> 12) & 0xFFFF);
}
std::uint32_t handleIndex(ToneHandle h)
{
    return h & 0xFFF;
}

// ---- objects ----------------------------------------------------------------

// A channel's settings as the caller sees them (under the registry lock).
struct Channel {
    bool assigned = false; // has been given a handle
    bool playing = false;
    bool paused = false;
    int dsp = -1;
    bool frequencySet = false;
    float frequency = 0.0f; // channel units: heard Hz x kChannelUnitsPerHz
    float volume = 1.0f;
    float pan = 0.0f;
};

struct System {
    bool initialized = false;
    bool noOutput = false;
    std::array<Channel, TONE_MAX_CHANNELS> channels;
    Mixer mixer;
    OutputStream output{mixer};

    Voice &voice(const Channel &c) { return mixer.voices[std::size_t(&c - channels.data())]; }
    int maxChannels() const { return mixer.channels; }
};

struct Dsp {
    bool alive = false;
    std::uint16_t gen = 0;
    int system = -1;
    float rate = kDefaultOscillatorRate;
    int waveform = 0;
};

struct Registry {
    std::mutex mutex;
    std::array<std::unique_ptr<System>, kMaxSystems> systems;
    std::array<std::uint16_t, kMaxSystems> systemGen{};
    std::array<Dsp, kMaxDsps> dsps;
    std::array<std::uint16_t, kMaxSystems * TONE_MAX_CHANNELS> channelGen{};
};

Registry &registry()
{
    static Registry r;
    return r;
}

// ---- lookup -------------------------------------------------------------------

System *findSystem(Registry &r, ToneHandle h, int *slot)
{
    if (handleType(h) != kTypeSystem)
        return nullptr;
    const std::uint32_t i = handleIndex(h);
    if (i >= kMaxSystems || !r.systems[i] || r.systemGen[i] != handleGen(h))
        return nullptr;
    *slot = int(i);
    return r.systems[i].get();
}

Dsp *findDsp(Registry &r, ToneHandle h, int *slot)
{
    if (handleType(h) != kTypeDsp)
        return nullptr;
    const std::uint32_t i = handleIndex(h);
    if (i >= kMaxDsps || !r.dsps[i].alive || r.dsps[i].gen != handleGen(h))
        return nullptr;
    *slot = int(i);
    return &r.dsps[i];
}

struct ChannelRef {
    System *system = nullptr;
    Channel *channel = nullptr;
    int index = -1;
};

ChannelRef findChannel(Registry &r, ToneHandle h)
{
    if (handleType(h) != kTypeChannel)
        return {};
    const std::uint32_t i = handleIndex(h);
    const std::uint32_t sys = i / TONE_MAX_CHANNELS, ch = i % TONE_MAX_CHANNELS;
    if (sys >= kMaxSystems || !r.systems[sys] || r.channelGen[i] != handleGen(h))
        return {};
    System *s = r.systems[sys].get();
    if (!s->initialized || int(ch) >= s->maxChannels() || !s->channels[ch].assigned)
        return {};
    return {s, &s->channels[ch], int(ch)};
}

// The one locked way in. Runs `action` under the registry lock.
template <typename Action> ToneResult locked(Action &&action)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return action(r);
}

enum class Need { Handle, Initialised };

// Runs `action(registry, system, slot)` on the system behind `handle`; with
// Need::Initialised a system that is not initialised gives
// TONE_ERR_NOT_INITIALIZED.
template <typename Action> ToneResult withSystem(ToneHandle handle, Need need, Action &&action)
{
    return locked([&](Registry &r) -> ToneResult {
        int slot = -1;
        System *s = findSystem(r, handle, &slot);
        if (!s)
            return TONE_ERR_INVALID_HANDLE;
        if (need == Need::Initialised && !s->initialized)
            return TONE_ERR_NOT_INITIALIZED;
        return action(r, *s, slot);
    });
}

// Runs `action(registry, dsp, slot)` on the oscillator behind `handle`.
template <typename Action> ToneResult withDsp(ToneHandle handle, Action &&action)
{
    return locked([&](Registry &r) -> ToneResult {
        int slot = -1;
        Dsp *d = findDsp(r, handle, &slot);
        if (!d)
            return TONE_ERR_INVALID_HANDLE;
        return action(r, *d, slot);
    });
}

// Runs `action(registry, system, channel)` on the channel behind `handle`.
template <typename Action> ToneResult withChannel(ToneHandle handle, Action &&action)
{
    return locked([&](Registry &r) -> ToneResult {
        const ChannelRef ref = findChannel(r, handle);
        if (!ref.channel)
            return TONE_ERR_INVALID_HANDLE;
        return action(r, *ref.system, *ref.channel);
    });
}

// Reads one value of a channel into `out`.
template <typename T, typename Read> ToneResult readChannel(ToneHandle handle, T *out, Read &&read)
{
    return withChannel(handle, [&](const Registry &r, const System &, const Channel &c) -> ToneResult {
        if (!out)
            return TONE_ERR_INVALID_PARAM;
        *out = read(r, c);
        return TONE_OK;
    });
}

// Writes one value through `out` if it is there.
template <typename T> ToneResult give(T *out, T value)
{
    if (!out)
        return TONE_ERR_INVALID_PARAM;
    *out = value;
    return TONE_OK;
}

// ---- publishing settings to the voices --------------------------------------

double heardHz(const Registry &r, const Channel &c)
{
    if (c.frequencySet)
        return double(c.frequency) / double(kChannelUnitsPerHz);
    return c.dsp >= 0 ? double(r.dsps[std::size_t(c.dsp)].rate) : 0.0;
}

// A change that can make a voice sound wakes a suspended output.
void publishFrequency(const Registry &r, System &s, const Channel &c)
{
    s.voice(c).setFrequency(heardHz(r, c));
    if (c.playing && !c.paused)
        s.output.wake();
}
void publishGains(System &s, const Channel &c)
{
    s.voice(c).setGains(c.volume, c.pan);
}
void publishRun(System &s, const Channel &c)
{
    s.voice(c).setRun(c.playing, c.paused);
    if (c.playing && !c.paused)
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
        if (!s.noOutput && !s.output.open())
            return TONE_ERR_NO_OUTPUT_DEVICE;
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
        if (!s.noOutput)
            s.output.update();
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
    default: return "Unknown error.";
    }
}

// ---- additions --------------------------------------------------------------

ToneResult Tone_System_Render(ToneHandle system, float *buffer, int frames)
{
    return withSystem(system, Need::Initialised, [=](Registry &, System &s, int) -> ToneResult {
        if (!s.noOutput)
            return TONE_ERR_UNSUPPORTED; // the audio thread owns the mixer
        if (!buffer || frames < 0)
            return TONE_ERR_INVALID_PARAM;
        s.mixer.render(buffer, frames);
        return TONE_OK;
    });
}

int Tone_RampFrames(float frequency)
{
    std::uint64_t increment = 0;
    if (!tone::PhaseIncrement(double(frequency) / double(kChannelUnitsPerHz), &increment))
        return TONE_RAMP_MAX_FRAMES;
    return tone::RampFrames(increment);
}

ToneResult Tone_System_GetUnderruns(ToneHandle system, std::uint64_t *count)
{
    return withSystem(system, Need::Handle,
                      [count](Registry &, System &s, int) { return give(count, s.output.underruns()); });
}

ToneResult Tone_System_GetUnderrunCauses(ToneHandle system, std::uint64_t *reported, std::uint64_t *late)
{
    return withSystem(system, Need::Handle, [=](Registry &, System &s, int) -> ToneResult {
        if (!reported || !late)
            return TONE_ERR_INVALID_PARAM;
        *reported = s.output.reportedUnderruns();
        *late = s.output.lateCallbacks();
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputLatency(ToneHandle system, double *seconds)
{
    return withSystem(system, Need::Handle,
                      [seconds](Registry &, System &s, int) { return give(seconds, s.output.latency()); });
}

ToneResult Tone_System_GetOutputState(ToneHandle system, int *running, std::uint32_t *reopens)
{
    return withSystem(system, Need::Handle, [=](Registry &, System &s, int) -> ToneResult {
        if (!running || !reopens)
            return TONE_ERR_INVALID_PARAM;
        *running = s.output.running() ? 1 : 0;
        *reopens = s.output.reopens();
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputSuspended(ToneHandle system, int *suspended)
{
    return withSystem(system, Need::Handle, [suspended](Registry &, System &s, int) {
        return give(suspended, s.output.suspended() ? 1 : 0);
    });
}

ToneResult Tone_System_SimulateOutputFailure(ToneHandle system)
{
    return withSystem(system, Need::Handle, [](Registry &, System &s, int) -> ToneResult {
        if (!s.initialized || s.noOutput)
            return TONE_ERR_NOT_INITIALIZED;
        s.output.simulateFailure();
        return TONE_OK;
    });
}
