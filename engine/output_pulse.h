// The PulseAudio output device (helicordia_pulse.so): its playback stream in
// output_pulse.cpp, the server's list of outputs and moving between them in
// output_pulse_outputs.cpp, the long buffer written again on each change in
// output_pulse_buffer.cpp.
#pragma once

#include "engine/output.h"

#include <pulse/pulseaudio.h>

#include <chrono>

namespace tone {

constexpr int kTargetFrames = 1440; // 30 ms queued ahead
// Processors overloaded: at least 120 ms asked for. The server soon cuts
// that to 70 to 80 ms queued in all, still twice what a quiet machine gets.
constexpr int kBusyTargetFrames = 5760;
constexpr int kMaxTargetFrames = 9600; // on a machine too busy for that: up to 200 ms asked for
constexpr std::size_t kFrameBytes = 2 * sizeof(float);
// Where the output lets queued audio be written again: a second queued, a
// quarter of it asked for at a time, the part not yet heard written again
// from this far ahead of what plays now (on a busy machine, further).
constexpr int kLongTargetFrames = 48000;
constexpr int kLongRequestFrames = 12000;
constexpr int kRewriteMarginFrames = 960;
constexpr int kBusyRewriteMarginFrames = 4800;

inline std::int64_t framesToNs(int frames)
{
    return std::int64_t(frames) * 1000000000LL / TONE_SAMPLE_RATE;
}

inline std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The buffer asked for: `targetFrames` queued, asked for a third (of the
// long buffer a quarter) at a time.
inline pa_buffer_attr bufferFor(int targetFrames)
{
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(std::size_t(targetFrames) * kFrameBytes);
    attr.prebuf = std::uint32_t(-1);
    const int request = targetFrames == kLongTargetFrames ? kLongRequestFrames : targetFrames / 3;
    attr.minreq = std::uint32_t(std::size_t(request) * kFrameBytes);
    attr.fragsize = std::uint32_t(-1);
    return attr;
}

class PulseDevice final : public OutputDevice {
public:
    explicit PulseDevice(OutputStream &owner) : owner_(owner) {}
    ~PulseDevice() override { close(); }
    PulseDevice(const PulseDevice &) = delete;
    PulseDevice &operator=(const PulseDevice &) = delete;

    // Connects to the server within two seconds: TONE_OK, or why not.
    ToneResult open();
    bool healthy() const override { return context_ && !failed_.load(std::memory_order_acquire); }
    bool suspended() const override { return state_.load(std::memory_order_acquire) != Playing; }
    double latency() const override;
    double buffered() const override { return double(latencyNs_.load()) * 1e-9; }
    ToneResult failure() const override { return failure_.load(); }
    void setBusy(bool busy) override { busy_.store(busy, std::memory_order_relaxed); }
    void resume() override;
    void moveTo(const std::string &name, bool whenSilent) override;
    bool moving() const override { return moveWhenSilent_.load(std::memory_order_acquire); }
    void changed() override;
    void drain(std::chrono::milliseconds limit) override;

private:
    enum State { Playing, Corking, Closed }; // changed under the library's lock

    static void contextState(pa_context *c, void *user);
    static void streamState(pa_stream *s, void *user);
    static void write(pa_stream *s, std::size_t bytes, void *user);
    static void underflow(pa_stream *s, void *user);
    static void drained(pa_stream *s, int success, void *user);
    static void corked(pa_stream *s, int success, void *user);
    static void bufferChanged(pa_stream *s, void *user);
    static void bufferSet(pa_stream *s, int success, void *user);
    static void timingUpdated(pa_stream *s, int success, void *user);
    static void openTick(pa_mainloop_api *api, pa_time_event *e, const struct timeval *tv, void *user);
    static void retiredDrained(pa_stream *s, int success, void *user);
    static void retiredState(pa_stream *s, void *user);
    static void outputEvent(pa_context *c, pa_subscription_event_type_t type, std::uint32_t index, void *user);
    static void outputListed(pa_context *c, const pa_sink_info *info, int eol, void *user);
    static void serverListed(pa_context *c, const pa_server_info *info, void *user);
    static void moduleListed(pa_context *c, const pa_module_info *info, int eol, void *user);
    static void streamMoved(pa_stream *s, void *user);
    static void changeSignalled(pa_mainloop_api *api, pa_io_event *e, int fd, pa_io_event_flags_t, void *user);
    static void rewrite(pa_stream *s, int success, void *user);
    void fail(ToneResult reason)
    {
        ToneResult none = TONE_OK;
        failure_.compare_exchange_strong(none, reason);
        failed_.store(true, std::memory_order_release);
    }
    void setTarget(pa_stream *s, int frames);
    int adaptTarget(std::int64_t now);
    bool writeFrames(pa_stream *s, std::size_t bytes, std::int64_t seek, bool *idle);
    bool afterWrite(pa_stream *s, bool idle);
    bool rewindsOn(const std::string &sink) const;
    void watchChanges();
    void forgetChanges();
    ToneResult waitForContext();
    void watchOutputs();
    void listOutputs();
    std::string sinkToPlayOn();
    bool connectStream();
    void replaceStream();
    void moveStream();
    void retireStream();
    void endRetired(pa_stream *s);
    void dropStream();
    void close();

    OutputStream &owner_;
    pa_threaded_mainloop *loop_ = nullptr;
    pa_context *context_ = nullptr;
    pa_stream *stream_ = nullptr;
    std::vector<pa_stream *> retired_; // left for another output, playing out what they hold
    bool started_ = false;
    std::atomic<State> state_{Closed};
    std::atomic<bool> failed_{false};
    std::atomic<ToneResult> failure_{TONE_OK};
    std::atomic<bool> drainDone_{false};
    std::atomic<bool> busy_{false};
    std::atomic<bool> moveWhenSilent_{false};
    std::atomic<std::int64_t> latencyNs_{framesToNs(kTargetFrames)};
    // The library's thread only (or under its lock):
    bool realtimeAsked_ = false;
    std::int64_t bufferedNs_ = framesToNs(kTargetFrames); // the queue and the sink's share
    std::int64_t extraNs_ = 0; // written ahead of a larger buffer the server has not granted yet
    std::int64_t sinkNs_ = 0;
    std::size_t targetBytes_ = std::size_t(kTargetFrames) * kFrameBytes; // as granted
    std::int64_t lastWriteNs_ = 0;
    std::int64_t lastBusyNs_ = 0; // the last sign of a busy machine: a request late by a third of
                                  // the buffer, the caller's report, or a change of the buffer
    int targetFrames_ = kTargetFrames;
    bool primed_ = false; // the first request fills the empty queue
    std::vector<OutputChoice> outputs_, listing_;
    bool outputsKnown_ = false;
    bool listedOnce_ = false;    // an answer to the first listing came
    bool replaceStream_ = false; // once the outputs are listed again
    int streamRetries_ = 0;
    bool fellBack_ = false; // the chosen output is missing and that has been said
    // The long buffer (output_pulse_buffer.cpp): this stream's output lets
    // queued audio be written again, and a change is written again from
    // just ahead of what plays; elsewhere the short buffer.
    std::atomic<bool> rewinding_{false};
    std::int64_t writtenFrames_ = 0; // of this stream, the write index
    std::atomic<int> lastMarginFrames_{kRewriteMarginFrames};
    int changeFd_ = -1; // the caller's thread signals a change here
    pa_io_event *changeEvent_ = nullptr;
    bool pipewire_ = false;  // PipeWire's PulseAudio service: no rewinds
    bool shortOnly_ = false; // HELICORDIA_OUTPUT_BUFFER=short
    std::string defaultSink_;
    std::vector<bool> sinkRewinds_, listingRewinds_; // beside outputs_, listing_
    std::vector<std::uint32_t> noRewindModules_;     // null sinks loaded with norewinds=1
};

} // namespace tone
