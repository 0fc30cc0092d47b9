// Floating-point samples to 16-bit PCM with triangular (TPDF) dither of one
// step, from generators with a fixed seed: the same samples always give the
// same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace helicordia {

class Dither16 {
public:
    Dither16();

    // Writes n samples (full scale = 1.0) as 16-bit PCM: each scaled by
    // 32767, the dither added, rounded to the nearest step and held within
    // -32768 .. 32767. The noise follows on from the last call.
    void convert(const float *in, short *out, std::size_t n);

private:
    // Eight xorshift64 generators side by side: each step of all of them
    // gives sixteen 32-bit words, the noise of sixteen samples.
    static constexpr int kGenerators = 8;
    static constexpr std::size_t kStep = 2 * kGenerators;
    void step(const float *in, short *out);

    std::uint64_t state_[kGenerators];
};

} // namespace helicordia
