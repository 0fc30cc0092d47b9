// The player and the sound output: the clock follows what can be heard,
// each change of the output is told once, and the chosen output is kept and
// reached with the tone's ramps.
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"
#include "tests/treatment/fake_view.h"
#include "treatment/player_core.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace helicordia;
using namespace helicordia::test;

namespace {

// A platform whose settings live in a file of the test's own.
class SettingsPlatform : public RecordingPlatform {
public:
    QTemporaryDir dir;
    std::unique_ptr<QSettings> openSettings() override
    {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("Verbarium.conf")), QSettings::IniFormat);
    }
};

struct Rig {
    SettingsPlatform platform;
    RecordingEngine engine;
    RecordingView view;
    PlayerCore core{engine, view, platform, QLocale::c()};

    Rig()
    {
        EXPECT_TRUE(core.Form_Load());
        core.LoadProgram(7, QStringLiteral("Test problem "), QStringLiteral("528,741"));
        engine.clear();
        view.log.clear();
    }
    void tick(int state, std::uint32_t losses = 0, std::uint32_t fallbacks = 0, const char *missing = "")
    {
        engine.outputStatus.state = state;
        engine.outputStatus.reason = state == TONE_OUTPUT_READY ? TONE_OK : TONE_ERR_SERVER_LOST;
        engine.outputStatus.losses = losses;
        engine.outputStatus.fallbacks = fallbacks;
        std::snprintf(engine.outputStatus.missingOutput, sizeof engine.outputStatus.missingOutput, "%s", missing);
        core.engineTimer_Timer();
    }
    QStringList notices() const { return view.log.filter(QStringLiteral("notice=")); }
};

struct Step {
    int state;
    std::uint32_t losses, fallbacks;
    bool clock;         // the treatment's clock runs after this tick
    const char *notice; // told at this tick (a part of it); "" for nothing
};

struct OutputCase {
    const char *name;
    std::vector<Step> steps;
};

void PrintTo(const OutputCase &c, std::ostream *os)
{
    *os << c.name;
}

class OutputWhilePlaying : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputWhilePlaying, Row)
{
    Rig rig;
    rig.core.btnPlay_Click();
    for (const Step &step : GetParam().steps) {
        rig.view.log.clear();
        rig.tick(step.state, step.losses, step.fallbacks, "usb-headset");
        EXPECT_EQ(rig.view.clockTimer, step.clock) << "state " << step.state;
        const QStringList notices = rig.notices();
        if (*step.notice == '\0') {
            EXPECT_TRUE(notices.isEmpty()) << notices.join(QLatin1Char('|')).toStdString();
            continue;
        }
        ASSERT_EQ(notices.size(), 1) << "state " << step.state;
        EXPECT_TRUE(notices[0].contains(QString::fromUtf8(step.notice))) << notices[0].toStdString();
        // The status line shows it too.
        EXPECT_EQ(QStringLiteral("notice=") + rig.view.text(PlayerLabel::statusLine), notices[0]);
    }
    EXPECT_TRUE(rig.platform.messages.isEmpty());
    EXPECT_TRUE(rig.platform.endStatuses.isEmpty()) << "a sound server's trouble never ends the program";
}

