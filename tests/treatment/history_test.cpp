// The history and the resume file as the player drives them: one record for
// each way a treatment ends (a real SIGKILL included), a damaged history
// read without harm, and resuming at the recorded second and frequency.
#include "catalogue/catalogue.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "tests/treatment/fake_view.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_finder.h"
#include "treatment/treatment_recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace helicordia;
using namespace helicordia::test;

namespace {

// The user's own treatment +1, three frequencies, played for 60 s (20 s each).
struct Rig {
    QString history, resume;
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core{engine, view, platform, QLocale::c()};
    qint64 ms = 0;
    QStringList reports;
    TreatmentRecorder recorder;

    explicit Rig(const QString &folder)
        : history(folder + "/history.jsonl"),
          resume(folder + "/resume.json"),
          recorder(history, resume, [this](const QString &t) { reports << t; },
                   {[this] { return ms; }, [] { return QDateTime(QDate(2026, 12, 7), QTime(21, 0)); }})
    {
        core.setObserver(&recorder);
        EXPECT_TRUE(core.Form_Load());
        core.LoadProgram(-1, QStringLiteral("Evening set "), QStringLiteral("528,741,852"));
        view.lengthSlider = 60;
        core.lengthSlider_Change();
    }
    void ticks(int n)
    {
        for (int i = 0; i < n && core.state() == PlayerState::Playing; ++i) {
            ms += 1000;
            core.clockTimer_Timer();
        }
    }
};

std::vector<HistoryRecord> recordsIn(const QString &path)
{
    return History::read(path).records;
}

struct EndCase {
    const char *name;
    void (*act)(Rig &);
    TreatmentEnding ending;
    int heard, paused, held;
};

void PrintTo(const EndCase &c, std::ostream *os)
{
    *os << c.name;
}

const EndCase EndCases[] = {
    {"completed", [](Rig &r) { r.ticks(100); }, TreatmentEnding::Completed, 60, 0, 0},
    {"Stop", [](Rig &r) { r.ticks(15), r.core.btnStop_Click(); }, TreatmentEnding::Stopped, 15, 0, 0},
    {"window closed", [](Rig &r) { r.ticks(15), r.core.Form_Unload(); }, TreatmentEnding::Stopped, 15, 0, 0},
    {"program ended", [](Rig &r) { r.ticks(15), r.core.Silence(); }, TreatmentEnding::ProgramEnded, 15, 0, 0},
    {"Ctrl+C in a terminal", [](Rig &r) { r.ticks(15), r.core.noteProgramEnding(), r.core.btnStop_Click(); },
     TreatmentEnding::ProgramEnded, 15, 0, 0},
    {"paused 30 s",
     [](Rig &r) {
         r.ticks(10), r.core.btnPause_Click(), r.ms += 30000, r.core.btnPause_Click(), r.ticks(5);
         r.core.btnStop_Click();
     },
     TreatmentEnding::Stopped, 15, 30, 0},
    {"held 12 s, closed while held",
     [](Rig &r) { r.ticks(10), r.core.btnHold_Click(), r.ms += 12000, r.core.Form_Unload(); }, TreatmentEnding::Stopped,
     10, 0, 12},
    {"skipped seconds are not heard", [](Rig &r) { r.ticks(5), r.core.btnSkip_Click(), r.ticks(100); },
     TreatmentEnding::Completed, 45, 0, 0},
};

class Ending : public ::testing::TestWithParam<EndCase> {};

TEST_P(Ending, LeavesOneRecord)
{
    const EndCase &c = GetParam();
    QTemporaryDir dir;
    Rig rig(dir.path());
    rig.core.btnPlay_Click();
    EXPECT_TRUE(QFile::exists(rig.resume)); // kept from the first second
    c.act(rig);
    const auto records = recordsIn(rig.history);
    ASSERT_EQ(records.size(), 1u);
    const HistoryRecord &r = records[0];
    EXPECT_EQ(r.ending, c.ending);
    EXPECT_EQ(r.heardSeconds, c.heard);
    EXPECT_EQ(r.pausedSeconds, c.paused);
    EXPECT_EQ(r.heldSeconds, c.held);
    EXPECT_EQ(r.plannedSeconds, 60);
    EXPECT_EQ(r.id, "+1");
    EXPECT_EQ(r.name, "Evening set");
    EXPECT_EQ(r.started.toString(Qt::ISODate).left(16), "2026-12-07T21:00");
    EXPECT_FALSE(QFile::exists(rig.resume)); // a normal end leaves nothing to resume
    EXPECT_TRUE(rig.reports.isEmpty());
    // Anything after the end adds nothing.
    rig.core.Silence();
    EXPECT_EQ(recordsIn(rig.history).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(History, Ending, ::testing::ValuesIn(EndCases));

struct Lookup {
    Catalogue catalogue;
    OwnTreatments own;
    explicit Lookup(const QString &folder, const QByteArray &line = "Evening set - 528,741,852\n")
    {
        QFile file(folder + "/own.txt");
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(line);
        file.close();
        own.load(file.fileName());
    }
    TreatmentFinder finder() const { return TreatmentFinder(catalogue, &own); }
};

// Killed while it plays: the next start records it as interrupted and can
// resume it at most 5 seconds before where it was heard to stop.
TEST(History, KilledDuringPlayIsInterruptedAndResumes)
{
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Rig rig(dir.path());
        rig.core.btnPlay_Click();
        rig.ticks(29);
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    const Lookup lookup(dir.path());
    const ResumeFile file(dir.path() + "/resume.json");
    const ResumeFile::Found found = file.takeInterrupted(lookup.finder(), dir.path() + "/history.jsonl");
    EXPECT_EQ(found.note, "");
    const auto records = recordsIn(dir.path() + "/history.jsonl");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].ending, TreatmentEnding::Interrupted);
    EXPECT_EQ(records[0].heardSeconds, 25);
    ASSERT_TRUE(found.point);
    EXPECT_EQ(found.point->elapsed, 25);
    EXPECT_EQ(found.point->index, 2);
    EXPECT_EQ(ResumeFile::question(*found.point), "Resume «Evening set» at frequency 2 of 3, 00:35 left?");
    // Asked again (unanswered last time): recorded once only.
    EXPECT_TRUE(file.takeInterrupted(lookup.finder(), dir.path() + "/history.jsonl").point);
    EXPECT_EQ(recordsIn(dir.path() + "/history.jsonl").size(), 1u);

    // Yes: the clock goes on from that second on that frequency.
    Rig rig(dir.path());
    rig.engine.clear();
    rig.core.playFrom(found.point->elapsed, found.point->index);
    EXPECT_EQ(rig.core.elapsedSeconds(), 25);
    EXPECT_EQ(rig.core.currentFrequency(), 2);
    EXPECT_TRUE(rig.engine.calls.contains("Tone_Channel_SetFrequency(33,74100)"));
    EXPECT_TRUE(rig.engine.calls.contains("Tone_Channel_SetPaused(33,0)")); // started as Play starts
    rig.ticks(100);
    const auto after = recordsIn(dir.path() + "/history.jsonl");
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].ending, TreatmentEnding::Completed);
    EXPECT_EQ(after[1].heardSeconds, 35);
    EXPECT_TRUE(after[1].resumed);
}

