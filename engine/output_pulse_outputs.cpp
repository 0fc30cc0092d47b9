// The server's outputs (sinks) as the PulseAudio device sees them: listed
// when the connection is made and again whenever one comes, goes or
// changes, and the one a new stream plays on.
#include "engine/output_pulse.h"

#include <algorithm>

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

// With the lock held: asks for the list of outputs.
void PulseDevice::listOutputs()
{
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
        return;
    }
    if (!eol)
        return;
    d->outputs_ = std::move(d->listing_);
    d->listing_.clear();
    d->outputsKnown_ = eol > 0;
    d->owner_.onOutputs(d->outputs_);
    if (d->replaceStream_)
        d->replaceStream();
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

} // namespace tone
