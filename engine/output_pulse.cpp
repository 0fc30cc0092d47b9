// The output device through PulseAudio's asynchronous client library. The
// server asks for audio when its buffer runs low and the mixer fills the
// request on the client library's own thread. Once everything queued is
// silence the stream is corked and then disconnected (a corked stream still
// holds the sink at its short latency), so neither side wakes up; a tone
// that starts connects a fresh stream, which plays at once.
//
// Buffer: kTargetFrames queued ahead, refilled a third at a time, with no
// latency adjustment (the server then keeps about a third in the sink and
// wakes up rarely). When a request comes later than two thirds of the
// buffer, the machine is too busy for it: the buffer doubles (up to
// kMaxTargetFrames) before it runs dry, and halves again after ten calm
// seconds. A stream connected again after a silence starts small again.
// That cannot help when the sound server itself is kept waiting: its main
// thread, which passes our audio on, is an ordinary time-shared thread, and
// on overloaded processors it has waited 40 to 90 ms at a stretch with no
// earlier sign. So while the caller reports the processors overloaded, the
// buffer holds at least kBusyTargetFrames. The library's thread asks for
// real-time scheduling where the system allows it. Built as a module of its
// own (helicordia_pulse.so, see output_modules.cpp).
#include "engine/output.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <pthread.h>
#include <sched.h>

namespace tone {

namespace {

constexpr int kTargetFrames = 1440; // 30 ms queued ahead
// Processors overloaded: at least 120 ms asked for. The server soon cuts
// that to 70 to 80 ms queued in all, still twice what a quiet machine gets.
constexpr int kBusyTargetFrames = 5760;
constexpr int kMaxTargetFrames = 9600; // on a machine too busy for that: up to 200 ms asked for
constexpr std::size_t kFrameBytes = 2 * sizeof(float);
constexpr int kRealtimePriority = 10;
constexpr std::int64_t kCalmNs = 10000000000LL; // calm this long: the buffer shrinks a step

std::int64_t framesToNs(int frames)
{
    return std::int64_t(frames) * 1000000000LL / TONE_SAMPLE_RATE;
}

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

pa_buffer_attr bufferFor(int targetFrames)
{
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(std::size_t(targetFrames) * kFrameBytes);
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(std::size_t(targetFrames / 3) * kFrameBytes);
    attr.fragsize = std::uint32_t(-1);
    return attr;
}

class PulseDevice final : public OutputDevice {
public:
    explicit PulseDevice(OutputStream &owner) : owner_(owner) {}
    ~PulseDevice() override { close(); }
    PulseDevice(const PulseDevice &) = delete;
    PulseDevice &operator=(const PulseDevice &) = delete;

    bool open();
    bool healthy() const override { return context_ && !failed_.load(std::memory_order_acquire); }
    bool suspended() const override { return state_.load(std::memory_order_acquire) != Playing; }
    double latency() const override { return double(latencyNs_.load()) * 1e-9; }
    void setBusy(bool busy) override { busy_.store(busy, std::memory_order_relaxed); }
    void resume() override;
    void drain() override;

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
    void setTarget(pa_stream *s, int frames);
    bool waitForReady();
    bool connectStream();
    void dropStream();
    void close();

