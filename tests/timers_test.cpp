// The timer callbacks: clock, frame-rate latch, pulse wave, lock-on timer.
#include <cstdlib>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/lock_on.h"
#include "tests/test_support.h"

namespace {

class TimersTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        frame_counter = 0;
        fps_value = 0;
        ms_countdown = 0;
        clock_ms_elapsed = 0;
    }

    static void run_ms(int count)
    {
        for (int i = 0; i < count; ++i)
            clock_callback();
    }
};

TEST_F(TimersTest, TickCallbackCountsPendingTicks)
{
    tick_callback();
    tick_callback();
    EXPECT_EQ(game.pending_ticks.load(), 2);
}

TEST_F(TimersTest, FirstCallLatchesFrameRateThenOneLatchEvery1000Calls)
{
    frame_counter = 5;
    clock_callback();
    EXPECT_EQ(fps_value.load(), 5);
    EXPECT_EQ(frame_counter.load(), 0);
    EXPECT_EQ(ms_countdown.load(), 999);

    frame_counter = 42;
    run_ms(999);
    EXPECT_EQ(fps_value.load(), 5) << "latched too early";
    EXPECT_EQ(frame_counter.load(), 42);
    clock_callback();
    EXPECT_EQ(fps_value.load(), 42);
    EXPECT_EQ(frame_counter.load(), 0);

    frame_counter = 7;
    run_ms(1000);
    EXPECT_EQ(fps_value.load(), 7);
}

TEST_F(TimersTest, PulseClimbsTo500AndFallsBackToZeroOnceASecond)
{
    run_ms(500);
    EXPECT_FLOAT_EQ(game.pulse_value.load(), 500.0f);
    clock_callback();
    EXPECT_FLOAT_EQ(game.pulse_value.load(), 499.0f);
    EXPECT_EQ(game.pulse_falling.load(), 1);
    run_ms(499);
    EXPECT_FLOAT_EQ(game.pulse_value.load(), 0.0f);
    clock_callback();
    EXPECT_FLOAT_EQ(game.pulse_value.load(), 1.0f);
    EXPECT_EQ(game.pulse_falling.load(), 0);

    float lowest = 1e9f, highest = -1e9f;
    for (int i = 0; i < 5000; ++i) {
        clock_callback();
        lowest = std::min(lowest, game.pulse_value.load());
        highest = std::max(highest, game.pulse_value.load());
    }
    EXPECT_FLOAT_EQ(lowest, 0.0f);
    EXPECT_FLOAT_EQ(highest, 500.0f);
}

TEST_F(TimersTest, LockTimerCountsOnlyWhileTimingAndResetsOtherwise)
{
    run_ms(10);
    EXPECT_EQ(game.lock_timer_ms.load(), 0);
    game.lock_timing = 1;
    run_ms(250);
    EXPECT_EQ(game.lock_timer_ms.load(), 250);
    game.lock_timing = 0;
    clock_callback();
    EXPECT_EQ(game.lock_timer_ms.load(), 0);
}

TEST_F(TimersTest, ClockGainsTenUnitsASecond)
{
    run_ms(1);
    EXPECT_FLOAT_EQ(game.game_clock.load(), 0.01f);
    run_ms(999);
    EXPECT_FLOAT_EQ(game.game_clock.load(), 10.0f);
    run_ms(60000);
    EXPECT_FLOAT_EQ(game.game_clock.load(), 610.0f);
}

TEST_F(TimersTest, ClockKeepsItsRatePastSevenPointThreeHours)
{
    // 8 hours: beyond 262,144 clock units a float plus 0.01 no longer changes.
    const std::int64_t eight_hours_ms = 8LL * 3600 * 1000;
    clock_ms_elapsed = eight_hours_ms;
    clock_callback();
    const float start = game.game_clock.load();
    EXPECT_NEAR(start, 288000.0f, 0.05f);

    run_ms(1000);
    const float after_one_second = game.game_clock.load();
    EXPECT_NEAR(after_one_second - start, 10.0f, 0.04f);

    // Hit timers compare against the clock: it must keep moving tick by tick.
    float previous = after_one_second;
    int advanced = 0;
    for (int tick = 0; tick < 60; ++tick) {
        run_ms(17);
        if (game.game_clock.load() > previous)
            ++advanced;
        previous = game.game_clock.load();
    }
    EXPECT_EQ(advanced, 60);
}

// The tools' driven clock against the game's own millisecond and 60 Hz timers
// over ten minutes: the same milliseconds at every tick, but for the one
// where a tick and a millisecond fall due together, and the lock-on's dwell
// passed on the same ticks (the candidate is lost on every 100th).
TEST_F(TimersTest, TheDrivenClockKeepsTheTimeOfTheGamesOwnTimersTickForTick)
{
    std::vector<std::pair<std::int64_t, bool>> own, driven;
    for (auto* seen : {&own, &driven}) {
        SetUp();
        driven_ticks = 0;
        for (int tick = 1; tick <= 36000; ++tick) {
            game.lock_timing = tick % 100 == 0 ? 0 : 1;
            if (seen == &driven)
                advance_driven_clock();
            while (seen == &own && game.pending_ticks.load() < tick) {
                clock_callback();
                if (clock_ms_elapsed.load() * 60 / 1000 > game.pending_ticks.load())
                    tick_callback(); // in the millisecond the 60th of a second ends
            }
            seen->push_back({clock_ms_elapsed.load(), game.lock_timer_ms.load() > LOCK_DWELL_MS});
        }
    }
    for (std::size_t t = 0; t < own.size(); ++t) {
        ASSERT_LE(std::abs(driven[t].first - own[t].first), 1) << "tick " << t + 1;
        ASSERT_EQ(driven[t].second, own[t].second) << "tick " << t + 1;
    }
    EXPECT_EQ(driven.back().first, 600000);
    EXPECT_FALSE(driven[44].second) << "750 ms on the 45th tick";
    EXPECT_TRUE(driven[45].second) << "766 or 767 ms on the 46th";
}

} // namespace
