// The output device through PulseAudio's asynchronous client library (which
// PipeWire's PulseAudio service answers too). The server asks for audio when
// its buffer runs low and the mixer fills the request on the client
// library's own thread. Once everything queued is silence the stream is
// corked and then disconnected (a corked stream still holds the sink at its
// short latency), so neither side wakes up; a tone that starts connects a
// fresh stream, which plays at once. The connection to the server stays,
// and with it the list of the server's outputs.
//
// Nothing here waits for the server without a bound: opening gives up after
// two seconds (or at once when the stream closes), and closing sends what it
// has to and goes.
//
// Buffer, where the output lets queued audio be written again (PulseAudio's
// own sinks, but not null sinks loaded with norewinds=1, nor PipeWire's
// service): a second queued, so that neither side wakes up often, and on each
// change the part not yet heard is written again (output_pulse_buffer.cpp).
// Elsewhere: kTargetFrames queued ahead, refilled a third at a time, with no
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
#include "engine/output_pulse.h"

#include <pulse/rtclock.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <sched.h>

namespace tone {

namespace {

constexpr int kRealtimePriority = 10;
constexpr pa_usec_t kOpenLimitUs = 2000000; // opening gives up after this long
constexpr pa_usec_t kOpenTickUs = 20000;    // while opening, a look at the clock this often
constexpr int kStreamRetries = 3;           // a failed stream is replaced this often in a row

// Why the server could not be reached, from the library's error code.
ToneResult reasonFor(int error)
{
    switch (error) {
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_NOENTITY:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_CONNECTIONTERMINATED: return TONE_ERR_NO_SOUND_SERVER;
    case PA_ERR_TIMEOUT: return TONE_ERR_SERVER_NOT_ANSWERING;
    default: return TONE_ERR_NO_OUTPUT_DEVICE;
    }
}

} // namespace

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
        d->fail(TONE_ERR_SERVER_LOST);
    pa_threaded_mainloop_signal(d->loop_, 0);
}

void PulseDevice::streamState(pa_stream *s, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY) {
        d->streamRetries_ = 0;
        bufferChanged(s, d);
    }
    if (s == d->stream_ && (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)) {
        // Its output went away (or refused it) while the server is there:
        // another stream, after a fresh look at the outputs.
        if (pa_context_get_state(d->context_) == PA_CONTEXT_READY && d->streamRetries_++ < kStreamRetries) {
            d->replaceStream_ = true;
            d->listOutputs();
        } else {
            d->fail(TONE_ERR_OUTPUT_FAILED);
        }
    }
    pa_threaded_mainloop_signal(d->loop_, 0);
}

// The library's thread, with its lock held: fills the server's request.
void PulseDevice::write(pa_stream *s, std::size_t bytes, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const int target = d->rewinding_.load(std::memory_order_relaxed) ? d->targetFrames_ : d->adaptTarget(nowNs());
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
    if (!d->writeFrames(s, bytes, 0, &idle) || d->afterWrite(s, idle))
        return;
    if (target != d->targetFrames_)
        d->setTarget(s, target);
}

// With the lock held: renders `bytes` worth of frames and writes them, the
// first `seek` bytes from the write index. False when the stream failed;
// *idle as OutputStream::onCallback says.
bool PulseDevice::writeFrames(pa_stream *s, std::size_t bytes, std::int64_t seek, bool *idle)
{
    while (bytes >= kFrameBytes) {
        void *data = nullptr;
        std::size_t n = bytes;
        if (pa_stream_begin_write(s, &data, &n) < 0 || !data) {
            fail(TONE_ERR_OUTPUT_FAILED);
            return false;
        }
        const std::size_t frames = std::min(n, bytes) / kFrameBytes;
        if (frames == 0) {
            pa_stream_cancel_write(s);
            break;
        }
        *idle = owner_.onCallback(static_cast<float *>(data), int(frames), bufferedNs_ + extraNs_, false);
        pa_stream_write(s, data, frames * kFrameBytes, nullptr, seek, PA_SEEK_RELATIVE);
        writtenFrames_ += seek / std::int64_t(kFrameBytes) + std::int64_t(frames);
        seek = 0;
        bytes -= frames * kFrameBytes;
    }
    return true;
}

