#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "tests/treatment/fake_view.h"
#include "treatment/player_core.h"

#include <gtest/gtest.h>

using namespace helicordia;
using namespace helicordia::test;

namespace {

const QStringList StartCalls = {
    QStringLiteral("Tone_System_PlayDSP(11,-2,22,1,0)"), QStringLiteral("Tone_Channel_SetVolume(33,0.100585938)"),
    QStringLiteral("Tone_DSP_SetParameter(22,0,0)"),     QStringLiteral("Tone_Channel_SetFrequency(33,52800)"),
    QStringLiteral("Tone_Channel_SetPaused(33,0)"),      QStringLiteral("Tone_Channel_GetFrequency(33)"),
    QStringLiteral("Tone_Channel_GetPan(33)"),
};

struct Rig {
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core{engine, view, platform, QLocale::c()};

    explicit Rig(const QString &list = QStringLiteral("528,741"))
    {
        core.setSaveBeforeAbruptEnd(platform.saveRecorder());
        EXPECT_TRUE(core.Form_Load());
        core.LoadProgram(7, QStringLiteral("Test problem "), list);
        engine.clear();
        view.log.clear();
    }
    // Runs the clock until the elapsed time reaches `second` (or the treatment stops).
    void tickUntil(int second)
    {
        while (core.state() == PlayerState::Playing && core.elapsedSeconds() < second)
            core.clockTimer_Timer();
    }
    void setLength(int seconds)
    {
        view.lengthSlider = seconds;
        core.lengthSlider_Change();
    }
};

} // namespace

// ---------------------------------------------------------------- transport table

enum class Event { Play, Pause, Stop, Skip, Hold };

struct TransportCase {
    const char *name;
    Event event;
    PlayerState from;
    PlayerState to;
    QStringList effects; // view effects in order
    QStringList calls;   // engine calls in order
};

void PrintTo(const TransportCase &c, std::ostream *os)
{
    *os << c.name;
}

class Transport : public ::testing::TestWithParam<TransportCase> {};

TEST_P(Transport, Row)
{
    const TransportCase &c = GetParam();
    Rig rig;
    // Put the player into the row's state as the handlers would have left it.
    if (c.from != PlayerState::Stopped) {
        rig.core.btnPlay_Click();
        rig.tickUntil(50);
        if (c.from == PlayerState::Paused)
            rig.core.btnPause_Click();
        if (c.from == PlayerState::Holding)
            rig.core.btnHold_Click();
        rig.engine.clear();
        rig.view.log.clear();
    }
    ASSERT_EQ(rig.core.state(), c.from);
    const bool timerBefore = rig.view.clockTimer;
    switch (c.event) {
    case Event::Play: rig.core.btnPlay_Click(); break;
    case Event::Pause: rig.core.btnPause_Click(); break;
    case Event::Stop: rig.core.btnStop_Click(); break;
    case Event::Skip: rig.core.btnSkip_Click(); break;
    case Event::Hold: rig.core.btnHold_Click(); break;
    }
    EXPECT_EQ(rig.core.state(), c.to);
    EXPECT_EQ(rig.view.effects(), c.effects);
    EXPECT_EQ(rig.engine.calls, c.calls);
    // The clock runs exactly while playing.
    if (c.effects.isEmpty()) {
        EXPECT_EQ(rig.view.clockTimer, timerBefore);
    } else if (c.to != PlayerState::Stopped || c.from != PlayerState::Stopped) {
        EXPECT_EQ(rig.view.clockTimer, c.to == PlayerState::Playing);
    }
    EXPECT_FALSE(rig.core.programEnded());
    EXPECT_TRUE(rig.platform.messages.isEmpty());
}

#define L(...)                                                                                                         \
    QStringList                                                                                                        \
    {                                                                                                                  \
        __VA_ARGS__                                                                                                    \
    }
#define S QStringLiteral
static const QStringList Stopping =
    L(S("clockTimer off"), S("lengthSlider enabled"), S("lblState=Stop"), S("lblTime=00h:00m:00s"));
static const QStringList Resuming = L(S("lengthSlider disabled"), S("clockTimer on"), S("lblState=Play"));

