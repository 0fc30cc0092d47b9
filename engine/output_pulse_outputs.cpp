// The server's outputs (sinks) as the PulseAudio device sees them: listed
// when the connection is made and again whenever one comes, goes or
// changes, with whether each lets queued audio be written again; the one a
// new stream plays on; and moving a playing stream to another.
#include "engine/output_pulse.h"

#include <algorithm>
#include <cstring>

namespace tone {

// With the lock held: from now on every change of the outputs lists them
// again.
void PulseDevice::watchOutputs()
{
    pa_context_set_subscribe_callback(context_, &outputEvent, this);
    const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER);
    if (pa_operation *op = pa_context_subscribe(context_, mask, nullptr, nullptr))
        pa_operation_unref(op);
    listOutputs();
}

// With the lock held: asks for the server (its name and default output),
// its modules and its outputs; the server answers in that order.
void PulseDevice::listOutputs()
{
    if (pa_operation *op = pa_context_get_server_info(context_, &serverListed, this))
        pa_operation_unref(op);
    if (pa_operation *op = pa_context_get_module_info_list(context_, &moduleListed, this))
        pa_operation_unref(op);
    if (pa_operation *op = pa_context_get_sink_info_list(context_, &outputListed, this))
        pa_operation_unref(op);
    else if (replaceStream_)
        replaceStream();
}

void PulseDevice::outputEvent(pa_context *, pa_subscription_event_type_t, std::uint32_t, void *user)
{
    static_cast<PulseDevice *>(user)->listOutputs();
}

// One output of the list, or (eol) its end: the list is complete.
void PulseDevice::outputListed(pa_context *, const pa_sink_info *info, int eol, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    if (info && info->name) {
        d->listing_.push_back({info->name, info->description ? info->description : info->name});
        // A sink of fixed latency (a Bluetooth one, say) cannot go back.
        const auto &no = d->noRewindModules_;
        d->listingRewinds_.push_back((info->flags & PA_SINK_DYNAMIC_LATENCY) &&
                                     std::find(no.begin(), no.end(), info->owner_module) == no.end());
        return;
    }
    if (!eol)
        return;
    d->outputs_ = std::move(d->listing_);
    d->listing_.clear();
    d->sinkRewinds_ = std::move(d->listingRewinds_);
    d->listingRewinds_.clear();
    d->outputsKnown_ = eol > 0;
    d->owner_.onOutputs(d->outputs_);
    d->listedOnce_ = true;
    pa_threaded_mainloop_signal(d->loop_, 0);
    if (d->replaceStream_)
        d->replaceStream();
}

void PulseDevice::serverListed(pa_context *, const pa_server_info *info, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    d->pipewire_ = info && info->server_name && std::strstr(info->server_name, "PipeWire");
    d->defaultSink_ = info && info->default_sink_name ? info->default_sink_name : "";
    d->noRewindModules_.clear();
}

// Null sinks loaded with norewinds=1 cannot go back.
void PulseDevice::moduleListed(pa_context *, const pa_module_info *info, int, void *user)
{
    auto *d = static_cast<PulseDevice *>(user);
    if (info && info->argument && std::strstr(info->argument, "norewinds=1"))
        d->noRewindModules_.push_back(info->index);
}

// With the lock held: the output a new stream plays on: the chosen one, or
// (empty) the default when none is chosen or the chosen one is not there,
// which is said once until it is back or another is chosen.
std::string PulseDevice::sinkToPlayOn()
{
    const std::string chosen = owner_.chosenOutput();
    if (chosen.empty())
        return chosen;
    const bool there = !outputsKnown_ || std::any_of(outputs_.begin(), outputs_.end(),
                                                     [&](const OutputChoice &o) { return o.name == chosen; });
    if (there) {
        fellBack_ = false;
        return chosen;
    }
    if (!fellBack_)
        owner_.onFallback(chosen);
    fellBack_ = true;
    return {};
}

// Caller's thread: the stream playing now (if any) gives way to one on the
// newly chosen output; a suspended one simply goes.
void PulseDevice::moveTo(const std::string &, bool whenSilent)
{
    if (!loop_)
        return;
    pa_threaded_mainloop_lock(loop_);
    fellBack_ = false;
    if (stream_ && state_.load(std::memory_order_relaxed) == Playing) {
        moveWhenSilent_.store(whenSilent, std::memory_order_release);
        if (!whenSilent)
            moveStream();
    } else if (stream_) {
        dropStream();
        state_.store(Closed, std::memory_order_release);
    }
    pa_threaded_mainloop_unlock(loop_);
}

// With the lock held: a new stream on the chosen output takes over; the old
// one plays out what it holds (a fade-out, say) where it was going.
void PulseDevice::moveStream()
{
    moveWhenSilent_.store(false, std::memory_order_release);
    retireStream();
    if (!connectStream())
        fail(TONE_ERR_OUTPUT_FAILED);
}

// With the lock held: the stream is asked for nothing more, plays out what it
// holds, and then goes.
void PulseDevice::retireStream()
{
    pa_stream *old = stream_;
    stream_ = nullptr;
    pa_stream_set_write_callback(old, nullptr, nullptr);
    pa_stream_set_underflow_callback(old, nullptr, nullptr);
    pa_stream_set_buffer_attr_callback(old, nullptr, nullptr);
    pa_stream_set_state_callback(old, &retiredState, this);
    retired_.push_back(old);
    if (pa_operation *op = pa_stream_drain(old, &retiredDrained, this))
        pa_operation_unref(op);
    else
        endRetired(old);
}

void PulseDevice::retiredDrained(pa_stream *s, int, void *user)
{
    static_cast<PulseDevice *>(user)->endRetired(s);
}

void PulseDevice::retiredState(pa_stream *s, void *user)
{
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s)))
        static_cast<PulseDevice *>(user)->endRetired(s);
}

// With the lock held (or the library stopped): a retired stream goes, once.
void PulseDevice::endRetired(pa_stream *s)
{
    const auto it = std::find(retired_.begin(), retired_.end(), s);
    if (it == retired_.end())
        return;
    retired_.erase(it);
    pa_stream_set_state_callback(s, nullptr, nullptr);
    pa_stream_disconnect(s);
    pa_stream_unref(s);
}

} // namespace tone
