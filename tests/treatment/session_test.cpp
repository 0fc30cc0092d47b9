// Sessions without sound: the schedule against the player's own clock, the
// session player handing one treatment on to the next, and the file format.
#include "catalogue/catalogue.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "tests/treatment/fake_view.h"
#include "treatment/session_player.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace helicordia;
using namespace helicordia::test;

namespace {

// A player driven by hand: the clock ticks when the test says so.
struct Rig {
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core{engine, view, platform, QLocale::c()};
    Catalogue catalogue;
    TreatmentFinder finder{catalogue};
    SessionPlayer session{{&core, [this](const SessionTreatment &t) { load(t); },
                           [this](const QString &text) { place = text; }, nullptr}};
    QString place;

    Rig()
    {
        const QStringList lines = {"One tone - 100", "Two tones - 200,300", "Three tones - 400,500,600",
                                   "Only a description"};
        catalogue.setCatalogueLineCount(int(lines.size()));
        for (int i = 0; i < lines.size(); ++i)
            catalogue.setEntry(i + 1, lines[i]);
        EXPECT_TRUE(core.Form_Load());
    }
    void load(const SessionTreatment &t)
    {
        core.LoadProgram(PlayerNumber(t.found->entry), t.found->name, t.found->frequencies);
        view.lengthSlider = t.lengthSeconds;
        core.lengthSlider_Change();
    }
};

// What the player's clock does with one treatment played alone: the second
// of each switch (the first at 0) and the second it stops.
std::vector<TreatmentSchedule::Switch> playAlone(const SessionTreatment &t, int *stopSecond)
{
    Rig rig;
    rig.load(t);
    rig.core.btnPlay_Click();
    std::vector<TreatmentSchedule::Switch> out{{0, 1}};
    int second = 0;
    while (rig.core.state() == PlayerState::Playing) {
        const int before = rig.core.currentFrequency();
        rig.core.clockTimer_Timer();
        ++second;
        if (rig.core.state() == PlayerState::Playing && rig.core.currentFrequency() != before)
            out.push_back({second, rig.core.currentFrequency()});
    }
    *stopSecond = second;
    return out;
}

struct ScheduleCase {
    const char *what;
    Session session;
    int parts;
    int totalSeconds;
};

} // namespace

class SessionScheduleTable : public ::testing::TestWithParam<ScheduleCase> {};

