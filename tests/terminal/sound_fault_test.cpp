// The fault table: `helicordia --play` against a sound server of the test's
// own that freezes, dies, comes back, or loses the chosen output. For each:
// how soon the program answers a signal (or ends by itself), what it tells
// the user, its exit status, and what the listener heard.
#include "audio_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <memory>

namespace {

using audiotest::PrivateSoundServer;

// A step of a row, `atMs` after the program started.
struct Action {
    int atMs;
    std::function<void(PrivateSoundServer &)> act;
};

struct FaultCase {
    const char *name;
    std::vector<std::string> extraArgs; // after --play 1156 --length 4
    bool frozenBefore;
    std::vector<Action> actions;
    int signalAtMs;         // -1: none (the program ends by itself)
    double withinMs;        // answers the signal (or ends by itself) within this long
    int status;             // exit status
    QStringList told;       // lines the user is told (parts of them)
    const char *recordSink; // the tone comes back there without a click (recorded after the last action)
    const char *chosenSink; // recorded from the start: the tone plays only there until the fault
};

void PrintTo(const FaultCase &c, std::ostream *os)
{
    *os << c.name;
}

// Records `sink`'s monitor from now until stop(), within the server's life.
std::unique_ptr<audiotest::MonitorRecorder> recordSink(const std::string &sink)
{
    auto recorder = std::make_unique<audiotest::MonitorRecorder>(sink + ".monitor");
    EXPECT_TRUE(recorder->start()) << recorder->lastError();
    return recorder;
}

class FaultTable : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTable, Row)
{
    const FaultCase &c = GetParam();
    PrivateSoundServer server({"fault_sink", "second"});
    if (!server.start())
        GTEST_SKIP() << "pulseaudio cannot be started here";
    if (c.frozenBefore)
        server.freeze();

    QProcess program;
    QStringList args = {QStringLiteral("--play"), QStringLiteral("1156"),     QStringLiteral("--length"),
                        QStringLiteral("4"),      QStringLiteral("--volume"), QStringLiteral("50")};
    for (const std::string &a : c.extraArgs)
        args << QString::fromStdString(a);
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(HELICORDIA_EXE), args);
    ASSERT_TRUE(program.waitForStarted());
    std::unique_ptr<audiotest::MonitorRecorder> recorder, chosen;
    if (c.chosenSink) {
        chosen = recordSink(c.chosenSink);
        recorder = recordSink(c.recordSink);
    }
    for (const Action &a : c.actions) {
        program.waitForFinished(int(std::max<qint64>(1, a.atMs - clock.elapsed())));
        a.act(server);
    }
    if (c.recordSink && !recorder)
        recorder = recordSink(c.recordSink);
    qint64 from = 0;
    if (c.signalAtMs >= 0) {
        program.waitForFinished(int(std::max<qint64>(1, c.signalAtMs - clock.elapsed())));
        from = clock.elapsed();
        ::kill(pid_t(program.processId()), SIGINT);
    } else if (!c.actions.empty()) {
        from = c.actions.back().atMs;
    }
    const bool ended = program.waitForFinished(20000);
    const double answeredMs = double(clock.elapsed() - from);
    server.thaw();
    if (recorder) {
        QThread::msleep(300);
        ASSERT_TRUE(recorder->stop()) << recorder->lastError();
    }
    if (chosen)
        chosen->stop(); // its sink is gone: what reached the file is kept
    const QString told = QString::fromUtf8(program.readAllStandardError());
    ASSERT_TRUE(ended) << told.toStdString();
    std::printf("[ figure ] %-26s %s %.0f ms, exit status %d; told: %s\n", c.name,
                c.signalAtMs >= 0 ? "answered the signal in" : "ended by itself in", answeredMs, program.exitCode(),
                told.split(QLatin1Char('\n'))
                    .filter(QStringLiteral("helicordia:"))
                    .join(QStringLiteral(" / "))
                    .toUtf8()
                    .constData());
    EXPECT_LE(answeredMs, c.withinMs);
    EXPECT_EQ(program.exitCode(), c.status);
    for (const QString &line : c.told)
        EXPECT_TRUE(told.contains(line)) << "told: " << told.toStdString() << "\nexpected: " << line.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("ALSA")) || told.contains(QStringLiteral("RtApi")))
        << "the libraries keep quiet: " << told.toStdString();
    if (chosen) {
        const std::vector<float> there = chosen->recording().channel(0);
        const std::vector<float> other = recorder->recording().channel(0);
        const auto before = audiotest::findSoundSegments(there.data(), there.size(), 48000);
        const auto after = audiotest::findSoundSegments(other.data(), other.size(), 48000);
        ASSERT_FALSE(before.empty() || after.empty());
        EXPECT_GT(before.front().length(), 48000u) << "the tone played on the chosen output";
        EXPECT_GT(after.front().begin, 48000u) << "and nowhere else until it went";
    }
    if (!recorder)
        return;
    // The tone comes back with its rise: no step beyond the steepest of the
    // sine at half volume (with room for a busy machine's rounding) where it
    // starts again. (Later gaps would be a busy machine's, not the fault's.)
    const std::vector<float> left = recorder->recording().channel(0);
    const auto sound = audiotest::findSoundSegments(left.data(), left.size(), 48000);
    ASSERT_FALSE(sound.empty()) << "the tone came back";
    const double steepest = 0.5 * std::cos(M_PI / 4) * 2 * M_PI * 554.37 / 48000;
    const std::size_t rise = sound.front().begin > 480 ? sound.front().begin - 480 : 0;
    const double step = audiotest::largestStep(left.data() + rise, std::min<std::size_t>(5280, left.size() - rise));
    std::printf("[ figure ] %-26s after the fault: %.2f s of tone, largest step in its rise / steepest = %.3f\n",
                c.name, double(sound.back().end - sound.front().begin) / 48000, step / steepest);
    EXPECT_LT(step, steepest * 1.25);
}

