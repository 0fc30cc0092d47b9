#include "engine/oscillator.h"

#include <cmath>
#include <cstring>

namespace tone {

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr double kTwoTo64 = 18446744073709551616.0;

static_assert(kSineLanes % 2 == 0);
static_assert(kSineBlock % kSineLanes == 0);

// The lanes in vectors of two: the width every x86-64 processor has.
using Pair = double __attribute__((vector_size(2 * sizeof(double))));
using Quad = float __attribute__((vector_size(4 * sizeof(float))));
constexpr int kPairs = kSineLanes / 2;

// cos and sin of every lane: lane k at the frame offset k.
struct Phasors {
    Pair c[kPairs], s[kPairs];
};

inline Pair broadcast(double x)
{
    return Pair{x, x};
}

// cos and sin of the angles j/256 and j/65536 of a cycle, j = 0 .. 255.
struct AngleTables {
    double cos[2][256], sin[2][256];
    AngleTables()
    {
        for (int j = 0; j < 256; ++j) {
            cos[0][j] = std::cos(kTwoPi * j / 256.0);
            sin[0][j] = std::sin(kTwoPi * j / 256.0);
            cos[1][j] = std::cos(kTwoPi * j / 65536.0);
            sin[1][j] = std::sin(kTwoPi * j / 65536.0);
        }
    }
};
// Made by the first caller: the engine makes them when it makes a mixer, so
// the audio thread only reads them (and a program that never plays pays
// nothing for them at start-up).
const AngleTables &Angles()
{
    static const AngleTables tables;
    return tables;
}

// cos and sin of a phase, to a few units in the last place, without a
// library call: its top 16 bits from the tables, the rest (less than 1/65536
// of a cycle) from the first terms of the series, beyond which nothing is
// left at double precision.
inline void cosSin(std::uint64_t phase, double &c, double &s)
{
    const AngleTables &angles = Angles();
    const std::size_t coarse = phase >> 56, fine = (phase >> 48) & 255;
    const double c1 = angles.cos[0][coarse] * angles.cos[1][fine] - angles.sin[0][coarse] * angles.sin[1][fine];
    const double s1 = angles.sin[0][coarse] * angles.cos[1][fine] + angles.cos[0][coarse] * angles.sin[1][fine];
    const double d = double(phase & ((std::uint64_t(1) << 48) - 1)) * (kTwoPi / kTwoTo64);
    const double cd = 1.0 - 0.5 * d * d, sd = d - d * d * d * (1.0 / 6.0);
    c = c1 * cd - s1 * sd;
    s = s1 * cd + c1 * sd;
}

inline void start(Phasors &p, std::uint64_t phase, const SineRotation &r)
{
    double cosine, sine;
    cosSin(phase, cosine, sine);
    const Pair c = broadcast(cosine), s = broadcast(sine);
#pragma GCC unroll 8
    for (int k = 0; k < kPairs; ++k) {
        Pair lc, ls;
        std::memcpy(&lc, r.laneCos + 2 * k, sizeof lc);
        std::memcpy(&ls, r.laneSin + 2 * k, sizeof ls);
        p.c[k] = c * lc - s * ls;
        p.s[k] = s * lc + c * ls;
    }
}

// Every lane a group of frames further on.
inline void turn(Phasors &p, Pair rc, Pair rs)
{
#pragma GCC unroll 8
    for (int k = 0; k < kPairs; ++k) {
        const Pair c = p.c[k] * rc - p.s[k] * rs;
        p.s[k] = p.s[k] * rc + p.c[k] * rs;
        p.c[k] = c;
    }
}

} // namespace

void PrepareSineTables()
{
    Angles();
}

SineRotation MakeSineRotation(std::uint64_t increment)
{
    // The offsets are taken as phases (modulo one cycle, exact) before they
    // become angles, so that every lane starts as exactly as the first.
    SineRotation r;
    for (int k = 0; k < kSineLanes; ++k)
        cosSin(increment * std::uint64_t(k), r.laneCos[k], r.laneSin[k]);
    cosSin(increment * std::uint64_t(kSineLanes), r.stepCos, r.stepSin);
    return r;
}

namespace {

template <bool kAdd>
void mixSine(float *out, int frames, std::uint64_t phase, const SineRotation &rotation, double left, double right)
{
    Phasors p;
    start(p, phase, rotation);
    const Pair rc = broadcast(rotation.stepCos), rs = broadcast(rotation.stepSin);
    const Pair gains{left, right};
    int i = 0;
    for (; i + kSineLanes <= frames; i += kSineLanes) {
#pragma GCC unroll 8
        for (int k = 0; k < kPairs; ++k) {
            // Two frames, left and right of each as the buffer interleaves them.
            const Pair first = __builtin_shufflevector(p.s[k], p.s[k], 0, 0) * gains;
            const Pair second = __builtin_shufflevector(p.s[k], p.s[k], 1, 1) * gains;
            Quad mix = __builtin_convertvector(__builtin_shufflevector(first, second, 0, 1, 2, 3), Quad);
            if constexpr (kAdd) {
                Quad before;
                std::memcpy(&before, out + 2 * (i + 2 * k), sizeof before);
                mix += before;
            }
            std::memcpy(out + 2 * (i + 2 * k), &mix, sizeof mix);
        }
        turn(p, rc, rs);
    }
    for (int k = 0; i < frames; ++i, ++k) {
        const double s = p.s[k / 2][k % 2];
        out[2 * i] = float(s * left) + (kAdd ? out[2 * i] : 0.0f);
        out[2 * i + 1] = float(s * right) + (kAdd ? out[2 * i + 1] : 0.0f);
    }
}

} // namespace

void MixSine(float *out, bool add, int frames, std::uint64_t phase, const SineRotation &rotation, double left,
             double right)
{
    if (add)
        mixSine<true>(out, frames, phase, rotation, left, right);
    else
        mixSine<false>(out, frames, phase, rotation, left, right);
}

void SineBlock(double *out, int frames, std::uint64_t phase, const SineRotation &rotation)
{
    Phasors p;
    start(p, phase, rotation);
    const Pair rc = broadcast(rotation.stepCos), rs = broadcast(rotation.stepSin);
    for (int i = 0; i < frames; i += kSineLanes) {
        std::memcpy(out + i, p.s, sizeof p.s);
        turn(p, rc, rs);
    }
}

} // namespace tone
