// A session rendered to one file and read back: each treatment's own render,
// one after another, with its frequencies and switches where they belong and
// no click where one treatment hands on to the next.
#include "catalogue/catalogue.h"
#include "engine/tone.h"
#include "tests/audio_support/audio_support.h"
#include "treatment/export/session_export.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace helicordia;

namespace {

std::vector<float> readBack(const QString &path, int *channels)
{
    audiotest::Recording rec;
    std::string error;
    EXPECT_TRUE(audiotest::loadWav(path.toStdString(), rec, &error)) << error;
    *channels = rec.channels;
    return rec.samples;
}

// First frame after `from` where the signal stops following the sine
// recurrence of frequency hz; the change happened on the frame before it.
std::size_t changeFrame(const std::vector<float> &x, std::size_t from, double hz, double rate)
{
    const double c = 2.0 * std::cos(2.0 * M_PI * hz / rate);
    for (std::size_t i = from; i < x.size(); ++i)
        if (std::fabs(x[i] - c * x[i - 1] + x[i - 2]) > 2e-5)
            return i - 1;
    return x.size();
}

} // namespace

TEST(SessionExport, TwoTreatmentsReadBackAsTheirOwnRendersInARow)
{
    Catalogue catalogue;
    catalogue.setCatalogueLineCount(2);
    catalogue.setEntry(1, QStringLiteral("Pair - 528,741.5"));
    catalogue.setEntry(2, QStringLiteral("Single - 1000.25"));
    const TreatmentFinder finder(catalogue);
    const SessionPlan plan({{{"Pair", 20}, {"Single", 10}}, 1}, finder);
    ASSERT_EQ(plan.schedule().parts().size(), 2u);
    ExportRequest base;
    base.volume = 0.5f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.wav"));
    ASSERT_EQ(ExportSession(plan, base, path).outcome, ExportOutcome::Written);

    // Sample for sample the two treatments exported alone, one after the other.
    int channels = 0;
    const std::vector<float> all = readBack(path, &channels);
    ASSERT_EQ(channels, 2);
    std::vector<float> alone;
    for (int part = 0; part < 2; ++part) {
        const QString one = dir.filePath(QStringLiteral("part%1.wav").arg(part));
        ASSERT_EQ(ExportTreatment(SessionPartRequest(plan, part, base), one).outcome, ExportOutcome::Written);
        const std::vector<float> samples = readBack(one, &channels);
        alone.insert(alone.end(), samples.begin(), samples.end());
    }
    ASSERT_EQ(all.size(), alone.size());
    EXPECT_TRUE(all == alone);

    const double rate = DefaultExportRate;
    std::vector<float> left;
    for (std::size_t i = 0; i < all.size(); i += 2)
        left.push_back(all[i]);
    const std::size_t second = std::size_t(rate);
    const std::size_t join = std::size_t(TreatmentFrameCount(SessionPartRequest(plan, 0, base)));
    ASSERT_EQ(left.size(), join + std::size_t(TreatmentFrameCount(SessionPartRequest(plan, 1, base))));

    // Every frequency within 1e-4 Hz.
    const struct {
        std::size_t begin;
        double hz;
    } tones[] = {{1 * second, 528.0}, {11 * second, 741.5}, {join + second, 1000.25}};
    for (const auto &t : tones)
        EXPECT_NEAR(audiotest::measureFrequency(left.data() + t.begin, 8 * second, rate), t.hz, 1e-4) << t.hz;

    // Every switch within one sample: to 741.5 Hz at 10 s, the second
    // treatment's start at the join; the first one's fade not before 20 s.
    EXPECT_LE(std::llabs((long long)changeFrame(left, 9 * second, 528.0, rate) - (long long)(10 * second)), 1);
    const std::size_t fade = changeFrame(left, 19 * second, 741.5, rate);
    EXPECT_GE(fade + 1, 20 * second);
    EXPECT_LT(fade, join);
    EXPECT_EQ(left[join - 1], 0.0f);            // the first treatment has faded out
    EXPECT_EQ(left[join], 0.0f);                // the second rises from phase 0 ...
    EXPECT_GT(std::fabs(left[join + 1]), 0.0f); // ... at once
    EXPECT_GT(audiotest::peak(left.data() + 20 * second, join - 20 * second), 0.0f); // a fade, not a cut

    // No click at the join or anywhere: no step beyond the highest tone's steepest.
    const double level = audiotest::peak(left.data(), left.size());
    EXPECT_NEAR(level, 0.5 * std::cos(M_PI / 4), 1e-3);
    const double steepest = level * 2.0 * M_PI * 1000.25 / rate;
    EXPECT_LE(audiotest::largestStep(left.data() + join - second, 2 * second), steepest * 1.001);
    EXPECT_LE(audiotest::largestStep(left.data(), left.size()), steepest * 1.001);
}

// The hand-off of a live session waits for this: a stopped tone is heard
// until its fade-out has been rendered, and not after.
TEST(SessionExport, AStoppedToneIsHeardUntilItsFadeIsRendered)
{
    std::uint32_t system = 0, oscillator = 0, channel = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    ASSERT_EQ(Tone_System_Init(system, 1, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
    ASSERT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &oscillator), TONE_OK);
    ASSERT_EQ(Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, oscillator, 0, &channel), TONE_OK);
    ASSERT_EQ(Tone_Channel_SetFrequency(channel, 52800.0f), TONE_OK);
    std::vector<float> buffer(2 * 4096);
    int heard = -1;
    auto renderAndAsk = [&](int frames) {
        EXPECT_EQ(Tone_System_Render(system, buffer.data(), frames), TONE_OK);
        EXPECT_EQ(Tone_Channel_IsHeard(channel, &heard), TONE_OK);
        return heard;
    };
    EXPECT_EQ(renderAndAsk(1000), 1);
    ASSERT_EQ(Tone_Channel_Stop(channel), TONE_OK);
    ASSERT_EQ(Tone_Channel_IsHeard(channel, &heard), TONE_OK);
    EXPECT_EQ(heard, 1); // nothing rendered since the stop
    EXPECT_EQ(renderAndAsk(Tone_RampFrames(52800.0f) - 1), 1);
    EXPECT_EQ(renderAndAsk(1), 0);
    EXPECT_EQ(renderAndAsk(100), 0);
    Tone_DSP_Release(oscillator);
    Tone_System_Close(system);
    Tone_System_Release(system);
}
