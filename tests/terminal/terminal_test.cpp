// The terminal modes, run as the real program: list, refusals and the table
// of bad arguments, rendering, and playing into the sound server's sink.
#include "app/terminal/command_line.h"

#include "audio_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

// The user's data folder of every run: its own, so that no one's own
// treatments come into the lists.
QString dataHome()
{
    static QTemporaryDir dir;
    return dir.path();
}

// The program speaks English unless `language` gives other locale settings
// ("LANG=ro_RO.UTF-8").
Outcome runProgram(const QStringList &args, int killAfterMs = -1, const QString &userData = dataHome(),
                   const QByteArray &input = {}, const QStringList &language = {})
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), userData);
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    for (const QString &setting : language)
        environment.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(HELICORDIA_EXE), args);
    p.waitForStarted();
    p.write(input);
    p.closeWriteChannel();
    if (killAfterMs >= 0) {
        p.waitForFinished(killAfterMs); // returns early only if the program ends on its own
        ::kill(pid_t(p.processId()), SIGTERM);
    }
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

// --list against the shipped catalogue: the first rows, how many rows, and
// the match count on the last line.
TEST(TerminalTest, ListPrintsTheCatalogue)
{
    const struct {
        QStringList args;
        QStringList firstRows;
        int rows;
        const char *count;
    } cases[] = {
        {{"--list"},
         {"_0001. Helicordia catalogue of reference tone sets (musical and physical definitions)"},
         1553,
         "1553"},
        {{"--list", "major THIRD"},
         {"#1156. Interval major third above A4 (equal temperament, A4 = 440 Hz) ",
          "#1169. Interval major third above A4 (equal temperament, A4 = 432 Hz) ",
          "#1182. Just major third above A4 (ratio 5:4, A4 = 440 Hz) "},
         3,
         "3"},
        {{"--list=  528 "}, {"#1181. Just minor third above A4 (ratio 6:5, A4 = 440 Hz) "}, 10, "10"},
        {{"--list", "HZ"},
         {"_0007. Start at a low volume and raise it slowly. Very high tones can be unpleasant, and tones below about "
          "20 Hz are inaudible on most speakers."},
         1519,
         "1519"},
        {{"--list", "no such thing"}, {}, 0, "0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char('|')).toStdString());
        const Outcome r = runProgram(c.args);
        EXPECT_EQ(r.status, 0);
        QStringList lines = r.out.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.takeLast(), QString()); // the output ends with a line end
        EXPECT_EQ(lines.takeLast(), QString::fromLatin1(c.count));
        EXPECT_EQ(lines.size(), c.rows);
        EXPECT_EQ(lines.mid(0, c.firstRows.size()), c.firstRows);
    }
}

