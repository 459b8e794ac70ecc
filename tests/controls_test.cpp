// The keyboard controls, one tick at a time, with key[] set by hand.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "gameplay/controls.h"
#include "gameplay/player.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "tests/test_support.h"

namespace {

class ControlsTest : public testing::Test {
protected:
    void SetUp() override
    {
        start_fresh_game();
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
            apply_controls_to_keys();
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
    apply_controls_to_keys();
    EXPECT_EQ(game.jump_active, 1);
    game.jump_active = 0; // as if it had landed while the key is still held
    apply_controls_to_keys();
    apply_controls_to_keys();
    EXPECT_EQ(game.jump_active, 0);
    key[KEY_LSHIFT] = 0;
    apply_controls_to_keys();
    EXPECT_EQ(game.jump_key_latch, 0);
    key[KEY_LSHIFT] = 1;
    apply_controls_to_keys();
    EXPECT_EQ(game.jump_active, 1);
}

TEST_F(ControlsTest, CloseViewKeyResetsPitchAndLockOnPressAndRelease)
{
    game.look_pitch = 30.0f;
    key[KEY_X] = 1;
    apply_controls_to_keys();
    EXPECT_EQ(game.view_mode, 1);
    EXPECT_EQ(game.look_pitch, 0.0f) << "coming from the chase view";
    game.look_pitch = 5.0f;
    apply_controls_to_keys();
    EXPECT_EQ(game.look_pitch, 5.0f) << "held in the close view: kept";

    game.target_lock = 2;
    game.lock_timing = 1;
    game.lock_timer_ms = 700;
    key[KEY_X] = 0;
    apply_controls_to_keys();
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
    apply_controls_to_keys();
    EXPECT_EQ(game.player_health, 40);
    hold(KEY_5, 1, true);
    EXPECT_EQ(game.player_health, 99);
}

TEST_F(ControlsTest, WalkerKeysPushItAlongAllThreeAxesOfItsDirection)
{
    const auto expect_walker_at = [](float x, float y, float z) {
        EXPECT_FLOAT_EQ(game.walker_pos.x, x);
        EXPECT_FLOAT_EQ(game.walker_pos.y, y);
        EXPECT_FLOAT_EQ(game.walker_pos.z, z);
    };
    game.walker_dir = {5.0f, -10.0f, 2.5f};
    hold(KEY_I, 2, true); // a fifth of its direction while wandering, Shift or not
    expect_walker_at(1747.0f, 12.0f, 1182.0f);
    hold(KEY_K, 1);
    expect_walker_at(1746.0f, 14.0f, 1181.5f);
    game.walker_mode = 0; // twice its direction while chasing
    hold(KEY_I, 1);
    expect_walker_at(1756.0f, -6.0f, 1186.5f);
    hold(KEY_K, 2, true);
    expect_walker_at(1736.0f, 34.0f, 1176.5f);
}

TEST_F(ControlsTest, WalkerTiltAndTurnKeysAndTheirWraps)
{
    hold(KEY_1, 3, true);
    hold(KEY_1, 1);
    hold(KEY_2, 2);
    hold(KEY_3, 1, true);
    EXPECT_FLOAT_EQ(game.walker_pitch, 1.0f);
    EXPECT_FLOAT_EQ(game.walker_model_yaw, -1.0f);
    EXPECT_FLOAT_EQ(game.walker_roll, 0.5f);

    // Each key wraps its own result; beyond the wrap the heading becomes 0 in the same tick.
    const auto turn = [](float from, int k) {
        game.walker_heading = from;
        if (k != 0)
            hold(k, 1);
        else
            apply_controls_to_keys();
        return game.walker_heading;
    };
    EXPECT_EQ(turn(359.0f, KEY_J), 360.0f);
    EXPECT_EQ(turn(360.0f, KEY_J), 0.0f);
    EXPECT_EQ(turn(-359.0f, KEY_L), -360.0f);
    EXPECT_EQ(turn(-360.0f, KEY_L), 0.0f);
    // Before the keys, any heading beyond either wrap becomes 0.
    EXPECT_EQ(turn(400.0f, 0), 0.0f);
    EXPECT_EQ(turn(-400.0f, 0), 0.0f);
    EXPECT_EQ(turn(360.5f, KEY_L), -1.0f);
    EXPECT_EQ(turn(-360.5f, KEY_J), 1.0f);
    EXPECT_EQ(turn(360.0f, 0), 360.0f);
    EXPECT_EQ(turn(-360.0f, 0), -360.0f);
}

TEST_F(ControlsTest, EachDemoRecordByteDrivesItsOwnActionAndLeavesTheKeyboardAlone)
{
    game.demo_mode = 1;
    for (int byte = 0; byte < INPUT_RECORD_SIZE; ++byte) {
        for (int k = 0; k < KEY_MAX; ++k)
            key[k] = 1; // every live key down
        std::vector<std::uint8_t> records(2 * INPUT_RECORD_SIZE, 0);
        records[std::size_t(INPUT_RECORD_SIZE + byte)] = 0x01; // any non-zero byte is a press
        use_demo_bytes(records);
        game.demo_index = 1;
        tick_actions = read_tick_actions(TickSource::recording);
        for (int a = 0; a < ACTION_COUNT; ++a)
            ASSERT_EQ(action_held(Action(a)), a == byte) << "byte " << byte << ", action " << a;
        for (int k = 0; k < KEY_MAX; ++k)
            ASSERT_EQ(key[k], 1) << "the demo does not write the keyboard";
        close_demo_file();
    }
}

TEST_F(ControlsTest, PlayTakesEachActionFromItsKey)
{
    for (const ActionEntry& entry : ACTIONS) {
        release_all_keys();
        key[entry.default_key] = 1;
        const ActionBytes read = read_tick_actions(TickSource::devices);
        for (int a = 0; a < ACTION_COUNT; ++a)
            ASSERT_EQ(read[std::size_t(a)], Action(a) == entry.action ? INPUT_PRESSED : 0) << entry.name;
    }
}

TEST_F(ControlsTest, DemoModePlaysOnlyTheRecordedKeys)
{
    game.demo_mode = 1;
    // Live keys that are not recorded do nothing.
    for (int k : {KEY_W, KEY_H, KEY_1, KEY_5, KEY_R, KEY_A, KEY_I, KEY_J, KEY_UP})
        key[k] = 1;
    tick_actions = {};
    apply_controls();
    EXPECT_EQ(game.viewport_width, 800);
    EXPECT_EQ(game.viewport_height, 600);
    EXPECT_EQ(game.health_setting, 100.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 1000.0f) << "the live Up key is replaced by the record";

    // A recorded F press with the live Shift widens the view.
    tick_actions[9] = INPUT_PRESSED;
    key_shifts = KB_SHIFT_FLAG;
    apply_controls();
    EXPECT_EQ(game.fov_degrees, 49);
    key_shifts = 0;
    apply_controls();
    EXPECT_EQ(game.fov_degrees, 48);

    // Recorded Up moves; Escape stays live.
    tick_actions = {};
    tick_actions[0] = INPUT_PRESSED;
    key[KEY_ESC] = 1;
    apply_controls();
    EXPECT_FLOAT_EQ(player_proposed_xz.z, 999.0f);
    EXPECT_EQ(key[KEY_ESC], 1);
}

} // namespace