INSTANTIATE_TEST_SUITE_P(
    Table, Transport,
    ::testing::Values(
        TransportCase{"PlayWhileHolding", Event::Play, PlayerState::Holding, PlayerState::Holding, {}, {}},
        TransportCase{"PlayWhilePlaying",
                      Event::Play,
                      PlayerState::Playing,
                      PlayerState::Playing,
                      L(S("play:active"), S("pause:normal"), S("stop:normal")),
                      {}},
        TransportCase{"PlayWhileStopped", Event::Play, PlayerState::Stopped, PlayerState::Playing,
                      L(S("play:active"), S("pause:normal"), S("stop:normal"), S("clockTimer on"),
                        S("lengthSlider disabled"), S("lblState=Play"), S("lblTrack=1")),
                      StartCalls},
        TransportCase{"PlayWhilePaused", Event::Play, PlayerState::Paused, PlayerState::Playing,
                      L(S("play:active"), S("pause:normal"), S("stop:normal")) + Resuming,
                      L(S("Tone_Channel_SetPaused(33,0)"))},
        TransportCase{"PauseWhileHolding", Event::Pause, PlayerState::Holding, PlayerState::Holding, {}, {}},
        TransportCase{"PauseWhileStopped",
                      Event::Pause,
                      PlayerState::Stopped,
                      PlayerState::Stopped,
                      L(S("play:normal"), S("pause:active"), S("stop:normal")),
                      {}},
        TransportCase{"PauseWhilePlaying", Event::Pause, PlayerState::Playing, PlayerState::Paused,
                      L(S("play:normal"), S("pause:active"), S("stop:normal"), S("lengthSlider disabled"),
                        S("clockTimer off"), S("lblState=Pause")),
                      L(S("Tone_Channel_SetPaused(33,1)"))},
        TransportCase{"PauseWhilePaused", Event::Pause, PlayerState::Paused, PlayerState::Playing,
                      L(S("play:normal"), S("pause:active"), S("stop:normal")) + Resuming,
                      L(S("Tone_Channel_SetPaused(33,0)"))},
        TransportCase{"StopWhileHolding", Event::Stop, PlayerState::Holding, PlayerState::Holding, {}, {}},
        TransportCase{"StopWhileStopped",
                      Event::Stop,
                      PlayerState::Stopped,
                      PlayerState::Stopped,
                      L(S("play:normal"), S("pause:normal"), S("stop:active")),
                      {}},
        TransportCase{"StopWhilePlaying", Event::Stop, PlayerState::Playing, PlayerState::Stopped,
                      L(S("play:normal"), S("pause:normal"), S("stop:active")) + Stopping,
                      L(S("Tone_Channel_Stop(33)"))},
        TransportCase{"StopWhilePaused", Event::Stop, PlayerState::Paused, PlayerState::Stopped,
                      L(S("play:normal"), S("pause:normal"), S("stop:active")) + Stopping,
                      L(S("Tone_Channel_Stop(33)"))},
        TransportCase{
            "SkipWhilePlaying", Event::Skip, PlayerState::Playing, PlayerState::Playing, L(S("skip:active")), {}},
        TransportCase{"SkipWhileStopped", Event::Skip, PlayerState::Stopped, PlayerState::Stopped, {}, {}},
        TransportCase{"SkipWhilePaused", Event::Skip, PlayerState::Paused, PlayerState::Paused, {}, {}},
        TransportCase{"SkipWhileHolding", Event::Skip, PlayerState::Holding, PlayerState::Holding, {}, {}},
        TransportCase{"HoldWhilePlaying",
                      Event::Hold,
                      PlayerState::Playing,
                      PlayerState::Holding,
                      L(S("hold:active"), S("play:normal"), S("lengthSlider disabled"), S("clockTimer off")),
                      {}},
        TransportCase{"HoldWhileHolding",
                      Event::Hold,
                      PlayerState::Holding,
                      PlayerState::Playing,
                      L(S("play:active"), S("hold:normal"), S("lengthSlider enabled"), S("clockTimer on")),
                      {}},
        TransportCase{"HoldWhileStopped", Event::Hold, PlayerState::Stopped, PlayerState::Stopped, {}, {}},
        TransportCase{"HoldWhilePaused", Event::Hold, PlayerState::Paused, PlayerState::Paused, {}, {}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(Transport, StopKeepsTrackIndexAndSkipLookAndStartResetsThem)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.tickUntil(100);
    rig.core.btnSkip_Click();
    rig.core.clockTimer_Timer(); // to frequency 2
    rig.core.btnSkip_Click();    // skip look active again
    rig.core.btnStop_Click();
    EXPECT_EQ(rig.core.currentFrequency(), 2);
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("2"));
    EXPECT_TRUE(rig.view.active[TransportButton::btnSkip]);
    EXPECT_EQ(rig.core.elapsedSeconds(), 0);
    rig.engine.clear();
    rig.core.btnPlay_Click();
    EXPECT_EQ(rig.core.currentFrequency(), 1);
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("1"));
    // The channel handle is handed back to the engine on the next start.
    EXPECT_EQ(rig.engine.calls.value(0), QStringLiteral("Tone_System_PlayDSP(11,-2,22,1,33)"));
}

