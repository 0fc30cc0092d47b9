// Lifecycle stress for the sanitizer build: the engine made and released
// many times, and a channel started and stopped many times, offline and (when
// a sound server answers) through the real output. Nothing may crash, leak,
// or leave a handle alive.
#include "engine/tone.h"
#include "tests/audio_support/audio_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Lifecycle : public ::testing::TestWithParam<std::uint32_t> {
protected:
    void SetUp() override
    {
        if (GetParam() == TONE_INIT_NORMAL && !audiotest::soundServerReachable()) {
            if (audiotest::audioRequired())
                FAIL() << "HELICORDIA_AUDIO_REQUIRED=1 but no sound server answers";
            GTEST_SKIP() << "no sound server";
        }
    }
    bool offline() const { return GetParam() == TONE_INIT_NO_OUTPUT; }
};

TEST_P(Lifecycle, EngineCreatedAndReleasedAHundredTimes)
{
    std::vector<float> buf(2 * 256);
    for (int i = 0; i < 100; ++i) {
        ToneHandle system = 0, osc = 0, channel = 0;
        ASSERT_EQ(Tone_System_Create(&system), TONE_OK) << i;
        ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, GetParam(), nullptr), TONE_OK) << i;
        ASSERT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &osc), TONE_OK);
        ASSERT_EQ(Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, osc, 0, &channel), TONE_OK);
        ASSERT_EQ(Tone_Channel_SetFrequency(channel, 44000.0f + float(i)), TONE_OK);
        if (offline()) {
            ASSERT_EQ(Tone_System_Render(system, buf.data(), 256), TONE_OK);
        }
        // Every way out: all released in order, or the system alone.
        if (i % 2 == 0) {
            EXPECT_EQ(Tone_Channel_Stop(channel), TONE_OK);
            EXPECT_EQ(Tone_DSP_Release(osc), TONE_OK);
            EXPECT_EQ(Tone_System_Close(system), TONE_OK);
        }
        EXPECT_EQ(Tone_System_Release(system), TONE_OK);
        EXPECT_EQ(Tone_Channel_Stop(channel), TONE_ERR_INVALID_HANDLE);
        EXPECT_EQ(Tone_DSP_SetParameter(osc, TONE_OSCILLATOR_PARAM_RATE, 1.0f), TONE_ERR_INVALID_HANDLE);
        EXPECT_EQ(Tone_System_Update(system), TONE_ERR_INVALID_HANDLE);
    }
}

TEST_P(Lifecycle, ChannelStartedAndStoppedAThousandTimes)
{
    ToneHandle system = 0, osc = 0, channel = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, GetParam(), nullptr), TONE_OK);
    ASSERT_EQ(Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &osc), TONE_OK);
    std::vector<float> buf(2 * 64);
    for (int i = 0; i < 1000; ++i) {
        // Alternately reuse the handle and take a fresh channel.
        const int index = i % 2 ? TONE_CHANNEL_REUSE : -1;
        ASSERT_EQ(Tone_System_PlayDSP(system, index, osc, 1, &channel), TONE_OK) << i;
        ASSERT_EQ(Tone_Channel_SetFrequency(channel, float(100 + i) * 100.0f), TONE_OK);
        ASSERT_EQ(Tone_Channel_SetPaused(channel, 0), TONE_OK);
        if (offline()) {
            ASSERT_EQ(Tone_System_Render(system, buf.data(), 64), TONE_OK);
        } else if (i % 100 == 0) {
            ASSERT_EQ(Tone_System_Update(system), TONE_OK);
        }
        ASSERT_EQ(Tone_Channel_Stop(channel), TONE_OK);
    }
    int playing = 1;
    EXPECT_EQ(Tone_Channel_IsPlaying(channel, &playing), TONE_OK);
    EXPECT_EQ(playing, 0);
    EXPECT_EQ(Tone_DSP_Release(osc), TONE_OK);
    EXPECT_EQ(Tone_System_Close(system), TONE_OK);
    EXPECT_EQ(Tone_System_Release(system), TONE_OK);
}

INSTANTIATE_TEST_SUITE_P(Outputs, Lifecycle, ::testing::Values(TONE_INIT_NO_OUTPUT, TONE_INIT_NORMAL),
                         [](const ::testing::TestParamInfo<std::uint32_t> &i) {
                             return i.param == TONE_INIT_NO_OUTPUT ? "offline" : "sound_server";
                         });

} // namespace
