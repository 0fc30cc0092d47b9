// The render core's sine lanes against the sine itself, and a mix of voices
// against the sum of each voice alone.
#include "engine/mixer.h"
#include "engine/oscillator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr std::uint64_t kHalfCycle = std::uint64_t(1) << 63;

long double idealSine(std::uint64_t phase)
{
    return std::sin(2.0L * 3.14159265358979323846264338327950288L * (phase / 18446744073709551616.0L));
}

TEST(SineLanes, EveryFrameOfABlockIsTheSineOfItsPhase)
{
    const std::uint64_t phases[] = {0, 1, kHalfCycle - 12345, ~std::uint64_t(0) - 99, 0x9E3779B97F4A7C15ull};
    const std::uint64_t steps[] = {1, 44739243, 0x0123456789ABCDull, 7686143364045646506ull}; // 20 kHz
    for (const std::uint64_t phase : phases)
        for (const std::uint64_t step : steps)
            for (const int frames : {1, 7, 8, 9, 255, tone::kSineBlock}) {
                const tone::SineRotation rotation = tone::MakeSineRotation(step);
                double sine[tone::kSineBlock];
                tone::SineBlock(sine, frames, phase, rotation);
                std::vector<float> mixed(2 * std::size_t(frames), 0.25f), written(2 * std::size_t(frames), 7.0f);
                tone::MixSine(mixed.data(), true, frames, phase, rotation, 0.5, -1.0);
                tone::MixSine(written.data(), false, frames, phase, rotation, 0.5, -1.0);
                for (int i = 0; i < frames; ++i) {
                    const double ideal = double(idealSine(phase + std::uint64_t(i) * step));
                    ASSERT_NEAR(sine[i], ideal, 1e-14) << phase << " " << step << " frame " << i;
                    ASSERT_EQ(written[2 * std::size_t(i)], float(sine[i] * 0.5)) << i;
                    ASSERT_EQ(written[2 * std::size_t(i) + 1], float(-sine[i])) << i;
                    ASSERT_EQ(mixed[2 * std::size_t(i)], 0.25f + float(sine[i] * 0.5)) << i;
                }
            }
}

// Voices that start, stop and fade at different frames of a buffer: the
// first to sound writes, the others add, and what none reaches is silence.
TEST(Mixer, AMixIsTheSumOfItsVoicesAlone)
{
    const struct {
        double hz;
        int stopAt; // frame of the buffer count after which the voice stops
    } voices[] = {{528.0, 1}, {7.83, 3}, {10000.0, 6}};
    constexpr int kFrames = 700, kBuffers = 8;
    std::vector<float> sum(2 * kFrames * kBuffers, 0.0f), mix;
    for (int solo = -1; solo < 3; ++solo) {
        tone::Mixer mixer;
        mixer.channels = 3;
        for (int v = 0; v < 3; ++v) {
            mixer.voices[std::size_t(v)].setFrequency(voices[v].hz);
            mixer.voices[std::size_t(v)].setGains(0.3f, float(v) - 1.0f);
            mixer.voices[std::size_t(v)].setRun(solo < 0 || solo == v, false);
        }
        std::vector<float> out(2 * kFrames * kBuffers, -1.0f);
        for (int b = 0; b < kBuffers; ++b) {
            for (int v = 0; v < 3; ++v)
                if (b == voices[v].stopAt)
                    mixer.voices[std::size_t(v)].setRun(false, false);
            mixer.render(out.data() + 2 * kFrames * b, kFrames);
        }
        if (solo < 0)
            mix = out;
        else
            for (std::size_t i = 0; i < out.size(); ++i)
                sum[i] += out[i];
    }
    for (std::size_t i = 0; i < mix.size(); ++i)
        ASSERT_NEAR(mix[i], sum[i], 1e-6f) << i;
    EXPECT_EQ(mix.back(), 0.0f);
}

} // namespace
