// The mixer never allocates: with a counting global operator new in this
// binary, rendering every kind of change allocates nothing.
#include "engine/tone.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
} // namespace

// The replacements pair malloc with free on purpose; GCC cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void *operator new(std::size_t size)
{
    if (counting.load())
        allocations.fetch_add(1);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

TEST(NoAllocation, CountingOperatorNewSeesAllocations)
{
    counting = true;
    auto *v = new std::vector<int>(10);
    counting = false;
    delete v;
    EXPECT_GE(allocations.load(), 1) << "the counting operator new is not in use";
}

TEST(NoAllocation, RenderingAllocatesNothing)
{
    ToneHandle system = 0, osc = 0, a = 0, b = 0;
    ASSERT_EQ(Tone_System_Create(&system), TONE_OK);
    ASSERT_EQ(Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NO_OUTPUT, nullptr), TONE_OK);
    ASSERT_EQ(Tone_System_CreateDSPByType(system, 2, &osc), TONE_OK);
    ASSERT_EQ(Tone_DSP_SetParameter(osc, 1, 440.0f), TONE_OK);
    ASSERT_EQ(Tone_System_PlayDSP(system, -2, osc, 1, &a), TONE_OK);
    ASSERT_EQ(Tone_System_PlayDSP(system, -1, osc, 0, &b), TONE_OK);
    std::vector<float> buf(2 * 4096);

    allocations = 0;
    counting = true;
    // Every kind of change the mixer meets, each followed by a render.
    const auto render = [&](int frames) { EXPECT_EQ(Tone_System_Render(system, buf.data(), frames), TONE_OK); };
    render(480);
    Tone_Channel_SetPaused(a, 0);
    render(1000);
    Tone_Channel_SetFrequency(a, 52800.0f);
    render(480);
    Tone_Channel_SetVolume(a, 0.3f);
    render(4096);
    Tone_Channel_SetPan(a, -0.7f);
    render(333);
    Tone_Channel_SetPaused(a, 1);
    render(1024);
    Tone_Channel_SetPaused(a, 0);
    render(1024);
    Tone_DSP_SetParameter(osc, 1, 880.0f);
    render(480);
    Tone_Channel_Stop(b);
    render(2048);
    Tone_Channel_Stop(a);
    render(2048);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);

    Tone_DSP_Release(osc);
    Tone_System_Close(system);
    Tone_System_Release(system);
}

} // namespace
