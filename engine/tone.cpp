// The tone engine.
//
// Threads: every Tone_* function runs on the caller's thread and takes the
// registry lock. The mixer runs on the audio thread (RtAudio's callback) and
// touches only its system's channel array: it reads the channel controls as
// atomics and keeps its own oscillator and ramp state, so it never waits,
// allocates or makes a system call.
//
// Oscillator: a 64-bit fixed-point phase accumulator (one cycle = 2^64) gives
// the exact phase at the start of every block of at most kBlock frames; inside
// the block a double-precision rotation produces sin() sample by sample.
// Frequency changes take effect at a block boundary with the phase carried
// over, so the waveform stays continuous. Start, stop, pause, resume, volume
// and pan changes follow a raised-cosine ramp of TONE_RAMP_FRAMES frames.
#include "tone.h"

#include <RtAudio.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxSystems = 16;
constexpr int kMaxDsps = 256;
constexpr int kBlock = 256;            // frames per oscillator block
constexpr unsigned kOutputBuffers = 3; // PulseAudio buffer = kOutputBuffers x TONE_BUFFER_FRAMES
constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kMaxHeardHz = 0.49 * TONE_SAMPLE_RATE;  // keep every tone below Nyquist
constexpr float kDefaultOscillatorRate = 220.0f;

// ---- handles: [type:4][generation:16][index:12] ---------------------------

enum : std::uint32_t { kTypeSystem = 1, kTypeDsp = 2, kTypeChannel = 3 };

ToneHandle makeHandle(std::uint32_t type, std::uint16_t gen, std::uint32_t index)
{
    return (type << 28) | (std::uint32_t(gen) << 12) | (index & 0xFFF);
}
std::uint32_t handleType(ToneHandle h) { return h >> 28; }
std::uint16_t handleGen(ToneHandle h) { return std::uint16_t((h >> 12) & 0xFFFF); }
std::uint32_t handleIndex(ToneHandle h) { return h & 0xFFF; }

// ---- ramps ------------------------------------------------------------------

struct RampShape {
    double v[TONE_RAMP_FRAMES + 1];
    RampShape()
    {
        for (int i = 0; i <= TONE_RAMP_FRAMES; ++i)
            v[i] = 0.5 - 0.5 * std::cos(M_PI * i / TONE_RAMP_FRAMES);
        v[0] = 0.0;
        v[TONE_RAMP_FRAMES] = 1.0;
    }
};
const RampShape kRampShape;

// A value that glides to its target along a raised cosine. Mixer-only.
struct Ramp {
    double from = 0.0, to = 0.0;
    int pos = TONE_RAMP_FRAMES;

    bool moving() const { return pos < TONE_RAMP_FRAMES; }
    double value() const { return from + (to - from) * kRampShape.v[pos]; }
    void retarget(double target)
    {
        if (target == to)
            return;
        from = value();
        to = target;
        pos = 0;
    }
    void snap(double target)
    {
        from = to = target;
        pos = TONE_RAMP_FRAMES;
    }
    void step()
    {
        if (pos < TONE_RAMP_FRAMES)
            ++pos;
    }
};

std::uint64_t packGains(float left, float right)
{
    std::uint32_t l, r;
    std::memcpy(&l, &left, 4);
    std::memcpy(&r, &right, 4);
    return (std::uint64_t(l) << 32) | r;
}
void unpackGains(std::uint64_t g, float &left, float &right)
{
    const std::uint32_t l = std::uint32_t(g >> 32), r = std::uint32_t(g);
    std::memcpy(&left, &l, 4);
    std::memcpy(&right, &r, 4);
}

constexpr std::uint32_t kRunPlaying = 1, kRunPaused = 2;

struct Channel {
    // Controls: written by the API, read by the mixer.
    std::atomic<std::uint64_t> increment{0};  // phase step per frame
    std::atomic<std::uint64_t> gains{0};      // packed left/right gain
    std::atomic<std::uint32_t> run{0};        // kRunPlaying | kRunPaused
    std::atomic<std::uint32_t> starts{0};     // counts plays: a new tone starts at phase 0

    // Mixer state.
    std::uint64_t phase = 0;
    Ramp envelope, left, right;
    std::uint64_t seenGains = ~std::uint64_t(0);
    std::uint32_t seenStarts = 0;
    std::uint64_t rotIncrement = ~std::uint64_t(0);
    double rotCos = 1.0, rotSin = 0.0;

