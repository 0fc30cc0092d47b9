// The player end to end: the real window, the real tone engine and a real
// sound server. Plays a three-frequency entry into the test sink and checks
// the recording of the sink's monitor: the tones in order, silence while
// paused and after Stop, no clicks.
#include "tests/audio_support/audio_support.h"
#include "tests/treatment/fake_platform.h"
#include "treatment/player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

using namespace helicordia;

namespace {

bool soundAvailable()
{
    return audiotest::soundServerReachable();
}

// Lets real time pass with the window's event loop (and so its engine tick)
// running.
void playFor(int milliseconds)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds)
        QTest::qWait(10);
}

struct Phase {
    const char *what;
    std::size_t frame; // frames recorded when the phase began
};

double measureBetween(const std::vector<float> &mono, double rate, std::size_t begin, std::size_t end)
{
    if (end <= begin)
        return 0;
    return audiotest::measureFrequency(mono.data() + begin, end - begin, rate);
}

} // namespace

#define REQUIRE_SOUND()                                                                                                \
    do {                                                                                                               \
        if (!soundAvailable()) {                                                                                       \
            if (audiotest::audioRequired())                                                                            \
                FAIL() << "HELICORDIA_AUDIO_REQUIRED=1 but no sound server answers";                                   \
            GTEST_SKIP() << "no sound server";                                                                         \
        }                                                                                                              \
    } while (0)

TEST(PlayerSound, ThreeFrequenciesWithSkipPauseAndStop)
{
    REQUIRE_SOUND();
    test::RecordingPlatform platform;
    QWidget mainWindow;
    mainWindow.show();
    Player player(realToneEngine(), platform, &mainWindow);

    audiotest::MonitorRecorder recorder;
    ASSERT_TRUE(recorder.start()) << recorder.lastError();

    player.Player_Start(1, QStringLiteral("Three tones "), QStringLiteral("396,528,741"));
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(player.core().frequencyCount(), 3);
    playFor(400); // silence before Play

    player.btnPlay_Click();
    playFor(1200);
    player.btnSkip_Click();
    player.clockTimer_Timer();
    EXPECT_EQ(player.core().currentFrequency(), 2);
    playFor(1200);
    player.btnSkip_Click();
    player.clockTimer_Timer();
    EXPECT_EQ(player.core().currentFrequency(), 3);
    playFor(1200);
    player.btnPause_Click();
    EXPECT_EQ(player.core().state(), PlayerState::Paused);
    playFor(1000);
    player.btnPause_Click(); // resume
    EXPECT_EQ(player.core().state(), PlayerState::Playing);
    playFor(1000);
    player.btnStop_Click();
    EXPECT_EQ(player.core().state(), PlayerState::Stopped);
    playFor(1000);
    player.close();
    EXPECT_TRUE(mainWindow.isVisible());
    playFor(200);
    ASSERT_TRUE(recorder.stop()) << recorder.lastError();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(platform.endStatuses.isEmpty());

    const audiotest::Recording &rec = recorder.recording();
    const std::vector<float> mono = rec.mono();
    const double rate = rec.rate;
    ASSERT_GT(rate, 0);
    const auto segments = audiotest::findSoundSegments(mono.data(), mono.size(), rate, 1e-3, 0.05, 0.2);
    ASSERT_EQ(segments.size(), 2u) << "expected the tones, the pause, the resumed tone, then silence";
    const auto &first = segments[0];
    const auto &second = segments[1];
    const auto seconds = [&](std::size_t frames) { return double(frames) / rate; };
    std::printf("recording %.2f s; sound %.3f..%.3f s, pause %.3f s, sound %.3f..%.3f s, silence after %.3f s\n",
                seconds(mono.size()), seconds(first.begin), seconds(first.end), seconds(second.begin - first.end),
                seconds(second.begin), seconds(second.end), seconds(mono.size() - second.end));

    // The three tones in order inside the first stretch.
    const std::size_t to528 =
        first.begin + audiotest::findFrequencyChange(mono.data() + first.begin, first.length(), rate, 396.0, 528.0);
    ASSERT_LT(to528, first.end);
    const std::size_t to741 =
        to528 + audiotest::findFrequencyChange(mono.data() + to528, first.end - to528, rate, 528.0, 741.0);
    ASSERT_LT(to741, first.end);
    const std::size_t margin = std::size_t(0.05 * rate);
    const double f396 = measureBetween(mono, rate, first.begin + margin, to528 - margin);
    const double f528 = measureBetween(mono, rate, to528 + margin, to741 - margin);
    const double f741 = measureBetween(mono, rate, to741 + margin, first.end - margin);
    const double f741b = measureBetween(mono, rate, second.begin + margin, second.end - margin);
    std::printf("measured %.4f Hz (%.2f s), %.4f Hz (%.2f s), %.4f Hz (%.2f s); after resume %.4f Hz (%.2f s)\n", f396,
                seconds(to528 - first.begin), f528, seconds(to741 - to528), f741, seconds(first.end - to741), f741b,
                seconds(second.length()));
    EXPECT_NEAR(f396, 396.0, 0.05);
    EXPECT_NEAR(f528, 528.0, 0.05);
    EXPECT_NEAR(f741, 741.0, 0.05);
    EXPECT_NEAR(f741b, 741.0, 0.05);
    EXPECT_GT(seconds(to528 - first.begin), 0.8);
    EXPECT_GT(seconds(to741 - to528), 0.8);
    EXPECT_GT(seconds(first.end - to741), 0.8);

    // Pause and Stop are silent.
    EXPECT_GT(seconds(second.begin - first.end), 0.7);
    EXPECT_LT(audiotest::peak(mono.data() + first.end, second.begin - first.end), 1e-3);
    EXPECT_GT(seconds(mono.size() - second.end), 0.7);
    EXPECT_LT(audiotest::peak(mono.data() + second.end, mono.size() - second.end), 1e-3);

    // No clicks: no sample-to-sample step larger than the steepest slope of
    // the loudest tone (with some room).
    const double level = audiotest::peak(mono.data(), mono.size());
    const double steepest = 2.0 * M_PI * 741.0 * level / rate;
    const double step = audiotest::largestStep(mono.data(), mono.size());
    std::printf("peak %.4f, largest step %.5f, steepest sine slope %.5f\n", level, step, steepest);
    EXPECT_GT(level, 0.02);
    EXPECT_LT(step, steepest * 1.25);
}

