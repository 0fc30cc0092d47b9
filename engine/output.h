// The output stream of the tone engine: plays a Mixer through the sound
// server, counts underruns, suspends itself while nothing sounds, and tells
// what the listener can hear (opening, ready, unavailable, lost).
//
// The caller's thread never waits for the sound server: devices are opened
// (and reopened after a loss) by a connector thread of the stream's own, each
// attempt giving up after at most two seconds; closing waits at most about
// half a second, and not at all for a server that has stopped answering.
//
// Devices: PulseAudio through its asynchronous client library where a server
// answers (PipeWire's PulseAudio service too), otherwise RtAudio (ALSA,
// JACK), but only where no PulseAudio server is there at all: a server that
// is there and does not answer would keep RtAudio's paths to it waiting
// without a bound. HELICORDIA_OUTPUT=rtaudio asks for RtAudio first, for
// comparisons.
#pragma once

#include "engine/cpu_pressure.h"
#include "engine/mixer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tone {

class OutputStream;

// A device that can write again what has not been heard yet goes back by
// whole blocks of this many frames (10 ms), at most this many of them.
constexpr int kHistoryBlock = 480;
constexpr int kHistoryBlocks = 200;

// One output of the sound server (a sink): its name, and the description
// the desktop shows for it.
struct OutputChoice {
    std::string name;
    std::string description;
    bool operator==(const OutputChoice &) const = default;
};

// One open connection to a sound device. Calls OutputStream::onCallback from
// its own thread for audio.
class OutputDevice {
public:
    virtual ~OutputDevice() = default; // stops at once and closes, without waiting for the server
    virtual bool healthy() const = 0;  // open and not failed (suspended counts as healthy)
    virtual bool suspended() const = 0;
    // Seconds from a change to when it is heard: the audio buffered ahead,
    // or less where the device writes again what has not been heard.
    virtual double latency() const = 0;
    virtual double buffered() const { return latency(); } // seconds of audio buffered ahead
    // Why the device failed, once healthy() is false.
    virtual ToneResult failure() const { return TONE_ERR_OUTPUT_FAILED; }
    // Caller's thread. Suspends when the stream has been silent long enough
    // (devices that cannot do so from their own thread).
    virtual void suspendIfIdle() {}
    // Caller's thread: the machine is (not) too busy for a short buffer.
    virtual void setBusy(bool) {}
    // Caller's thread: plays again after a suspension.
    virtual void resume() = 0;
    // Caller's thread: plays on another output from the next stream on. A
    // stream playing now moves there at once, or (whenSilent) once what it
    // renders is silence, so that a fade-out is heard where it was going.
    virtual void moveTo(const std::string &, bool /*whenSilent*/) {}
    // A move waits for silence.
    virtual bool moving() const { return false; }
    // Caller's thread: a voice's settings changed. A device that queues far
    // ahead writes again, soon, what has not been heard yet. Never waits.
    virtual void changed() {}
    // Plays what has been written, then stops; waits at most `limit`.
    virtual void drain(std::chrono::milliseconds limit) = 0;
};

// What a device calls for audio. The devices live in modules loaded on
// demand and reach the engine only through this and the stream's inline
// members, so that they need no symbol of the program.
class DeviceHost {
public:
    virtual bool onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate = true) = 0;
    // Audio thread: from the next block on, the mixer's state is (not) kept
    // at the start of every kHistoryBlock frames of the stream, for the
    // last kHistoryBlocks blocks.
    virtual void keepHistory(bool keep) = 0;
    // Audio thread: the next render starts again at `frame` of the stream (a
    // multiple of kHistoryBlock), from the mixer's state kept there, with
    // the settings of now. False when that state is not kept.
    virtual bool rewindTo(std::int64_t frame) = 0;

protected:
    ~DeviceHost() = default;
};

// Each device type lives in a module of its own, loaded the first time it is
// asked for, so that a program that has not played loads neither libpulse
// nor RtAudio, nor the libraries they bring. Null when the module cannot be
// loaded or the device cannot be opened; then *reason says why and *detail
// may say more (the module and the folders searched for it).
std::unique_ptr<OutputDevice> openPulseDevice(OutputStream &stream, ToneResult *reason, std::string *detail);
std::unique_ptr<OutputDevice> openRtAudioDevice(OutputStream &stream, ToneResult *reason, std::string *detail);

// What the listener can hear, as Tone_System_GetOutputStatus reports it.
struct OutputStatus {
    int state = TONE_OUTPUT_OPENING;
    ToneResult reason = TONE_OK;
    std::string detail;
    std::uint32_t losses = 0;
    std::uint32_t fallbacks = 0;
    std::uint32_t outputsListed = 0;
    std::string missingOutput;
};

class OutputStream : public DeviceHost {
public:
    explicit OutputStream(Mixer &mixer);
    ~OutputStream(); // closes at once, without a fade-out
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;

    // Starts connecting to the sound server in the background and returns at
    // once; status() tells how it goes.
    void open();
    // Lets the fade-out of every stopped voice play, then stops and closes.
    // Bounded: about half a second at most, no wait for a stalled server.
    void close();
    // Takes a device the connector has opened; notices a failed or stalled
    // stream and has it reopened in the background; suspends a silent stream
    // where the device needs the caller for it; tells the device when the
    // processors are overloaded, so that it can queue more before the sound
    // server itself is kept waiting.
    void update();
    // A voice may have started to sound: resumes a suspended stream.
    void wake();
    // A voice's settings changed (see OutputDevice::changed).
    void changed()
    {
        if (device_)
            device_->changed();
    }
    // Marks the stream as failed, as a lost sound server would.
    void simulateFailure();
    // Plays on the output so named; empty: the system's default (followed
    // when the user changes it). With `whenSilent` a stream playing now
    // moves once the mixer renders silence.
    void setOutput(const std::string &name, bool whenSilent);
    bool moving() const { return device_ && device_->moving(); }

