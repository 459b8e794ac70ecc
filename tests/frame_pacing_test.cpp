// The pacing decision: a frame once a tick has run, else a sleep until the
// next tick is due, never a spin and never past a tick.
#include <gtest/gtest.h>

#include "app/frame_pacing.h"

namespace {

constexpr std::int64_t LAST_TICK = 5'000'000;

TEST(FramePacing, DrawsOnceATickHasRunElseSleepsUntilTheNextTickIsDue)
{
    const FrameStep after_tick = pace_frame(false, 1, LAST_TICK + 100, LAST_TICK);
    EXPECT_TRUE(after_tick.draw);
    EXPECT_TRUE(pace_frame(false, 3, LAST_TICK + 100, LAST_TICK).draw) << "ticks caught up, one frame";
    // The frame drawn 4 ms into the tick: the next tick is due 12.667 ms on.
    const FrameStep between = pace_frame(false, 0, LAST_TICK + 4'000, LAST_TICK);
    EXPECT_FALSE(between.draw);
    EXPECT_EQ(between.sleep_us, TICK_US - 4'000);
}

TEST(FramePacing, ALateTickIsWaitedForInNapsAndNoSleepOutlastsATick)
{
    EXPECT_EQ(pace_frame(false, 0, LAST_TICK + TICK_US + 300, LAST_TICK).sleep_us, NAP_US);
    EXPECT_EQ(pace_frame(false, 0, LAST_TICK + 10 * TICK_US, LAST_TICK).sleep_us, NAP_US) << "the timer gone";
    EXPECT_EQ(pace_frame(false, 0, LAST_TICK, 0).sleep_us, NAP_US) << "no tick yet";
    EXPECT_EQ(pace_frame(false, 0, LAST_TICK - 2'000, LAST_TICK).sleep_us, TICK_US) << "a tick noted just now";
}

TEST(FramePacing, UnlimitedDrawsEveryRound)
{
    EXPECT_TRUE(pace_frame(true, 0, LAST_TICK + 4'000, LAST_TICK).draw);
}

} // namespace