// The parse of the arguments: which mode, whether the window opens, and the
// reason when they cannot be used (exit status 2).
TEST(TerminalTest, ArgumentsChooseTheMode)
{
    using helicordia::RunMode;
    const struct {
        QStringList args;
        RunMode mode;
        const char *error; // empty: accepted
    } cases[] = {
        {{}, RunMode::Window, ""},
        {{"-platform", "offscreen", "--style=Fusion", "-reverse"}, RunMode::Window, ""},
        {{"--play=218"}, RunMode::Play, ""},
        {{"--list=major"}, RunMode::List, ""},
        {{"--render=1156", "x.flac"}, RunMode::Render, ""},
        {{"--volume", "50"},
         RunMode::Window,
         "--volume can be used only with --play, --render, --play-session or --render-session."},
        {{"--length", "5"}, RunMode::Window, "--length can be used only with --play or --render."},
        {{"--rate=44100"}, RunMode::Window, "--rate can be used only with --render or --render-session."},
        {{"--play", "1", "--rate", "44100"}, RunMode::Play, "--rate cannot be used with --play."},
        {{"-platform", "offscreen", "--list"}, RunMode::List, "-platform cannot be used with --list."},
        {{"--play", "--length", "5"}, RunMode::Play, "--play needs <entry>."},
        {{"--render", "1156"}, RunMode::Render, "--render needs <entry> <file>."},
        {{"--list", "--play", "1"},
         RunMode::List,
         "Give only one of --list, --play, --render, --play-session, --render-session, --add, --import, --history, --resume and --list-outputs."},
        {{"--history"}, RunMode::History, ""},
        {{"--history", "7"}, RunMode::History, ""},
        {{"--history=0"}, RunMode::History, "The number of days \"0\" is not a whole number from 1 to 36500."},
        {{"--resume", "--volume", "50"}, RunMode::Resume, "--volume cannot be used with --resume."},
        {{"--render-session", "s.hsession", "x.ogg", "--pan", "-50", "--rate", "96000"}, RunMode::RenderSession, ""},
        {{"--play-session", "s.hsession", "--length", "5"},
         RunMode::PlaySession,
         "--length cannot be used with --play-session."},
        {{"--render-session", "s.hsession", "x.mp3"},
         RunMode::RenderSession,
         "\"x.mp3\" does not end in .wav, .flac or .ogg."},
        {{"--add=Calm - 432"}, RunMode::Add, ""},
        {{"--import", "f.txt", "--length", "5"}, RunMode::Import, "--length cannot be used with --import."},
        {{"--list", "a", "--frobnicate"}, RunMode::List, "Unknown option \"--frobnicate\"."},
        {{"--list", "--frobnicate"}, RunMode::List, "Unknown option \"--frobnicate\"."},
        {{"stray"}, RunMode::Window, "Unexpected argument \"stray\"."},
        {{"--version=2"}, RunMode::Version, "--version takes no value."},
        {{"--volume", "50", "-h"}, RunMode::Help, ""},
        {{"--play", "1", "--version"}, RunMode::Version, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char('|')).toStdString());
        const helicordia::CommandLineRequest r = helicordia::ParseCommandLine(QStringList{"helicordia"} + c.args);
        EXPECT_EQ(r.mode, c.mode);
        EXPECT_EQ(r.error, QString::fromUtf8(c.error));
        EXPECT_EQ(r.opensWindow(), c.mode == RunMode::Window && !*c.error);
    }
}

// --name=value and --name value mean the same.
TEST(TerminalTest, ValuesAfterAnEqualsSignOrASpace)
{
    const QStringList joined = {"helicordia",  "--render=1156", "x.wav",        "--length=0:05",
                                "--volume=50", "--pan=-50",     "--rate=96000", "--bits=16"};
    const QStringList apart = {"helicordia", "--render", "1156", "x.wav",  "--length", "0:05",   "-volume",
                               "50",         "--pan",    "-50",  "--rate", "96000",    "--bits", "16"};
    const helicordia::CommandLineRequest r = helicordia::ParseCommandLine(joined);
    EXPECT_EQ(r, helicordia::ParseCommandLine(apart));
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.entry, QStringLiteral("1156"));
    EXPECT_EQ(r.lengthSeconds, 5);
    EXPECT_EQ(r.volumeSlider, 512);
    EXPECT_EQ(r.panSlider, -256);
    EXPECT_EQ(r.rate, 96000);
    EXPECT_TRUE(r.wav16);
}

// Refusals: status 2 with one line for an entry that cannot be chosen, and a
// second pointing to --help for arguments that cannot be used (nothing
// written); the window's message and status 1 for a descriptive entry.
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
        {{"--render", "1156"}, 2, "needs <entry> <file>"},
        {{"--render", "1156", dir.filePath(QStringLiteral("x.flac")), "--bits", "32"}, 2, "only to WAV files"},
        {{"--render", "1156", dir.filePath(QStringLiteral("x.ogg")), "--bits=16"}, 2, "only to WAV files"},
        {{"--render", "1156", dir.filePath(QString(300, QLatin1Char('n')) + ".wav")}, 2, "is too long"},
        {{"--volume=50"}, 2, "only with --play, --render, --play-session or --render-session"},
        {{"--play-session", dir.filePath(QStringLiteral("none.hsession"))}, 1, "does not exist"},
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
        const bool usage = r.err.endsWith(QStringLiteral("\nTry 'helicordia --help' for the options.\n"));
        EXPECT_EQ(usage, !helicordia::ParseCommandLine(QStringList{"helicordia"} + c.args).error.isEmpty());
        if (c.status == 2 && !c.args.contains(QStringLiteral("Interval major"))) {
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), usage ? 2 : 1);
        }
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

