// The terminal modes, run as the real program: list, refusals and the table
// of bad arguments, rendering, and playing into the sound server's sink.
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"

#include "audio_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome runProgram(const QStringList &args, int killAfterMs = -1)
{
    QProcess p;
    p.start(QStringLiteral(HELICORDIA_EXE), args);
    p.waitForStarted();
    if (killAfterMs >= 0) {
        p.waitForFinished(killAfterMs); // returns early only if the program ends on its own
        ::kill(pid_t(p.processId()), SIGTERM);
    }
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString catalogueFile = QFileInfo(QStringLiteral(HELICORDIA_EXE)).dir().filePath(QStringLiteral("db.db"));

} // namespace

// --list prints what the window's list shows, then its match-count label.
TEST(TerminalTest, ListMatchesTheWindowsList)
{
    helicordia::Catalogue catalogue;
    ASSERT_TRUE(catalogue.LoadCatalogue(catalogueFile, nullptr));
    helicordia::CatalogueListModel model(catalogue);
    for (const QString &search :
         {QString(), QStringLiteral("major THIRD"), QStringLiteral("  528 "), QStringLiteral("no such thing")}) {
        SCOPED_TRACE(search.toStdString());
        model.FillList(search.trimmed());
        QString expected;
        for (int row = 0; row < model.rowCount(); ++row)
            expected += model.itemText(row) + QLatin1Char('\n');
        expected += model.matchCountText() + QLatin1Char('\n');
        const Outcome r = runProgram(search.isNull() ? QStringList{QStringLiteral("--list")}
                                                     : QStringList{QStringLiteral("--list"), search});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, expected);
    }
}

// Refusals: one line and status 2 for bad arguments (nothing written), the
// window's message and status 1 for a descriptive entry.
TEST(TerminalTest, BadArgumentsAreRefused)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.wav"));
    const struct {
        QStringList args;
        int status;
        const char *says;
    } cases[] = {
        {{"--play", "99999"}, 2, "no entry 99999"},
        {{"--play", "zzz no such entry"}, 2, "names no playable entry"},
        {{"--play", "Interval major"}, 2, "choose one by its number"},
        {{"--play", "1156", "--length", "00:00:00"}, 2, "more than zero"},
        {{"--play", "1156", "--length", "100:00:01"}, 2, "100 hours"},
        {{"--play", "1156", "--length", "ten"}, 2, "not a duration"},
        {{"--play", "1156", "--volume", "101"}, 2, "0 to 100"},
        {{"--play", "1156", "--volume", "-1"}, 2, "0 to 100"},
        {{"--play", "1156", "--pan", "150"}, 2, "-100 (left)"},
        {{"--play", "1156", "--rate", "44100"}, 2, "cannot be used with --play"},
        {{"--render", "1156", dir.filePath(QStringLiteral("x.mp3"))}, 2, ".wav, .flac or .ogg"},
        {{"--render", "1156", out, "--rate", "22050"}, 2, "44100, 48000 and 96000"},
        {{"--render", "1156"}, 2, "an entry and a file name"},
        {{"--list", "a", "--frobnicate"}, 2, "Unknown argument"},
        {{"--play", "2"},
         1,
         "Selectat item is not playable. Please carefully read the description!\n\n_0002. How to use"},
        {{"--render", "2", out}, 1, "Selectat item is not playable."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome r = runProgram(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        if (c.status == 2 && !c.args.contains(QStringLiteral("Interval major"))) {
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
        }
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

// --render by search text writes the file with the progress lines.
TEST(TerminalTest, RenderWritesTheFile)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("third.flac"));
    const Outcome r = runProgram(
        {QStringLiteral("--render"), QStringLiteral("major third above A4 (equal temperament, A4 = 440"), out,
         QStringLiteral("--length"), QStringLiteral("0:00:04"), QStringLiteral("--rate"), QStringLiteral("44100")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("| 554.37 Hz | 2 of 2 | 00h:00m:04s elapsed | 00h:00m:00s left")))
        << r.err.toStdString();
    EXPECT_GT(QFileInfo(out).size(), 1000);
}

// --play sounds through the sink: 440 Hz, then 554.37 Hz from second 2 of 4,
// at half volume; SIGTERM at second 3 ends it with the fade-out and status 0.
TEST(TerminalTest, PlaysIntoTheSoundServer)
{
    if (!audiotest::soundServerReachable()) {
        if (audiotest::audioRequired())
            FAIL() << "no sound server";
        GTEST_SKIP() << "no sound server";
    }
    audiotest::MonitorRecorder recorder;
    ASSERT_TRUE(recorder.start()) << recorder.lastError();
    const Outcome r = runProgram({QStringLiteral("--play"), QStringLiteral("1156"), QStringLiteral("--length"),
                                  QStringLiteral("00:00:04"), QStringLiteral("--volume"), QStringLiteral("50")},
                                 3000);
    ASSERT_TRUE(recorder.stop());
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("| 440 Hz | 1 of 2 |"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("| 554.37 Hz | 2 of 2 |"))) << r.err.toStdString();

    // A busy machine may drop a buffer now and then; the tone is measured from
    // its first to its last sound.
    const std::vector<float> left = recorder.recording().channel(0);
    const auto sound = audiotest::findSoundSegments(left.data(), left.size(), 48000);
    ASSERT_FALSE(sound.empty());
    const std::size_t begin = sound.front().begin, length = sound.back().end - begin;
    EXPECT_GT(length, 2 * 48000u + 4800);  // past the change...
    EXPECT_LT(length, 3 * 48000u + 24000); // ...and ended by the signal, well before the end at 4 s
    const double p1 = audiotest::measureFrequency(left.data() + begin + 4800, 48000, 48000);
    const double p2 = audiotest::measureFrequency(left.data() + begin + 2 * 48000 + 2400, 2400, 48000);
    EXPECT_NEAR(p1, 440.0, 0.01);
    EXPECT_NEAR(p2, 554.37, 0.05);
    const std::size_t change = audiotest::findFrequencyChange(left.data() + begin, length, 48000, 440.0, 554.37);
    EXPECT_NEAR(double(change) / 48000, 2.0, 0.1);
    const double amplitude = 512.0 / 1024.0 * std::cos(M_PI / 4);
    EXPECT_NEAR(audiotest::peak(left.data() + begin + 4800, 48000), amplitude, 0.01);
    // The tone rises and, on the signal, falls without a click.
    const double steepest = amplitude * 2 * M_PI * 554.37 / 48000 * 1.05;
    const std::size_t rise = begin > 480 ? begin - 480 : 0, fall = begin + length - 4800;
    EXPECT_LT(audiotest::largestStep(left.data() + rise, 4800), steepest);
    EXPECT_LT(audiotest::largestStep(left.data() + fall, std::min<std::size_t>(5280, left.size() - fall)), steepest);
}
