// What the mixer renders, measured offline: exact frequency, purity, no
// clicks at any change, pan law, pause that stands still.
#include "engine/output.h"
#include "engine/tone.h"
#include "tests/audio_support/audio_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kRate = TONE_SAMPLE_RATE;

// One offline system with one oscillator and one channel, started the way
// the player starts it.
class Tone {
public:
    explicit Tone(double hz, float volume = 1.0f, bool start = true)
    {
        EXPECT_EQ(Tone_System_Create(&system_), TONE_OK);
        EXPECT_EQ(Tone_System_Init(system_, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
        EXPECT_EQ(Tone_System_CreateDSPByType(system_, 2, &osc_), TONE_OK);
        EXPECT_EQ(Tone_DSP_SetParameter(osc_, 1, 440.0f), TONE_OK);
        EXPECT_EQ(Tone_System_PlayDSP(system_, -2, osc_, 1, &channel_), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetVolume(channel_, volume), TONE_OK);
        EXPECT_EQ(Tone_DSP_SetParameter(osc_, 0, 0.0f), TONE_OK);
        if (hz >= 0) {
            EXPECT_EQ(Tone_Channel_SetFrequency(channel_, float(hz * 100.0)), TONE_OK);
        }
        if (start) {
            EXPECT_EQ(Tone_Channel_SetPaused(channel_, 0), TONE_OK);
        }
    }
    ~Tone()
    {
        Tone_DSP_Release(osc_);
        Tone_System_Close(system_);
        Tone_System_Release(system_);
    }
    // Renders `frames` frames in calls of at most `chunk` frames and appends
    // them to left/right.
    void render(std::size_t frames, std::size_t chunk = 480)
    {
        std::vector<float> buf(2 * chunk);
        while (frames > 0) {
            const std::size_t n = std::min(frames, chunk);
            ASSERT_EQ(Tone_System_Render(system_, buf.data(), int(n)), TONE_OK);
            for (std::size_t i = 0; i < n; ++i) {
                left.push_back(buf[2 * i]);
                right.push_back(buf[2 * i + 1]);
            }
            frames -= n;
        }
    }
    void skip(std::size_t frames)
    {
        render(frames);
        left.clear();
        right.clear();
    }
    ToneHandle channel() const { return channel_; }
    ToneHandle system() const { return system_; }
    ToneHandle osc() const { return osc_; }

    std::vector<float> left, right;

private:
    ToneHandle system_ = 0, osc_ = 0, channel_ = 0;
};

double sineStep(double amplitude, double hz)
{
    return 2.0 * amplitude * std::sin(M_PI * std::min(hz, kRate / 2) / kRate);
}

// ---- frequency --------------------------------------------------------------

class FrequencyAccuracy : public ::testing::TestWithParam<double> {};

TEST_P(FrequencyAccuracy, TenSecondsWithinOneTenThousandthHertz)
{
    const double hz = GetParam();
    const float channelUnits = float(hz * 100.0);
    const double set = double(channelUnits) / 100.0;
    Tone tone(hz);
    tone.skip(4800);
    tone.render(10 * 48000, 4096);
    const double measured = audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate);
    std::printf("[ figure ] frequency %.2f Hz: measured %.9f Hz, error %.3g Hz\n", set, measured, measured - set);
    EXPECT_NEAR(measured, set, 1e-4);
    const double right = audiotest::measureFrequency(tone.right.data(), tone.right.size(), kRate);
    EXPECT_NEAR(right, set, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Tones, FrequencyAccuracy,
                         ::testing::Values(0.5, 1.2, 5.0, 7.83, 27.5, 528.0, 10000.0, 20000.0));

// After an hour the waveform still sits exactly where the ideal sine is: the
// phase does not drift.
struct HourCase {
    std::int64_t numerator; // tone = numerator / denominator Hz
    std::int64_t denominator;
};

class NoDrift : public ::testing::TestWithParam<HourCase> {};

TEST_P(NoDrift, AfterOneHourTheSampleValuesMatchTheIdealSine)
{
    const HourCase c = GetParam();
    const double hz = double(c.numerator) / double(c.denominator);
    Tone tone(hz);
    const std::size_t hour = 3600 * 48000;
    std::vector<float> buf(2 * 48000);
    std::size_t done = 0;
    while (done < hour) {
        ASSERT_EQ(Tone_System_Render(tone.system(), buf.data(), 48000), TONE_OK);
        done += 48000;
    }
    ASSERT_EQ(Tone_System_Render(tone.system(), buf.data(), 4800), TONE_OK);
    double worst = 0;
    const double a = std::cos(M_PI / 4);
    for (std::size_t i = 0; i < 4800; ++i) {
        // Phase in cycles, exactly: n * hz / rate, kept as an integer fraction.
        const std::int64_t n = std::int64_t(hour + i);
        const std::int64_t den = c.denominator * 48000;
        const std::int64_t num = (n % den) * c.numerator % den;
        const double ideal = a * std::sin(2.0 * M_PI * double(num) / double(den));
        worst = std::max(worst, std::fabs(ideal - buf[2 * i]));
    }
    std::printf("[ figure ] %.2f Hz after one hour: largest deviation from the ideal sine %.3g\n", hz, worst);
    EXPECT_LT(worst, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Tones, NoDrift, ::testing::Values(HourCase{528, 1}, HourCase{783, 100}, HourCase{20000, 1}));

// ---- purity -------------------------------------------------------------------

double thdPlusNoiseDb(const std::vector<float> &x, double hz, std::size_t firstFrame)
{
    // Least-squares fit of the fundamental (and any offset) over whole
    // periods; whatever is left is distortion and noise.
    const std::size_t n = x.size();
    double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
    std::vector<double> s(n), co(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double ph = 2.0 * M_PI * std::fmod(hz * double(firstFrame + i) / kRate, 1.0);
        s[i] = std::sin(ph);
        co[i] = std::cos(ph);
        ss += s[i] * s[i];
        sc += s[i] * co[i];
        cc += co[i] * co[i];
        xs += x[i] * s[i];
        xc += x[i] * co[i];
    }
    const double det = ss * cc - sc * sc;
    const double a = (xs * cc - xc * sc) / det, b = (xc * ss - xs * sc) / det;
    double fund = 0, resid = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double f = a * s[i] + b * co[i];
        fund += f * f;
        resid += (x[i] - f) * (x[i] - f);
    }
    return 10.0 * std::log10(resid / fund);
}

struct PurityCase {
    float pan;
    const char *name;
};

class Purity : public ::testing::TestWithParam<PurityCase> {};

TEST_P(Purity, OneKilohertzAtFullVolumeIsBelowMinus120dB)
{
    Tone tone(1000.0);
    ASSERT_EQ(Tone_Channel_SetPan(tone.channel(), GetParam().pan), TONE_OK);
    tone.skip(4800);
    tone.render(48000 * 2, 1000);
    const double db = thdPlusNoiseDb(tone.left, 1000.0, 4800);
    std::printf("[ figure ] THD+N at 1 kHz, full volume, pan %s: %.1f dB\n", GetParam().name, db);
    EXPECT_LE(db, -120.0);
}

INSTANTIATE_TEST_SUITE_P(Pans, Purity, ::testing::Values(PurityCase{0.0f, "centre"}, PurityCase{-1.0f, "left"}));

// ---- clicks -------------------------------------------------------------------

// A change made while the tone plays, and the per-channel amplitudes before
// and after it; the largest step around the change must stay within the
// step of the sine itself at the larger amplitude and frequency.
struct ClickCase {
    std::string name;
    std::function<void(ToneHandle channel)> change;
    double hzBefore, hzAfter;
    float volumeBefore;
    bool startPaused = false;
    float panBefore = 0.0f;
};

std::vector<ClickCase> clickCases()
{
    std::vector<ClickCase> cases;
    auto label = [](double hz) {
        std::string t = std::to_string(hz);
        t.erase(t.find_last_not_of('0') + 1);
        if (t.back() == '.')
            t.pop_back();
        std::replace(t.begin(), t.end(), '.', '_');
        return t;
    };
    for (double hz : {5.0, 7.83, 27.5, 100.0, 528.0, 1000.0, 10000.0, 20000.0}) {
        const std::string f = label(hz);
        cases.push_back({"start_" + f, [](ToneHandle c) { Tone_Channel_SetPaused(c, 0); }, hz, hz, 1.0f, true});
        cases.push_back({"stop_" + f, [](ToneHandle c) { Tone_Channel_Stop(c); }, hz, hz, 1.0f});
        cases.push_back({"pause_" + f, [](ToneHandle c) { Tone_Channel_SetPaused(c, 1); }, hz, hz, 1.0f});
        cases.push_back({"volume_up_" + f, [](ToneHandle c) { Tone_Channel_SetVolume(c, 1.0f); }, hz, hz, 0.1f});
        cases.push_back({"volume_down_" + f, [](ToneHandle c) { Tone_Channel_SetVolume(c, 0.05f); }, hz, hz, 1.0f});
        cases.push_back(
            {"pan_left_to_right_" + f, [](ToneHandle c) { Tone_Channel_SetPan(c, 1.0f); }, hz, hz, 1.0f, false, -1.0f});
        cases.push_back(
            {"pan_to_centre_" + f, [](ToneHandle c) { Tone_Channel_SetPan(c, 0.0f); }, hz, hz, 1.0f, false, 0.9f});
    }
    const std::pair<double, double> jumps[] = {{528, 741},   {741, 528}, {100, 10000}, {20000, 0.5},
                                               {7.83, 1000}, {5, 7.83},  {27.5, 5}};
    for (auto [a, b] : jumps)
        cases.push_back({"frequency_" + label(a) + "_to_" + label(b),
                         [b = b](ToneHandle c) { Tone_Channel_SetFrequency(c, float(b * 100.0)); }, a, b, 1.0f});
    // To a frequency that cannot be heard: it fades out at the old pitch.
    cases.push_back(
        {"frequency_528_to_30000", [](ToneHandle c) { Tone_Channel_SetFrequency(c, 3000000.0f); }, 528, 0, 1.0f});
    cases.push_back(
        {"frequency_528_to_nan", [](ToneHandle c) { Tone_Channel_SetFrequency(c, std::nanf("")); }, 528, 0, 1.0f});
    cases.push_back(
        {"frequency_528_to_minus_741", [](ToneHandle c) { Tone_Channel_SetFrequency(c, -74100.0f); }, 528, 741, 1.0f});
    return cases;
}

class NoClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(NoClicks, LargestStepStaysWithinTheSinesOwnStep)
{
    const ClickCase &c = GetParam();
    // Several moments in the wave, and a chunk size that does not line up
    // with the mixer's blocks.
    double worstRatio = 0, worstInRamp = 0;
    for (std::size_t lead : {4801u, 5003u, 5171u, 6000u}) {
        Tone tone(c.hzBefore, c.volumeBefore, !c.startPaused);
        ASSERT_EQ(Tone_Channel_SetPan(tone.channel(), c.panBefore), TONE_OK);
        tone.skip(lead);
        tone.render(1); // the last frame before the change, for the seam
        float volBefore = 0, volAfter = 0, panBefore = 0, panAfter = 0;
        Tone_Channel_GetVolume(tone.channel(), &volBefore);
        Tone_Channel_GetPan(tone.channel(), &panBefore);
        c.change(tone.channel());
        Tone_Channel_GetVolume(tone.channel(), &volAfter);
        Tone_Channel_GetPan(tone.channel(), &panAfter);
        tone.render(4800, 333);

        auto gains = [](float vol, float pan) {
            const double a = (pan + 1.0) * M_PI / 4.0;
            return std::pair<double, double>{vol * std::cos(a), vol * std::sin(a)};
        };
        const auto [l0, r0] = gains(volBefore, panBefore);
        const auto [l1, r1] = gains(volAfter, panAfter);
        const double hz = std::max(c.hzBefore, c.hzAfter);
        const double allowedL = sineStep(std::max(l0, l1), hz) + 1e-6;
        const double allowedR = sineStep(std::max(r0, r1), hz) + 1e-6;
        const double stepL = audiotest::largestStep(tone.left.data(), tone.left.size());
        const double stepR = audiotest::largestStep(tone.right.data(), tone.right.size());
        EXPECT_LE(stepL, allowedL) << c.name << " lead " << lead;
        EXPECT_LE(stepR, allowedR) << c.name << " lead " << lead;
        worstRatio = std::max({worstRatio, stepL / allowedL, stepR / allowedR});
        // The stretch the change itself shapes: the ramp and one mixer block.
        const std::size_t n = TONE_RAMP_FRAMES + 256 + 1;
        worstInRamp = std::max({worstInRamp, audiotest::largestStep(tone.left.data(), n) / allowedL,
                                audiotest::largestStep(tone.right.data(), n) / allowedR});
    }
    std::printf("[ figure ] %s: largest step / sine's own step = %.4f (within the change's ramp %.4f)\n",
                c.name.c_str(), worstRatio, worstInRamp);
}

INSTANTIATE_TEST_SUITE_P(Changes, NoClicks, ::testing::ValuesIn(clickCases()),
                         [](const ::testing::TestParamInfo<ClickCase> &i) { return i.param.name; });

TEST(NoClicks, ResumeAfterPause)
{
    for (double hz : {5.0, 7.83, 27.5, 100.0, 528.0, 10000.0}) {
        Tone tone(hz);
        tone.skip(5000);
        Tone_Channel_SetPaused(tone.channel(), 1);
        tone.render(4800);
        EXPECT_EQ(audiotest::peak(tone.left.data() + 2400, 2400), 0.0) << "paused is silent";
        Tone_Channel_SetPaused(tone.channel(), 0);
        tone.render(4800, 217);
        const double allowed = sineStep(std::cos(M_PI / 4), hz) + 1e-6;
        const double step = audiotest::largestStep(tone.left.data(), tone.left.size());
        std::printf("[ figure ] resume %.2f Hz: largest step / sine's own step = %.4f\n", hz, step / allowed);
        EXPECT_LE(step, allowed) << hz;
    }
}

// Below about 35 Hz a sine moves less per sample than any 5-10 ms ramp does,
// so there the ramps set the largest step: a start rises from the zero
// crossing (at most 1.7 times the sine's own step), a stop or pause glides
// down by at most A * pi / (2 * ramp length) per sample.
TEST(NoClicks, SubAudioTones)
{
    const double a = std::cos(M_PI / 4);
    for (double hz : {0.5, 7.83, 20.0}) {
        Tone tone(hz, 1.0f, false);
        tone.skip(480);
        Tone_Channel_SetPaused(tone.channel(), 0);
        tone.render(4800, 480);
        const double startRatio = audiotest::largestStep(tone.left.data(), tone.left.size()) / sineStep(a, hz);
        tone.skip(48000 / 7);
        tone.render(1);
        Tone_Channel_Stop(tone.channel());
        tone.render(4800);
        const double stopStep = audiotest::largestStep(tone.left.data(), tone.left.size());
        const double rampBound = a * M_PI / (2.0 * TONE_RAMP_FRAMES);
        std::printf("[ figure ] %.2f Hz: start step / sine's step %.3f; stop step %.2e (sine's step %.2e, ramp "
                    "bound %.2e)\n",
                    hz, startRatio, stopStep, sineStep(a, hz), rampBound);
        EXPECT_LE(startRatio, 1.7) << hz;
        EXPECT_LE(stopStep, rampBound * 1.01) << hz;
    }
}

TEST(Start, ANewPlayStartsAtPhaseZeroLikeAFreshEngine)
{
    Tone fresh(528.0);
    fresh.render(4800);
    Tone reused(741.0);
    reused.render(7777);
    Tone_Channel_Stop(reused.channel());
    reused.render(4800);
    ToneHandle ch = reused.channel();
    ASSERT_EQ(Tone_System_PlayDSP(reused.system(), -2, reused.osc(), 1, &ch), TONE_OK);
    Tone_Channel_SetVolume(ch, 1.0f);
    Tone_Channel_SetFrequency(ch, 52800.0f);
    Tone_Channel_SetPaused(ch, 0);
    reused.left.clear();
    reused.render(4800);
    EXPECT_EQ(reused.left, fresh.left);
}

// ---- envelope timing ------------------------------------------------------

TEST(Ramps, ChangesTakeTenMillisecondsAndStopEndsInSilence)
{
    Tone tone(528.0, 1.0f, false);
    tone.skip(1000);
    EXPECT_EQ(audiotest::peak(tone.left.data(), tone.left.size()), 0.0);
    Tone_Channel_SetPaused(tone.channel(), 0);
    tone.render(4800, 100);
    const auto seg = audiotest::findSoundSegments(tone.left.data(), tone.left.size(), kRate, 1e-6);
    ASSERT_EQ(seg.size(), 1u);
    EXPECT_LE(seg[0].begin, 4u) << "the tone starts in the first block after the call (from phase 0)";
    // Full level is reached within the ramp (plus one mixer block).
    const double full = std::cos(M_PI / 4);
    EXPECT_NEAR(audiotest::peak(tone.left.data() + 1000, 1500), full, 1e-4);
    tone.left.clear();
    Tone_Channel_Stop(tone.channel());
    tone.render(4800, 100);
    EXPECT_GT(audiotest::peak(tone.left.data(), 100), 0.5 * full);
    EXPECT_EQ(audiotest::peak(tone.left.data() + 480 + 256, 4800 - 480 - 256), 0.0) << "silent after the ramp";
}

// ---- levels -------------------------------------------------------------------

struct PanCase {
    float pan;
    float volume;
};

class PanLaw : public ::testing::TestWithParam<PanCase> {};

TEST_P(PanLaw, ConstantPower)
{
    const PanCase c = GetParam();
    Tone tone(528.0, c.volume);
    ASSERT_EQ(Tone_Channel_SetPan(tone.channel(), c.pan), TONE_OK);
    tone.skip(4800);
    tone.render(48000);
    const double l = audiotest::rms(tone.left.data(), tone.left.size()) * std::sqrt(2.0);
    const double r = audiotest::rms(tone.right.data(), tone.right.size()) * std::sqrt(2.0);
    const double a = (double(c.pan) + 1.0) * M_PI / 4.0;
    EXPECT_NEAR(l, c.volume * std::cos(a), 1e-5);
    EXPECT_NEAR(r, c.volume * std::sin(a), 1e-5);
    EXPECT_NEAR(l * l + r * r, double(c.volume) * c.volume, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Pans, PanLaw,
                         ::testing::Values(PanCase{-1.0f, 1.0f}, PanCase{-0.5f, 0.5f}, PanCase{0.0f, 0.1006f},
                                           PanCase{0.5f, 1.0f}, PanCase{1.0f, 0.25f}));

TEST(Levels, HardPanLeavesTheOtherSideSilent)
{
    Tone tone(528.0);
    Tone_Channel_SetPan(tone.channel(), -1.0f);
    tone.skip(4800);
    tone.render(4800);
    EXPECT_LT(audiotest::peak(tone.right.data(), tone.right.size()), 1e-7);
}

// ---- pitch rules --------------------------------------------------------------

TEST(Pitch, BeforeAFrequencyIsSetTheChannelSoundsTheRate)
{
    Tone tone(-1.0); // no SetFrequency
    tone.skip(4800);
    tone.render(24000);
    EXPECT_NEAR(audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate), 440.0, 1e-3);
    Tone_DSP_SetParameter(tone.osc(), 1, 300.0f);
    tone.skip(4800);
    tone.render(24000);
    EXPECT_NEAR(audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate), 300.0, 1e-3);
    Tone_Channel_SetFrequency(tone.channel(), 52800.0f);
    Tone_DSP_SetParameter(tone.osc(), 1, 200.0f); // no longer followed
    tone.skip(4800);
    tone.render(24000);
    EXPECT_NEAR(audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate), 528.0, 1e-3);
}

