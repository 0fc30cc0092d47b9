// The output stream of the tone engine: plays a Mixer through the sound
// server, counts underruns, suspends itself while nothing sounds, and reopens
// a failed stream on a worker thread so that the caller never waits for the
// server.
//
// Devices: PulseAudio through its asynchronous client library where a server
// answers (the stream is corked while silent), otherwise RtAudio (ALSA, JACK;
// stopped while silent). HELICORDIA_OUTPUT=rtaudio asks for RtAudio first,
// for comparisons.
#pragma once

#include "engine/cpu_pressure.h"
#include "engine/mixer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace tone {

class OutputStream;

// One open stream on a sound device. Calls OutputStream::onCallback from its
// own thread for audio.
class OutputDevice {
public:
    virtual ~OutputDevice() = default; // stops at once and closes
    virtual bool healthy() const = 0;  // open and not failed (suspended counts as healthy)
    virtual bool suspended() const = 0;
    virtual double latency() const = 0; // seconds of audio buffered ahead
    // Caller's thread. Suspends when the stream has been silent long enough
    // (devices that cannot do so from their own thread).
    virtual void suspendIfIdle() {}
    // Caller's thread: the machine is (not) too busy for a short buffer.
    virtual void setBusy(bool) {}
    // Caller's thread: plays again after a suspension.
    virtual void resume() = 0;
    // Plays what has been written, then stops.
    virtual void drain() = 0;
};

// What a device calls for audio. The devices live in modules loaded on
// demand and reach the engine only through this and the stream's inline
// members, so that they need no symbol of the program.
class DeviceHost {
public:
    virtual bool onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate = true) = 0;

protected:
    ~DeviceHost() = default;
};

// Each device type lives in a module of its own, loaded the first time it is
// asked for, so that a program that has not played loads neither libpulse
// nor RtAudio, nor the libraries they bring. Null when the module cannot be
// loaded or the device cannot be opened.
std::unique_ptr<OutputDevice> openPulseDevice(OutputStream &stream);
std::unique_ptr<OutputDevice> openRtAudioDevice(OutputStream &stream);

class OutputStream : public DeviceHost {
public:
    explicit OutputStream(Mixer &mixer);
    ~OutputStream(); // closes at once, without a fade-out
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;

    // Opens and starts a stream on the default output device. False when no
    // device could be opened.
    bool open();
    // Lets the fade-out of every stopped voice play, then stops and closes.
    void close();
    // Notices a failed or stalled stream and reopens it in the background;
    // suspends a silent stream where the device needs the caller for it;
    // tells the device when the processors are overloaded, so that it can
    // queue more before the sound server itself is kept waiting.
    void update();
    // A voice may have started to sound: resumes a suspended stream.
    void wake();
    // Marks the stream as failed, as a lost sound server would.
    void simulateFailure();

    bool running() const;
    bool suspended() const;
    double latency() const; // seconds; 0 without a stream
    std::uint32_t reopens() const { return reopens_; }
    std::uint64_t underruns() const { return reported_.load() + late_.load(); }
    std::uint64_t reportedUnderruns() const { return reported_.load(); } // by the sound output
    std::uint64_t lateCallbacks() const { return late_.load(); }         // seen here

    // ---- for devices --------------------------------------------------
    // Audio thread: renders `frames` frames into `out`. `bufferedNs` is the
    // audio the device held before this call was due: with `checkLate`, a
    // later call counts as a late one (the device ran dry). True once the
    // stream has been silent for longer than that: everything still queued
    // is silence and the device may suspend.
    bool onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate = true) override;
    void onUnderrun() { reported_.fetch_add(1, std::memory_order_relaxed); }
    // A device that knows its queue ran dry before a call counts it here
    // (and passes checkLate = false to onCallback).
    void onLate() { late_.fetch_add(1, std::memory_order_relaxed); }
    void onFailure() { failed_.store(true, std::memory_order_release); }
    void restartClock() { lastCallbackNs_.store(0, std::memory_order_relaxed); }

private:
    using Clock = std::chrono::steady_clock;

    std::unique_ptr<OutputDevice> openDevice();
    void finishWorker();
    void waitForFadeOut();

    Mixer &mixer_;
    std::unique_ptr<OutputDevice> device_;
    std::uint32_t reopens_ = 0;

    std::atomic<std::uint64_t> reported_{0};
    std::atomic<std::uint64_t> late_{0};
    std::atomic<std::uint64_t> callbacks_{0};
    std::atomic<std::int64_t> lastCallbackNs_{0}; // 0 = none since (re)start
    std::atomic<std::int64_t> silentNs_{0};       // audio thread only: silence rendered lately
    std::atomic<bool> sounding_{false};
    std::atomic<bool> failed_{false};

    // Reopening runs on a worker so that update() never waits for the server.
    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    std::unique_ptr<OutputDevice> workerResult_;

    CpuPressure pressure_;
    Clock::time_point lastPressureAt_{};
    bool busy_ = false;

    std::uint64_t lastCallbacks_ = 0;
    Clock::time_point lastProgress_{};
    Clock::time_point lastAttempt_{};
};

} // namespace tone
