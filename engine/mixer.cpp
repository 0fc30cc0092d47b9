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

bool Voice::setFrequency(double hz)
{
    std::uint64_t increment = 0;
    const bool heard = PhaseIncrement(hz, &increment);
    bool changed = false;
    if (heard)
        changed = increment_.exchange(increment, std::memory_order_relaxed) != increment;
    return muted_.exchange(!heard, std::memory_order_release) == heard || changed;
}

bool Voice::setGains(float volume, float pan)
{
    // Constant power: left = v cos(a), right = v sin(a), a from 0 to pi/2.
    const double a = (double(pan) + 1.0) * M_PI / 4.0;
    const std::uint64_t gains = packGains(float(volume * std::cos(a)), float(volume * std::sin(a)));
    return gains_.exchange(gains, std::memory_order_relaxed) != gains;
}

bool Voice::setRun(bool playing, bool paused)
{
    const std::uint32_t run = (playing ? kRunPlaying : 0) | (paused ? kRunPaused : 0);
    return run_.exchange(run, std::memory_order_release) != run;
}

void Voice::restart()
{
    starts_.fetch_add(1, std::memory_order_relaxed);
}

void Voice::reset()
{
    m_.phase = 0;
    m_.envelope.snap(0);
    m_.left.snap(0);
    m_.right.snap(0);
    m_.seenGains = ~std::uint64_t(0);
    m_.seenStarts = starts_.load();
    m_.rotIncrement = ~std::uint64_t(0);
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
        const bool silent = !m_.envelope.moving() && m_.envelope.value() == 0.0;
        if (silent && !audible) {
            heard_.store(false, std::memory_order_release);
            return done; // stands still: a paused tone resumes where it stood
        }
        const std::uint32_t starts = starts_.load(std::memory_order_relaxed);
        if (starts != m_.seenStarts) {
            // A new tone rises from its zero crossing; one played over a tone
            // that is still fading out carries on from the fading phase.
            if (silent)
                m_.phase = 0;
            m_.seenStarts = starts;
        }

        if (inc != m_.rotIncrement) {
            m_.rotation = MakeSineRotation(inc);
            m_.rotIncrement = inc;
            m_.rampFrames = RampFrames(inc, &m_.rampSmooth);
        }
        if (g != m_.seenGains) {
            float gl, gr;
            unpackGains(g, gl, gr);
            if (silent) {
                m_.left.snap(gl);
                m_.right.snap(gr);
            } else {
                m_.left.retarget(gl, m_.rampFrames, m_.rampSmooth);
                m_.right.retarget(gr, m_.rampFrames, m_.rampSmooth);
            }
            m_.seenGains = g;
        }
        m_.envelope.retarget(audible ? 1.0 : 0.0, m_.rampFrames, m_.rampSmooth);
        mixBlock(out + 2 * done, done < written, n);
        m_.phase += inc * std::uint64_t(n);
        done += n;
    }
    heard_.store(m_.envelope.moving() || m_.envelope.value() != 0.0, std::memory_order_release);
    return frames;
}

// One block of the voice at its current phase: at steady gains in one pass,
// else sample by sample along the ramps.
void Voice::mixBlock(float *o, bool add, int n)
{
    if (!m_.envelope.moving() && !m_.left.moving() && !m_.right.moving()) {
        const double e = m_.envelope.value();
        MixSine(o, add, n, m_.phase, m_.rotation, e * m_.left.value(), e * m_.right.value());
        return;
    }
    double sine[kSineBlock];
    SineBlock(sine, n, m_.phase, m_.rotation);
    if (!add)
        std::fill(o, o + 2 * n, 0.0f);
    for (int i = 0; i < n; ++i) {
        const double e = m_.envelope.value();
        o[2 * i] += float(sine[i] * e * m_.left.value());
        o[2 * i + 1] += float(sine[i] * e * m_.right.value());
        m_.envelope.step();
        m_.left.step();
        m_.right.step();
    }
}

void Mixer::takeRise()
{
    if (rise_.exchange(false, std::memory_order_acquire))
        for (int i = 0; i < channels; ++i)
            voices[std::size_t(i)].silence();
}

void Mixer::saveState(Voice::MixState *to) const
{
    for (int i = 0; i < channels; ++i)
        to[i] = voices[std::size_t(i)].mixState();
}

void Mixer::restoreState(const Voice::MixState *from)
{
    for (int i = 0; i < channels; ++i)
        voices[std::size_t(i)].setMixState(from[i]);
}

bool Mixer::render(float *buffer, int frames)
{
    takeRise();
    // The first voice to sound writes the frames, those after it add to them;
    // what no voice reached is silence.
    int written = 0;
    for (int i = 0; i < channels; ++i)
        written = std::max(written, voices[std::size_t(i)].mixInto(buffer, frames, written));
    std::memset(buffer + 2 * written, 0, sizeof(float) * 2 * std::size_t(frames - written));
    return written > 0;
}

} // namespace tone