// ---------------------------------------------------------------- the clock

TEST(Clock, TwoFrequencyTimeline)
{
    Rig rig; // 528, 741: T = 360, P = 180
    rig.core.btnPlay_Click();
    EXPECT_EQ(rig.view.text(PlayerLabel::lblState), QStringLiteral("Play"));
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTime), QString()); // a start does not write the time
    rig.engine.clear();
    rig.core.clockTimer_Timer(); // t = 1
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTime), QStringLiteral("00h:00m:00s"));
    rig.tickUntil(179);
    EXPECT_TRUE(rig.engine.calls.isEmpty());
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("1"));
    rig.core.clockTimer_Timer(); // t = 180
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTime), QStringLiteral("00h:02m:59s"));
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("2"));
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_SetFrequency(33,74100)")});
    rig.tickUntil(359);
    EXPECT_EQ(rig.core.state(), PlayerState::Playing);
    rig.view.log.clear();
    rig.core.clockTimer_Timer(); // t = 360
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
    EXPECT_EQ(rig.view.log, (QStringList{QStringLiteral("lblTime=00h:05m:59s"), QStringLiteral("play:normal"),
                                         QStringLiteral("pause:normal"), QStringLiteral("stop:active"),
                                         QStringLiteral("clockTimer off"), QStringLiteral("lengthSlider enabled"),
                                         QStringLiteral("lblState=Stop"), QStringLiteral("lblTime=00h:00m:00s")}));
    EXPECT_EQ(rig.engine.calls.last(), QStringLiteral("Tone_Channel_Stop(33)"));
}

TEST(Clock, OneFrequencyPlaysItsWholeLengthThenStops)
{
    Rig rig(QStringLiteral("528"));
    rig.core.btnPlay_Click();
    rig.engine.clear();
    for (int t = 1; t < 180; ++t) {
        rig.core.clockTimer_Timer();
        ASSERT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("1"));
    }
    EXPECT_EQ(rig.core.state(), PlayerState::Playing);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_Stop(33)")});
}

struct SwitchCase {
    const char *list;
    int length;
    std::vector<int> switchSeconds; // second at which frequency 2, 3, ... starts
    int stopSecond;
};
void PrintTo(const SwitchCase &c, std::ostream *os)
{
    *os << '"' << c.list << "\" for " << c.length << " s";
}
class ClockSchedule : public ::testing::TestWithParam<SwitchCase> {};
TEST_P(ClockSchedule, SwitchesAndStops)
{
    const SwitchCase &c = GetParam();
    Rig rig(QString::fromLatin1(c.list));
    rig.setLength(c.length);
    rig.core.btnPlay_Click();
    std::vector<int> switches;
    int second = 0;
    while (rig.core.state() == PlayerState::Playing && second < 100000) {
        const int before = rig.core.currentFrequency();
        rig.core.clockTimer_Timer();
        ++second;
        if (rig.core.currentFrequency() != before)
            switches.push_back(second);
    }
    EXPECT_EQ(switches, c.switchSeconds);
    EXPECT_EQ(second, c.stopSecond);
}
INSTANTIATE_TEST_SUITE_P(Figures, ClockSchedule,
                         ::testing::Values(SwitchCase{"1,2,3", 100, {33, 66}, 100}, SwitchCase{"1,2", 185, {92}, 185},
                                           SwitchCase{"1,2", 187, {94}, 187}, SwitchCase{"1,2", 360, {180}, 360},
                                           SwitchCase{"1,2,3,4", 50, {12, 24, 36}, 50}));

TEST(Clock, SkipJumpsToTheNextShareAndTheNextTickSwitches)
{
    Rig rig; // 2 x 180
    rig.core.btnPlay_Click();
    rig.tickUntil(50);
    rig.engine.clear();
    rig.core.btnSkip_Click();
    EXPECT_EQ(rig.core.elapsedSeconds(), 180);
    EXPECT_TRUE(rig.view.active[TransportButton::btnSkip]);
    EXPECT_TRUE(rig.engine.calls.isEmpty()); // the frequency changes on the tick
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTime), QStringLiteral("00h:03m:00s"));
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTrack), QStringLiteral("2"));
    EXPECT_FALSE(rig.view.active[TransportButton::btnSkip]);
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_SetFrequency(33,74100)")});
}

