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

inline void start(Phasors &p, std::uint64_t phase, const SineRotation &r)
{
    const double theta = double(phase) * (kTwoPi / kTwoTo64);
    const Pair c = broadcast(std::cos(theta)), s = broadcast(std::sin(theta));
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

SineRotation MakeSineRotation(std::uint64_t increment)
{
    SineRotation r;
    for (int k = 0; k < kSineLanes; ++k) {
        // The offsets are reduced as phases (modulo one cycle) before they
        // become angles, so that every lane starts as exactly as the first.
        const double angle = double(increment * std::uint64_t(k)) * (kTwoPi / kTwoTo64);
        r.laneCos[k] = std::cos(angle);
        r.laneSin[k] = std::sin(angle);
    }
    const double step = double(increment * std::uint64_t(kSineLanes)) * (kTwoPi / kTwoTo64);
    r.stepCos = std::cos(step);
    r.stepSin = std::sin(step);
    return r;
}

void MixSine(float *out, int frames, std::uint64_t phase, const SineRotation &rotation, double left, double right)
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
            Quad mix;
            std::memcpy(&mix, out + 2 * (i + 2 * k), sizeof mix);
            mix += __builtin_convertvector(__builtin_shufflevector(first, second, 0, 1, 2, 3), Quad);
            std::memcpy(out + 2 * (i + 2 * k), &mix, sizeof mix);
        }
        turn(p, rc, rs);
    }
    for (int k = 0; i < frames; ++i, ++k) {
        const double s = p.s[k / 2][k % 2];
        out[2 * i] += float(s * left);
        out[2 * i + 1] += float(s * right);
    }
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