const auto freeze = [](PrivateSoundServer &s) { s.freeze(); };
const auto die = [](PrivateSoundServer &s) { s.kill(); };
const auto restart = [](PrivateSoundServer &s) { s.start(); };
const auto unloadSecond = [](PrivateSoundServer &s) {
    s.pactl({"unload-module", std::to_string(s.sinkModule("second"))});
};
const QString lost = QStringLiteral("helicordia: Sound lost: ");

INSTANTIATE_TEST_SUITE_P(
    Play, FaultTable,
    ::testing::Values(
        FaultCase{"FrozenBeforePlay", {}, true, {}, 1000, 1000, 1, {}, nullptr, nullptr},
        FaultCase{"FrozenBeforePlayLeftAlone",
                  {},
                  true,
                  {},
                  -1,
                  3000,
                  1,
                  {QStringLiteral("helicordia: No sound: The sound server does not answer.")},
                  nullptr,
                  nullptr},
        FaultCase{"FrozenDuringPlay",
                  {},
                  false,
                  {{1500, freeze}},
                  3500,
                  1000,
                  1,
                  {lost + QStringLiteral("The sound server does not answer.")},
                  nullptr,
                  nullptr},
        FaultCase{"KilledDuringPlay",
                  {},
                  false,
                  {{1500, die}},
                  3500,
                  1000,
                  1,
                  {lost + QStringLiteral("The sound server went away.")},
                  nullptr,
                  nullptr},
        FaultCase{"RestartedDuringPlay",
                  {},
                  false,
                  {{1500, die}, {2500, restart}},
                  -1,
                  4000,
                  1,
                  {lost + QStringLiteral("The sound server went away."),
                   QStringLiteral("helicordia: The sound is back; the treatment goes on.")},
                  "fault_sink",
                  nullptr},
        FaultCase{"ChosenOutputUnloaded",
                  {"--output", "second"},
                  false,
                  {{1500, unloadSecond}},
                  -1,
                  4000,
                  0,
                  {QStringLiteral("helicordia: The output \u201csecond\u201d is not there; the tone plays on the "
                                  "system's default output.")},
                  "fault_sink",
                  "second"}),
    [](const ::testing::TestParamInfo<FaultCase> &i) { return std::string(i.param.name); });

} // namespace