TEST(Clock, SkippingTheLastFrequencyEndsWhenTheSharesFillTheLength)
{
    Rig rig; // n x P = T
    rig.core.btnPlay_Click();
    rig.tickUntil(200);
    rig.core.btnSkip_Click();
    EXPECT_EQ(rig.core.elapsedSeconds(), 360);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
}

TEST(Clock, SkippingTheLastFrequencyPlaysOnUntilTheLengthOtherwise)
{
    Rig rig(QStringLiteral("1,2,3,4"));
    rig.setLength(50); // P = 12, n x P = 48
    rig.core.btnPlay_Click();
    rig.tickUntil(40);
    ASSERT_EQ(rig.core.currentFrequency(), 4);
    rig.core.btnSkip_Click();
    EXPECT_EQ(rig.core.elapsedSeconds(), 48);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.state(), PlayerState::Playing);
    EXPECT_EQ(rig.core.currentFrequency(), 4);
    EXPECT_TRUE(rig.view.active[TransportButton::btnSkip]); // no switch, so the look stays
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
}

TEST(Clock, PauseAndResumeKeepTheElapsedTime)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.tickUntil(42);
    rig.core.btnPause_Click();
    EXPECT_EQ(rig.view.text(PlayerLabel::lblState), QStringLiteral("Pause"));
    EXPECT_FALSE(rig.view.clockTimer);
    EXPECT_EQ(rig.core.elapsedSeconds(), 42);
    rig.core.btnPause_Click();
    EXPECT_EQ(rig.view.text(PlayerLabel::lblState), QStringLiteral("Play"));
    EXPECT_TRUE(rig.view.clockTimer);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTime), QStringLiteral("00h:00m:42s"));
    EXPECT_EQ(rig.core.elapsedSeconds(), 43);
}

TEST(Clock, HoldThenStopIsIgnoredUntilTheHoldIsReleased)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.tickUntil(10);
    rig.core.btnHold_Click();
    rig.engine.clear();
    rig.core.btnStop_Click();
    rig.core.btnPlay_Click();
    rig.core.btnPause_Click();
    rig.core.btnSkip_Click();
    EXPECT_EQ(rig.core.state(), PlayerState::Holding);
    EXPECT_EQ(rig.core.elapsedSeconds(), 10);
    EXPECT_TRUE(rig.engine.calls.isEmpty());
    rig.core.btnHold_Click();
    rig.core.btnStop_Click();
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_Stop(33)")});
}

TEST(Clock, AShorterLengthAfterAHoldJumpsForwardOrEnds)
{
    Rig rig(QStringLiteral("100,200,300,400")); // T = 720, P = 180
    rig.core.btnPlay_Click();
    rig.tickUntil(100);
    rig.core.btnHold_Click();
    rig.core.btnHold_Click();
    ASSERT_TRUE(rig.view.lengthSliderEnabled);
    rig.engine.clear();
    rig.setLength(200); // P = 50: second 101 lies in share 3
    EXPECT_EQ(rig.view.text(PlayerLabel::lblTreatmentLength), QStringLiteral("00h:03m:20s"));
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.currentFrequency(), 3);
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_SetFrequency(33,30000)")});
    // a longer length never moves the index back
    rig.setLength(720);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.currentFrequency(), 3);
    // below the elapsed time: the next tick ends the treatment
    rig.setLength(60);
    rig.core.clockTimer_Timer();
    EXPECT_EQ(rig.core.state(), PlayerState::Stopped);
}

// ---------------------------------------------------------------- program load

TEST(Program, LoadFillsLabelsAndSlider)
{
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core(engine, view, platform, QLocale::c());
    core.setSaveBeforeAbruptEnd(platform.saveRecorder());
    ASSERT_TRUE(core.Form_Load());
    view.log.clear();
    engine.clear();
    core.LoadProgram(42, QStringLiteral("Headache "), QStringLiteral("1.2,72,528"));
    EXPECT_EQ(view.log,
              (QStringList{QStringLiteral("lblID=42"), QStringLiteral("lblHealthProblem=Headache "),
                           QStringLiteral("lblFrequencyCount=3"), QStringLiteral("lblSuggestedLength=00h:09m:00s"),
                           QStringLiteral("lengthSlider 30..3600 = 540 (10/60)"),
                           QStringLiteral("lblTreatmentLength=00h:09m:00s")}));
    EXPECT_EQ(core.frequencyCount(), 3);
    EXPECT_EQ(core.treatmentLength(), 540);
    EXPECT_EQ(core.frequencies()[1], 1.2f);
    EXPECT_TRUE(engine.calls.isEmpty()); // loading a program plays nothing
}

