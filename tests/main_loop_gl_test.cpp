// The main loop with a real display: ticks first, then one frame, then the
// end conditions.
#include <allegro.h>
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "app/title_menu.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "input/demo.h"
#include "tests/gl_support.h"
#include "world/frame.h"

namespace {

class MainLoopDisplayTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The frame counter belongs to the clock callback too; hold it still.
        remove_int(clock_callback);
        frame_counter = 0;
    }
    void TearDown() override
    {
        // Once polled, the driver keeps its own copy of the keys and writes it
        // back at every poll: only a new driver lets Escape go.
        remove_keyboard();
        install_keyboard();
        game.demo_index = 1;
        game.pending_ticks = 0;
        install_int(clock_callback, 1);
    }
};

TEST_F(MainLoopDisplayTest, RunsEveryPendingTickThenDrawsOneFrameBeforeTestingEscape)
{
    game.pending_ticks = 5;
    key[KEY_ESC] = 1;
    run_main_loop();
    EXPECT_EQ(game.pending_ticks.load(), 0);
    EXPECT_EQ(frame_counter.load(), 1);
}

TEST_F(MainLoopDisplayTest, EndsAfterTheLastDemoRecord)
{
    game.demo_index = DEMO_LAST_RECORD + 1;
    run_main_loop();
    EXPECT_EQ(frame_counter.load(), 1);
}

// The title menu on the real 60 Hz timer, as the game runs it: a frame only
// once a tick has run, counted by the game's own frame counter.
TEST_F(MainLoopDisplayTest, TheMenuDrawsAtMostOneFrameATick)
{
    class CountedTicks : public LoopHooks {
    public:
        void after_tick() override { ++ticks; }
        bool after_round() override { return ticks >= 90; }
        int ticks = 0;
    } counted;
    const TitleMenu menu_before = title_menu;
    title_menu = TitleMenu{};
    install_int_ex(tick_callback, BPS_TO_TIMER(60));
    run_loop({.scene = LoopScene::title_menu, .player_keys = {.screenshot = true}}, counted);
    remove_int(tick_callback);
    title_menu = menu_before;
    EXPECT_LE(frame_counter.load(), counted.ticks + 1);
    EXPECT_GE(frame_counter.load(), counted.ticks / 2) << "the menu is drawn";
}

TEST_F(MainLoopDisplayTest, TheSkyShowsTheClearColour)
{
    compose_frame();
    EXPECT_TRUE(close_to(composed_pixel(400, 5), clear_colour_pixel())) << composed_pixel(400, 5);
    // Inside the HUD's frame line along the screen edges.
    EXPECT_TRUE(close_to(composed_pixel(6, 6), clear_colour_pixel())) << composed_pixel(6, 6);
}

} // namespace
