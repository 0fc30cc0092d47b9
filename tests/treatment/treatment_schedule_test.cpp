#include "treatment/treatment_schedule.h"

#include <gtest/gtest.h>

using namespace helicordia;

namespace {

using Switches = std::vector<TreatmentSchedule::Switch>;

// The clock as the player runs it: Play sounds frequency 1, then one tick a
// second until a tick ends the treatment.
Switches tickThrough(const TreatmentSchedule &s, int *endSecond)
{
    Switches seen{{0, 1}};
    int current = 1, elapsed = 0;
    for (;;) {
        const TreatmentSchedule::Tick tick = s.tick(++elapsed, current);
        if (tick.ends)
            break;
        if (tick.index != current)
            seen.push_back({elapsed, current = tick.index});
    }
    *endSecond = elapsed;
    return seen;
}

} // namespace

// The list of switches is what the clock does tick by tick, for every count
// and lengths around the slider's range (shares rounded up, down, to even,
// and ones whose last frequencies never start).
TEST(TreatmentSchedule, SwitchesAreWhatTheClockDoes)
{
    for (int n = 1; n <= 100; ++n)
        for (int length : {10 * n, 10 * n + n / 2, 11 * n + n / 2, 180 * n - 1, 180 * n, 360 * n + n / 2 + 1}) {
            const TreatmentSchedule s(n, length);
            int end = 0;
            ASSERT_EQ(tickThrough(s, &end), s.switches()) << n << " over " << length;
            ASSERT_EQ(end, s.endSecond());
            const Switches all = s.switches();
            for (const auto &sw : all)
                ASSERT_EQ(s.indexAt(sw.second), sw.index);
            ASSERT_EQ(s.indexAt(s.endSecond() - 1), all.back().index);
        }
}

TEST(TreatmentSchedule, Figures)
{
    const struct {
        int count, length, share;
        Switches switches;
    } cases[] = {
        {3, 100, 33, {{0, 1}, {33, 2}, {66, 3}}}, // the last plays on until 100
        {2, 185, 92, {{0, 1}, {92, 2}}},          // a half to the even neighbour
        {2, 187, 94, {{0, 1}, {94, 2}}},
        {4, 50, 12, {{0, 1}, {12, 2}, {24, 3}, {36, 4}}},
    };
    for (const auto &c : cases) {
        const TreatmentSchedule s(c.count, c.length);
        EXPECT_EQ(s.share(), c.share);
        EXPECT_EQ(s.switches(), c.switches) << c.count << " over " << c.length;
    }
    // 100 over 1150 s: P = 12, so frequencies 97 to 100 never start.
    const TreatmentSchedule cut(100, 1150);
    EXPECT_EQ(cut.soundingCount(), 96);
    EXPECT_EQ(cut.switches().back(), (TreatmentSchedule::Switch{1140, 96}));
}
