// The engine's call interface: handles, result codes, the player's call
// sequence, channel reuse and the values read back. No sound device.
#include "engine/tone.h"
#include "engine/tone_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

// A system initialised without a device, with one oscillator at 440 Hz.
struct OfflineEngine : ::testing::Test {
    ToneHandle system = 0, osc = 0;
    void SetUp() override
    {
        ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
        ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
        ASSERT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &osc), TONE_OK);
        ASSERT_EQ(Tone_DSP_SetParameter(osc, TONE_OSCILLATOR_PARAM_RATE, 440.0f), TONE_OK);
    }
    void TearDown() override
    {
        if (osc)
            Tone_DSP_Release(osc);
        if (system) {
            Tone_System_Close(system);
            Tone_System_Release(system);
        }
    }
    ToneHandle play(int paused = 0)
    {
        ToneHandle ch = 0;
        EXPECT_EQ(Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, osc, paused, &ch), TONE_OK);
        return ch;
    }
};

TEST(ToneErrorString, KnownAndUnknownCodes)
{
    EXPECT_STREQ(Tone_ErrorString(TONE_OK), "No errors.");
    EXPECT_STREQ(Tone_ErrorString(-1), "Unknown error.");
    EXPECT_STREQ(Tone_ErrorString(14), "Unknown error.");
    EXPECT_STREQ(Tone_ErrorString(1000000), "Unknown error.");
    const std::string device = Tone_ErrorString(TONE_ERR_NO_OUTPUT_DEVICE);
    EXPECT_NE(device.find("No sound output device could be opened"), std::string::npos);
    std::set<std::string> sentences;
    // A newcomer without a sound server learns what to start.
    const std::string noServer = Tone_ErrorString(TONE_ERR_NO_SOUND_SERVER);
    EXPECT_NE(noServer.find("PipeWire"), std::string::npos);
    EXPECT_NE(noServer.find("PulseAudio"), std::string::npos);
    for (ToneResult code = TONE_ERR_INVALID_HANDLE; code <= TONE_ERR_MODULE_MISSING; ++code) {
        const std::string s = Tone_ErrorString(code);
        EXPECT_NE(s, "Unknown error.") << code;
        EXPECT_TRUE(sentences.insert(s).second) << "two codes share: " << s;
    }
}

TEST(ToneSystem, VersionAndLifecycle)
{
    ToneHandle system = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    EXPECT_NE(system, 0u);
    std::uint32_t version = 0;
    EXPECT_EQ(Tone_System_GetVersion(system, &version), TONE_OK);
    EXPECT_EQ(version, 0x10000u);
    ToneHandle dsp = 0;
    EXPECT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &dsp), TONE_ERR_NOT_INITIALIZED);
    EXPECT_EQ(Tone_System_Init(system, 0, TONE_INIT_NO_OUTPUT, nullptr), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_System_Init(system, 33, TONE_INIT_NO_OUTPUT, nullptr), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
    EXPECT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_ERR_ALREADY_INITIALIZED);
    EXPECT_EQ(Tone_System_CreateDSPByType(system, 1, &dsp), TONE_ERR_UNSUPPORTED);
    EXPECT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &dsp), TONE_OK);
    EXPECT_EQ(Tone_System_Update(system), TONE_OK);
    EXPECT_EQ(Tone_DSP_Release(dsp), TONE_OK);
    EXPECT_EQ(Tone_DSP_Release(dsp), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Close(system), TONE_OK);
    EXPECT_EQ(Tone_System_Release(system), TONE_OK);
    // Released: every call answers with a code.
    EXPECT_EQ(Tone_System_GetVersion(system, &version), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Update(system), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Close(system), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Release(system), TONE_ERR_INVALID_HANDLE);
}