struct BadResume {
    const char *name;
    QByteArray own;  // the user's own treatments at the next start
    QByteArray json; // the resume file (the good one's when empty)
    int length;
    const char *note;
};

TEST(History, BadResumeFilesAreDropped)
{
    const BadResume cases[] = {
        {"damaged", "Evening set - 528,741,852\n", "{\"id\": \"+1\", \"name\": ", 60, "is damaged"},
        {"name gone", "Morning set - 528,741,852\n", "", 60, "no longer among the treatments"},
        {"too long", "Evening set - 528,741,852\n", "", 3601, "longer than the player allows"},
    };
    for (const BadResume &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ResumePoint point;
        point.id = "+1", point.name = "Evening set", point.frequencies = "528,741,852";
        point.length = c.length, point.elapsed = 25, point.index = 2, point.count = 3;
        point.started = QDateTime(QDate(2026, 12, 7), QTime(21, 0));
        const ResumeFile file(dir.path() + "/resume.json");
        ASSERT_EQ(file.save(point), "");
        if (!c.json.isEmpty()) {
            QFile raw(file.path());
            ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
            raw.write(c.json);
        }
        const Lookup lookup(dir.path(), c.own);
        const ResumeFile::Found found = file.takeInterrupted(lookup.finder(), dir.path() + "/history.jsonl");
        EXPECT_FALSE(found.point);
        EXPECT_TRUE(found.note.contains(c.note)) << found.note.toStdString();
        EXPECT_FALSE(QFile::exists(file.path()));
    }
}

// A damaged line, a line of 1 MB and a last line cut short by a crash are
// skipped with a note each; the next record still reads.
TEST(History, DamagedLinesAreSkipped)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/history.jsonl";
    HistoryRecord good;
    good.started = QDateTime(QDate(2026, 12, 1), QTime(8, 0), QTimeZone(3600));
    good.id = "42", good.name = "Alpha", good.frequencies = "528", good.plannedSeconds = 180, good.heardSeconds = 90;
    HistoryRecord big = good;
    big.name = QString(MaxHistoryLineBytes, QLatin1Char('x'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(HistoryLine(good) + "{\"started\": 12,}\n" + HistoryLine(big) + HistoryLine(good) + "{\"sta");
    file.close();
    ASSERT_EQ(History::append(path, good), "");

    const History::Read read = History::read(path);
    EXPECT_EQ(read.records, std::vector<HistoryRecord>(3, good));
    ASSERT_EQ(read.notes.size(), 3);
    EXPECT_TRUE(read.notes[0].startsWith("Line 2 of")) << read.notes[0].toStdString();
    EXPECT_TRUE(read.notes[1].startsWith("Line 5 of"));
    EXPECT_TRUE(read.notes[2].contains("Line 3 of") && read.notes[2].contains("1 MB"));
}

} // namespace