// A terminal set to Romanian (LC_ALL, then LC_MESSAGES, then LANG) gets the
// help, the refusals and the messages in Romanian.
TEST(TerminalTest, RomanianTerminal)
{
    const QStringList romanian{QStringLiteral("LANG=ro_RO.UTF-8")};
    Outcome r = runProgram({"--help"}, -1, dataHome(), {}, romanian);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Utilizare: helicordia [opțiuni]\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("--render <intrare> <fișier>"))) << r.out.toStdString();
    r = runProgram({"--frobnicate"}, -1, dataHome(), {}, romanian);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("helicordia: Opțiune necunoscută „--frobnicate”.\n"
                                    "Încercați „helicordia --help” pentru opțiuni.\n"));
    r = runProgram({"--play", "2"}, -1, dataHome(), {},
                   {QStringLiteral("LANG=C"), QStringLiteral("LC_MESSAGES=ro_RO")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Intrarea selectată nu poate fi redată."))) << r.err.toStdString();
    r = runProgram({"--frobnicate"}, -1, dataHome(), {},
                   {QStringLiteral("LANG=ro_RO"), QStringLiteral("LC_ALL=en_GB")});
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("helicordia: Unknown option"))) << r.err.toStdString();
}

// --add and --import change the user's own treatments only, and say why when
// they change nothing; --list and --play see what they added.
TEST(TerminalTest, AddAndImportTheUsersOwn)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home")), list = dir.filePath(QStringLiteral("list.txt"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Calm - 432,528\nheading\n\"Sheet\";\"300\"\n");
    file.close();
    const struct {
        QStringList args;
        int status;
        const char *says; // on stdout for status 0, else on stderr
    } cases[] = {
        {{"--add", "Evening - 432,44o"}, 0, "Added +0001. Evening: 2 frequencies will play"},
        {{"--add", "Evening - 440"}, 2, "Your treatment +1 is already named \"Evening\""},
        {{"--add", "No separator"}, 2, "has no \" - \" between a name and frequencies"},
        {{"--add", "Quiet - 0,abc"}, 2, "No frequency will be heard; piece 1, «0», is silent"},
        {{"--add", " - 440"}, 2, "Give the treatment a name."},
        {{"--import", list}, 0, "2 lines can be added to your own treatments; 1 cannot:\nline 2, «heading»"},
        {{"--import", list}, 2, "Nothing was imported."},
        {{"--import", dir.filePath(QStringLiteral("none.txt"))}, 1, "does not exist"},
        {{"--import", dir.path()}, 1, "is not a regular file"},
        {{"--play", "+9"}, 2, "There is no treatment +9 among your own."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome r = runProgram(c.args, -1, home);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE((c.status == 0 ? r.out : r.err).contains(QString::fromUtf8(c.says)))
            << r.out.toStdString() << r.err.toStdString();
    }
    EXPECT_EQ(runProgram({QStringLiteral("--list")}, -1, home).out.split(QLatin1Char('\n')).mid(1553),
              (QStringList{"+0001. Evening ", "+0002. Calm ", "+0003. Sheet ", "1556", ""}));
    // A save that fails: a file where the data folder should be.
    const Outcome blocked = runProgram({QStringLiteral("--add"), QStringLiteral("Calm - 432")}, -1, list);
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(blocked.err.contains(QStringLiteral("could not be saved"))) << blocked.err.toStdString();
}