TEST(ToneSystem, UnknownHandlesNeverCrash)
{
    const std::vector<ToneHandle> bogus = {0u, 1u, 0xFFFFFFFFu, 0x10000001u, 0x20000005u, 0x30000FFFu, 0xDEADBEEFu};
    for (ToneHandle h : bogus) {
        float f = 0;
        int i = 0;
        std::uint32_t v = 0;
        ToneHandle out = h;
        EXPECT_EQ(Tone_System_GetVersion(h, &v), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_Init(h, TONE_MAX_CHANNELS, 0, nullptr), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_CreateDSPByType(h, 2, &out), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_DSP_SetParameter(h, 1, 440.0f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_PlayDSP(h, -2, h, 1, &out), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_SetFrequency(h, 100.0f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_SetVolume(h, 0.5f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_SetPan(h, 0.5f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_SetPaused(h, 1), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_Stop(h), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_GetPan(h, &f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_GetFrequency(h, &f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_GetVolume(h, &f), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_Channel_IsPlaying(h, &i), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_Update(h), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_DSP_Release(h), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_Close(h), TONE_ERR_INVALID_HANDLE) << h;
        EXPECT_EQ(Tone_System_Release(h), TONE_ERR_INVALID_HANDLE) << h;
        float buf[8];
        EXPECT_EQ(Tone_System_Render(h, buf, 4), TONE_ERR_INVALID_HANDLE) << h;
    }
}

TEST(ToneSystem, HandlesOfOneKindAreRefusedAsAnother)
{
    ToneHandle system = 0, dsp = 0, ch = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
    ASSERT_EQ(Tone_System_CreateDSPByType(system, 2, &dsp), TONE_OK);
    ASSERT_EQ(Tone_System_PlayDSP(system, -1, dsp, 1, &ch), TONE_OK);
    EXPECT_EQ(Tone_Channel_Stop(system), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_Channel_Stop(dsp), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_DSP_Release(ch), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Update(ch), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_System_Release(system), TONE_OK);
    // Releasing the system releases its oscillator and channels.
    EXPECT_EQ(Tone_DSP_Release(dsp), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_Channel_Stop(ch), TONE_ERR_INVALID_HANDLE);
}

// The player's own sequence, from window load to unload, twice (a new engine
// at every load, the channel handle kept across).
TEST(ToneSystem, PlayerCallSequence)
{
    ToneHandle channel = 0;
    for (int load = 0; load < 2; ++load) {
        ToneHandle system = 0, osc = 0;
        std::uint32_t version = 0;
        ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
        ASSERT_EQ(Tone_System_GetVersion(system, &version), TONE_OK);
        ASSERT_EQ(version, 0x10000u);
        ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
        ASSERT_EQ(Tone_System_CreateDSPByType(system, 2, &osc), TONE_OK);
        ASSERT_EQ(Tone_DSP_SetParameter(osc, 1, 440.0f), TONE_OK);

        const ToneHandle before = channel;
        ASSERT_EQ(Tone_System_PlayDSP(system, -2, osc, 1, &channel), TONE_OK);
        ASSERT_NE(channel, 0u);
        if (load == 1) {
            EXPECT_NE(channel, before) << "a handle of the released engine must not come back valid";
        }
        EXPECT_EQ(Tone_Channel_SetVolume(channel, 103.0f / 1024.0f), TONE_OK);
        EXPECT_EQ(Tone_DSP_SetParameter(osc, 0, 0.0f), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetFrequency(channel, 52800.0f), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetPaused(channel, 0), TONE_OK);
        float f = 0, pan = 5, vol = 0;
        int playing = 0;
        EXPECT_EQ(Tone_Channel_GetFrequency(channel, &f), TONE_OK);
        EXPECT_EQ(f, 52800.0f);
        EXPECT_EQ(Tone_Channel_GetPan(channel, &pan), TONE_OK);
        EXPECT_EQ(pan, 0.0f);

        // Clock tick, pause, resume, the controls, the engine tick.
        EXPECT_EQ(Tone_Channel_SetFrequency(channel, 74100.0f), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetPaused(channel, 1), TONE_OK);
        EXPECT_EQ(Tone_Channel_IsPlaying(channel, &playing), TONE_OK);
        EXPECT_EQ(playing, 1) << "a paused channel is still playing";
        EXPECT_EQ(Tone_Channel_SetPaused(channel, 0), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetVolume(channel, 0.5f), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetPan(channel, -0.5f), TONE_OK);
        EXPECT_EQ(Tone_Channel_GetPan(channel, &pan), TONE_OK);
        EXPECT_EQ(pan, -0.5f);
        EXPECT_EQ(Tone_Channel_GetVolume(channel, &vol), TONE_OK);
        EXPECT_EQ(vol, 0.5f);
        EXPECT_EQ(Tone_System_Update(system), TONE_OK);

        // Stop; the handle still answers (the player's tick and controls keep
        // calling it) and the next start reuses it.
        EXPECT_EQ(Tone_Channel_Stop(channel), TONE_OK);
        EXPECT_EQ(Tone_Channel_IsPlaying(channel, &playing), TONE_OK);
        EXPECT_EQ(playing, 0);
        EXPECT_EQ(Tone_Channel_SetVolume(channel, 0.25f), TONE_OK);
        EXPECT_EQ(Tone_Channel_SetPan(channel, 0.25f), TONE_OK);
        const ToneHandle stopped = channel;
        ASSERT_EQ(Tone_System_PlayDSP(system, -2, osc, 1, &channel), TONE_OK);
        EXPECT_EQ(channel, stopped);
        EXPECT_EQ(Tone_Channel_IsPlaying(channel, &playing), TONE_OK);
        EXPECT_EQ(playing, 1);

        EXPECT_EQ(Tone_Channel_Stop(channel), TONE_OK);
        EXPECT_EQ(Tone_DSP_Release(osc), TONE_OK);
        EXPECT_EQ(Tone_System_Close(system), TONE_OK);
        EXPECT_EQ(Tone_System_Release(system), TONE_OK);
        float ignored = 0;
        EXPECT_EQ(Tone_Channel_GetPan(channel, &ignored), TONE_ERR_INVALID_HANDLE);
    }
}

TEST_F(OfflineEngine, FrequencyReadsBackAsSetAndDefaultsToTheRate)
{
    const ToneHandle ch = play(1);
    float f = 0;
    ASSERT_EQ(Tone_Channel_GetFrequency(ch, &f), TONE_OK);
    EXPECT_FLOAT_EQ(f, 44000.0f) << "before a frequency is set the channel sounds the rate";
    ASSERT_EQ(Tone_DSP_SetParameter(osc, 1, 300.0f), TONE_OK);
    ASSERT_EQ(Tone_Channel_GetFrequency(ch, &f), TONE_OK);
    EXPECT_FLOAT_EQ(f, 30000.0f);
    for (float set : {783.0f, 50.0f, 1234567.0f, 0.0f}) {
        ASSERT_EQ(Tone_Channel_SetFrequency(ch, set), TONE_OK);
        ASSERT_EQ(Tone_Channel_GetFrequency(ch, &f), TONE_OK);
        EXPECT_EQ(f, set);
    }
    // Values that cannot be heard are taken too (they sound silent or as
    // their magnitude) and read back as set.
    for (float set : {-100.0f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      6.8e37f * 100.0f, std::numeric_limits<float>::max()}) {
        EXPECT_EQ(Tone_Channel_SetFrequency(ch, set), TONE_OK) << set;
        ASSERT_EQ(Tone_Channel_GetFrequency(ch, &f), TONE_OK);
        EXPECT_EQ(f, set);
    }
    EXPECT_EQ(Tone_Channel_SetFrequency(ch, std::nanf("")), TONE_OK);
    ASSERT_EQ(Tone_Channel_GetFrequency(ch, &f), TONE_OK);
    EXPECT_TRUE(std::isnan(f));
}

struct ClampCase {
    float in;
    float volume;
    float pan;
};

TEST_F(OfflineEngine, VolumeAndPanAreClampedAndNanRefused)
{
    const ToneHandle ch = play(1);
    const ClampCase cases[] = {{-0.5f, 0.0f, -0.5f},
                               {0.0f, 0.0f, 0.0f},
                               {0.1006f, 0.1006f, 0.1006f},
                               {1.0f, 1.0f, 1.0f},
                               {1.5f, 1.0f, 1.0f},
                               {-3.0f, 0.0f, -1.0f},
                               {std::numeric_limits<float>::infinity(), 1.0f, 1.0f}};
    for (const ClampCase &c : cases) {
        float v = -9, p = -9;
        ASSERT_EQ(Tone_Channel_SetVolume(ch, c.in), TONE_OK) << c.in;
        ASSERT_EQ(Tone_Channel_SetPan(ch, c.in), TONE_OK) << c.in;
        ASSERT_EQ(Tone_Channel_GetVolume(ch, &v), TONE_OK);
        ASSERT_EQ(Tone_Channel_GetPan(ch, &p), TONE_OK);
        EXPECT_EQ(v, c.volume) << c.in;
        EXPECT_EQ(p, c.pan) << c.in;
    }
    EXPECT_EQ(Tone_Channel_SetVolume(ch, std::nanf("")), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_Channel_SetPan(ch, std::nanf("")), TONE_ERR_INVALID_PARAM);
}

TEST_F(OfflineEngine, OnlyTheSineWaveformAndKnownParameters)
{
    EXPECT_EQ(Tone_DSP_SetParameter(osc, 0, 0.0f), TONE_OK);
    for (float w : {1.0f, 2.0f, 3.0f, -1.0f, 0.5f})
        EXPECT_EQ(Tone_DSP_SetParameter(osc, 0, w), TONE_ERR_UNSUPPORTED) << w;
    EXPECT_EQ(Tone_DSP_SetParameter(osc, 0, std::nanf("")), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_DSP_SetParameter(osc, 1, -1.0f), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_DSP_SetParameter(osc, 1, std::nanf("")), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_DSP_SetParameter(osc, 2, 1.0f), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_DSP_SetParameter(osc, -1, 1.0f), TONE_ERR_INVALID_PARAM);
}

TEST_F(OfflineEngine, ThirtyTwoChannelsThenNoneFree)
{
    std::set<ToneHandle> handles;
    for (int i = 0; i < TONE_MAX_CHANNELS; ++i) {
        ToneHandle ch = 0;
        ASSERT_EQ(Tone_System_PlayDSP(system, -1, osc, 1, &ch), TONE_OK) << i;
        EXPECT_TRUE(handles.insert(ch).second);
    }
    ToneHandle extra = 0;
    EXPECT_EQ(Tone_System_PlayDSP(system, -1, osc, 1, &extra), TONE_ERR_NO_FREE_CHANNEL);
    // -2 with no valid handle also needs a free channel.
    extra = 0;
    EXPECT_EQ(Tone_System_PlayDSP(system, -2, osc, 1, &extra), TONE_ERR_NO_FREE_CHANNEL);
    EXPECT_EQ(Tone_System_PlayDSP(system, TONE_MAX_CHANNELS, osc, 1, &extra), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_System_PlayDSP(system, -3, osc, 1, &extra), TONE_ERR_INVALID_PARAM);
    // A stopped channel is free again; the one played over it gets a new
    // handle and the stopped one's handle dies.
    const ToneHandle first = *handles.begin();
    ASSERT_EQ(Tone_Channel_Stop(first), TONE_OK);
    ToneHandle again = 0;
    ASSERT_EQ(Tone_System_PlayDSP(system, -1, osc, 1, &again), TONE_OK);
    EXPECT_NE(again, first);
    EXPECT_EQ(Tone_Channel_Stop(first), TONE_ERR_INVALID_HANDLE);
    EXPECT_EQ(Tone_Channel_Stop(again), TONE_OK);
}

TEST_F(OfflineEngine, ReuseRestartsAPlayingChannelWithFreshSettings)
{
    ToneHandle ch = play(0);
    ASSERT_EQ(Tone_Channel_SetVolume(ch, 0.3f), TONE_OK);
    ASSERT_EQ(Tone_Channel_SetPan(ch, 0.7f), TONE_OK);
    ASSERT_EQ(Tone_Channel_SetFrequency(ch, 100000.0f), TONE_OK);
    const ToneHandle old = ch;
    ASSERT_EQ(Tone_System_PlayDSP(system, -2, osc, 1, &ch), TONE_OK);
    EXPECT_EQ(ch, old);
    float v = 0, p = 1, f = 0;
    Tone_Channel_GetVolume(ch, &v);
    Tone_Channel_GetPan(ch, &p);
    Tone_Channel_GetFrequency(ch, &f);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(p, 0.0f);
    EXPECT_EQ(f, 44000.0f);
}

TEST_F(OfflineEngine, ReleasingTheOscillatorStopsItsChannel)
{
    const ToneHandle ch = play(0);
    ASSERT_EQ(Tone_DSP_Release(osc), TONE_OK);
    int playing = 1;
    EXPECT_EQ(Tone_Channel_IsPlaying(ch, &playing), TONE_OK);
    EXPECT_EQ(playing, 0);
    ToneHandle again = ch;
    EXPECT_EQ(Tone_System_PlayDSP(system, -2, osc, 0, &again), TONE_ERR_INVALID_HANDLE);
    osc = 0;
}

TEST_F(OfflineEngine, RenderRefusesBadArguments)
{
    float buf[16];
    EXPECT_EQ(Tone_System_Render(system, nullptr, 4), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_System_Render(system, buf, -1), TONE_ERR_INVALID_PARAM);
    EXPECT_EQ(Tone_System_Render(system, buf, 0), TONE_OK);
    std::uint64_t underruns = 9;
    EXPECT_EQ(Tone_System_GetUnderruns(system, &underruns), TONE_OK);
    EXPECT_EQ(underruns, 0u);
    double latency = 1;
    EXPECT_EQ(Tone_System_GetOutputLatency(system, &latency), TONE_OK);
    EXPECT_EQ(latency, 0.0);
}

// Without a sound server Init still succeeds at once; the output says why
// it cannot play (within its two seconds), and the calls go on working.
TEST(ToneSystem, NoSoundServerIsAStateOfTheOutputNotAnError)
{
    const char *saved = std::getenv("PULSE_SERVER");
    const std::string keep = saved ? saved : "";
    setenv("PULSE_SERVER", "unix:/nonexistent/helicordia-no-server", 1);
    ToneHandle system = 0, dsp = 0, channel = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr), TONE_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100)) << "Init must not wait";
    ASSERT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &dsp), TONE_OK);
    ASSERT_EQ(Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, dsp, 0, &channel), TONE_OK);
    ToneOutputStatus status;
    while (Tone_System_GetOutputStatus(system, &status) == TONE_OK && status.state == TONE_OUTPUT_OPENING &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // RtAudio may find a device of its own (ALSA, JACK) where there is one.
    if (status.state != TONE_OUTPUT_READY) {
        EXPECT_EQ(status.state, TONE_OUTPUT_UNAVAILABLE);
        EXPECT_EQ(status.reason, TONE_ERR_NO_SOUND_SERVER) << Tone_ErrorString(status.reason) << status.detail;
    }
    EXPECT_EQ(Tone_System_Update(system), TONE_OK);
    EXPECT_EQ(Tone_Channel_Stop(channel), TONE_OK);
    const auto closing = std::chrono::steady_clock::now();
    EXPECT_EQ(Tone_System_Close(system), TONE_OK);
    EXPECT_EQ(Tone_System_Release(system), TONE_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::milliseconds(600));
    if (saved)
        setenv("PULSE_SERVER", keep.c_str(), 1);
    else
        unsetenv("PULSE_SERVER");
}

TEST(ToneEngineInterface, RealEngineForwardsToTheLibrary)
{
    ToneEngine &e = realToneEngine();
    EXPECT_EQ(&e, &realToneEngine());
    ToneHandle system = 0, osc = 0, ch = 0;
    std::uint32_t version = 0;
    ASSERT_EQ(e.Tone_System_Create(&system), TONE_OK);
    ASSERT_EQ(e.Tone_System_GetVersion(system, &version), TONE_OK);
    EXPECT_EQ(version, TONE_VERSION);
    ASSERT_EQ(e.Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
    ASSERT_EQ(e.Tone_System_CreateDSPByType(system, 2, &osc), TONE_OK);
    ASSERT_EQ(e.Tone_DSP_SetParameter(osc, 1, 440.0f), TONE_OK);
    ASSERT_EQ(e.Tone_System_PlayDSP(system, -2, osc, 1, &ch), TONE_OK);
    EXPECT_EQ(e.Tone_Channel_SetVolume(ch, 0.5f), TONE_OK);
    EXPECT_EQ(e.Tone_Channel_SetFrequency(ch, 1000.0f), TONE_OK);
    EXPECT_EQ(e.Tone_Channel_SetPan(ch, 0.5f), TONE_OK);
    EXPECT_EQ(e.Tone_Channel_SetPaused(ch, 0), TONE_OK);
    float v = 0;
    int playing = 0;
    EXPECT_EQ(e.Tone_Channel_GetVolume(ch, &v), TONE_OK);
    EXPECT_EQ(v, 0.5f);
    EXPECT_EQ(e.Tone_Channel_GetPan(ch, &v), TONE_OK);
    EXPECT_EQ(v, 0.5f);
    EXPECT_EQ(e.Tone_Channel_GetFrequency(ch, &v), TONE_OK);
    EXPECT_EQ(v, 1000.0f);
    EXPECT_EQ(e.Tone_Channel_IsPlaying(ch, &playing), TONE_OK);
    EXPECT_EQ(playing, 1);
    EXPECT_EQ(e.Tone_System_Update(system), TONE_OK);
    EXPECT_EQ(e.Tone_Channel_Stop(ch), TONE_OK);
    EXPECT_EQ(e.Tone_DSP_Release(osc), TONE_OK);
    EXPECT_EQ(e.Tone_System_Close(system), TONE_OK);
    EXPECT_EQ(e.Tone_System_Release(system), TONE_OK);
    EXPECT_STREQ(e.Tone_ErrorString(0), "No errors.");
    EXPECT_STREQ(e.Tone_ErrorString(77), "Unknown error.");
}

} // namespace
