// The logic tick's bookkeeping: hit-timer expiry, the building commit, and the
// ticks a pause drops.
#include <vector>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "gameplay/building_map.h"
#include "gameplay/controls.h"
#include "gameplay/player.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "tests/test_support.h"

namespace {

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        input_record = {};
        player_position = {1000.0f, 20.0f, 1000.0f};
        player_proposed_xz = {1000.0f, 1000.0f};
    }
    void TearDown() override
    {
        release_all_keys();
        input_record = {};
    }

    FakeGameData data;
};

TEST_F(MainLoopTest, HitFlagClearsOnlyOnceTheClockPassesTimePlusSpan)
{
    game.player_hit_flag = 1;
    game.player_hit_time = 100.0f;
    game.game_clock = 120.0f;
    expire_hit_timers();
    EXPECT_EQ(game.player_hit_flag, 1) << "the test is strictly greater";
    game.game_clock = 120.01f;
    expire_hit_timers();
    EXPECT_EQ(game.player_hit_flag, 0);
    EXPECT_FLOAT_EQ(game.player_hit_time, 100.0f) << "the time of hit is kept";
}

TEST_F(MainLoopTest, EachTargetUsesItsOwnSpan)
{
    game.walker_hit_flag = 1;
    game.flyer_hit_flag = 1;
    game.player_hit_flag = 1;
    game.walker_hit_time = game.flyer_hit_time = game.player_hit_time = 50.0f;
    game.game_clock = 51.5f;
    expire_hit_timers();
    EXPECT_EQ(game.walker_hit_flag, 0) << "Walker: 1 unit";
    EXPECT_EQ(game.flyer_hit_flag, 1) << "Flyer: 20 units";
    EXPECT_EQ(game.player_hit_flag, 1) << "player: 20 units";
    game.game_clock = 70.5f;
    expire_hit_timers();
    EXPECT_EQ(game.flyer_hit_flag, 0);
    EXPECT_EQ(game.player_hit_flag, 0);
}

TEST_F(MainLoopTest, FreeMoveCommitsBothAxesAndRestartsTheProposal)
{
    player_proposed_xz = {1003.0f, 998.0f};
    commit_player_move();
    EXPECT_EQ(building_move_result, MOVE_FREE);
    EXPECT_FLOAT_EQ(player_position.x, 1003.0f);
    EXPECT_FLOAT_EQ(player_position.z, 998.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.x, 1003.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 998.0f);
    EXPECT_EQ(game.walk_anim_active, 0) << "no walk key is down";
}

TEST_F(MainLoopTest, WallAlongZCommitsOnlyX)
{
    data.set_building(900.0f, 1010.0f, 1100.0f, 1100.0f, 50);
    player_proposed_xz = {1004.0f, 1012.0f};
    commit_player_move();
    EXPECT_EQ(building_move_result, MOVE_X_ONLY);
    EXPECT_FLOAT_EQ(player_position.x, 1004.0f);
    EXPECT_FLOAT_EQ(player_position.z, 1000.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 1000.0f) << "the refused z is thrown back";
}

TEST_F(MainLoopTest, WalkKeysStartTheWalkCycleOnlyWhenSomethingMoves)
{
    key[KEY_UP] = 1;
    tick_actions = read_tick_actions(TickSource::devices);
    player_proposed_xz = {1001.0f, 1000.0f};
    commit_player_move();
    EXPECT_EQ(game.walk_anim_active, 1);

    game.walk_anim_active = 0;
    // Both single-axis samples are free, the diagonal one is inside the wall.
    data.set_building(1002.0f, 1002.0f, 1010.0f, 1010.0f, 100);
    player_position = {1001.0f, 20.0f, 1000.0f};
    player_proposed_xz = {1003.0f, 1003.0f};
    commit_player_move();
    EXPECT_EQ(building_move_result, MOVE_BLOCKED);
    EXPECT_EQ(game.walk_anim_active, 0) << "walking into a wall does not start the cycle";
    EXPECT_FLOAT_EQ(player_position.x, 1001.0f);
    EXPECT_FLOAT_EQ(player_position.z, 1000.0f);
}

TEST_F(MainLoopTest, RecordedWalkBytesStartTheWalkCycleToo)
{
    game.demo_mode = 1;
    tick_actions[1] = INPUT_PRESSED;
    player_proposed_xz = {1000.0f, 999.0f};
    commit_player_move();
    EXPECT_EQ(game.walk_anim_active, 1);
}

// Half a second of ticks falls due in each paused round, the last just
// before P resumes: none of them is run, on resuming or after. The ticks
// that come due once it has resumed are.
TEST_F(MainLoopTest, TicksThatFallDueWhilePausedAreDroppedNotRunOnResume)
{
    struct PausedRounds : LoopHooks {
        // The ticks are held back here: only when the loop would run one matters.
        bool before_tick() override
        {
            ticking_rounds.push_back(rounds + 1);
            return false;
        }
        bool frame_wanted() override { return false; }
        bool after_round() override
        {
            ++rounds;
            key[KEY_P] = rounds == 2 ? 1 : 0; // P pressed for round 1, again for round 3
            game.pending_ticks = rounds <= 2 ? game.pending_ticks + 30 : 2;
            return rounds == 4;
        }
        int rounds = 0;
        std::vector<int> ticking_rounds;
    } paused;
    key[KEY_P] = 1;
    game.pending_ticks = 2;
    run_loop({.player_keys = {.pause = true}}, paused);
    EXPECT_EQ(paused.ticking_rounds, std::vector<int>{4});
}

} // namespace