    // API state (under the registry lock).
    bool assigned = false;  // has been given a handle
    bool playing = false;
    bool paused = false;
    int dsp = -1;
    bool frequencySet = false;
    float frequency = 0.0f;  // channel units: heard Hz x 100
    float volume = 1.0f;
    float pan = 0.0f;

    void resetMixer()
    {
        phase = 0;
        envelope.snap(0);
        left.snap(0);
        right.snap(0);
        seenGains = ~std::uint64_t(0);
        seenStarts = starts.load();
        rotIncrement = ~std::uint64_t(0);
    }
};

struct System;
thread_local System *tCallbackSystem = nullptr;

struct System {
    bool initialized = false;
    bool noOutput = false;
    int maxChannels = 0;
    std::array<Channel, TONE_MAX_CHANNELS> channels;

    std::atomic<std::uint64_t> underruns{0};
    std::atomic<std::uint64_t> callbacks{0};
    std::int64_t lastCallbackNs = 0;  // audio thread only; 0 = none yet
    std::atomic<bool> failed{false};

    std::unique_ptr<RtAudio> audio;
    double latency = 0.0;
    std::uint32_t reopens = 0;

    // Reopening runs on a worker so that Update never waits for the server.
    std::thread worker;
    std::atomic<bool> workerDone{false};
    std::unique_ptr<RtAudio> workerResult;
    double workerLatency = 0.0;

    std::uint64_t lastCallbacks = 0;
    Clock::time_point lastProgress{};
    Clock::time_point lastAttempt{};

