// The showcase recording played through the whole game: every tick of the
// logic, and the frames of the close view, where the lock-on is decided. The
// recording was authored against the game as it is, so this sees both a
// damaged script and a change in the game that would spoil what it shows.
// The Carrier travels behind the title menu, so the demo is played after
// several menu times, each through the menu's own step, as a player starts it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "app/title_menu.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "tests/gl_support.h"
#include "tests/test_support.h"
#include "world/frame.h"

namespace {

// Over the Carrier: its hull reaches 43 from its centre.
constexpr float CARRIER_REACH_FROM_CENTRE = 45.0f;

struct Showcase {
    int first_lock_tick = 0, lock_actor = 0;
    float walker_health_at_300 = 0.0f;
    float highest_top_before_700 = 0.0f; // feet above the ground while not jumping
    int first_touch_tick = 0;            // the Carrier first touches the player
    int ride_ticks = 0;                  // touching the Carrier with the feet 10 above the ground
    int aboard_run = 0;                  // the last run of ticks aboard: over the Carrier, 10 above the ground
    float carrier_travel = 0.0f;         // during that run
    int ticks = 0;
};

class ShowcaseDemoTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_demo_file_ = demo_file;
        demo_file = std::fopen((std::string(TEST_BUILD_DIR) + "/vesk").c_str(), "rb");
        ASSERT_NE(demo_file, nullptr) << "the build writes vesk";
    }
    void TearDown() override
    {
        if (demo_file != nullptr)
            std::fclose(demo_file);
        demo_file = saved_demo_file_;
        // The state the other drawing tests start from.
        reset_game_state();
        player_step = {0.0f, 0.0f};
        input_record = {};
        place_player_for_mode();
        install_int(clock_callback, 1);
    }

    static Showcase play(int menu_ticks)
    {
        reset_game_state();
        player_position = {0.0f, 0.0f, 0.0f}; // as start-up leaves them
        camera_eye = {0.0f, 0.0f, 0.0f};
        player_step = {0.0f, 0.0f};
        input_record = {};
        std::srand(1);
        step_title_menu_choosing_demo(menu_ticks);
        game.demo_mode = 1; // chosen in the menu; zero ticks is a Carrier fresh from start-up
        place_player_for_mode();
        ShowcaseHooks hooks;
        drive_the_clock_by_hand();
        run_loop({.clock = LoopClock::driven, .frame_end = FrameEnd::compose, .input = {.source = TickSource::recording}},
                 hooks);
        return hooks.s;
    }

    // Only the close view's frames change the game (the lock-on).
    struct ShowcaseHooks : LoopHooks {
        bool frame_wanted() override { return game.view_mode == 1; }
        bool after_round() override
        {
            const int tick = ++s.ticks;
            if (game.target_lock != 0 && s.first_lock_tick == 0) {
                s.first_lock_tick = tick;
                s.lock_actor = game.target_lock;
            }
            if (tick == 300)
                s.walker_health_at_300 = game.walker_health;
            const float above = player_position.y - terrain_height_at(player_position.x, player_position.z);
            if (tick < 700 && game.jump_active == 0)
                s.highest_top_before_700 = std::max(s.highest_top_before_700, above);
            if (game.carrier_riding == 1 && s.first_touch_tick == 0)
                s.first_touch_tick = tick;
            if (game.carrier_riding == 1 && above > 10.0f)
                ++s.ride_ticks;
            const bool aboard = above > 10.0f && std::hypot(player_position.x - game.carrier_x,
                                                            player_position.z - game.carrier_z) <
                                                     CARRIER_REACH_FROM_CENTRE;
            if (!aboard) {
                s.aboard_run = 0;
                return false;
            }
            if (s.aboard_run++ == 0) {
                run_from_x = game.carrier_x;
                run_from_z = game.carrier_z;
            }
            s.carrier_travel = std::hypot(game.carrier_x - run_from_x, game.carrier_z - run_from_z);
            return false;
        }
        Showcase s;
        float run_from_x = 0.0f, run_from_z = 0.0f;
    };

    FILE* saved_demo_file_ = nullptr;
};

// The menu times of a player who takes 0, about 2.6 and about 5.2 seconds over
// it: the start, the middle and the end of the range the recording serves.
TEST_F(ShowcaseDemoTest, LocksOnAndHitsTheWalkerClimbsARoofAndRidesTheCarrierWhateverTheMenuTime)
{
    int previous_touch = DEMO_LAST_RECORD + 1;
    for (const int menu_ticks : {0, 155, 310}) {
        SCOPED_TRACE("after " + std::to_string(menu_ticks) + " menu ticks");
        const Showcase s = play(menu_ticks);
        // The longer the menu, the further along the Carrier, the sooner it comes.
        EXPECT_LT(s.first_touch_tick, previous_touch);
        previous_touch = s.first_touch_tick;
        EXPECT_EQ(s.ticks, DEMO_LAST_RECORD) << "one record a tick from record 1";

        // The close view finds the charging Walker and locks on before the first shot leaves.
        EXPECT_GT(s.first_lock_tick, 127) << "not before the close view";
        EXPECT_LT(s.first_lock_tick, 187) << "the lock comes before the first release";
        EXPECT_EQ(s.lock_actor, 1) << "the Walker";
        EXPECT_LT(s.walker_health_at_300, 50.0f) << "a shot hits the Walker";

        // The low roof is 12 above the street; the player stands on it, not in the air.
        EXPECT_GT(s.highest_top_before_700, 10.0f);

        // Up on the Carrier at the end, aboard for the last 3 1/3 seconds at
        // least and on its top for 2 1/2 seconds, while it hurries as it does
        // only when touched (0.75 a tick at most otherwise): it carries the
        // player, who may slip from its upper deck to its hull as it turns.
        EXPECT_GE(s.aboard_run, 200) << "aboard to the end";
        EXPECT_GE(s.ride_ticks, 150);
        EXPECT_GT(s.carrier_travel, 1.1f * float(s.aboard_run)) << "the ridden Carrier's faster pace";
    }
}

} // namespace