INSTANTIATE_TEST_SUITE_P(
    Player, OutputWhilePlaying,
    ::testing::Values(OutputCase{"OpeningThenReady",
                                 {{TONE_OUTPUT_OPENING, 0, 0, false, ""}, {TONE_OUTPUT_READY, 0, 0, true, ""}}},
                      OutputCase{"NeverThere",
                                 {{TONE_OUTPUT_OPENING, 0, 0, false, ""},
                                  {TONE_OUTPUT_UNAVAILABLE, 0, 0, false, "No sound: Some engine sentence."},
                                  {TONE_OUTPUT_UNAVAILABLE, 0, 0, false, ""},
                                  {TONE_OUTPUT_READY, 0, 0, true, "The sound is back"}}},
                      OutputCase{"LostAndBack",
                                 {{TONE_OUTPUT_READY, 0, 0, true, ""},
                                  {TONE_OUTPUT_LOST, 1, 0, false, "Sound lost: Some engine sentence."},
                                  {TONE_OUTPUT_LOST, 1, 0, false, ""},
                                  {TONE_OUTPUT_READY, 1, 0, true, "The sound is back"},
                                  {TONE_OUTPUT_LOST, 2, 0, false, "Sound lost"}}},
                      OutputCase{"ChosenOutputGone",
                                 {{TONE_OUTPUT_READY, 0, 1, true, "\u201cusb-headset\u201d is not there"},
                                  {TONE_OUTPUT_READY, 0, 1, true, ""}}}),
    [](const ::testing::TestParamInfo<OutputCase> &i) { return std::string(i.param.name); });

// Paused, the clock stays off whatever the output does.
TEST(OutputWhilePaused, ClockStaysOff)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.core.btnPause_Click();
    rig.tick(TONE_OUTPUT_LOST, 1);
    rig.tick(TONE_OUTPUT_READY, 1);
    EXPECT_FALSE(rig.view.clockTimer);
    rig.core.btnPlay_Click();
    EXPECT_TRUE(rig.view.clockTimer);
}

// The choice is kept in the settings and used by the next engine (the
// engine fades a sounding tone out and in again around the move).
TEST(OutputChoice, KeptAndUsedByTheNextEngine)
{
    Rig rig;
    rig.core.btnPlay_Click();
    rig.engine.clear();
    rig.core.chooseOutput(QStringLiteral("usb-headset"));
    EXPECT_EQ(rig.engine.calls, QStringList{QStringLiteral("Tone_System_SetOutput(11,usb-headset)")});
    EXPECT_EQ(rig.platform.openSettings()->value(QStringLiteral("Startup/Output")).toString(),
              QStringLiteral("usb-headset"));
    rig.core.chooseOutput(QString()); // "System default"
    EXPECT_EQ(rig.engine.named(QStringLiteral("Tone_System_SetOutput")).last(),
              QStringLiteral("Tone_System_SetOutput(11,)"));
    EXPECT_FALSE(rig.platform.openSettings()->contains(QStringLiteral("Startup/Output")));

    // The next window load plays where the settings say; a run's own choice
    // (the command line's) wins and is not kept.
    rig.core.chooseOutput(QStringLiteral("usb-headset"));
    rig.core.Form_Unload();
    rig.engine.clear();
    ASSERT_TRUE(rig.core.Form_Load());
    EXPECT_EQ(rig.engine.named(QStringLiteral("Tone_System_SetOutput")),
              QStringList{QStringLiteral("Tone_System_SetOutput(11,usb-headset)")});
    rig.core.Form_Unload();
    rig.core.setOutputForThisRun(QStringLiteral("hdmi"));
    rig.engine.clear();
    ASSERT_TRUE(rig.core.Form_Load());
    EXPECT_EQ(rig.engine.named(QStringLiteral("Tone_System_SetOutput")),
              QStringList{QStringLiteral("Tone_System_SetOutput(11,hdmi)")});
    EXPECT_EQ(rig.platform.openSettings()->value(QStringLiteral("Startup/Output")).toString(),
              QStringLiteral("usb-headset"));
}

// The menu's list: "System default" first, then the server's outputs.
TEST(OutputChoice, ListsTheDefaultThenTheServersOutputs)
{
    Rig rig;
    rig.engine.outputs = {{"alsa_output.usb", "USB Headset"}, {"hdmi", "HDMI Audio"}};
    const QList<OutputEntry> expected{{QString(), QStringLiteral("System default")},
                                      {QStringLiteral("alsa_output.usb"), QStringLiteral("USB Headset")},
                                      {QStringLiteral("hdmi"), QStringLiteral("HDMI Audio")}};
    EXPECT_EQ(rig.core.outputChoices(), expected);
}

} // namespace