// --resume answered no: the treatment cut short stays in the history as
// interrupted, which --history prints (with --history 1, not one of 3 days ago).
TEST(TerminalTest, ResumeAnsweredNoAndHistory)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Helicordia"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile resume(folder + QStringLiteral("/resume.json"));
    ASSERT_TRUE(resume.open(QIODevice::WriteOnly));
    const QByteArray started = QDateTime::currentDateTime().addDays(-3).toString(Qt::ISODate).toUtf8();
    resume.write(R"J({"id": "1156", "name": "Interval major third above A4 (equal temperament, A4 = 440 Hz)",)J"
                 R"J("frequencies": "440,554.37", "length": 360, "elapsed": 200, "index": 2, "count": 2,)J"
                 R"J("phase": "paused", "heard": 200, "paused": 0, "held": 0, "started": ")J" +
                 started + "\"}");
    resume.close();
    const Outcome no = runProgram({QStringLiteral("--resume")}, -1, dir.path(), "n\n");
    EXPECT_EQ(no.status, 0) << no.err.toStdString();
    EXPECT_TRUE(no.err.contains(QStringLiteral("at frequency 2 of 2, 02:40 left? [y/N]"))) << no.err.toStdString();
    EXPECT_FALSE(resume.exists());
    const Outcome history = runProgram({QStringLiteral("--history")}, -1, dir.path());
    EXPECT_EQ(history.status, 0);
    EXPECT_TRUE(history.out.contains(QStringLiteral("1156 Interval major third"))) << history.out.toStdString();
    EXPECT_TRUE(history.out.contains(QStringLiteral("3:20 of 6:00      interrupted"))) << history.out.toStdString();
    EXPECT_EQ(runProgram({QStringLiteral("--history"), QStringLiteral("1")}, -1, dir.path()).out,
              QStringLiteral("No treatment was played today.\n"));
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

// --render-session: the rows it finds, round after round, and a message
// naming the one it passes over; nothing to play is status 2.
TEST(TerminalTest, RenderSessionWritesEveryRound)
{
    QTemporaryDir dir;
    const QString session = dir.filePath(QStringLiteral("evening.hsession")),
                  out = dir.filePath(QStringLiteral("s.wav"));
    QFile file(session);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("repeat 2\nTuning fork A4 = 440 Hz (ISO 16 standard pitch)\t00:00:10\nGone\t00:00:10\n");
    file.close();
    Outcome r = runProgram({QStringLiteral("--render-session"), session, out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Not found, and passed over: «Gone»."))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("| 440 Hz | 1 of 1 | 00h:00m:10s elapsed | 00h:00m:00s left | "
                                              "Treatment 1 of 2, round 2 of 2")))
        << r.err.toStdString();
    // Two rounds of 10 s, each with its fade (480 frames) and silent frame, after the float WAV header.
    EXPECT_EQ(QFileInfo(out).size() - 8 * (2 * 10 * 48000 + 2 * (480 + 1)), 58);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("repeat 1\nGone\t00:00:10\n");
    file.close();
    r = runProgram({QStringLiteral("--play-session"), session});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing to play"))) << r.err.toStdString();
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
    EXPECT_NEAR(p1, 440.0, 0.01);
    // The change is heard at second 2, later by at most what the sound server
    // holds queued (more on a busy machine) and a late clock tick; the new
    // pitch is measured just after it.
    const std::size_t change = audiotest::findFrequencyChange(left.data() + begin, length, 48000, 440.0, 554.37);
    ASSERT_LT(change + 4800, length);
    EXPECT_NEAR(double(change) / 48000, 2.0, 0.2);
    const double p2 = audiotest::measureFrequency(left.data() + begin + change + 2400, 2400, 48000);
    EXPECT_NEAR(p2, 554.37, 0.05);
    const double amplitude = 512.0 / 1024.0 * std::cos(M_PI / 4);
    EXPECT_NEAR(audiotest::peak(left.data() + begin + 4800, 48000), amplitude, 0.01);
    // The tone rises and, on the signal, falls without a click.
    const double steepest = amplitude * 2 * M_PI * 554.37 / 48000 * 1.05;
    const std::size_t rise = begin > 480 ? begin - 480 : 0, fall = begin + length - 4800;
    EXPECT_LT(audiotest::largestStep(left.data() + rise, 4800), steepest);
    EXPECT_LT(audiotest::largestStep(left.data() + fall, std::min<std::size_t>(5280, left.size() - fall)), steepest);
}

