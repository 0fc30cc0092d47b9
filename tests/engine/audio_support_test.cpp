// The measuring helpers that the sound tests rely on, checked on signals
// made here.
#include "tests/audio_support/audio_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<float> sine(double hz, double seconds, double amplitude, double rate = 48000, double phase = 0.3)
{
    std::vector<float> x(std::size_t(seconds * rate));
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = float(amplitude * std::sin(2 * M_PI * hz * double(i) / rate + phase));
    return x;
}

class MeasureFrequency : public ::testing::TestWithParam<double> {};

TEST_P(MeasureFrequency, CleanSineWithinAMillihertzOnAFewHundredMilliseconds)
{
    const double hz = GetParam();
    const auto x = sine(hz, 0.3, 0.1);
    EXPECT_NEAR(audiotest::measureFrequency(x.data(), x.size(), 48000), hz, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Tones, MeasureFrequency, ::testing::Values(100.0, 528.0, 741.0, 1000.0, 15000.0, 21000.0));

TEST(MeasureFrequency, SixteenBitQuantisedAndNoisyStillWithinTheTestTolerance)
{
    auto x = sine(528.0, 0.4, 0.07);
    std::srand(7);
    for (float &v : x)
        v = std::round((v + 1e-4f * (float(std::rand()) / float(RAND_MAX) - 0.5f)) * 32767.0f) / 32767.0f;
    EXPECT_NEAR(audiotest::measureFrequency(x.data(), x.size(), 48000), 528.0, 0.005);
}

TEST(MeasureFrequency, NoSignalGivesZero)
{
    std::vector<float> x(4800, 0.0f);
    EXPECT_EQ(audiotest::measureFrequency(x.data(), x.size(), 48000), 0.0);
}

TEST(Levels, RmsPeakAndStep)
{
    const auto x = sine(1000.0, 1.0, 0.5, 48000, 0.0);
    EXPECT_NEAR(audiotest::rms(x.data(), x.size()), 0.5 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(audiotest::peak(x.data(), x.size()), 0.5, 1e-6);
    // A sampled sine's steps reach 2 A sin(w/2) only when a pair of samples
    // straddles the zero crossing symmetrically.
    const double w = 2 * M_PI * 1000 / 48000;
    EXPECT_LE(audiotest::largestStep(x.data(), x.size()), 2 * 0.5 * std::sin(w / 2) + 1e-7);
    EXPECT_GE(audiotest::largestStep(x.data(), x.size()), 0.999 * 2 * 0.5 * std::sin(w / 2) * std::cos(w / 2));
    const float jump[] = {0.0f, 0.1f, -0.4f, -0.3f};
    EXPECT_FLOAT_EQ(float(audiotest::largestStep(jump, 4)), 0.5f);
    EXPECT_EQ(audiotest::rms(jump, 0), 0.0);
}

TEST(Segments, ToneToneSilenceToneWithTheChangePoint)
{
    std::vector<float> x(4800, 0.0f); // 0.1 s silence
    auto a = sine(528.0, 0.5, 0.1);
    // 741 Hz continuing in phase from the end of a.
    const double phase = 2 * M_PI * 528.0 * double(a.size()) / 48000 + 0.3;
    auto b = sine(741.0, 0.5, 0.1, 48000, phase);
    x.insert(x.end(), a.begin(), a.end());
    x.insert(x.end(), b.begin(), b.end());
    x.insert(x.end(), 9600, 0.0f);
    auto c = sine(300.0, 0.2, 0.1);
    x.insert(x.end(), c.begin(), c.end());
    x.insert(x.end(), 2400, 0.0f);
    const auto seg = audiotest::findSoundSegments(x.data(), x.size(), 48000);
    ASSERT_EQ(seg.size(), 2u);
    EXPECT_NEAR(double(seg[0].begin), 4800.0, 10.0);
    EXPECT_NEAR(double(seg[0].end), 4800.0 + 48000.0, 10.0);
    EXPECT_NEAR(double(seg[1].begin), 4800.0 + 48000.0 + 9600.0, 10.0);
    EXPECT_NEAR(double(seg[1].length()), 9600.0, 10.0);
    const std::size_t change =
        audiotest::findFrequencyChange(x.data() + seg[0].begin, seg[0].length(), 48000, 528, 741);
    EXPECT_NEAR(double(change), 24000.0, 48000.0 / 528.0 * 1.5);
    EXPECT_EQ(audiotest::findFrequencyChange(a.data(), a.size(), 48000, 528, 741), a.size());
}

void writeLe(std::ofstream &o, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        o.put(char((v >> (8 * i)) & 0xFF));
}

TEST(LoadWav, SixteenBitPcmAndFloatWithUnfinishedHeader)
{
    char name[] = "/tmp/helicordia-wav-test-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream o(name, std::ios::binary);
        o.write("RIFF", 4);
        writeLe(o, 0, 4);
        o.write("WAVE", 4);
        o.write("fmt ", 4);
        writeLe(o, 16, 4);
        writeLe(o, 1, 2);
        writeLe(o, 2, 2);
        writeLe(o, 44100, 4);
        writeLe(o, 44100 * 4, 4);
        writeLe(o, 4, 2);
        writeLe(o, 16, 2);
        o.write("LIST", 4); // a chunk to skip
        writeLe(o, 3, 4);
        o.write("abc\0", 4);
        o.write("data", 4);
        writeLe(o, 0, 4); // never filled in
        for (std::int16_t v : {std::int16_t(16384), std::int16_t(-32768), std::int16_t(0), std::int16_t(100)})
            writeLe(o, std::uint16_t(v), 2);
    }
    audiotest::Recording r;
    std::string err;
    ASSERT_TRUE(audiotest::loadWav(name, r, &err)) << err;
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.rate, 44100.0);
    ASSERT_EQ(r.frames(), 2u);
    EXPECT_FLOAT_EQ(r.samples[0], 0.5f);
    EXPECT_FLOAT_EQ(r.samples[1], -1.0f);
    EXPECT_EQ(r.channel(1)[1], 100.0f / 32768.0f);
    EXPECT_FLOAT_EQ(r.mono()[0], -0.25f);
    {
        std::ofstream o(name, std::ios::binary);
        o.write("RIFF", 4);
        writeLe(o, 0, 4);
        o.write("WAVE", 4);
        o.write("fmt ", 4);
        writeLe(o, 16, 4);
        writeLe(o, 3, 2);
        writeLe(o, 1, 2);
        writeLe(o, 48000, 4);
        writeLe(o, 48000 * 4, 4);
        writeLe(o, 4, 2);
        writeLe(o, 32, 2);
        o.write("data", 4);
        writeLe(o, 8, 4);
        const float v[3] = {0.25f, -0.75f, 9.0f}; // the third lies beyond the chunk
        o.write(reinterpret_cast<const char *>(v), sizeof v);
    }
    ASSERT_TRUE(audiotest::loadWav(name, r, &err)) << err;
    EXPECT_EQ(r.channels, 1);
    ASSERT_EQ(r.frames(), 2u);
    EXPECT_EQ(r.samples[1], -0.75f);
    unlink(name);
    EXPECT_FALSE(audiotest::loadWav(name, r, &err));
    EXPECT_FALSE(err.empty());
}

TEST(Environment, AudioRequiredFollowsTheVariable)
{
    const char *saved = std::getenv("HELICORDIA_AUDIO_REQUIRED");
    const std::string keep = saved ? saved : "";
    setenv("HELICORDIA_AUDIO_REQUIRED", "1", 1);
    EXPECT_TRUE(audiotest::audioRequired());
    setenv("HELICORDIA_AUDIO_REQUIRED", "0", 1);
    EXPECT_FALSE(audiotest::audioRequired());
    unsetenv("HELICORDIA_AUDIO_REQUIRED");
    EXPECT_FALSE(audiotest::audioRequired());
    if (saved)
        setenv("HELICORDIA_AUDIO_REQUIRED", keep.c_str(), 1);
    const char *sink = std::getenv("HELICORDIA_TEST_SINK");
    EXPECT_EQ(audiotest::testMonitorSource(), sink ? std::string(sink) + ".monitor" : "@DEFAULT_MONITOR@");
}

} // namespace