    ~System();
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

// ---- mixer --------------------------------------------------------------

void mixChannel(Channel &c, float *out, int frames)
{
    for (int done = 0; done < frames;) {
        const int n = std::min(kBlock, frames - done);
        const std::uint32_t run = c.run.load(std::memory_order_acquire);
        const std::uint64_t inc = c.increment.load(std::memory_order_relaxed);
        const std::uint64_t g = c.gains.load(std::memory_order_relaxed);
        const bool audible = (run & kRunPlaying) && !(run & kRunPaused);
        const bool silent = !c.envelope.moving() && c.envelope.value() == 0.0;
        if (silent && !audible)
            return;  // stands still: a paused tone resumes where it stood
        const std::uint32_t starts = c.starts.load(std::memory_order_relaxed);
        if (starts != c.seenStarts) {
            // A new tone rises from its zero crossing; one played over a tone
            // that is still fading out carries on from the fading phase.
            if (silent)
                c.phase = 0;
            c.seenStarts = starts;
        }

        if (g != c.seenGains) {
            float gl, gr;
            unpackGains(g, gl, gr);
            if (silent) {
                c.left.snap(gl);
                c.right.snap(gr);
            } else {
                c.left.retarget(gl);
                c.right.retarget(gr);
            }
            c.seenGains = g;
        }
        c.envelope.retarget(audible ? 1.0 : 0.0);

        if (inc != c.rotIncrement) {
            const double w = double(inc) * (kTwoPi / kTwoTo64);
            c.rotCos = std::cos(w);
            c.rotSin = std::sin(w);
            c.rotIncrement = inc;
        }
        const double theta = double(c.phase) * (kTwoPi / kTwoTo64);
        double cs = std::cos(theta), sn = std::sin(theta);
        const double rc = c.rotCos, rs = c.rotSin;
        float *o = out + 2 * done;

        if (!c.envelope.moving() && !c.left.moving() && !c.right.moving()) {
            const double e = c.envelope.value();
            const double a = e * c.left.value(), b = e * c.right.value();
            for (int i = 0; i < n; ++i) {
                o[2 * i] += float(sn * a);
                o[2 * i + 1] += float(sn * b);
                const double ns = sn * rc + cs * rs;
                cs = cs * rc - sn * rs;
                sn = ns;
            }
        } else {
            for (int i = 0; i < n; ++i) {
                const double e = c.envelope.value();
                o[2 * i] += float(sn * e * c.left.value());
                o[2 * i + 1] += float(sn * e * c.right.value());
                c.envelope.step();
                c.left.step();
                c.right.step();
                const double ns = sn * rc + cs * rs;
                cs = cs * rc - sn * rs;
                sn = ns;
            }
        }
        c.phase += inc * std::uint64_t(n);
        done += n;
    }
}

void mix(System &s, float *out, int frames)
{
    std::memset(out, 0, sizeof(float) * 2 * std::size_t(frames));
    for (int i = 0; i < s.maxChannels; ++i)
        mixChannel(s.channels[i], out, frames);
}

int audioCallback(void *output, void *, unsigned int frames, double, RtAudioStreamStatus status, void *user)
{
    System *s = static_cast<System *>(user);
    tCallbackSystem = s;
    // A callback that comes later than everything buffered could last means
    // the device ran dry in between (RtAudio's PulseAudio output does not
    // report underruns itself).
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    const std::int64_t buffered = std::int64_t(kOutputBuffers + 1) * TONE_BUFFER_FRAMES * 1000000000LL / TONE_SAMPLE_RATE;
    const bool late = s->lastCallbackNs != 0 && now - s->lastCallbackNs > buffered;
    s->lastCallbackNs = now;
    if ((status & RTAUDIO_OUTPUT_UNDERFLOW) || late)
        s->underruns.fetch_add(1, std::memory_order_relaxed);
    mix(*s, static_cast<float *>(output), int(frames));
    s->callbacks.fetch_add(1, std::memory_order_release);
    return 0;
}

// RtAudio's error callback carries no user pointer; errors raised on a stream
// thread belong to the system whose callback runs on that thread. Errors on
// the caller's thread (while opening) come back as exceptions instead.
void audioErrorCallback(RtAudioError::Type type, const std::string &text)
{
    System *s = tCallbackSystem;
    if (!s || type == RtAudioError::DEBUG_WARNING)
        return;
    if (text.find("underrun") != std::string::npos || text.find("underflow") != std::string::npos) {
        s->underruns.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    s->failed.store(true, std::memory_order_release);
}

// ---- output stream ----------------------------------------------------------

// Opens and starts a stream on the default output device, PulseAudio first.
std::unique_ptr<RtAudio> openOutput(System &s, double &latency)
{
    std::vector<RtAudio::Api> apis;
    RtAudio::getCompiledApi(apis);
    std::vector<RtAudio::Api> order;
    if (std::find(apis.begin(), apis.end(), RtAudio::LINUX_PULSE) != apis.end())
        order.push_back(RtAudio::LINUX_PULSE);
    order.push_back(RtAudio::UNSPECIFIED);

    s.lastCallbackNs = 0;
    for (RtAudio::Api api : order) {
        std::unique_ptr<RtAudio> audio;
        try {
            audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            if (audio->getDeviceCount() == 0)
                continue;
            RtAudio::StreamParameters params;
            params.deviceId = audio->getDefaultOutputDevice();
            params.nChannels = 2;
            params.firstChannel = 0;
            RtAudio::StreamOptions options;
            options.numberOfBuffers = kOutputBuffers;
            options.streamName = "Helicordia";
            unsigned int bufferFrames = TONE_BUFFER_FRAMES;
            audio->openStream(&params, nullptr, RTAUDIO_FLOAT32, TONE_SAMPLE_RATE, &bufferFrames, &audioCallback, &s,
                              &options, &audioErrorCallback);
            if (!audio->isStreamOpen())
                continue;
            if (audio->getStreamSampleRate() != unsigned(TONE_SAMPLE_RATE)) {
                audio->closeStream();
                continue;
            }
            audio->startStream();
            if (!audio->isStreamRunning()) {
                audio->closeStream();
                continue;
            }
            // RtAudio's PulseAudio output reports no latency: then the
            // buffer it was capped to is the figure.
            const long frames = audio->getStreamLatency();
            latency = frames > 0 ? double(frames) / TONE_SAMPLE_RATE
                                 : double(bufferFrames) * kOutputBuffers / TONE_SAMPLE_RATE;
            return audio;
        } catch (const RtAudioError &) {
        } catch (const std::exception &) {
        }
    }
    return nullptr;
}

void closeOutput(std::unique_ptr<RtAudio> &audio, bool drain)
{
    if (!audio)
        return;
    try {
        if (audio->isStreamRunning()) {
            if (drain)
                audio->stopStream();
            else
                audio->abortStream();
        }
    } catch (...) {
    }
    try {
        if (audio->isStreamOpen())
            audio->closeStream();
    } catch (...) {
    }
    audio.reset();
}

void finishWorker(System &s)
{
    if (!s.worker.joinable())
        return;
    s.worker.join();
    if (s.workerResult) {
        s.audio = std::move(s.workerResult);
        s.latency = s.workerLatency;
        ++s.reopens;
        s.failed.store(false);
        s.lastCallbacks = s.callbacks.load();
        s.lastProgress = Clock::now();
    }
}

System::~System()
{
    finishWorker(*this);
    closeOutput(audio, false);
}

// ---- lookup -------------------------------------------------------------------

System *findSystem(Registry &r, ToneHandle h, int *slot = nullptr)
{
    if (handleType(h) != kTypeSystem)
        return nullptr;
    const std::uint32_t i = handleIndex(h);
    if (i >= kMaxSystems || !r.systems[i] || r.systemGen[i] != handleGen(h))
        return nullptr;
    if (slot)
        *slot = int(i);
    return r.systems[i].get();
}

Dsp *findDsp(Registry &r, ToneHandle h, int *slot = nullptr)
{
    if (handleType(h) != kTypeDsp)
        return nullptr;
    const std::uint32_t i = handleIndex(h);
    if (i >= kMaxDsps || !r.dsps[i].alive || r.dsps[i].gen != handleGen(h))
        return nullptr;
    if (slot)
        *slot = int(i);
    return &r.dsps[i];
}

struct ChannelRef {
    System *system = nullptr;
    Channel *channel = nullptr;
    int systemSlot = -1;
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
    if (!s->initialized || int(ch) >= s->maxChannels || !s->channels[ch].assigned)
        return {};
    return {s, &s->channels[ch], int(sys), int(ch)};
}

// ---- publishing controls to the mixer --------------------------------------

double heardHz(const Registry &r, const Channel &c)
{
    double hz = 0.0;
    if (c.frequencySet)
        hz = double(c.frequency) / 100.0;
    else if (c.dsp >= 0)
        hz = r.dsps[c.dsp].rate;
    return std::clamp(hz, 0.0, kMaxHeardHz);
}

void publishFrequency(const Registry &r, Channel &c)
{
    const double inc = heardHz(r, c) / TONE_SAMPLE_RATE * kTwoTo64;
    c.increment.store(std::uint64_t(std::llround(inc)), std::memory_order_relaxed);
}

void publishGains(Channel &c)
{
    // Constant power: left = v cos(a), right = v sin(a), a from 0 to pi/2.
    const double a = (double(c.pan) + 1.0) * M_PI / 4.0;
    c.gains.store(packGains(float(c.volume * std::cos(a)), float(c.volume * std::sin(a))), std::memory_order_relaxed);
}

void publishRun(Channel &c)
{
    c.run.store((c.playing ? kRunPlaying : 0) | (c.paused ? kRunPaused : 0), std::memory_order_release);
}

void stopAllChannels(System &s)
{
    for (Channel &c : s.channels) {
        c.playing = false;
        publishRun(c);
    }
}

// Lets the mixer play the fade-out of every channel before the stream stops,
// so that closing never cuts a tone off mid-wave.
void waitForFadeOut(System &s)
{
    if (!s.audio)
        return;
    const std::uint64_t start = s.callbacks.load();
    const int needed = TONE_RAMP_FRAMES / TONE_BUFFER_FRAMES + 2;
    const auto deadline = Clock::now() + std::chrono::milliseconds(100);
    while (s.callbacks.load() < start + needed && Clock::now() < deadline && !s.failed.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void closeSystem(Registry &r, int slot, System &s)
{
    stopAllChannels(s);
    finishWorker(s);
    waitForFadeOut(s);
    closeOutput(s.audio, true);
    for (int i = 0; i < TONE_MAX_CHANNELS; ++i) {
        Channel &c = s.channels[i];
        if (c.assigned)
            ++r.channelGen[slot * TONE_MAX_CHANNELS + i];  // old handles die
        c.assigned = false;
        c.playing = false;
        c.paused = false;
        c.dsp = -1;
        c.resetMixer();
    }
    s.initialized = false;
    s.noOutput = false;
    s.latency = 0.0;
}

bool isFinite(float v) { return std::isfinite(v); }

// Runs `action` on the system behind `handle` under the registry lock; an
// unknown or released handle gives TONE_ERR_INVALID_HANDLE.
template <typename Action>
ToneResult withSystem(ToneHandle handle, Action &&action)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int slot = -1;
    System *s = findSystem(r, handle, &slot);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    return action(r, *s, slot);
}

// Runs `action` on the channel behind `handle` under the registry lock; an
// unknown or released handle gives TONE_ERR_INVALID_HANDLE.
template <typename Action>
ToneResult withChannel(ToneHandle handle, Action &&action)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const ChannelRef ref = findChannel(r, handle);
    if (!ref.channel)
        return TONE_ERR_INVALID_HANDLE;
    return action(r, *ref.channel);
}

// Reads one value of a channel into `out`.
template <typename T, typename Read>
ToneResult readChannel(ToneHandle handle, T *out, Read &&read)
{
    return withChannel(handle, [&](const Registry &r, const Channel &c) -> ToneResult {
        if (!out)
            return TONE_ERR_INVALID_PARAM;
        *out = read(r, c);
        return TONE_OK;
    });
}

}  // namespace

// ---- API ----------------------------------------------------------------------

ToneResult Tone_System_Create(ToneHandle *system)
{
    if (!system)
        return TONE_ERR_INVALID_PARAM;
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (int i = 0; i < kMaxSystems; ++i) {
        if (!r.systems[i]) {
            r.systems[i] = std::make_unique<System>();
            *system = makeHandle(kTypeSystem, ++r.systemGen[i], std::uint32_t(i));
            return TONE_OK;
        }
    }
    return TONE_ERR_OUT_OF_HANDLES;
}

ToneResult Tone_System_GetVersion(ToneHandle system, std::uint32_t *version)
{
    return withSystem(system, [version](Registry &, System &, int) -> ToneResult {
        if (!version)
            return TONE_ERR_INVALID_PARAM;
        *version = TONE_VERSION;
        return TONE_OK;
    });
}

ToneResult Tone_System_Init(ToneHandle system, int maxChannels, std::uint32_t flags, void *)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    System *s = findSystem(r, system);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (s->initialized)
        return TONE_ERR_ALREADY_INITIALIZED;
    if (maxChannels < 1 || maxChannels > TONE_MAX_CHANNELS)
        return TONE_ERR_INVALID_PARAM;
    s->maxChannels = maxChannels;
    s->underruns = 0;
    s->failed = false;
    s->noOutput = (flags & TONE_INIT_NO_OUTPUT) != 0;
    if (!s->noOutput) {
        s->audio = openOutput(*s, s->latency);
        if (!s->audio)
            return TONE_ERR_NO_OUTPUT_DEVICE;
        s->lastCallbacks = s->callbacks.load();
        s->lastProgress = Clock::now();
    }
    s->initialized = true;
    return TONE_OK;
}

