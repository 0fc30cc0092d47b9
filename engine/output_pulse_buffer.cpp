// The buffer of the PulseAudio device: the short one's size on a busy
// machine, and the long one written again on each change.
//
// Where the output lets queued
// audio be written again, a second of audio is queued and the server wakes
// up a few times a second instead of a hundred. A change of a voice (a new
// pitch, a pause, a stop) would then be heard up to a second late, so on
// each one the part not yet heard is rendered again from the mixer's state
// kept at that point and written over the old one (a negative seek), from
// just ahead of what plays now; the server takes back what its sink had
// already taken. Outputs that cannot do that (null sinks loaded with
// norewinds=1, sinks of fixed latency such as Bluetooth ones, everything on
// PipeWire's PulseAudio service) keep the short buffer.
//
// The caller's thread only signals a change on an eventfd the library's
// loop watches; the rendering and writing happen on the library's thread,
// like every other write.
#include "engine/output_pulse.h"

#include <algorithm>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tone {

namespace {

constexpr std::int64_t kCalmNs = 10000000000LL; // calm this long: the short buffer shrinks a step

} // namespace

// The short buffer's size for a request now: larger while the machine is
// busy, smaller again after a calm spell.
int PulseDevice::adaptTarget(std::int64_t now)
{
    int target = targetFrames_;
    if (busy_.load(std::memory_order_relaxed)) {
        lastBusyNs_ = now;
        target = std::max(target, kBusyTargetFrames);
    }
    if (lastWriteNs_ != 0) {
        const std::int64_t gap = now - lastWriteNs_;
        const std::int64_t queued = framesToNs(targetFrames_);
        if (gap > queued / 3)
            lastBusyNs_ = now;
        if (gap > queued * 2 / 3 && targetFrames_ < kMaxTargetFrames)
            target = std::max(target, std::min(2 * targetFrames_, kMaxTargetFrames));
        else if (target > kTargetFrames && now - lastBusyNs_ > kCalmNs)
            target = std::max(targetFrames_ / 2, kTargetFrames);
    }
    lastWriteNs_ = now;
    return target;
}

void PulseDevice::setTarget(pa_stream *s, int frames)
{
    // Until the server grants the larger buffer, the part written ahead of
    // it counts as queued too.
    if (frames > targetFrames_)
        extraNs_ += framesToNs(frames - targetFrames_);
    targetFrames_ = frames;
    targetBytes_ = std::max(targetBytes_, std::size_t(frames) * kFrameBytes);
    lastBusyNs_ = nowNs();
    const pa_buffer_attr attr = bufferFor(frames);
    if (pa_operation *op = pa_stream_set_buffer_attr(s, &attr, &bufferSet, this))
        pa_operation_unref(op);
}

// With the lock held: the loop watches for changes.
void PulseDevice::watchChanges()
{
    changeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (changeFd_ < 0)
        return;
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(loop_);
    changeEvent_ = api->io_new(api, changeFd_, PA_IO_EVENT_INPUT, &changeSignalled, this);
}

// The loop stopped (or never started).
void PulseDevice::forgetChanges()
{
    if (changeEvent_)
        pa_threaded_mainloop_get_api(loop_)->io_free(changeEvent_);
    changeEvent_ = nullptr;
    if (changeFd_ >= 0)
        ::close(changeFd_);
    changeFd_ = -1;
}

// Caller's thread: never waits (the eventfd counts, it does not block).
void PulseDevice::changed()
{
    if (changeFd_ < 0 || !rewinding_.load(std::memory_order_relaxed))
        return;
    const std::uint64_t one = 1;
    const ssize_t written = ::write(changeFd_, &one, sizeof one);
    (void)written; // full: a change is signalled already
}

// The library's thread: first where the stream plays now.
void PulseDevice::changeSignalled(pa_mainloop_api *, pa_io_event *, int fd, pa_io_event_flags_t, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    std::uint64_t count = 0;
    const ssize_t got = ::read(fd, &count, sizeof count);
    (void)got;
    pa_stream *s = d->stream_;
    if (!s || !d->rewinding_.load(std::memory_order_relaxed) || d->state_.load(std::memory_order_relaxed) != Playing ||
        pa_stream_get_state(s) != PA_STREAM_READY)
        return;
    if (pa_operation *op = pa_stream_update_timing_info(s, &rewrite, d))
        pa_operation_unref(op);
}

// The library's thread, with the timing just measured: everything from a
// block boundary just ahead of what plays now up to the end of the queue is
// rendered again with the settings of now and written over the old.
void PulseDevice::rewrite(pa_stream *s, int success, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    pa_usec_t played = 0;
    if (!success || s != d->stream_ || !d->rewinding_.load(std::memory_order_relaxed) ||
        d->state_.load(std::memory_order_relaxed) != Playing || pa_stream_get_time(s, &played) < 0)
        return;
    const int margin = d->busy_.load(std::memory_order_relaxed) ? kBusyRewriteMarginFrames : kRewriteMarginFrames;
    d->lastMarginFrames_.store(margin, std::memory_order_relaxed);
    std::int64_t from = std::int64_t(played * TONE_SAMPLE_RATE / PA_USEC_PER_SEC) + margin;
    from += (kHistoryBlock - from % kHistoryBlock) % kHistoryBlock;
    if (from >= d->writtenFrames_ || !d->owner_.rewindTo(from))
        return; // nothing queued beyond that point, or its state is gone
    const std::int64_t seek = (from - d->writtenFrames_) * std::int64_t(kFrameBytes);
    bool idle = false;
    if (d->writeFrames(s, std::size_t(d->writtenFrames_ - from) * kFrameBytes, seek, &idle))
        d->afterWrite(s, idle);
}

// Any thread: a change is written again from at most this far ahead of what
// plays (the block it falls in, and a moment for the server's answer), as
// now or as at the last change.
double PulseDevice::latency() const
{
    if (!rewinding_.load(std::memory_order_relaxed))
        return buffered();
    const int margin = std::max(busy_.load(std::memory_order_relaxed) ? kBusyRewriteMarginFrames : kRewriteMarginFrames,
                                lastMarginFrames_.load(std::memory_order_relaxed));
    return double(margin + kHistoryBlock) / TONE_SAMPLE_RATE + 0.002;
}

// With the lock held: whether the output `sink` (empty: the default) lets
// queued audio be written again.
bool PulseDevice::rewindsOn(const std::string &sink) const
{
    if (pipewire_ || shortOnly_ || !outputsKnown_)
        return false;
    const std::string &name = sink.empty() ? defaultSink_ : sink;
    for (std::size_t i = 0; i < outputs_.size() && i < sinkRewinds_.size(); ++i)
        if (outputs_[i].name == name)
            return sinkRewinds_[i];
    return false;
}

// The stream followed the default to another output: one that cannot go
// back gets the short buffer (what is queued plays out first).
void PulseDevice::streamMoved(pa_stream *s, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    const char *name = pa_stream_get_device_name(s);
    if (s != d->stream_ || !d->rewinding_.load(std::memory_order_relaxed) || d->rewindsOn(name ? name : ""))
        return;
    d->rewinding_.store(false, std::memory_order_relaxed);
    d->owner_.keepHistory(false);
    d->setTarget(s, kTargetFrames);
}

} // namespace tone
