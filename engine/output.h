// The output stream of the tone engine: plays a Mixer through the sound
// server (RtAudio, PulseAudio first), counts underruns, and reopens a failed
// stream on a worker thread so that the caller never waits for the server.
#pragma once

#include "engine/mixer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

class RtAudio;

namespace tone {

class OutputStream {
public:
    explicit OutputStream(Mixer &mixer);
    ~OutputStream();  // closes at once, without a fade-out
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;

    // Opens and starts a stream on the default output device. False when no
    // device could be opened.
    bool open();
    // Lets the fade-out of every stopped voice play, then stops and closes.
    void close();
    // Notices a failed or stalled stream and reopens it in the background.
    void update();
    // Marks the stream as failed, as a lost sound server would.
    void simulateFailure();

    bool running() const;
    double latency() const;  // seconds; 0 without a stream
    std::uint32_t reopens() const { return reopens_; }
    std::uint64_t underruns() const { return underruns_.load(); }

    // Called on the stream's thread.
    void onCallback(float *out, unsigned frames, bool underflow);
    void onError(bool underrun);

private:
    using Clock = std::chrono::steady_clock;

    std::unique_ptr<RtAudio> openDevice(double &latency);
    void finishWorker();
    void waitForFadeOut();

    Mixer &mixer_;
    std::unique_ptr<RtAudio> audio_;
    double latency_ = 0.0;
    std::uint32_t reopens_ = 0;

    std::atomic<std::uint64_t> underruns_{0};
    std::atomic<std::uint64_t> callbacks_{0};
    std::int64_t lastCallbackNs_ = 0;  // audio thread only; 0 = none yet
    std::atomic<bool> failed_{false};

    // Reopening runs on a worker so that update() never waits for the server.
    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    std::unique_ptr<RtAudio> workerResult_;
    double workerLatency_ = 0.0;

    std::uint64_t lastCallbacks_ = 0;
    Clock::time_point lastProgress_{};
    Clock::time_point lastAttempt_{};
};

}  // namespace tone