ToneResult Tone_System_CreateDSPByType(ToneHandle system, int type, ToneHandle *dsp)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int slot = -1;
    System *s = findSystem(r, system, &slot);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (!dsp)
        return TONE_ERR_INVALID_PARAM;
    if (!s->initialized)
        return TONE_ERR_NOT_INITIALIZED;
    if (type != TONE_DSP_TYPE_OSCILLATOR)
        return TONE_ERR_UNSUPPORTED;
    for (int i = 0; i < kMaxDsps; ++i) {
        Dsp &d = r.dsps[i];
        if (!d.alive) {
            d.alive = true;
            d.system = slot;
            d.rate = kDefaultOscillatorRate;
            d.waveform = 0;
            *dsp = makeHandle(kTypeDsp, ++d.gen, std::uint32_t(i));
            return TONE_OK;
        }
    }
    return TONE_ERR_OUT_OF_HANDLES;
}

ToneResult Tone_DSP_SetParameter(ToneHandle dsp, int index, float value)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int slot = -1;
    Dsp *d = findDsp(r, dsp, &slot);
    if (!d)
        return TONE_ERR_INVALID_HANDLE;
    if (!isFinite(value))
        return TONE_ERR_INVALID_PARAM;
    if (index == TONE_OSCILLATOR_PARAM_TYPE) {
        if (value != 0.0f)
            return TONE_ERR_UNSUPPORTED;  // only the sine is offered
        d->waveform = 0;
        return TONE_OK;
    }
    if (index == TONE_OSCILLATOR_PARAM_RATE) {
        if (value < 0.0f)
            return TONE_ERR_INVALID_PARAM;
        d->rate = value;
        // Channels that have no frequency of their own sound the rate.
        System &s = *r.systems[d->system];
        for (Channel &c : s.channels)
            if (c.assigned && c.dsp == slot && !c.frequencySet)
                publishFrequency(r, c);
        return TONE_OK;
    }
    return TONE_ERR_INVALID_PARAM;
}

