// The additions to the tone engine's interface beyond the player's calls:
// offline rendering, the output stream's figures, and the sound output (what
// can be heard, and where).
#include "engine/tone.h"

#include "engine/tone_registry.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace tone::registry;
using tone::OutputStream;

// ---- additions --------------------------------------------------------------

ToneResult Tone_System_Render(ToneHandle system, float *buffer, int frames)
{
    return withSystem(system, Need::Initialised, [=](Registry &, System &s, int) -> ToneResult {
        if (!s.noOutput)
            return TONE_ERR_UNSUPPORTED; // the audio thread owns the mixer
        if (!buffer || frames < 0)
            return TONE_ERR_INVALID_PARAM;
        s.mixer.render(buffer, frames);
        return TONE_OK;
    });
}

int Tone_RampFrames(float frequency)
{
    std::uint64_t increment = 0;
    if (!tone::PhaseIncrement(double(frequency) / double(kChannelUnitsPerHz), &increment))
        return TONE_RAMP_MAX_FRAMES;
    return tone::RampFrames(increment);
}

ToneResult Tone_System_GetUnderruns(ToneHandle system, std::uint64_t *count)
{
    return withSystem(system, Need::Handle,
                      [count](Registry &, System &s, int) { return give(count, s.output.underruns()); });
}

ToneResult Tone_System_GetUnderrunCauses(ToneHandle system, std::uint64_t *reported, std::uint64_t *late)
{
    return withSystem(system, Need::Handle, [=](Registry &, System &s, int) -> ToneResult {
        if (!reported || !late)
            return TONE_ERR_INVALID_PARAM;
        *reported = s.output.reportedUnderruns();
        *late = s.output.lateCallbacks();
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputLatency(ToneHandle system, double *seconds)
{
    return withSystem(system, Need::Handle,
                      [seconds](Registry &, System &s, int) { return give(seconds, s.output.latency()); });
}

ToneResult Tone_System_GetOutputState(ToneHandle system, int *running, std::uint32_t *reopens)
{
    return withSystem(system, Need::Handle, [=](Registry &, System &s, int) -> ToneResult {
        if (!running || !reopens)
            return TONE_ERR_INVALID_PARAM;
        *running = s.output.running() ? 1 : 0;
        *reopens = s.output.reopens();
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputSuspended(ToneHandle system, int *suspended)
{
    return withSystem(system, Need::Handle, [suspended](Registry &, System &s, int) {
        return give(suspended, s.output.suspended() ? 1 : 0);
    });
}

ToneResult Tone_System_SimulateOutputFailure(ToneHandle system)
{
    return withSystem(system, Need::Handle, [](Registry &, System &s, int) -> ToneResult {
        if (!s.initialized || s.noOutput)
            return TONE_ERR_NOT_INITIALIZED;
        s.output.simulateFailure();
        return TONE_OK;
    });
}

// ---- the sound output ----------------------------------------------------------

namespace {

void copyText(char *to, std::size_t size, const std::string &from)
{
    const std::size_t n = std::min(from.size(), size - 1);
    from.copy(to, n);
    to[n] = '\0';
}

// Runs `action(output)` on the output stream of an initialised system that
// plays through a device.
template <typename Action> ToneResult withOutput(ToneHandle system, Action &&action)
{
    return withSystem(system, Need::Initialised, [&](Registry &, System &s, int) -> ToneResult {
        if (s.noOutput)
            return TONE_ERR_UNSUPPORTED;
        return action(s.output);
    });
}

} // namespace

ToneResult Tone_System_GetOutputStatus(ToneHandle system, ToneOutputStatus *status)
{
    return withOutput(system, [status](OutputStream &output) -> ToneResult {
        if (!status)
            return TONE_ERR_INVALID_PARAM;
        const tone::OutputStatus now = output.status();
        status->state = now.state;
        status->reason = now.reason;
        copyText(status->detail, sizeof status->detail, now.detail);
        status->losses = now.losses;
        status->fallbacks = now.fallbacks;
        status->outputsListed = now.outputsListed;
        copyText(status->missingOutput, sizeof status->missingOutput, now.missingOutput);
        return TONE_OK;
    });
}

ToneResult Tone_System_GetOutputCount(ToneHandle system, int *count)
{
    return withOutput(system, [count](OutputStream &output) { return give(count, int(output.outputs().size())); });
}

ToneResult Tone_System_GetOutputInfo(ToneHandle system, int index, char *name, int nameSize, char *description,
                                     int descriptionSize)
{
    return withOutput(system, [=](OutputStream &output) -> ToneResult {
        const std::vector<tone::OutputChoice> outputs = output.outputs();
        if (index < 0 || std::size_t(index) >= outputs.size() || !name || !description || nameSize < 1 ||
            descriptionSize < 1)
            return TONE_ERR_INVALID_PARAM;
        copyText(name, std::size_t(nameSize), outputs[std::size_t(index)].name);
        copyText(description, std::size_t(descriptionSize), outputs[std::size_t(index)].description);
        return TONE_OK;
    });
}

ToneResult Tone_System_SetOutput(ToneHandle system, const char *name)
{
    return withSystem(system, Need::Initialised, [name](Registry &, System &s, int) -> ToneResult {
        if (s.noOutput)
            return TONE_ERR_UNSUPPORTED;
        // A sounding tone fades out where it plays, and rises again on the
        // new output once it has moved (Tone_System_Update sees to that).
        bool sounding = false;
        for (const tone::registry::Channel &c : s.channels) {
            if (c.assigned && c.playing && !c.paused) {
                s.voice(c).setRun(true, true);
                sounding = true;
            }
        }
        s.moving = s.moving || sounding;
        if (sounding)
            s.output.changed();
        s.output.setOutput(name ? name : "", s.moving);
        return TONE_OK;
    });
}