// What a channel sounds for a frequency that is negative, not finite, or
// not below half the mixing rate: its magnitude, or silence (never an alias).
struct PitchCase {
    const char *name;
    float set;    // channel units (Hz x 100)
    double heard; // Hz; 0 = silent
};

class HeardPitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(HeardPitch, MagnitudeOrSilence)
{
    const PitchCase &c = GetParam();
    Tone tone(440.0);
    tone.skip(4800);
    ASSERT_EQ(Tone_Channel_SetFrequency(tone.channel(), c.set), TONE_OK);
    tone.skip(4800);
    tone.render(24000);
    if (c.heard == 0) {
        EXPECT_EQ(audiotest::peak(tone.left.data(), tone.left.size()), 0.0);
        // Back to a tone that can be heard: it sounds again.
        ASSERT_EQ(Tone_Channel_SetFrequency(tone.channel(), 52800.0f), TONE_OK);
        tone.skip(4800);
        tone.render(24000);
        EXPECT_NEAR(audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate), 528.0, 1e-3);
    } else {
        EXPECT_NEAR(audiotest::measureFrequency(tone.left.data(), tone.left.size(), kRate), c.heard, 1e-2);
        EXPECT_NEAR(audiotest::peak(tone.left.data(), tone.left.size()), std::cos(M_PI / 4), 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Pitches, HeardPitch,
                         ::testing::Values(PitchCase{"minus_440", -44000.0f, 440.0},
                                           PitchCase{"minus_7_83", -783.0f, 7.83},
                                           PitchCase{"just_below_half_the_rate", 2390000.0f, 23900.0},
                                           PitchCase{"half_the_rate", 2400000.0f, 0},
                                           PitchCase{"above_half_the_rate", 3000000.0f, 0},
                                           PitchCase{"minus_30000", -3000000.0f, 0},
                                           PitchCase{"nan", std::numeric_limits<float>::quiet_NaN(), 0},
                                           PitchCase{"infinity", std::numeric_limits<float>::infinity(), 0},
                                           PitchCase{"minus_infinity", -std::numeric_limits<float>::infinity(), 0},
                                           PitchCase{"largest_float", std::numeric_limits<float>::max(), 0}),
                         [](const ::testing::TestParamInfo<PitchCase> &i) { return std::string(i.param.name); });

// A paused channel stands still: whatever the length of the pause, what
// follows the resume is the same, sample for sample.
TEST(Pause, ResumesWhereItStood)
{
    std::vector<float> after[2];
    const std::size_t pauses[2] = {48000, 14400};
    for (int k = 0; k < 2; ++k) {
        Tone tone(528.0);
        tone.render(24000);
        Tone_Channel_SetPaused(tone.channel(), 1);
        tone.render(pauses[k]);
        tone.left.clear();
        Tone_Channel_SetPaused(tone.channel(), 0);
        tone.render(9600);
        after[k] = tone.left;
    }
    ASSERT_EQ(after[0].size(), after[1].size());
    EXPECT_EQ(after[0], after[1]);
    EXPECT_GT(audiotest::peak(after[0].data(), after[0].size()), 0.7);
}

TEST(Mix, TwoChannelsAddUp)
{
    Tone tone(528.0, 0.25f);
    ToneHandle second = 0;
    ASSERT_EQ(Tone_System_PlayDSP(tone.system(), -1, tone.osc(), 0, &second), TONE_OK);
    ASSERT_NE(second, tone.channel());
    Tone_Channel_SetVolume(second, 0.5f);
    Tone_Channel_SetFrequency(second, 74100.0f);
    Tone_Channel_SetPan(second, 1.0f);
    tone.skip(4800);
    tone.render(48000);
    const double l = audiotest::rms(tone.left.data(), tone.left.size()) * std::sqrt(2.0);
    EXPECT_NEAR(l, 0.25 * std::cos(M_PI / 4), 1e-4) << "only the first channel on the left";
    const double r2 = std::pow(audiotest::rms(tone.right.data(), tone.right.size()), 2) * 2.0;
    EXPECT_NEAR(r2, std::pow(0.25 * std::cos(M_PI / 4), 2) + 0.25, 1e-4);
}

// What an output that writes again what has not been heard relies on: from
// the state kept at a block, the mixer renders the same frames again, or
// with a change made since, the change from that block on and nothing
// before it.
TEST(History, RenderingAgainFromAKeptBlockRepeatsOrAppliesTheChange)
{
    tone::Mixer mixer;
    mixer.channels = 2;
    tone::Voice &voice = mixer.voices[0];
    voice.setFrequency(528.0);
    voice.setGains(0.5f, 0.0f);
    voice.setRun(true, false);
    tone::OutputStream stream(mixer);
    stream.keepHistory(true);
    constexpr int kFrames = 8 * tone::kHistoryBlock, kAt = 3 * tone::kHistoryBlock;
    std::vector<float> first(2 * kFrames), again(2 * kFrames);
    stream.onCallback(first.data(), 1000, 0, false); // requests need not fall on blocks
    stream.onCallback(first.data() + 2000, kFrames - 1000, 0, false);

    EXPECT_FALSE(stream.rewindTo(kAt + 1)) << "only block starts are kept";
    EXPECT_FALSE(stream.rewindTo(kFrames + tone::kHistoryBlock)) << "nothing rendered there yet";
    ASSERT_TRUE(stream.rewindTo(kAt));
    stream.onCallback(again.data() + 2 * kAt, kFrames - kAt, 0, false);
    EXPECT_TRUE(std::equal(first.begin() + 2 * kAt, first.end(), again.begin() + 2 * kAt));

    voice.setFrequency(741.0);
    ASSERT_TRUE(stream.rewindTo(kAt));
    stream.onCallback(again.data() + 2 * kAt, kFrames - kAt, 0, false);
    std::vector<float> left(kFrames);
    for (int i = 0; i < kFrames; ++i)
        left[std::size_t(i)] = i < kAt ? first[std::size_t(2 * i)] : again[std::size_t(2 * i)];
    EXPECT_NE(first[2 * kAt + 2], again[2 * kAt + 2]) << "the change sounds from the kept block on";
    const double steepest = 2 * 0.5 * std::cos(M_PI / 4) * std::sin(M_PI * 741.0 / kRate);
    EXPECT_LE(audiotest::largestStep(left.data(), left.size()), steepest * 1.001) << "and joins without a click";
    EXPECT_NEAR(audiotest::measureFrequency(left.data() + kAt + 480, std::size_t(kFrames - kAt - 480), kRate), 741.0,
                0.5);
}

} // namespace
