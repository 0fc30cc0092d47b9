// The tone engine's objects behind their handles, and the one locked way to
// reach them. Shared by the files of the Tone_* interface (tone.cpp, the
// player's calls; tone_output.cpp, the additions and the sound output); not
// for anyone else.
#pragma once

#include "engine/mixer.h"
#include "engine/output.h"
#include "engine/tone.h"

#include <array>
#include <memory>
#include <mutex>

namespace tone::registry {

constexpr int kMaxSystems = 16;
constexpr int kMaxDsps = 256;
constexpr float kDefaultOscillatorRate = 220.0f;
constexpr float kChannelUnitsPerHz = 100.0f; // channel frequencies are Hz x 100

// ---- handles: [type:4][generation:16][index:12] ---------------------------

enum : std::uint32_t { kTypeSystem = 1, kTypeDsp = 2, kTypeChannel = 3 };

inline ToneHandle makeHandle(std::uint32_t type, std::uint16_t gen, std::uint32_t index)
{
    return (type << 28) | (std::uint32_t(gen) << 12) | (index & 0xFFF);
}
inline std::uint32_t handleType(ToneHandle h)
{
    return h >> 28;
}
inline std::uint16_t handleGen(ToneHandle h)
{
    return std::uint16_t((h >> 12) & 0xFFFF);
}
inline std::uint32_t handleIndex(ToneHandle h)
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
    // The output is moving to another: every voice holds silent until it
    // has (a fade-out where it was, a rise where it goes).
    bool moving = false;
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

inline Registry &registry()
{
    static Registry r;
    return r;
}

// ---- lookup -------------------------------------------------------------------

inline System *findSystem(Registry &r, ToneHandle h, int *slot)
{
    if (handleType(h) != kTypeSystem)
        return nullptr;
    const std::uint32_t i = handleIndex(h);
    if (i >= kMaxSystems || !r.systems[i] || r.systemGen[i] != handleGen(h))
        return nullptr;
    *slot = int(i);
    return r.systems[i].get();
}

inline Dsp *findDsp(Registry &r, ToneHandle h, int *slot)
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

inline ChannelRef findChannel(Registry &r, ToneHandle h)
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

} // namespace tone::registry
