#include "engine/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tone {

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kNyquistHz = TONE_SAMPLE_RATE / 2.0;
constexpr std::uint32_t kRunPlaying = 1, kRunPaused = 2;

std::uint64_t packGains(float left, float right)
{
    std::uint32_t l, r;
    std::memcpy(&l, &left, 4);
    std::memcpy(&r, &right, 4);
    return (std::uint64_t(l) << 32) | r;
}

void unpackGains(std::uint64_t g, float &left, float &right)
{
    const std::uint32_t l = std::uint32_t(g >> 32), r = std::uint32_t(g);
    std::memcpy(&left, &l, 4);
    std::memcpy(&right, &r, 4);
}

} // namespace

// ---- ramps ------------------------------------------------------------------

void Ramp::retarget(double target, int frames, bool smoothShape)
{
    if (target == to)
        return;
    from = value();
    to = target;
    smooth = smoothShape;
    rising = std::fabs(to) > std::fabs(from);
    pos = 0;
    length = frames;
    c = 1.0;
    s = 0.0;
    const double angle = (smooth ? M_PI : M_PI / 2) / frames;
    dc = std::cos(angle);
    ds = std::sin(angle);
}

void Ramp::snap(double target)
{
    from = to = target;
    pos = length = 0;
}

bool PhaseIncrement(double hz, std::uint64_t *increment)
{
    const double f = std::fabs(hz);
    if (!std::isfinite(f) || f >= kNyquistHz)
        return false;
    *increment = std::uint64_t(std::llround(f / TONE_SAMPLE_RATE * kTwoTo64));
    return true;
}

int RampFrames(std::uint64_t increment, bool *smooth)
{
    // A raised cosine of the shortest length moves no steeper than the sine
    // once it lasts 1.6 quarter periods (40 Hz and up); below that,
    // quarter-wave shapes over a quarter period.
    const double w = double(increment) * (kTwoPi / kTwoTo64);
    const double quarter = w > 0 ? std::ceil(kTwoPi / (4.0 * w)) : double(TONE_RAMP_MAX_FRAMES);
    if (smooth)
        *smooth = TONE_RAMP_FRAMES >= 1.6 * quarter;
    return int(std::clamp(quarter, double(TONE_RAMP_FRAMES), double(TONE_RAMP_MAX_FRAMES)));
}

// ---- control side -------------------------------------------------------------

void Voice::setFrequency(double hz)
{
    std::uint64_t increment = 0;
    const bool heard = PhaseIncrement(hz, &increment);
    if (heard)
        increment_.store(increment, std::memory_order_relaxed);
    muted_.store(!heard, std::memory_order_release);
}

void Voice::setGains(float volume, float pan)
{
    // Constant power: left = v cos(a), right = v sin(a), a from 0 to pi/2.
    const double a = (double(pan) + 1.0) * M_PI / 4.0;
    gains_.store(packGains(float(volume * std::cos(a)), float(volume * std::sin(a))), std::memory_order_relaxed);
}

void Voice::setRun(bool playing, bool paused)
{
    run_.store((playing ? kRunPlaying : 0) | (paused ? kRunPaused : 0), std::memory_order_release);
}

void Voice::restart()
{
    starts_.fetch_add(1, std::memory_order_relaxed);
}

void Voice::reset()
{
    phase_ = 0;
    envelope_.snap(0);
    left_.snap(0);
    right_.snap(0);
    seenGains_ = ~std::uint64_t(0);
    seenStarts_ = starts_.load();
    rotIncrement_ = ~std::uint64_t(0);
    heard_.store(false, std::memory_order_release);
}

// ---- mixer side -----------------------------------------------------------------

int Voice::mixInto(float *out, int frames, int written)
{
    for (int done = 0; done < frames;) {
        const int n = std::min(kSineBlock, frames - done);
        const std::uint32_t run = run_.load(std::memory_order_acquire);
        const bool muted = muted_.load(std::memory_order_acquire);
        const std::uint64_t inc = increment_.load(std::memory_order_relaxed);
        const std::uint64_t g = gains_.load(std::memory_order_relaxed);
        const bool audible = (run & kRunPlaying) && !(run & kRunPaused) && !muted;
        const bool silent = !envelope_.moving() && envelope_.value() == 0.0;
        if (silent && !audible) {
            heard_.store(false, std::memory_order_release);
            return done; // stands still: a paused tone resumes where it stood
        }
        const std::uint32_t starts = starts_.load(std::memory_order_relaxed);
        if (starts != seenStarts_) {
            // A new tone rises from its zero crossing; one played over a tone
            // that is still fading out carries on from the fading phase.
            if (silent)
                phase_ = 0;
            seenStarts_ = starts;
        }

        if (inc != rotIncrement_) {
            rotation_ = MakeSineRotation(inc);
            rotIncrement_ = inc;
            rampFrames_ = RampFrames(inc, &rampSmooth_);
        }
        if (g != seenGains_) {
            float gl, gr;
            unpackGains(g, gl, gr);
            if (silent) {
                left_.snap(gl);
                right_.snap(gr);
            } else {
                left_.retarget(gl, rampFrames_, rampSmooth_);
                right_.retarget(gr, rampFrames_, rampSmooth_);
            }
            seenGains_ = g;
        }
        envelope_.retarget(audible ? 1.0 : 0.0, rampFrames_, rampSmooth_);
        mixBlock(out + 2 * done, done < written, n);
        phase_ += inc * std::uint64_t(n);
        done += n;
    }
    heard_.store(envelope_.moving() || envelope_.value() != 0.0, std::memory_order_release);
    return frames;
}

// One block of the voice at its current phase: at steady gains in one pass,
// else sample by sample along the ramps.
void Voice::mixBlock(float *o, bool add, int n)
{
    if (!envelope_.moving() && !left_.moving() && !right_.moving()) {
        const double e = envelope_.value();
        MixSine(o, add, n, phase_, rotation_, e * left_.value(), e * right_.value());
        return;
    }
    double sine[kSineBlock];
    SineBlock(sine, n, phase_, rotation_);
    if (!add)
        std::fill(o, o + 2 * n, 0.0f);
    for (int i = 0; i < n; ++i) {
        const double e = envelope_.value();
        o[2 * i] += float(sine[i] * e * left_.value());
        o[2 * i + 1] += float(sine[i] * e * right_.value());
        envelope_.step();
        left_.step();
        right_.step();
    }
}

bool Mixer::render(float *buffer, int frames)
{
    if (rise_.exchange(false, std::memory_order_acquire))
        for (int i = 0; i < channels; ++i)
            voices[std::size_t(i)].silence();
    // The first voice to sound writes the frames, those after it add to them;
    // what no voice reached is silence.
    int written = 0;
    for (int i = 0; i < channels; ++i)
        written = std::max(written, voices[std::size_t(i)].mixInto(buffer, frames, written));
    std::memset(buffer + 2 * written, 0, sizeof(float) * 2 * std::size_t(frames - written));
    return written > 0;
}

} // namespace tone