TEST(Program, AHundredFrequenciesAndMoreNeverReadPastTheTable)
{
    QStringList list;
    for (int i = 1; i <= 130; ++i)
        list << QString::number(i);
    Rig rig(list.join(QLatin1Char(',')));
    EXPECT_EQ(rig.core.frequencyCount(), 100);
    EXPECT_EQ(rig.view.text(PlayerLabel::lblFrequencyCount), QStringLiteral("100"));
    EXPECT_EQ(rig.view.setup, (SliderSetup{36000, 18000, 1000, 10, 60}));
    rig.core.btnPlay_Click();
    rig.engine.clear();
    int second = 0;
    while (rig.core.state() == PlayerState::Playing) {
        rig.core.clockTimer_Timer();
        ++second;
    }
    EXPECT_EQ(second, 18000);
    const QStringList sets = rig.engine.named(QStringLiteral("Tone_Channel_SetFrequency"));
    ASSERT_EQ(sets.size(), 99);
    EXPECT_EQ(sets.last(), QStringLiteral("Tone_Channel_SetFrequency(33,10000)"));
}

// ---------------------------------------------------------------- the engine binding

TEST(Binding, WindowLoadCallsInOrder)
{
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core(engine, view, platform, QLocale::c());
    core.setSaveBeforeAbruptEnd(platform.saveRecorder());
    // A window closed while holding: the next load starts stopped.
    ASSERT_TRUE(core.Form_Load());
    core.LoadProgram(1, QStringLiteral("x"), QStringLiteral("528"));
    core.btnPlay_Click();
    core.btnHold_Click();
    core.Form_Unload();
    ASSERT_EQ(core.state(), PlayerState::Holding);
    engine.clear();
    view.log.clear();
    ASSERT_TRUE(core.Form_Load());
    EXPECT_EQ(engine.calls,
              (QStringList{QStringLiteral("Tone_System_Create()"), QStringLiteral("Tone_System_GetVersion(11)"),
                           QStringLiteral("Tone_System_Init(11,32,0,null)"),
                           QStringLiteral("Tone_System_CreateDSPByType(11,2)"),
                           QStringLiteral("Tone_DSP_SetParameter(22,1,440)")}));
    EXPECT_EQ(core.state(), PlayerState::Stopped);
    EXPECT_EQ(view.log, QStringList{QStringLiteral("clockTimer off")});
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(Binding, AnOtherVersionWarnsAndGoesOn)
{
    RecordingPlatform platform;
    RecordingEngine engine;
    engine.version = 0x2010A;
    RecordingView view;
    PlayerCore core(engine, view, platform, QLocale::c());
    core.setSaveBeforeAbruptEnd(platform.saveRecorder());
    ASSERT_TRUE(core.Form_Load());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(
        platform.messages[0],
        QStringLiteral("Error!  You are using an old version of the tone engine 2010A. This program requires 10000"));
    EXPECT_EQ(platform.captions[0], QStringLiteral("Helicordia"));
    EXPECT_EQ(engine.calls.size(), 5);
    EXPECT_TRUE(platform.endStatuses.isEmpty());
    core.LoadProgram(1, QStringLiteral("x"), QStringLiteral("528"));
    core.btnPlay_Click();
    EXPECT_EQ(core.state(), PlayerState::Playing);
}

TEST(Binding, VolumeAndPanClicks)
{
    Rig rig;
    // no channel yet in this run: nothing is called
    rig.view.volume = 512;
    rig.view.pan = -256;
    rig.core.volumeSlider_Click();
    rig.core.panSlider_Click();
    EXPECT_TRUE(rig.engine.calls.isEmpty());
    rig.core.btnPlay_Click();
    EXPECT_EQ(rig.engine.calls.value(1), QStringLiteral("Tone_Channel_SetVolume(33,0.5)"));
    rig.engine.clear();
    rig.view.volume = 1024;
    rig.core.volumeSlider_Click();
    rig.core.panSlider_Click();
    EXPECT_EQ(rig.engine.calls, (QStringList{QStringLiteral("Tone_Channel_SetVolume(33,1)"),
                                             QStringLiteral("Tone_Channel_SetPan(33,-0.5)")}));
}

TEST(Binding, AChannelKeptFromAnEarlierLoadIsNotSteeredBeforeTheNextStart)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.core.Form_Unload();
    ASSERT_TRUE(rig.core.Form_Load());
    rig.engine.clear();
    // The kept handle belongs to the released engine: no volume or pan call.
    rig.core.volumeSlider_Click();
    rig.core.panSlider_Click();
    EXPECT_TRUE(rig.engine.calls.isEmpty());
    // The next start hands it back to the new engine and steering works again.
    rig.view.volume = 256;
    rig.core.btnPlay_Click();
    EXPECT_EQ(rig.engine.calls.value(0), QStringLiteral("Tone_System_PlayDSP(11,-2,22,1,33)"));
    EXPECT_EQ(rig.engine.calls.value(1), QStringLiteral("Tone_Channel_SetVolume(33,0.25)"));
    rig.engine.clear();
    rig.core.volumeSlider_Click();
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_SetVolume(33,0.25)")});
    // After a stop in the same load the channel is still this engine's.
    rig.core.btnStop_Click();
    rig.engine.clear();
    rig.core.panSlider_Click();
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_Channel_SetPan(33,0)")});
}