    bool running() const;
    bool suspended() const;
    double latency() const; // seconds; 0 without a stream
    std::uint32_t reopens() const { return reopens_; }
    std::uint64_t underruns() const { return reported_.load() + late_.load(); }
    std::uint64_t reportedUnderruns() const { return reported_.load(); } // by the sound output
    std::uint64_t lateCallbacks() const { return late_.load(); }         // seen here
    OutputStatus status() const;
    std::vector<OutputChoice> outputs() const;

    // ---- for devices (inline: the modules link nothing of the program) ----
    // Audio thread: renders `frames` frames into `out`. `bufferedNs` is the
    // audio the device held before this call was due: with `checkLate`, a
    // later call counts as a late one (the device ran dry). True once the
    // stream has been silent for longer than that: everything still queued
    // is silence and the device may suspend.
    bool onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate = true) override;
    void keepHistory(bool keep) override { keepHistory_ = keep; }
    bool rewindTo(std::int64_t frame) override;
    void onUnderrun() { reported_.fetch_add(1, std::memory_order_relaxed); }
    // A device that knows its queue ran dry before a call counts it here
    // (and passes checkLate = false to onCallback).
    void onLate() { late_.fetch_add(1, std::memory_order_relaxed); }
    void onFailure() { failed_.store(true, std::memory_order_release); }
    void restartClock() { lastCallbackNs_.store(0, std::memory_order_relaxed); }
    // A new stream starts where the last one left off after a gap: every
    // voice rises from silence, as on Play, instead of starting mid-wave.
    void onNewStream()
    {
        mixer_.riseFromSilence();
        restartClock();
        streamStart_ = frame_;
    }
    // Audio thread: the last render held a sounding voice.
    bool sounding() const { return sounding_.load(std::memory_order_relaxed); }
    // True while the stream is closing: a device being opened gives up.
    bool cancelled() const { return stopping_.load(std::memory_order_acquire); }
    std::string chosenOutput() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return chosen_;
    }
    void onOutputs(std::vector<OutputChoice> outputs)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outputs_ = std::move(outputs);
        ++status_.outputsListed;
    }
    // The chosen output is not there: the system's default plays instead.
    void onFallback(const std::string &missing)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++status_.fallbacks;
        status_.missingOutput = missing;
    }

private:
    using Clock = std::chrono::steady_clock;

    std::unique_ptr<OutputDevice> openDevice(ToneResult *reason, std::string *detail);
    void connect();
    void stopConnector();
    void adoptPending();
    void lose(ToneResult reason);
    bool stalled() const;
    void waitForFadeOut();
    bool account(bool sounding, int frames, std::int64_t bufferedNs);
    bool renderKeepingHistory(float *out, int frames, std::int64_t bufferedNs);

    Mixer &mixer_;
    std::unique_ptr<OutputDevice> device_; // the caller's thread
    std::uint32_t reopens_ = 0;
    bool everReady_ = false;
    bool woken_ = false; // a voice has sounded since open(): a new device plays at once

    std::atomic<std::uint64_t> reported_{0};
    std::atomic<std::uint64_t> late_{0};
    std::atomic<std::uint64_t> callbacks_{0};
    std::atomic<std::int64_t> lastCallbackNs_{0}; // 0 = none since (re)start
    std::atomic<std::int64_t> silentNs_{0};       // audio thread only: silence rendered lately
    std::atomic<bool> sounding_{false};
    std::atomic<bool> failed_{false};

    // The audio thread's (or, between callbacks, the device's under its
    // lock): frames rendered since open(), where the stream began, and the
    // mixer's state at the start of recent blocks (kHistoryBlocks slots of
    // mixer_.channels voices, allocated by open(), touched only when kept).
    std::int64_t frame_ = 0, streamStart_ = 0;
    bool keepHistory_ = false;
    std::unique_ptr<Voice::MixState[], void (*)(void *)> history_{nullptr, &std::free};
    std::array<std::int64_t, kHistoryBlocks> historyAt_{};

    // The connector opens devices on its own thread; the caller's thread
    // takes them from pending_ and hands back the ones it is done with.
    mutable std::mutex mutex_;
    std::condition_variable wakeConnector_;
    std::thread connector_;
    std::atomic<bool> stopping_{false};
    bool wanted_ = false;                                // a device should be opened
    std::unique_ptr<OutputDevice> pending_;              // opened, not yet taken
    std::vector<std::unique_ptr<OutputDevice>> retired_; // to be closed by the connector
    std::string chosen_;
    std::vector<OutputChoice> outputs_;
    OutputStatus status_;
    bool pulseWorked_ = false; // the connector's: a PulseAudio server has answered

    CpuPressure pressure_;
    Clock::time_point lastPressureAt_{};
    bool busy_ = false;

    std::uint64_t lastCallbacks_ = 0;
    Clock::time_point lastProgress_{};
};

} // namespace tone
