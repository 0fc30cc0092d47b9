// Cost of the tone engine's mixer per stereo frame: one playing channel,
// steady and while ramping, in callback-sized and larger buffers.
#include "engine/tone.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct OneChannel {
    ToneHandle system = 0, osc = 0, channel = 0;
    OneChannel()
    {
        Tone_System_Create(&system);
        Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr);
        Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &osc);
        Tone_DSP_SetParameter(osc, TONE_OSCILLATOR_PARAM_RATE, 440.0f);
        Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, osc, 1, &channel);
        Tone_Channel_SetVolume(channel, 0.1006f);
        Tone_Channel_SetFrequency(channel, 52800.0f);
        Tone_Channel_SetPaused(channel, 0);
        std::vector<float> warm(2 * 4800);
        Tone_System_Render(system, warm.data(), 4800); // past the start ramp
    }
    ~OneChannel()
    {
        Tone_Channel_Stop(channel);
        Tone_DSP_Release(osc);
        Tone_System_Close(system);
        Tone_System_Release(system);
    }
};

void reportFrames(benchmark::State &state, int frames)
{
    // Frames per second; its inverse is the cost of one stereo frame.
    state.SetItemsProcessed(std::int64_t(state.iterations()) * frames);
}

void BM_EngineRender_OneChannel(benchmark::State &state)
{
    const int frames = int(state.range(0));
    OneChannel tone;
    std::vector<float> buf(2 * std::size_t(frames));
    for (auto _ : state) {
        Tone_System_Render(tone.system, buf.data(), frames);
        benchmark::DoNotOptimize(buf.data());
        benchmark::ClobberMemory();
    }
    reportFrames(state, frames);
}
BENCHMARK(BM_EngineRender_OneChannel)->Arg(TONE_BUFFER_FRAMES)->Arg(4096);

// Worst case: a volume ramp in every buffer.
void BM_EngineRender_OneChannelRamping(benchmark::State &state)
{
    const int frames = TONE_BUFFER_FRAMES;
    OneChannel tone;
    std::vector<float> buf(2 * std::size_t(frames));
    bool loud = false;
    for (auto _ : state) {
        Tone_Channel_SetVolume(tone.channel, loud ? 0.5f : 0.25f);
        loud = !loud;
        Tone_System_Render(tone.system, buf.data(), frames);
        benchmark::DoNotOptimize(buf.data());
        benchmark::ClobberMemory();
    }
    reportFrames(state, frames);
}
BENCHMARK(BM_EngineRender_OneChannelRamping);

} // namespace

BENCHMARK_MAIN();