// Each part switches where its treatment played alone switches, the parts
// follow each other, and the live session plays exactly that.
TEST_P(SessionScheduleTable, MatchesThePlayersClock)
{
    const ScheduleCase &c = GetParam();
    Rig rig;
    const SessionPlan plan(c.session, rig.finder);
    const SessionSchedule &schedule = plan.schedule();
    ASSERT_EQ(int(schedule.parts().size()), c.parts);
    EXPECT_EQ(schedule.totalSeconds(), c.totalSeconds);
    int start = 0;
    for (int part = 0; part < c.parts; ++part) {
        const SessionSchedule::Part &p = schedule.parts()[std::size_t(part)];
        int stop = 0;
        EXPECT_EQ(p.schedule.switches(), playAlone(plan.treatmentOf(part), &stop)) << "part " << part;
        EXPECT_EQ(p.schedule.endSecond(), stop) << "part " << part;
        EXPECT_EQ(p.startSecond, start);
        start += stop;
    }

    // The live session: ticks of the clock, and the hand-off between parts.
    std::vector<SessionSchedule::Switch> live;
    int second = 0, handOffs = 0;
    ASSERT_TRUE(rig.session.start(plan));
    auto note = [&] { live.push_back({second, rig.session.part(), rig.core.currentFrequency()}); };
    note();
    while (rig.session.active()) {
        if (rig.session.handOffPending()) {
            ++handOffs;
            rig.session.handOff_Timer();
            note();
            continue;
        }
        const int before = rig.core.currentFrequency();
        rig.core.clockTimer_Timer();
        ++second;
        if (rig.core.state() == PlayerState::Playing && rig.core.currentFrequency() != before)
            note();
    }
    EXPECT_EQ(live, schedule.switches());
    EXPECT_EQ(second, c.totalSeconds);
    EXPECT_EQ(handOffs, c.parts - 1);
    EXPECT_EQ(rig.engine.named(QStringLiteral("Tone_Channel_Stop")).size(), c.parts);
    EXPECT_TRUE(rig.place.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, SessionScheduleTable,
    ::testing::Values(ScheduleCase{"one treatment", {{{"One tone", 0}}, 1}, 1, 180},
                      ScheduleCase{"three", {{{"One tone", 30}, {"Two tones", 45}, {"Three tones", 100}}, 1}, 3, 175},
                      ScheduleCase{"repeated", {{{"Two tones", 20}, {"One tone", 10}}, 3}, 6, 90},
                      ScheduleCase{
                          "a missing name and a description",
                          {{{"One tone", 10}, {"Gone", 50}, {"Only a description", 10}, {"Three tones", 30}}, 2},
                          4,
                          80},
                      // Below the slider's minimum, above its maximum, at its maximum.
                      ScheduleCase{"lengths at the limits",
                                   {{{"One tone", 1}, {"Three tones", 99999}, {"Two tones", 3600}}, 1},
                                   3,
                                   10 + 3600 + 3600}),
    [](const auto &param) {
        std::string name = param.param.what;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(SessionPlayer, SkipPastTheLastFrequencyMovesOnAndStopEndsTheSession)
{
    Rig rig;
    const SessionPlan plan({{{"Two tones", 40}, {"One tone", 30}, {"Three tones", 30}}, 2}, rig.finder);
    QList<bool> finished;
    QObject::connect(&rig.session, &SessionPlayer::finished, [&](bool completed) { finished << completed; });
    ASSERT_TRUE(rig.session.start(plan));
    EXPECT_EQ(rig.place, QStringLiteral("Treatment 1 of 3, round 1 of 2"));
    rig.core.btnSkip_Click(); // to frequency 2
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.currentFrequency(), 2);
    rig.core.btnSkip_Click(); // past the last: the next tick ends the treatment
    rig.core.clockTimer_Timer();
    ASSERT_TRUE(rig.session.handOffPending());
    rig.session.handOff_Timer();
    EXPECT_EQ(rig.place, QStringLiteral("Treatment 2 of 3, round 1 of 2"));
    EXPECT_EQ(rig.core.state(), PlayerState::Playing);
    EXPECT_EQ(rig.core.treatmentLength(), 30);

    // Pause and Hold stop the clock: nothing moves on while they last.
    rig.core.btnPause_Click();
    rig.core.btnPause_Click();
    rig.core.btnHold_Click();
    EXPECT_EQ(rig.core.state(), PlayerState::Holding);
    rig.core.btnHold_Click();
    rig.view.volume = 512; // the next treatment starts at the volume as set
    for (int i = 0; i < 30; ++i)
        rig.core.clockTimer_Timer();
    rig.session.handOff_Timer();
    EXPECT_EQ(rig.place, QStringLiteral("Treatment 3 of 3, round 1 of 2"));
    EXPECT_EQ(rig.engine.named(QStringLiteral("Tone_Channel_SetVolume")).last(),
              QStringLiteral("Tone_Channel_SetVolume(33,0.5)"));

    rig.core.btnStop_Click();
    EXPECT_FALSE(rig.session.active());
    EXPECT_EQ(finished, QList<bool>{false});
    EXPECT_TRUE(rig.place.isEmpty());
    rig.core.btnPlay_Click(); // plays this treatment alone now
    for (int i = 0; i < 30; ++i)
        rig.core.clockTimer_Timer();
    EXPECT_FALSE(rig.session.handOffPending());
    EXPECT_EQ(finished.size(), 1);
}

TEST(SessionFile, RoundTripKeepsAMissingNameAndReportsBadLines)
{
    Rig rig;
    const Session session{{{"Three tones", 125}, {"Gone since", 7205}, {"One tone", 30}}, 7};
    const QByteArray bytes = session.fileBytes();
    EXPECT_EQ(bytes, QByteArray("repeat 7\nThree tones\t00:02:05\nGone since\t02:00:05\nOne tone\t00:00:30\n"));
    QStringList problems;
    EXPECT_EQ(Session::fromFile(bytes, &problems), session);
    EXPECT_TRUE(problems.isEmpty());
    const SessionPlan plan(session, rig.finder);
    EXPECT_FALSE(plan.rows()[1].playable());
    EXPECT_EQ(plan.schedule().parts().size(), 14u);
    EXPECT_TRUE(plan.missingMessage().contains(QStringLiteral("«Gone since»")));
    // The written file of a plan's session is the same again: nothing dropped.
    EXPECT_EQ(Session::fromFile(Session::fromFile(bytes).fileBytes()), session);

    const Session read = Session::fromFile(
        "\xEF\xBB\xBFrepeat 1000\r\nOne tone\t3 min\r\n\r\nTwo tones\n9:30\tThree tones\t1:02:03", &problems);
    EXPECT_EQ(read, (Session{{{"One tone", 0}, {"Two tones", 0}, {"9:30\tThree tones", 3723}}, 99}));
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].startsWith(QStringLiteral("Line 1:")));
    EXPECT_TRUE(problems[1].contains(QStringLiteral("\"3 min\"")));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
