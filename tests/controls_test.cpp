// The keyboard controls, one tick at a time, with key[] set by hand.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/demo.h"
#include "app/game_state.h"
#include "gameplay/player.h"
#include "tests/test_support.h"

namespace {

class ControlsTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        input_record = {};
        use_fake_screen(800, 600);
        player_proposed_xz = {1000.0f, 1000.0f};
        player_step = {0.0f, -1.0f};
    }
    void TearDown() override
    {
        release_all_keys();
        input_record = {};
        use_no_screen();
    }

    static void hold(int k, int ticks, bool shift = false)
    {
        key[k] = 1;
        key_shifts = shift ? KB_SHIFT_FLAG : 0;
        for (int t = 0; t < ticks; ++t)
            apply_controls();
        key[k] = 0;
        key_shifts = 0;
    }
};

TEST_F(ControlsTest, HeadingWrapsPast360AndBelow0)
{
    hold(KEY_LEFT, 180);
    EXPECT_EQ(game.player_heading, 360.0f) << "360 itself is kept";
    hold(KEY_LEFT, 1);
    EXPECT_EQ(game.player_heading, 0.0f) << "361 becomes 0 in the same tick";
    hold(KEY_RIGHT, 1);
    EXPECT_EQ(game.player_heading, 360.0f) << "-1 becomes 360";
}

TEST_F(ControlsTest, TurnKeysSideStepOneUnitUnderALock)
{
    game.target_lock = 1;
    game.player_heading = 0.0f; // facing +z: left is +x
    hold(KEY_LEFT, 1);
    EXPECT_EQ(game.player_heading, 0.0f);
    EXPECT_NEAR(player_proposed_xz.x, 1001.0f, 1e-4f);
    EXPECT_NEAR(player_proposed_xz.z, 1000.0f, 1e-4f);
    hold(KEY_RIGHT, 3);
    EXPECT_NEAR(player_proposed_xz.x, 998.0f, 1e-4f);
    EXPECT_EQ(game.player_heading, 0.0f);
}

TEST_F(ControlsTest, ForwardAndBackAddTheStepToTheProposal)
{
    hold(KEY_UP, 3);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 997.0f);
    hold(KEY_DOWN, 1);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 998.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.x, 1000.0f);
}

TEST_F(ControlsTest, HoldingLeftShiftStartsOneJumpPerPress)
{
    key[KEY_LSHIFT] = 1;
    apply_controls();
    EXPECT_EQ(game.jump_active, 1);
    game.jump_active = 0; // as if it had landed while the key is still held
    apply_controls();
    apply_controls();
    EXPECT_EQ(game.jump_active, 0);
    key[KEY_LSHIFT] = 0;
    apply_controls();
    EXPECT_EQ(game.jump_key_latch, 0);
    key[KEY_LSHIFT] = 1;
    apply_controls();
    EXPECT_EQ(game.jump_active, 1);
}

TEST_F(ControlsTest, CloseViewKeyResetsPitchAndLockOnPressAndRelease)
{
    game.look_pitch = 30.0f;
    key[KEY_X] = 1;
    apply_controls();
    EXPECT_EQ(game.view_mode, 1);
    EXPECT_EQ(game.look_pitch, 0.0f) << "coming from the chase view";
    game.look_pitch = 5.0f;
    apply_controls();
    EXPECT_EQ(game.look_pitch, 5.0f) << "held in the close view: kept";

    game.target_lock = 2;
    game.lock_timing = 1;
    game.lock_timer_ms = 700;
    key[KEY_X] = 0;
    apply_controls();
    EXPECT_EQ(game.view_mode, 0);
    EXPECT_EQ(game.look_pitch, 0.0f);
    EXPECT_EQ(game.target_lock, 0);
    EXPECT_EQ(game.lock_timing.load(), 0);
    EXPECT_EQ(game.lock_timer_ms.load(), 0);
}