// An answer that cannot be written (a full disk) ends with status 1 and says so.
TEST(TerminalTest, UnwrittenOutputIsAnError)
{
    for (const char *option : {"--list", "--help", "--version"}) {
        SCOPED_TRACE(option);
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(HELICORDIA_EXE), {QString::fromLatin1(option)});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(p.readAllStandardError().contains("The output could not be written: No space left on device."));
    }
}

// Started with its standard descriptors closed, the program writes its
// progress nowhere, and the file is the same as with them open.
TEST(TerminalTest, ClosedStandardErrorKeepsTheFileClean)
{
    QTemporaryDir dir;
    QByteArray files[2];
    for (const int closed : {0, 1}) {
        const QString out = dir.filePath(QStringLiteral("e%1.wav").arg(closed));
        const QString command = QStringLiteral("exec \"$0\" --render 1156 \"$1\" --length 0:00:02 %1");
        QProcess p;
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), command.arg(closed ? "<&- >&- 2>&-" : ""), QStringLiteral(HELICORDIA_EXE), out});
        ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << closed;
        QFile f(out);
        files[closed] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    EXPECT_TRUE(!files[0].isEmpty() && files[0] == files[1]);
}

// A hang-up or a closed pipe during --render cancels it like SIGTERM: status
// 1 and no file, not even the temporary one a file system without unnamed
// temporary files shows.
TEST(TerminalTest, HangUpCancelsRender)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal);
        QTemporaryDir dir;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(HELICORDIA_NO_TMPFILE));
        // A checking build's sanitizer wants to be the first library loaded.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
        p.setProcessEnvironment(env);
        p.setReadChannel(QProcess::StandardError);
        p.start(QStringLiteral(HELICORDIA_EXE),
                {QStringLiteral("--render"), QStringLiteral("1156"), dir.filePath(QStringLiteral("long.wav")),
                 QStringLiteral("--length"), QStringLiteral("10:00:00")});
        ASSERT_TRUE(p.waitForReadyRead(60000)); // the first progress line: rendering has begun
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // the temporary file
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
    }
}

// A copy of the program unpacked elsewhere never loads output modules from a
// folder found relative to it (../lib/helicordia), which in a shared folder
// anyone could fill.
TEST(TerminalTest, ModulesOnlyFromTheProgramFolderOrTheInstall)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin")), lib = dir.filePath(QStringLiteral("lib/helicordia"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(lib));
    const QString built = QFileInfo(QStringLiteral(HELICORDIA_EXE)).absolutePath();
    for (const QString file : {"helicordia", "db.db"})
        ASSERT_TRUE(QFile::copy(built + '/' + file, bin + '/' + file));
    for (const QString module : {"helicordia_pulse.so", "helicordia_rtaudio.so"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(HELICORDIA_PLANTED_MODULE), lib + '/' + module));
    const QString mark = dir.filePath(QStringLiteral("loaded"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HELICORDIA_PLANTED_MARK"), mark);
    p.setProcessEnvironment(env);
    p.start(bin + QStringLiteral("/helicordia"),
            {QStringLiteral("--play"), QStringLiteral("1156"), QStringLiteral("--length"), QStringLiteral("0:00:01")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_FALSE(QFileInfo::exists(mark)) << p.readAllStandardError().toStdString();
}