TEST(PlayerSound, ASecondTreatmentInTheSameRunStartsCleanly)
{
    REQUIRE_SOUND();
    test::RecordingPlatform platform;
    QWidget mainWindow;
    mainWindow.show();
    Player player(realToneEngine(), platform, &mainWindow);
    player.Player_Start(1, QStringLiteral("First"), QStringLiteral("528"));
    player.btnPlay_Click();
    playFor(200);
    // volume and pan clicks on a stopped channel are harmless
    player.btnStop_Click();
    player.findChild<QSlider *>(QStringLiteral("volumeSlider"))->triggerAction(QAbstractSlider::SliderPageStepAdd);
    player.findChild<QSlider *>(QStringLiteral("panSlider"))->triggerAction(QAbstractSlider::SliderPageStepAdd);
    player.btnPlay_Click();
    playFor(200);
    player.close();
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();

    // The window is loaded again with a fresh engine; the channel handle of
    // the first treatment is still held.
    player.Player_Start(2, QStringLiteral("Second"), QStringLiteral("741"));
    EXPECT_NE(player.core().toneChannel(), 0u);
    player.findChild<QSlider *>(QStringLiteral("volumeSlider"))->triggerAction(QAbstractSlider::SliderPageStepAdd);
    player.findChild<QSlider *>(QStringLiteral("panSlider"))->triggerAction(QAbstractSlider::SliderPageStepSub);
    player.engineTimer_Timer();
    player.btnPlay_Click();
    playFor(300);
    player.engineTimer_Timer();
    EXPECT_EQ(player.core().state(), PlayerState::Playing);
    const QString status = player.findChild<QLineEdit *>(QStringLiteral("statusLine"))->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("  Channel playing : Frequency 741Hz Volume 19%")))
        << status.toStdString();
    player.close();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(platform.endStatuses.isEmpty());
}

int main(int argc, char **argv)
{
    // Play into the test sink when one is named.
    const std::string sink = audiotest::testSinkName();
    if (!sink.empty())
        setenv("PULSE_SINK", sink.c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A treatment of 100 frequencies at its shortest length, the clock driven as
// fast as it goes and Skip pressed at random: every tone change goes through
// the real engine, and nothing may crash, leak or report an error.
TEST(PlayerSound, HundredFrequenciesAtTheShortestLengthWithRandomSkips)
{
    REQUIRE_SOUND();
    test::RecordingPlatform platform;
    QWidget mainWindow;
    Player player(realToneEngine(), platform, &mainWindow);
    QStringList list;
    for (int i = 0; i < 100; ++i)
        list << QString::number(100 + 37 * i);
    player.Player_Start(1, QStringLiteral("Stress "), list.join(QLatin1Char(',')));
    auto *length = player.findChild<QSlider *>(QStringLiteral("lengthSlider"));
    length->setValue(length->minimum());
    ASSERT_EQ(player.core().treatmentLength(), 1000);

    std::mt19937 random(20261207);
    player.btnPlay_Click();
    int ticks = 0;
    while (player.core().state() != PlayerState::Stopped && ticks++ < 2000) {
        if (random() % 4 == 0)
            player.btnSkip_Click();
        player.clockTimer_Timer();
        if (ticks % 10 == 0)
            player.engineTimer_Timer();
    }
    EXPECT_EQ(player.core().state(), PlayerState::Stopped);
    EXPECT_LE(player.core().currentFrequency(), 100);
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(platform.endStatuses.isEmpty());
}