    OutputStream &owner_;
    pa_threaded_mainloop *loop_ = nullptr;
    pa_context *context_ = nullptr;
    pa_stream *stream_ = nullptr;
    bool started_ = false;
    std::atomic<State> state_{Playing};
    std::atomic<bool> failed_{false};
    std::atomic<bool> drainDone_{false};
    std::atomic<bool> busy_{false};
    std::atomic<std::int64_t> latencyNs_{framesToNs(kTargetFrames)};
    // The library's thread only:
    bool realtimeAsked_ = false;
    std::int64_t bufferedNs_ = framesToNs(kTargetFrames); // the queue and the sink's share
    std::int64_t sinkNs_ = 0;
    std::size_t targetBytes_ = std::size_t(kTargetFrames) * kFrameBytes; // as granted
    std::int64_t lastWriteNs_ = 0;
    std::int64_t lastBusyNs_ = 0; // the last sign of a busy machine: a request late by a third of
                                  // the buffer, the caller's report, or a change of the buffer
    int targetFrames_ = kTargetFrames;
    bool primed_ = false; // the first request fills the empty queue
};

void PulseDevice::contextState(pa_context *c, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const pa_context_state_t state = pa_context_get_state(c);
    if (state == PA_CONTEXT_READY && !d->realtimeAsked_) {
        // Runs on the library's thread: ask once for real-time scheduling,
        // and carry on quietly where it is not allowed.
        d->realtimeAsked_ = true;
        sched_param param{};
        param.sched_priority = kRealtimePriority;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    }
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
        d->failed_.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(d->loop_, 0);
}

void PulseDevice::streamState(pa_stream *s, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY)
        bufferChanged(s, d);
    if (s == d->stream_ && (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED))
        d->failed_.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(d->loop_, 0);
}

// The library's thread, with its lock held: fills the server's request.
void PulseDevice::write(pa_stream *s, std::size_t bytes, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const std::int64_t now = nowNs();
    int target = d->targetFrames_;
    if (d->busy_.load(std::memory_order_relaxed)) {
        d->lastBusyNs_ = now;
        target = std::max(target, kBusyTargetFrames);
    }
    if (d->lastWriteNs_ != 0) {
        const std::int64_t gap = now - d->lastWriteNs_;
        const std::int64_t queued = framesToNs(d->targetFrames_);
        if (gap > queued / 3)
            d->lastBusyNs_ = now;
        if (gap > queued * 2 / 3 && d->targetFrames_ < kMaxTargetFrames)
            target = std::max(target, std::min(2 * d->targetFrames_, kMaxTargetFrames));
        else if (target > kTargetFrames && now - d->lastBusyNs_ > kCalmNs)
            target = std::max(d->targetFrames_ / 2, kTargetFrames);
    }
    d->lastWriteNs_ = now;
    // The server asks for what its queue lacks: more than the whole queue
    // means the request came so late that the queue ran dry.
    if (bytes > d->targetBytes_ + kFrameBytes && d->primed_)
        d->owner_.onLate();
    d->primed_ = true;
    // A larger buffer: its extra part is written at once, before the server
    // hears of it, or the sink would take its larger share from a queue that
    // does not hold it yet and run dry.
    if (target > d->targetFrames_)
        bytes += std::size_t(target - d->targetFrames_) * kFrameBytes;
    bool idle = false;
    while (bytes >= kFrameBytes) {
        void *data = nullptr;
        std::size_t n = bytes;
        if (pa_stream_begin_write(s, &data, &n) < 0 || !data) {
            d->failed_.store(true, std::memory_order_release);
            return;
        }
        const std::size_t frames = std::min(n, bytes) / kFrameBytes;
        if (frames == 0) {
            pa_stream_cancel_write(s);
            break;
        }
        idle = d->owner_.onCallback(static_cast<float *>(data), int(frames), d->bufferedNs_, false);
        pa_stream_write(s, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= frames * kFrameBytes;
    }
    // Everything queued is silence: stop asking for more until a tone plays.
    if (idle && d->state_.load(std::memory_order_relaxed) == Playing) {
        d->state_.store(Corking, std::memory_order_release);
        if (pa_operation *op = pa_stream_cork(s, 1, &corked, d))
            pa_operation_unref(op);
    }
    if (target != d->targetFrames_)
        d->setTarget(s, target);
}

// Once corked, and unless a tone has started since, the stream goes.
void PulseDevice::corked(pa_stream *s, int, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    if (s != d->stream_ || d->state_.load(std::memory_order_relaxed) != Corking)
        return;
    d->dropStream();
    d->state_.store(Closed, std::memory_order_release);
}

void PulseDevice::setTarget(pa_stream *s, int frames)
{
    targetFrames_ = frames;
    targetBytes_ = std::max(targetBytes_, std::size_t(frames) * kFrameBytes);
    lastBusyNs_ = nowNs();
    const pa_buffer_attr attr = bufferFor(frames);
    if (pa_operation *op = pa_stream_set_buffer_attr(s, &attr, &bufferSet, this))
        pa_operation_unref(op);
}

// The buffer the server granted, and (asked for once) the sink's share.
void PulseDevice::bufferChanged(pa_stream *s, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    if (const pa_buffer_attr *granted = pa_stream_get_buffer_attr(s)) {
        d->targetBytes_ = std::max<std::size_t>(d->targetBytes_, granted->tlength);
        d->bufferedNs_ = framesToNs(int(granted->tlength / kFrameBytes)) + d->sinkNs_;
        d->latencyNs_.store(d->bufferedNs_);
    }
    if (pa_operation *op = pa_stream_update_timing_info(s, &timingUpdated, d))
        pa_operation_unref(op);
}

void PulseDevice::timingUpdated(pa_stream *s, int success, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const pa_timing_info *t = success ? pa_stream_get_timing_info(s) : nullptr;
    const pa_buffer_attr *granted = pa_stream_get_buffer_attr(s);
    if (!t || !granted || s != d->stream_)
        return;
    d->sinkNs_ = std::int64_t(t->sink_usec) * 1000;
    d->bufferedNs_ = framesToNs(int(granted->tlength / kFrameBytes)) + d->sinkNs_;
    d->latencyNs_.store(d->bufferedNs_);
}

void PulseDevice::bufferSet(pa_stream *s, int success, void *user)
{
    if (success)
        bufferChanged(s, user);
}

void PulseDevice::underflow(pa_stream *, void *user)
{
    static_cast<PulseDevice *>(user)->owner_.onUnderrun();
}

void PulseDevice::drained(pa_stream *, int, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    d->drainDone_.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(d->loop_, 0);
}

// With the lock held: waits until the context and the stream are ready.
bool PulseDevice::waitForReady()
{
    for (;;) {
        const pa_context_state_t c = pa_context_get_state(context_);
        if (!PA_CONTEXT_IS_GOOD(c))
            return false;
        if (c == PA_CONTEXT_READY && !stream_)
            return true;
        if (stream_) {
            const pa_stream_state_t s = pa_stream_get_state(stream_);
            if (!PA_STREAM_IS_GOOD(s))
                return false;
            if (s == PA_STREAM_READY)
                return true;
        }
        pa_threaded_mainloop_wait(loop_);
    }
}

// With the lock held: a new playback stream, connecting in the background.
bool PulseDevice::connectStream()
{
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, TONE_SAMPLE_RATE, 2};
    stream_ = pa_stream_new(context_, "Helicordia", &format, nullptr);
    if (!stream_)
        return false;
    pa_stream_set_state_callback(stream_, &streamState, this);
    pa_stream_set_write_callback(stream_, &write, this);
    pa_stream_set_underflow_callback(stream_, &underflow, this);
    pa_stream_set_buffer_attr_callback(stream_, &bufferChanged, this);
    lastWriteNs_ = 0;
    sinkNs_ = 0;
    primed_ = false;
    targetFrames_ = busy_.load(std::memory_order_relaxed) ? kBusyTargetFrames : kTargetFrames;
    targetBytes_ = std::size_t(targetFrames_) * kFrameBytes;
    const pa_buffer_attr attr = bufferFor(targetFrames_);
    // No latency adjustment: asked to cover the whole buffer, the server
    // would leave the sink almost none and wake up every half millisecond.
    if (pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
        dropStream();
        return false;
    }
    return true;
}

// With the lock held (or the library stopped): the stream goes, quietly.
void PulseDevice::dropStream()
{
    if (!stream_)
        return;
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
    pa_stream_set_buffer_attr_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
}

bool PulseDevice::open()
{
    loop_ = pa_threaded_mainloop_new();
    if (!loop_)
        return false;
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Helicordia");
    if (!context_)
        return false;
    pa_context_set_state_callback(context_, &contextState, this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    pa_threaded_mainloop_lock(loop_);
    started_ = pa_threaded_mainloop_start(loop_) >= 0;
    const bool ok = started_ && waitForReady() && connectStream() && waitForReady();
    pa_threaded_mainloop_unlock(loop_);
    return ok;
}

// Caller's thread. Under the library's lock, so that a cork decided by the
// audio thread cannot slip in after a tone has started.
void PulseDevice::resume()
{
    if (!loop_)
        return;
    pa_threaded_mainloop_lock(loop_);
    const State state = state_.load(std::memory_order_relaxed);
    if (state == Corking) {
        // Still there: drop the queued silence so that the tone starts at
        // once, and play on.
        if (pa_operation *op = pa_stream_flush(stream_, nullptr, nullptr))
            pa_operation_unref(op);
        if (pa_operation *op = pa_stream_cork(stream_, 0, nullptr, nullptr))
            pa_operation_unref(op);
    } else if (state == Closed && !connectStream()) {
        failed_.store(true, std::memory_order_release);
    }
    if (state != Playing) {
        owner_.restartClock();
        state_.store(Playing, std::memory_order_release);
    }
    pa_threaded_mainloop_unlock(loop_);
}

void PulseDevice::drain()
{
    if (!stream_ || suspended() || failed_.load())
        return;
    pa_threaded_mainloop_lock(loop_);
    drainDone_ = false;
    pa_operation *op = pa_stream_drain(stream_, &drained, this);
    pa_threaded_mainloop_unlock(loop_);
    if (!op)
        return;
    // The queue holds at most a buffer; do not wait for a stalled server.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (!drainDone_.load(std::memory_order_acquire) && !failed_.load() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    pa_threaded_mainloop_lock(loop_);
    pa_operation_unref(op);
    pa_threaded_mainloop_unlock(loop_);
}

void PulseDevice::close()
{
    if (started_)
        pa_threaded_mainloop_stop(loop_);
    started_ = false;
    dropStream();
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

} // namespace

} // namespace tone

// The module's one entry point (helicordia_pulse.so): a device the caller
// owns, or null.
extern "C" __attribute__((visibility("default"))) tone::OutputDevice *helicordia_open_pulse(tone::OutputStream &owner)
{
    auto device = std::make_unique<tone::PulseDevice>(owner);
    if (!device->open())
        return nullptr;
    return device.release();
}