ToneResult Tone_System_PlayDSP(ToneHandle system, int channelIndex, ToneHandle dsp, int paused, ToneHandle *channel)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int sysSlot = -1, dspSlot = -1;
    System *s = findSystem(r, system, &sysSlot);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (!s->initialized)
        return TONE_ERR_NOT_INITIALIZED;
    Dsp *d = findDsp(r, dsp, &dspSlot);
    if (!d || d->system != sysSlot)
        return TONE_ERR_INVALID_HANDLE;
    if (!channel)
        return TONE_ERR_INVALID_PARAM;

    int index = -1;
    bool reuse = false;
    if (channelIndex == TONE_CHANNEL_REUSE) {
        const ChannelRef ref = findChannel(r, *channel);
        if (ref.system == s) {
            index = ref.index;
            reuse = true;
        }
    } else if (channelIndex >= 0) {
        if (channelIndex >= s->maxChannels)
            return TONE_ERR_INVALID_PARAM;
        index = channelIndex;
    } else if (channelIndex != -1) {
        return TONE_ERR_INVALID_PARAM;
    }
    if (index < 0) {  // a free channel: never used first, then stopped ones
        for (int pass = 0; pass < 2 && index < 0; ++pass)
            for (int i = 0; i < s->maxChannels && index < 0; ++i) {
                const Channel &c = s->channels[i];
                if (pass == 0 ? !c.assigned : !c.playing)
                    index = i;
            }
        if (index < 0)
            return TONE_ERR_NO_FREE_CHANNEL;
    }

    Channel &c = s->channels[index];
    const int global = sysSlot * TONE_MAX_CHANNELS + index;
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
    c.starts.fetch_add(1, std::memory_order_relaxed);
    publishFrequency(r, c);
    publishGains(c);
    publishRun(c);
    *channel = makeHandle(kTypeChannel, r.channelGen[global], std::uint32_t(global));
    return TONE_OK;
}