TEST_F(ControlsTest, PitchIsCoarseInTheChaseViewAndFineWhenAimingFreely)
{
    hold(KEY_PGUP, 4);
    EXPECT_FLOAT_EQ(game.look_pitch, 1.0f);
    game.look_pitch = 399.9f;
    hold(KEY_PGUP, 3);
    EXPECT_NEAR(game.look_pitch, 400.15f, 1e-3f) << "the bound is tested before the step";

    key[KEY_X] = 1; // the close view lasts while X is held
    hold(KEY_PGDN, 200);
    EXPECT_NEAR(game.look_pitch, -2.0f, 0.026f);
    game.target_lock = 1;
    game.look_pitch = 0.0f;
    hold(KEY_PGDN, 1);
    EXPECT_FLOAT_EQ(game.look_pitch, -0.25f) << "coarse again under a lock";
}

TEST_F(ControlsTest, ViewKeysKeepTheirRanges)
{
    hold(KEY_W, 200);
    EXPECT_EQ(game.viewport_width, 16);
    hold(KEY_W, 200, true);
    EXPECT_EQ(game.viewport_width, 800);
    hold(KEY_H, 10);
    EXPECT_EQ(game.viewport_height, 520);
    hold(KEY_F, 200);
    EXPECT_EQ(game.fov_degrees, 16);
    hold(KEY_F, 200, true);
    EXPECT_EQ(game.fov_degrees, 96);
    hold(KEY_A, 100);
    EXPECT_FLOAT_EQ(game.aspect_scale, 0.1f);
    hold(KEY_A, 100, true);
    EXPECT_FLOAT_EQ(game.aspect_scale, 2.0f);
    hold(KEY_R, 500, true);
    EXPECT_NEAR(game.minimap_zoom, 10.0f, 0.06f);
}

TEST_F(ControlsTest, HealthFollowsTheSettingOnlyWhileFiveIsHeld)
{
    hold(KEY_5, 3);
    EXPECT_FLOAT_EQ(game.health_setting, 98.5f);
    EXPECT_EQ(game.player_health, 98);
    game.player_health = 40; // a hit
    apply_controls();
    EXPECT_EQ(game.player_health, 40);
    hold(KEY_5, 1, true);
    EXPECT_EQ(game.player_health, 99);
}

TEST_F(ControlsTest, WalkerKeysMoveTiltAndTurnIt)
{
    game.walker_dir = {1.0f, 0.0f, -1.0f};
    hold(KEY_I, 5);
    EXPECT_FLOAT_EQ(game.walker_pos.x, 1746.0f) << "a fifth of its direction while wandering";
    game.walker_mode = 0;
    hold(KEY_K, 1);
    EXPECT_FLOAT_EQ(game.walker_pos.x, 1744.0f) << "twice its direction while chasing";
    EXPECT_FLOAT_EQ(game.walker_pos.z, 1182.0f);
    hold(KEY_1, 2, true);
    EXPECT_FLOAT_EQ(game.walker_pitch, 1.0f);
    game.walker_heading = 360.0f;
    hold(KEY_J, 1);
    EXPECT_EQ(game.walker_heading, 0.0f);
    game.walker_heading = -360.0f;
    hold(KEY_L, 1);
    EXPECT_EQ(game.walker_heading, 0.0f);
}

TEST_F(ControlsTest, DemoModePlaysOnlyTheRecordedKeys)
{
    game.demo_mode = 1;
    // Live keys that are not recorded do nothing.
    for (int k : {KEY_W, KEY_H, KEY_1, KEY_5, KEY_R, KEY_A, KEY_I, KEY_J, KEY_UP})
        key[k] = 1;
    apply_controls();
    EXPECT_EQ(game.viewport_width, 800);
    EXPECT_EQ(game.viewport_height, 600);
    EXPECT_EQ(game.health_setting, 100.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 1000.0f) << "the live Up key is replaced by the record";

    // A recorded F press with the live Shift widens the view.
    input_record[9] = INPUT_PRESSED;
    key_shifts = KB_SHIFT_FLAG;
    apply_controls();
    EXPECT_EQ(game.fov_degrees, 49);
    key_shifts = 0;
    apply_controls();
    EXPECT_EQ(game.fov_degrees, 48);

    // Recorded Up moves; Escape stays live.
    input_record = {};
    input_record[0] = INPUT_PRESSED;
    key[KEY_ESC] = 1;
    apply_controls();
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 999.0f);
    EXPECT_EQ(key[KEY_ESC], 1);
}

} // namespace
