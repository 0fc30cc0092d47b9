// The render core of the tone engine: sine oscillators on voices, their
// ramps, and the mix of all voices into one interleaved stereo buffer.
//
// Threads: the control side (Voice::set*, restart) runs under the engine's
// lock on the caller's thread and only stores atomics. Mixer::render runs on
// the audio thread (or in a test) and keeps the oscillator and ramp state to
// itself, so it never waits, allocates or makes a system call.
//
// Oscillator: a 64-bit fixed-point phase accumulator (one cycle = 2^64) gives
// the exact phase at the start of every block of at most kSineBlock frames;
// inside the block, double-precision rotations produce sin() (oscillator.h).
// Frequency changes take effect at a block boundary with the phase carried
// over, so the waveform stays continuous. Start, stop, pause, resume, volume
// and pan changes follow a ramp of TONE_RAMP_FRAMES frames, or of a quarter
// of the tone's period where that is longer (at most TONE_RAMP_MAX_FRAMES).
#pragma once

#include "engine/oscillator.h"
#include "engine/tone.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace tone {

// A value that glides to its target over a given number of frames. A smooth
// ramp follows a raised cosine. Where that would be too steep for a slow
// tone, a value moving away from zero follows a quarter sine and one moving
// towards zero a quarter cosine: over a quarter of the tone's period either
// keeps the tone's steps within those of the steady sine. Mixer-only.
struct Ramp {
    double from = 0.0, to = 0.0;
    int pos = 0, length = 0; // at rest when pos == length
    bool smooth = true;
    bool rising = false;
    double c = 1.0, s = 0.0;   // cos and sin of the angle for pos: pi pos / length if
                               // smooth, else (pi/2) pos / length
    double dc = 1.0, ds = 0.0; // their rotation per frame

    bool moving() const { return pos < length; }
    double value() const
    {
        if (!moving())
            return to;
        if (smooth)
            return from + (to - from) * (0.5 - 0.5 * c);
        return rising ? from + (to - from) * s : to + (from - to) * c;
    }
    void retarget(double target, int frames, bool smoothShape);
    void snap(double target);
    void step()
    {
        if (pos < length) {
            ++pos;
            const double nc = c * dc - s * ds;
            s = s * dc + c * ds;
            c = nc;
        }
    }
};

// The phase step per frame of a tone of `hz` (its magnitude), or nothing
// when it cannot be heard (not finite, or not below half the mixing rate).
bool PhaseIncrement(double hz, std::uint64_t *increment);

// How many frames the ramps of a voice last at a phase step, and whether they
// follow the smooth shape: TONE_RAMP_FRAMES, or a quarter of the tone's
// period where that is longer, at most TONE_RAMP_MAX_FRAMES.
int RampFrames(std::uint64_t increment, bool *smooth = nullptr);

// One sine oscillator with its envelope and stereo gains.
class Voice {
public:
    // Control side: what the voice should sound. Takes effect at the next
    // block the mixer renders, through a ramp where a jump would click.
    // A negative frequency sounds its magnitude (a sine of -f is the same
    // tone); one that is not finite or not below half the mixing rate is
    // silent rather than aliased, and the voice fades out at its old pitch.
    // Each tells whether the setting changed.
    bool setFrequency(double hz);
    bool setGains(float volume, float pan); // constant-power pan, -1 .. 1
    bool setRun(bool playing, bool paused);
    void restart(); // a new tone: rises from phase 0 unless one still fades out
    // Whether the voice was still heard at the end of what the mixer last
    // rendered: after a stop, true until its fade-out has been rendered.
    bool heard() const { return heard_.load(std::memory_order_acquire); }

    // Back to silence at phase 0. Only while no one renders.
    void reset();
    // Mixer side: the envelope drops to silence at once (after a gap in the
    // output nothing is sounding), so that the voice rises again by its ramp.
    void silence() { m_.envelope.snap(0); }

    // Everything the mixer side keeps between blocks: a copy taken before a
    // block and put back later renders that block again exactly as it went,
    // with the control side's settings of that later moment.
    struct MixState {
        std::uint64_t phase = 0;
        Ramp envelope, left, right;
        std::uint64_t seenGains = ~std::uint64_t(0);
        std::uint32_t seenStarts = 0;
        std::uint64_t rotIncrement = ~std::uint64_t(0);
        SineRotation rotation;
        int rampFrames = TONE_RAMP_FRAMES; // for the pitch in rotIncrement
        bool rampSmooth = true;
    };
    const MixState &mixState() const { return m_; }
    void setMixState(const MixState &state) { m_ = state; }

    // Mixer side: mixes `frames` frames of this voice into `out`, whose first
    // `written` frames hold the mix so far: the voice adds to those and writes
    // over the rest. Returns how many frames it reached: 0 when it was at rest
    // and silent, fewer than `frames` when it came to rest on the way.
    int mixInto(float *out, int frames, int written);

private:
    void mixBlock(float *out, bool add, int frames);

    std::atomic<std::uint64_t> increment_{0}; // phase step per frame
    std::atomic<std::uint64_t> gains_{0};     // packed left/right gain
    std::atomic<std::uint32_t> run_{0};       // kRunPlaying | kRunPaused
    std::atomic<std::uint32_t> starts_{0};    // counts plays
    std::atomic<bool> muted_{false};          // the frequency cannot be heard
    std::atomic<bool> heard_{false};          // set by the mixer after each render

    MixState m_;
};

// All voices of one system.
struct Mixer {
    Mixer() { PrepareSineTables(); }

    std::array<Voice, TONE_MAX_CHANNELS> voices;
    int channels = 0; // voices in use: 0 .. TONE_MAX_CHANNELS

    // Writes `frames` frames of the mix (interleaved stereo) into `buffer`.
    // False when every voice was at rest and silent: the buffer is silence.
    bool render(float *buffer, int frames);

    // Any thread: the output starts again after a gap; the next render lets
    // every voice rise from silence instead of going on mid-wave.
    void riseFromSilence() { rise_.store(true, std::memory_order_release); }
    // Mixer side: a rise asked for takes effect now (render does this first).
    void takeRise();
    // Mixer side: the state of the `channels` voices in use, copied to
    // `to` and back from `from`; see Voice::MixState.
    void saveState(Voice::MixState *to) const;
    void restoreState(const Voice::MixState *from);

private:
    std::atomic<bool> rise_{false};
};

} // namespace tone