ToneResult Tone_Channel_SetFrequency(ToneHandle channel, float frequency)
{
    return withChannel(channel, [frequency](Registry &r, Channel &c) -> ToneResult {
        if (!isFinite(frequency) || frequency < 0.0f)
            return TONE_ERR_INVALID_PARAM;
        c.frequency = frequency;
        c.frequencySet = true;
        publishFrequency(r, c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetVolume(ToneHandle channel, float volume)
{
    return withChannel(channel, [volume](Registry &, Channel &c) -> ToneResult {
        if (std::isnan(volume))
            return TONE_ERR_INVALID_PARAM;
        c.volume = std::clamp(volume, 0.0f, 1.0f);
        publishGains(c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetPan(ToneHandle channel, float pan)
{
    return withChannel(channel, [pan](Registry &, Channel &c) -> ToneResult {
        if (std::isnan(pan))
            return TONE_ERR_INVALID_PARAM;
        c.pan = std::clamp(pan, -1.0f, 1.0f);
        publishGains(c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_SetPaused(ToneHandle channel, int paused)
{
    return withChannel(channel, [paused](Registry &, Channel &c) -> ToneResult {
        c.paused = paused != 0;
        publishRun(c);
        return TONE_OK;
    });
}

ToneResult Tone_Channel_Stop(ToneHandle channel)
{
    return withChannel(channel, [](Registry &, Channel &c) -> ToneResult {
        c.playing = false;
        publishRun(c);
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
        return c.frequencySet ? c.frequency : (c.dsp >= 0 ? r.dsps[c.dsp].rate * 100.0f : 0.0f);
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

ToneResult Tone_System_Update(ToneHandle system)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    System *s = findSystem(r, system);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (!s->initialized)
        return TONE_ERR_NOT_INITIALIZED;
    if (s->noOutput)
        return TONE_OK;

    const auto now = Clock::now();
    if (s->worker.joinable()) {
        if (s->workerDone.load(std::memory_order_acquire))
            finishWorker(*s);
        return TONE_OK;
    }

    bool broken = s->failed.load(std::memory_order_acquire) || !s->audio;
    if (!broken) {
        try {
            broken = !s->audio->isStreamRunning();
        } catch (...) {
            broken = true;
        }
    }
    // A stream whose callback has stopped coming has failed too.
    const std::uint64_t calls = s->callbacks.load(std::memory_order_acquire);
    if (calls != s->lastCallbacks) {
        s->lastCallbacks = calls;
        s->lastProgress = now;
    } else if (now - s->lastProgress > std::chrono::seconds(1)) {
        broken = true;
    }
    if (!broken || now - s->lastAttempt < std::chrono::milliseconds(500))
        return TONE_OK;

    s->lastAttempt = now;
    s->workerDone.store(false);
    std::unique_ptr<RtAudio> old = std::move(s->audio);
    s->worker = std::thread([s, old = std::move(old)]() mutable {
        closeOutput(old, false);
        s->workerResult = openOutput(*s, s->workerLatency);
        s->workerDone.store(true, std::memory_order_release);
    });
    return TONE_OK;
}

ToneResult Tone_DSP_Release(ToneHandle dsp)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int slot = -1;
    Dsp *d = findDsp(r, dsp, &slot);
    if (!d)
        return TONE_ERR_INVALID_HANDLE;
    System &s = *r.systems[d->system];
    for (Channel &c : s.channels) {
        if (c.dsp == slot) {
            c.playing = false;  // a channel cannot outlive its oscillator
            publishRun(c);
            c.dsp = -1;
        }
    }
    d->alive = false;
    d->system = -1;
    return TONE_OK;
}

ToneResult Tone_System_Close(ToneHandle system)
{
    return withSystem(system, [](Registry &r, System &s, int slot) -> ToneResult {
        if (s.initialized)
            closeSystem(r, slot, s);
        return TONE_OK;
    });
}

ToneResult Tone_System_Release(ToneHandle system)
{
    return withSystem(system, [](Registry &r, System &s, int slot) -> ToneResult {
        if (s.initialized)
            closeSystem(r, slot, s);
        for (Dsp &d : r.dsps) {
            if (d.alive && d.system == slot) {
                d.alive = false;
                d.system = -1;
            }
        }
        r.systems[slot].reset();
        ++r.systemGen[slot];  // the old handle dies even if the slot is reused
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
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    System *s = findSystem(r, system);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (!s->initialized)
        return TONE_ERR_NOT_INITIALIZED;
    if (!s->noOutput)
        return TONE_ERR_UNSUPPORTED;  // the audio thread owns the mixer
    if (!buffer || frames < 0)
        return TONE_ERR_INVALID_PARAM;
    mix(*s, buffer, frames);
    return TONE_OK;
}

ToneResult Tone_System_GetUnderruns(ToneHandle system, std::uint64_t *count)
{
    return withSystem(system, [count](Registry &, System &s, int) -> ToneResult {
        if (!count)
            return TONE_ERR_INVALID_PARAM;
        *count = s.underruns.load();
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputLatency(ToneHandle system, double *seconds)
{
    return withSystem(system, [seconds](Registry &, System &s, int) -> ToneResult {
        if (!seconds)
            return TONE_ERR_INVALID_PARAM;
        *seconds = s.audio ? s.latency : 0.0;
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputState(ToneHandle system, int *running, std::uint32_t *reopens)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    System *s = findSystem(r, system);
    if (!s)
        return TONE_ERR_INVALID_HANDLE;
    if (!running || !reopens)
        return TONE_ERR_INVALID_PARAM;
    bool on = false;
    if (s->audio && !s->worker.joinable()) {
        try {
            on = s->audio->isStreamRunning() && !s->failed.load();
        } catch (...) {
        }
    }
    *running = on ? 1 : 0;
    *reopens = s->reopens;
    return TONE_OK;
}

ToneResult Tone_System_SimulateOutputFailure(ToneHandle system)
{
    return withSystem(system, [](Registry &, System &s, int) -> ToneResult {
        if (!s.initialized || s.noOutput)
            return TONE_ERR_NOT_INITIALIZED;
        s.failed.store(true);
        return TONE_OK;
    });
}