TEST(Binding, EngineTickReadsTheChannelAndUpdates)
{
    Rig rig;
    rig.core.engineTimer_Timer();
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_System_Update(11)")});
    EXPECT_EQ(rig.view.text(PlayerLabel::statusLine),
              QStringLiteral("  Channel stopped : Frequency 0Hz Volume 0% Pan 0%"));
    EXPECT_EQ(rig.view.text(PlayerLabel::lblVolume), QStringLiteral("0 %"));
    rig.core.btnPlay_Click();
    rig.engine.clear();
    rig.engine.frequency = 52800.0f;
    rig.engine.volume = 0.1006f;
    rig.engine.pan = 0.25f;
    rig.engine.playing = 1;
    rig.core.engineTimer_Timer();
    EXPECT_EQ(rig.engine.calls,
              (QStringList{QStringLiteral("Tone_Channel_GetPan(33)"), QStringLiteral("Tone_Channel_GetFrequency(33)"),
                           QStringLiteral("Tone_Channel_GetVolume(33)"), QStringLiteral("Tone_Channel_IsPlaying(33)"),
                           QStringLiteral("Tone_System_Update(11)")}));
    EXPECT_EQ(rig.view.text(PlayerLabel::statusLine),
              QStringLiteral("  Channel playing : Frequency 528Hz Volume 10% Pan +25%"));
    EXPECT_EQ(rig.view.text(PlayerLabel::lblVolume), QStringLiteral("10 %"));
    EXPECT_EQ(rig.core.channelPan(), 0.25f);
    // failed reads: 0 for frequency, volume and flag, the last value for the pan
    rig.engine.failures[QStringLiteral("Tone_Channel_GetPan")] = 1;
    rig.engine.failures[QStringLiteral("Tone_Channel_GetFrequency")] = 1;
    rig.engine.failures[QStringLiteral("Tone_Channel_GetVolume")] = 1;
    rig.engine.failures[QStringLiteral("Tone_Channel_IsPlaying")] = 1;
    rig.engine.failures[QStringLiteral("Tone_System_Update")] = 1;
    rig.core.engineTimer_Timer();
    EXPECT_EQ(rig.view.text(PlayerLabel::statusLine),
              QStringLiteral("  Channel stopped : Frequency 0Hz Volume 0% Pan +25%"));
    EXPECT_FALSE(rig.core.programEnded());
    EXPECT_TRUE(rig.platform.messages.isEmpty());
}

struct UnloadCase {
    const char *name;
    int presses; // 0 stopped, 1 playing, 2 paused, 3 holding
    QStringList calls;
};
void PrintTo(const UnloadCase &c, std::ostream *os)
{
    *os << c.name;
}
class Unload : public ::testing::TestWithParam<UnloadCase> {};
TEST_P(Unload, Order)
{
    Rig rig;
    const int what = GetParam().presses;
    if (what >= 1)
        rig.core.btnPlay_Click();
    if (what == 2)
        rig.core.btnPause_Click();
    if (what == 3)
        rig.core.btnHold_Click();
    rig.engine.clear();
    rig.core.Form_Unload();
    EXPECT_EQ(rig.engine.calls, GetParam().calls);
    EXPECT_EQ(rig.core.toneChannel(), what >= 1 ? 33u : 0u); // handles keep their values
    EXPECT_EQ(rig.core.soundSystem(), 11u);
}
static const QStringList Release = {QStringLiteral("Tone_DSP_Release(22)"), QStringLiteral("Tone_System_Close(11)"),
                                    QStringLiteral("Tone_System_Release(11)")};
