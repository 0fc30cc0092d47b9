// A live session end to end: the player window plays two short treatments
// into the test sink through the real engine, one handing on to the next, and
// the recording of the sink's monitor is measured.
#include "catalogue/catalogue.h"
#include "tests/audio_support/audio_support.h"
#include "tests/treatment/fake_platform.h"
#include "treatment/player.h"
#include "treatment/session_player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace helicordia;

namespace {

void playFor(int milliseconds)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds)
        QTest::qWait(5);
}

// The longest run of samples below `quiet` in [begin, end).
std::size_t longestQuiet(const std::vector<float> &x, std::size_t begin, std::size_t end, float quiet)
{
    std::size_t longest = 0, run = 0;
    for (std::size_t i = begin; i < end && i < x.size(); ++i) {
        run = std::fabs(x[i]) < quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

TEST(SessionSound, TwoTreatmentsOneAfterTheOther)
{
    if (!audiotest::soundServerReachable()) {
        if (audiotest::audioRequired())
            FAIL() << "HELICORDIA_AUDIO_REQUIRED=1 but no sound server answers";
        GTEST_SKIP() << "no sound server";
    }
    test::RecordingPlatform platform;
    QWidget mainWindow;
    mainWindow.show();
    Player player(realToneEngine(), platform, &mainWindow);
    Catalogue catalogue;
    catalogue.setCatalogueLineCount(2);
    catalogue.setEntry(1, QStringLiteral("First - 528"));
    catalogue.setEntry(2, QStringLiteral("Second - 741"));
    const SessionPlan plan({{{"First", 10}, {"Second", 10}}, 1}, TreatmentFinder(catalogue));
    const auto *place = player.findChild<QLabel *>(QStringLiteral("sessionPlace"));

    audiotest::MonitorRecorder recorder;
    ASSERT_TRUE(recorder.start()) << recorder.lastError();
    playFor(300);
    player.playSession(plan);
    EXPECT_EQ(place->text(), QStringLiteral("Treatment 1 of 2, round 1 of 1"));
    playFor(1200);
    // The clock runs to the end of the first treatment at once; the second
    // follows by itself once the fade is over.
    SessionPlayer &session = player.sessionPlayer();
    while (session.part() == 0 && !session.handOffPending())
        player.clockTimer_Timer();
    playFor(1200);
    EXPECT_EQ(session.part(), 1);
    EXPECT_EQ(player.core().state(), PlayerState::Playing);
    EXPECT_EQ(place->text(), QStringLiteral("Treatment 2 of 2, round 1 of 1"));
    while (session.active())
        player.clockTimer_Timer();
    EXPECT_TRUE(place->text().isEmpty());
    playFor(500);
    player.close();
    ASSERT_TRUE(recorder.stop()) << recorder.lastError();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();

    const audiotest::Recording &rec = recorder.recording();
    const std::vector<float> mono = rec.mono();
    const double rate = rec.rate;
    const auto segments = audiotest::findSoundSegments(mono.data(), mono.size(), rate, 1e-3, 0.05, 0.2);
    ASSERT_EQ(segments.size(), 1u) << "the two treatments without a pause between them";
    const auto &sound = segments[0];
    const std::size_t change =
        sound.begin + audiotest::findFrequencyChange(mono.data() + sound.begin, sound.length(), rate, 528.0, 741.0);
    ASSERT_LT(change, sound.end);
    const std::size_t margin = std::size_t(0.05 * rate);
    const double f1 =
        audiotest::measureFrequency(mono.data() + sound.begin + margin, change - sound.begin - 2 * margin, rate);
    const double f2 = audiotest::measureFrequency(mono.data() + change + margin, sound.end - change - 2 * margin, rate);
    // The gap between them: the fade out, a short silence, the fade in.
    const std::size_t gap =
        longestQuiet(mono, change - std::size_t(0.2 * rate), change + std::size_t(0.05 * rate), 1e-3f);
    std::printf("first %.4f Hz for %.3f s, second %.4f Hz for %.3f s, silence between %.1f ms\n", f1,
                double(change - sound.begin) / rate, f2, double(sound.end - change) / rate,
                1000.0 * double(gap) / rate);
    EXPECT_NEAR(f1, 528.0, 0.05);
    EXPECT_NEAR(f2, 741.0, 0.05);
    EXPECT_GT(double(change - sound.begin) / rate, 1.0);
    EXPECT_GT(double(sound.end - change) / rate, 1.0);
    // The first faded out to silence before the second rose from it (the
    // tails of both fades below 1e-3 are already about 1.5 ms), with no
    // longer pause than the fades.
    EXPECT_GT(double(gap) / rate, 0.001);
    EXPECT_LT(double(gap) / rate, 0.05);
    // No click at the join: no step beyond the steepest slope of the higher tone.
    const double level = audiotest::peak(mono.data(), mono.size());
    const double steepest = 2.0 * M_PI * 741.0 * level / rate;
    EXPECT_LT(audiotest::largestStep(mono.data(), mono.size()), steepest * 1.25);
}

int main(int argc, char **argv)
{
    const std::string sink = audiotest::testSinkName();
    if (!sink.empty())
        setenv("PULSE_SINK", sink.c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
