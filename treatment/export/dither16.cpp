#include "treatment/export/dither16.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace helicordia {

namespace {

// The noise of one sample is the difference of the two signed 16-bit halves
// of its word: triangular over one step either side, in steps of 1/65536.
constexpr float kNoiseStep = 1.0f / 65536.0f;
// Samples beyond this are held here first, where the sums stay exact enough
// and within the range of the conversion.
constexpr float kLimit = 2.0f;

} // namespace

Dither16::Dither16()
{
    // Any seeds but zero; splitmix64 spreads one over all generators.
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    for (std::uint64_t &s : state_) {
        seed += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        s = z ^ (z >> 31);
    }
}

#if defined(__SSE2__)

namespace {

// Four samples of one generator pair's step: scaled, dithered and rounded to
// the nearest integer (the conversion rounds as nearbyint does).
inline __m128i dithered(const float *in, __m128i noise)
{
    const __m128i high = _mm_srai_epi32(noise, 16), low = _mm_srai_epi32(_mm_slli_epi32(noise, 16), 16);
    const __m128 dither = _mm_mul_ps(_mm_cvtepi32_ps(_mm_sub_epi32(high, low)), _mm_set1_ps(kNoiseStep));
    const __m128 x = _mm_max_ps(_mm_min_ps(_mm_loadu_ps(in), _mm_set1_ps(kLimit)), _mm_set1_ps(-kLimit));
    return _mm_cvtps_epi32(_mm_add_ps(_mm_mul_ps(x, _mm_set1_ps(32767.0f)), dither));
}

inline __m128i next(__m128i &s)
{
    s = _mm_xor_si128(s, _mm_slli_epi64(s, 13));
    s = _mm_xor_si128(s, _mm_srli_epi64(s, 7));
    s = _mm_xor_si128(s, _mm_slli_epi64(s, 17));
    return s;
}

} // namespace

// The whole step in vector registers, without a branch; packing to 16 bits
// saturates, which holds the samples within range.
void Dither16::step(const float *in, short *out)
{
    for (int k = 0; k < kGenerators / 4; ++k) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(state_ + 4 * k));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(state_ + 4 * k + 2));
        const __m128i pcm = _mm_packs_epi32(dithered(in + 8 * k, next(a)), dithered(in + 8 * k + 4, next(b)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8 * k), pcm);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(state_ + 4 * k), a);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(state_ + 4 * k + 2), b);
    }
}

#else

namespace {

std::uint64_t xorshift(std::uint64_t &s)
{
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
}

} // namespace

// The same sums, one sample at a time.
void Dither16::step(const float *in, short *out)
{
    for (int g = 0; g < kGenerators; ++g) {
        const std::uint64_t words = xorshift(state_[g]);
        for (int half = 0; half < 2; ++half) {
            const auto word = std::uint32_t(words >> (32 * half));
            const int high = std::int16_t(word >> 16), low = std::int16_t(word & 0xFFFF);
            const float x = std::clamp(in[2 * g + half], -kLimit, kLimit);
            const float v = std::nearbyint(x * 32767.0f + float(high - low) * kNoiseStep);
            out[2 * g + half] = short(std::clamp(v, -32768.0f, 32767.0f));
        }
    }
}

#endif

void Dither16::convert(const float *in, short *out, std::size_t n)
{
    std::size_t i = 0;
    for (; i + kStep <= n; i += kStep)
        step(in + i, out + i);
    if (i < n) {
        // The last few samples take a whole step; the rest of its noise is unused.
        float x[kStep] = {};
        short pcm[kStep];
        std::copy(in + i, in + n, x);
        step(x, pcm);
        std::copy(pcm, pcm + (n - i), out + i);
    }
}

} // namespace helicordia