INSTANTIATE_TEST_SUITE_P(States, Unload,
                         ::testing::Values(UnloadCase{"Stopped", 0, Release},
                                           UnloadCase{"Playing", 1,
                                                      QStringList{QStringLiteral("Tone_Channel_Stop(33)")} + Release},
                                           UnloadCase{"Paused", 2, Release}, UnloadCase{"Holding", 3, Release}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(Binding, UnloadWithoutAChannelStopsNothing)
{
    Rig rig;
    rig.core.Form_Unload();
    EXPECT_EQ(rig.engine.calls, Release);
}

// ---------------------------------------------------------------- engine errors

struct FailureCase {
    const char *name;
    const char *function;
    int stage; // 0 = window load, 1 = Play, 2 = clock tick, 3 = pause, 4 = resume, 5 = volume, 6 = pan, 7 = unload
    int callsBeforeFailure; // calls of the failing stage up to and including the failing one
};
void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}
class EngineError : public ::testing::TestWithParam<FailureCase> {};
TEST_P(EngineError, ReportsSavesAndEndsWithoutUnload)
{
    const FailureCase &c = GetParam();
    RecordingPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core(engine, view, platform, QLocale::c());
    core.setSaveBeforeAbruptEnd(platform.saveRecorder());
    auto fail = [&] {
        engine.failures[QString::fromLatin1(c.function)] = 6;
        engine.clear();
    };
    if (c.stage == 0)
        fail();
    const bool loaded = core.Form_Load();
    EXPECT_EQ(loaded, c.stage != 0);
    core.LoadProgram(1, QStringLiteral("x"), QStringLiteral("528,741"));
    if (c.stage == 1)
        fail();
    core.btnPlay_Click();
    if (c.stage == 2) {
        while (core.elapsedSeconds() < 179)
            core.clockTimer_Timer();
        fail();
        core.clockTimer_Timer();
    }
    if (c.stage == 3) {
        fail();
        core.btnPause_Click();
    }
    if (c.stage == 4) {
        core.btnPause_Click();
        fail();
        core.btnPause_Click();
    }
    if (c.stage == 5) {
        fail();
        core.volumeSlider_Click();
    }
    if (c.stage == 6) {
        fail();
        core.panSlider_Click();
    }
    if (c.stage == 7) {
        fail();
        core.Form_Unload();
    }
    EXPECT_EQ(engine.calls.size(), c.callsBeforeFailure) << engine.calls.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(engine.calls.last().startsWith(QString::fromLatin1(c.function)));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0], QStringLiteral("Tone engine error! (6) Could not write to the sound output."));
    EXPECT_EQ(platform.captions[0], QStringLiteral("Helicordia"));
    EXPECT_EQ(platform.events,
              (QStringList{QStringLiteral("message"), QStringLiteral("save"), QStringLiteral("end(1)")}));
    EXPECT_TRUE(core.programEnded());

    // Nothing runs after the end: no further engine call, no unload, no release.
    const qsizetype before = engine.calls.size();
    core.clockTimer_Timer();
    core.engineTimer_Timer();
    core.btnStop_Click();
    core.btnPlay_Click();
    core.volumeSlider_Click();
    core.Form_Unload();
    EXPECT_EQ(engine.calls.size(), before);
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.endStatuses, QList<int>{1});
}
INSTANTIATE_TEST_SUITE_P(
    Calls, EngineError,
    ::testing::Values(
        FailureCase{"Create", "Tone_System_Create", 0, 1}, FailureCase{"GetVersion", "Tone_System_GetVersion", 0, 2},
        FailureCase{"Init", "Tone_System_Init", 0, 3}, FailureCase{"CreateDSP", "Tone_System_CreateDSPByType", 0, 4},
        FailureCase{"SetRate", "Tone_DSP_SetParameter", 0, 5}, FailureCase{"PlayDSP", "Tone_System_PlayDSP", 1, 1},
        FailureCase{"StartVolume", "Tone_Channel_SetVolume", 1, 2},
        FailureCase{"Waveform", "Tone_DSP_SetParameter", 1, 3},
        FailureCase{"StartFrequency", "Tone_Channel_SetFrequency", 1, 4},
        FailureCase{"Unpause", "Tone_Channel_SetPaused", 1, 5},
        FailureCase{"ReadFrequency", "Tone_Channel_GetFrequency", 1, 6},
        FailureCase{"ReadPan", "Tone_Channel_GetPan", 1, 7},
        FailureCase{"TickFrequency", "Tone_Channel_SetFrequency", 2, 1},
        FailureCase{"Pause", "Tone_Channel_SetPaused", 3, 1}, FailureCase{"Resume", "Tone_Channel_SetPaused", 4, 1},
        FailureCase{"Volume", "Tone_Channel_SetVolume", 5, 1}, FailureCase{"Pan", "Tone_Channel_SetPan", 6, 1},
        // unload while playing: the channel is stopped first
        FailureCase{"DspRelease", "Tone_DSP_Release", 7, 2}, FailureCase{"Close", "Tone_System_Close", 7, 3},
        FailureCase{"Release", "Tone_System_Release", 7, 4}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(EngineError, UnknownCodesUseTheEngineText)
{
    EXPECT_EQ(EngineErrorText(99, "Unknown error."), QStringLiteral("Tone engine error! (99) Unknown error."));
    EXPECT_EQ(EngineErrorText(-3, "Unknown error."), QStringLiteral("Tone engine error! (-3) Unknown error."));
}

// ---------------------------------------------------------------- status line

struct StatusCase {
    const char *name;
    int playing;
    float frequency;
    float volume;
    float pan;
    QLocale::Language language;
    const char *text;
};
void PrintTo(const StatusCase &c, std::ostream *os)
{
    *os << c.name;
}
class StatusLine : public ::testing::TestWithParam<StatusCase> {};
TEST_P(StatusLine, Text)
{
    const StatusCase &c = GetParam();
    const QLocale locale = c.language == QLocale::C ? QLocale::c() : QLocale(c.language);
    EXPECT_EQ(StatusLineText(c.playing, c.frequency, c.volume, c.pan, locale), QString::fromUtf8(c.text));
}
INSTANTIATE_TEST_SUITE_P(
    Examples, StatusLine,
    ::testing::Values(StatusCase{"Playing528", 1, 52800.0f, 0.1006f, 0.25f, QLocale::C,
                                 "  Channel playing : Frequency 528Hz Volume 10% Pan +25%"},
                      StatusCase{"BeforePlay", 0, 0, 0, 0, QLocale::C,
                                 "  Channel stopped : Frequency 0Hz Volume 0% Pan 0%"},
                      StatusCase{"PanLeft", 1, 52800.0f, 0.5f, -0.25f, QLocale::C,
                                 "  Channel playing : Frequency 528Hz Volume 50% Pan -25%"},
                      StatusCase{"PanFloors", 1, 52800.0f, 1.0f, -0.2539f, QLocale::C,
                                 "  Channel playing : Frequency 528Hz Volume 100% Pan -26%"},
                      StatusCase{"Fraction", 1, 783.0f, 0.1006f, 0, QLocale::C,
                                 "  Channel playing : Frequency 7.83Hz Volume 10% Pan 0%"},
                      StatusCase{"FractionGerman", 1, 783.0f, 0.1006f, 0, QLocale::German,
                                 "  Channel playing : Frequency 7,83Hz Volume 10% Pan 0%"},
                      StatusCase{"NoThousandsSeparator", 1, 1234550.0f, 0.1006f, 0, QLocale::English,
                                 "  Channel playing : Frequency 12345.5Hz Volume 10% Pan 0%"},
                      StatusCase{"NoThousandsSeparatorGerman", 1, 1234550.0f, 0.1006f, 0, QLocale::German,
                                 "  Channel playing : Frequency 12345,5Hz Volume 10% Pan 0%"},
                      StatusCase{"SevenDigits", 1, 100.0f / 3.0f, 0.1006f, 0, QLocale::C,
                                 "  Channel playing : Frequency 0.3333333Hz Volume 10% Pan 0%"},
                      StatusCase{"SevenDigitsLarge", 1, 9957680.7f, 0.1006f, 0, QLocale::C,
                                 "  Channel playing : Frequency 99576.81Hz Volume 10% Pan 0%"},
                      StatusCase{"DividedFrequency", 1, 99576.807f, 0.1006f, 0.001f, QLocale::C,
                                 "  Channel playing : Frequency 995.7681Hz Volume 10% Pan +0%"}),
    [](const auto &row) { return std::string(row.param.name); });