// With the lock held, after a write: a stream waiting for silence to move
// moves (true: `s` has been retired), and one whose whole queue is silence
// stops asking for more until a tone plays.
bool PulseDevice::afterWrite(pa_stream *s, bool idle)
{
    if (moveWhenSilent_.load(std::memory_order_acquire) && !owner_.sounding()) {
        moveStream();
        return true;
    }
    if (idle && state_.load(std::memory_order_relaxed) == Playing) {
        state_.store(Corking, std::memory_order_release);
        if (pa_operation *op = pa_stream_cork(s, 1, &corked, this))
            pa_operation_unref(op);
    }
    return false;
}

// Once corked, and unless a tone has started since, the stream goes.
void PulseDevice::corked(pa_stream *s, int, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    if (s != d->stream_ || d->state_.load(std::memory_order_relaxed) != Corking)
        return;
    d->dropStream();
    d->state_.store(Closed, std::memory_order_release);
    d->moveWhenSilent_.store(false, std::memory_order_release); // the next stream starts there
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
    auto *d = static_cast<PulseDevice *>(user);
    if (s == d->stream_)
        d->extraNs_ = 0;
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

// While opening: wakes the waiting thread now and then, so that it can look
// at the clock and at whether the stream is closing.
void PulseDevice::openTick(pa_mainloop_api *, pa_time_event *e, const struct timeval *, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    pa_context_rttime_restart(d->context_, e, pa_rtclock_now() + kOpenTickUs);
    pa_threaded_mainloop_signal(d->loop_, 0);
}

// With the lock held: waits until the context is ready and the outputs have
// been listed once (a first stream needs to know whether its output can go
// back), for at most kOpenLimitUs. TONE_OK, or why not.
ToneResult PulseDevice::waitForContext()
{
    pa_time_event *tick = pa_context_rttime_new(context_, pa_rtclock_now() + kOpenTickUs, &openTick, this);
    const pa_usec_t deadline = pa_rtclock_now() + kOpenLimitUs;
    ToneResult result = TONE_OK;
    bool watching = false;
    for (;;) {
        const pa_context_state_t c = pa_context_get_state(context_);
        if (c == PA_CONTEXT_READY && !watching) {
            watching = true;
            watchOutputs();
        }
        if (c == PA_CONTEXT_READY && listedOnce_)
            break;
        if (!PA_CONTEXT_IS_GOOD(c)) {
            result = reasonFor(pa_context_errno(context_));
            break;
        }
        if (owner_.cancelled()) {
            result = TONE_ERR_OUTPUT_FAILED;
            break;
        }
        if (pa_rtclock_now() >= deadline) {
            result = TONE_ERR_SERVER_NOT_ANSWERING;
            break;
        }
        pa_threaded_mainloop_wait(loop_);
    }
    if (tick)
        pa_threaded_mainloop_get_api(loop_)->time_free(tick);
    return result;
}

// With the lock held: a new playback stream on the chosen output (the
// default when none is chosen or the chosen one is not there), connecting in
// the background. Every voice rises from silence on it.
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
    pa_stream_set_moved_callback(stream_, &streamMoved, this);
    lastWriteNs_ = 0;
    sinkNs_ = 0;
    extraNs_ = 0;
    primed_ = false;
    writtenFrames_ = 0;
    const std::string sink = sinkToPlayOn();
    const bool rewinding = rewindsOn(sink);
    rewinding_.store(rewinding, std::memory_order_relaxed);
    targetFrames_ = rewinding                               ? kLongTargetFrames
                    : busy_.load(std::memory_order_relaxed) ? kBusyTargetFrames
                                                            : kTargetFrames;
    targetBytes_ = std::size_t(targetFrames_) * kFrameBytes;
    const pa_buffer_attr attr = bufferFor(targetFrames_);
    owner_.onNewStream();
    owner_.keepHistory(rewinding);
    // No latency adjustment: asked to cover the whole buffer, the server
    // would leave the sink almost none and wake up every half millisecond.
    // A chosen output is not left for another: if it goes, the stream fails
    // and the next one starts on the default with its ramps.
    const pa_stream_flags_t flags = sink.empty() ? PA_STREAM_NOFLAGS : PA_STREAM_DONT_MOVE;
    if (pa_stream_connect_playback(stream_, sink.empty() ? nullptr : sink.c_str(), &attr, flags, nullptr, nullptr) <
        0) {
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
    pa_stream_set_moved_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
}

// With the lock held: the stream that failed gives way to a new one.
void PulseDevice::replaceStream()
{
    replaceStream_ = false;
    const bool playing = state_.load(std::memory_order_relaxed) == Playing;
    dropStream();
    if (!playing)
        state_.store(Closed, std::memory_order_release);
    else if (!connectStream())
        fail(TONE_ERR_OUTPUT_FAILED);
}

ToneResult PulseDevice::open()
{
    loop_ = pa_threaded_mainloop_new();
    if (!loop_)
        return TONE_ERR_NO_OUTPUT_DEVICE;
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Helicordia");
    if (!context_)
        return TONE_ERR_NO_OUTPUT_DEVICE;
    pa_context_set_state_callback(context_, &contextState, this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return reasonFor(pa_context_errno(context_));
    pa_threaded_mainloop_lock(loop_);
    started_ = pa_threaded_mainloop_start(loop_) >= 0;
    ToneResult result = started_ ? waitForContext() : TONE_ERR_NO_OUTPUT_DEVICE;
    if (result == TONE_OK) {
        const char *buffer = std::getenv("HELICORDIA_OUTPUT_BUFFER");
        shortOnly_ = buffer && std::strcmp(buffer, "short") == 0;
        watchChanges();
    }
    pa_threaded_mainloop_unlock(loop_);
    return result;
}

// Caller's thread. Under the library's lock, so that a cork decided by the
// audio thread cannot slip in after a tone has started.
void PulseDevice::resume()
{
    if (!loop_)
        return;
    pa_threaded_mainloop_lock(loop_);
    State state = state_.load(std::memory_order_relaxed);
    if (state == Corking && rewinding_.load(std::memory_order_relaxed)) {
        // A flush would move the write index the rewrites count from: a
        // fresh stream instead.
        dropStream();
        state = Closed;
    }
    if (state == Corking) {
        // Still there: drop the queued silence so that the tone starts at
        // once, and play on.
        if (pa_operation *op = pa_stream_flush(stream_, nullptr, nullptr))
            pa_operation_unref(op);
        if (pa_operation *op = pa_stream_cork(stream_, 0, nullptr, nullptr))
            pa_operation_unref(op);
    } else if (state == Closed && !connectStream()) {
        fail(TONE_ERR_OUTPUT_FAILED);
    }
    if (state != Playing) {
        owner_.restartClock();
        state_.store(Playing, std::memory_order_release);
    }
    pa_threaded_mainloop_unlock(loop_);
}

void PulseDevice::drain(std::chrono::milliseconds limit)
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
    const auto deadline = std::chrono::steady_clock::now() + limit;
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
    forgetChanges();
    dropStream();
    while (!retired_.empty())
        endRetired(retired_.back());
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

} // namespace tone

// The module's one entry point (helicordia_pulse.so): a device the caller
// owns, or null with the reason.
extern "C" __attribute__((visibility("default"))) tone::OutputDevice *helicordia_open_pulse(tone::OutputStream &owner,
                                                                                            ToneResult *reason)
{
    auto device = std::make_unique<tone::PulseDevice>(owner);
    *reason = device->open();
    if (*reason != TONE_OK)
        return nullptr;
    return device.release();
}
