// Player locomotion through whole logic ticks: turning, standing, stepping
// onto tops, the jump with the eye that trails it, and the lock-on half turn.
#include <cmath>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "tests/test_support.h"

namespace {

class PlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        start_fresh_game();
        set_flat_terrain(20.0f);
        player_position = {1000.0f, 20.0f, 1000.0f};
        player_proposed_xz = {1000.0f, 1000.0f};
        camera_eye = {1000.0f, 20.0f, 1035.0f};
        player_heading_quadrant = player_bearing_quadrant = 0;
        update_player();
    }
    void TearDown() override
    {
        release_all_keys();
        use_no_screen();
    }

    static void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            play_tick();
    }

    FakeGameData data;
};

TEST_F(PlayerTest, NinetyTicksOfLeftTurnFrom180To270)
{
    key[KEY_LEFT] = 1;
    ticks(90);
    EXPECT_EQ(game.player_heading, 270.0f);
    EXPECT_NEAR(player_step.x, -1.0f, 1e-6f);
    EXPECT_NEAR(player_step.z, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(game.player_model_yaw, 270.0f * 256.0f / 360.0f + 130.5f);
    // The chase camera sits 35 units behind.
    EXPECT_NEAR(camera_eye.x, 1035.0f, 1e-3f);
    EXPECT_NEAR(camera_eye.z, 1000.0f, 1e-3f);
}

TEST_F(PlayerTest, CloseViewPullsTheEyeToTwoUnitsBehind)
{
    key[KEY_X] = 1;
    ticks(1);
    EXPECT_NEAR(camera_eye.z, 1002.0f, 1e-3f) << "heading 180 faces -z";
}

TEST_F(PlayerTest, WalkingOffAStepSinksHalfAUnitATickAndWalkingUpLiftsAtOnce)
{
    // Ground at 10 from x = 1050 on: a 10-unit step down.
    for (int i = 42; i < TERRAIN_GRID_SIZE; ++i)
        for (int j = 0; j < TERRAIN_GRID_SIZE; ++j)
            terrain_grid[i][j].height = 10.0f;
    player_position = {1060.0f, 20.0f, 1000.0f};
    player_proposed_xz = {1060.0f, 1000.0f};
    for (int t = 1; t <= 20; ++t) {
        ticks(1);
        ASSERT_FLOAT_EQ(player_position.y, 20.0f - 0.5f * float(t)) << "tick " << t;
    }
    ticks(5);
    EXPECT_FLOAT_EQ(player_position.y, 10.0f);

    for (int i = 42; i < TERRAIN_GRID_SIZE; ++i)
        for (int j = 0; j < TERRAIN_GRID_SIZE; ++j)
            terrain_grid[i][j].height = 30.0f;
    ticks(1);
    EXPECT_FLOAT_EQ(player_position.y, 30.0f);
}

TEST_F(PlayerTest, FullJumpRisesAbout34Point6AndLandsOnItsTick130)
{
    key[KEY_LSHIFT] = 1;
    float highest = 0.0f;
    int landed_on = 0;
    for (int t = 1; t <= 200 && landed_on == 0; ++t) {
        ticks(1);
        highest = std::max(highest, player_position.y);
        if (game.jump_active == 0)
            landed_on = t;
    }
    EXPECT_NEAR(highest - 20.0f, 34.6f, 0.1f);
    EXPECT_EQ(landed_on, 130);
    EXPECT_EQ(game.jump_phase, 15.0f);
    EXPECT_EQ(player_position.y, 20.0f) << "back on the ground after landing";
    ticks(10);
    EXPECT_EQ(game.jump_active, 0) << "holding the key through the landing starts no new jump";
}

TEST_F(PlayerTest, JumpReleasedAfterOneTickLandsOnItsTwelfth)
{
    key[KEY_LSHIFT] = 1;
    ticks(1);
    EXPECT_NEAR(player_position.y - 20.0f, 0.91f, 0.01f);
    key[KEY_LSHIFT] = 0;
    int landed_on = 1;
    while (game.jump_active == 1 && landed_on < 100) {
        ticks(1);
        ++landed_on;
    }
    EXPECT_EQ(landed_on, 12);
}

TEST_F(PlayerTest, StepsOntoLowTopsButIsBlockedByHighOnes)
{
    data.set_building(990.0f, 980.0f, 1010.0f, 996.0f, 22); // 2 above the feet
    key[KEY_UP] = 1; // heading 180 walks towards -z
    ticks(6);
    EXPECT_LT(player_position.z, 996.0f);
    EXPECT_EQ(player_position.y, 22.0f) << "standing on the top";

    data.set_building(990.0f, 960.0f, 1010.0f, 980.0f, 26); // 4 above the top: blocked
    ticks(30);
    EXPECT_GE(player_position.z, 980.0f);
    EXPECT_EQ(player_position.y, 22.0f);
}

TEST_F(PlayerTest, FallingJumpLandsOnABuildingTopButNeverOnOpenGround)
{
    data.set_building(900.0f, 900.0f, 1100.0f, 1100.0f, 25);
    player_position.y = 26.0f;
    game.jump_active = 1;
    game.jump_key_latch = 1;
    game.jump_phase = 150.0f; // falling
    key[KEY_LSHIFT] = 1;
    ticks(1);
    EXPECT_EQ(game.jump_active, 1) << "this tick's step does not reach the top yet";
    ticks(1);
    EXPECT_EQ(game.jump_active, 0);
    EXPECT_EQ(player_position.y, 25.0f) << "standing on the top";

    // Open ground (255) is no top: the jump falls on to the terrain.
    data.set_building(900.0f, 900.0f, 1100.0f, 1100.0f, 255);
    player_position.y = 26.0f;
    game.jump_active = 1;
    game.jump_phase = 150.0f;
    ticks(8);
    EXPECT_EQ(game.jump_active, 0);
    EXPECT_EQ(player_position.y, 20.0f);
}

TEST_F(PlayerTest, LockOnHalfTurnTakes61Ticks)
{
    // Facing +z with the target straight behind: the quadrants are opposite.
    game.player_heading = 10.0f;
    update_player();
    target_point = {1000.0f, 20.0f, 500.0f};
    game.target_lock = 1;
    int turning = 0;
    for (int t = 0; t < 100; ++t) {
        const float before = game.player_heading;
        update_player();
        if (game.player_heading == before + 3.0f)
            ++turning;
        else
            break;
    }
    EXPECT_EQ(turning, 61);
    EXPECT_EQ(game.lock_turn_progress, 0.0f);
}

TEST_F(PlayerTest, TopsUpToFourAboveTheFeetLiftThePlayerAtOnce)
{
    // The player is put over each top; walking could not reach those more than 2 above.
    const auto top_under_player = [this](int height) {
        data.set_building(990.0f, 990.0f, 1010.0f, 1010.0f, height);
        ticks(1);
        return player_position.y;
    };
    EXPECT_EQ(top_under_player(25), 20.0f) << "5 above the feet: stays on the ground";
    EXPECT_EQ(top_under_player(24), 24.0f);
    EXPECT_EQ(camera_eye.y, 20.0f) << "the eye does not climb after the feet";
    EXPECT_EQ(top_under_player(28), 28.0f) << "exactly 4 above";
    EXPECT_EQ(top_under_player(33), 27.5f) << "no top for it: it sinks towards the ground";
    EXPECT_EQ(top_under_player(22), 22.0f) << "a lower top: down at once";
    EXPECT_EQ(top_under_player(22), 22.0f);
}

TEST_F(PlayerTest, JumpFromATopLiftsTheEyeNoMoreThanTwentyAboveTheFeetAndLetsItSinkAfter)
{
    data.set_building(900.0f, 900.0f, 1100.0f, 1100.0f, 30);
    player_position.y = 30.0f;
    camera_eye.y = 55.0f;
    key[KEY_LSHIFT] = 1;
    float y[261], eye[261], speed[261];
    for (int t = 1; t <= 260; ++t) {
        ticks(1);
        y[t] = player_position.y;
        eye[t] = camera_eye.y;
        speed[t] = game.jump_speed;
        ASSERT_NEAR(camera_eye.z, 1035.0f, 1e-3f) << "35 behind, tick " << t;
    }
    EXPECT_EQ(eye[5], 55.0f) << "the eye waits while 20 or more above the feet";
    EXPECT_NEAR(eye[6], 55.0f + 1.1f * speed[6], 1e-4f);
    EXPECT_NEAR(eye[10], 59.7639f, 1e-4f);
    EXPECT_EQ(eye[11], eye[10]) << "59.76 is not below 39.68 + 20";
    EXPECT_NEAR(eye[12], eye[11] + 1.1f * speed[12], 1e-4f);
    EXPECT_NEAR(eye[64], 84.6268f, 1e-4f);
    for (int t = 65; t <= 129; ++t)
        ASSERT_EQ(eye[t], eye[64]) << "falling, the eye stays up, tick " << t;
    EXPECT_EQ(y[130], 30.0f) << "landed on the top";
    EXPECT_EQ(speed[130], 0.0f);
    EXPECT_EQ(eye[130], eye[129] - 0.5f);
    EXPECT_NEAR(eye[238], 30.1268f, 1e-3f);
    EXPECT_NEAR(eye[239], 29.6268f, 1e-3f) << "half a unit a tick down to the height of the feet";
    EXPECT_EQ(eye[260], eye[239]);
    EXPECT_EQ(y[260], 30.0f);
}

TEST(Bearing, QuadrantsAndTheirGaps)
{
    float bearing = 0.0f;
    int heading_q = 7, bearing_q = 7;
    bearing_and_quadrants(10.0f, 0.0f, 0.0f, 0.0f, 45.0f, bearing, heading_q, bearing_q);
    EXPECT_FLOAT_EQ(bearing, 90.0f);
    EXPECT_EQ(bearing_q, 2);
    EXPECT_EQ(heading_q, 1);

    bearing_and_quadrants(-10.0f, 0.0f, 0.0f, 0.0f, 359.0f, bearing, heading_q, bearing_q);
    EXPECT_FLOAT_EQ(bearing, 270.0f);
    EXPECT_EQ(bearing_q, 2) << "exactly 270 keeps the previous quadrant";
    EXPECT_EQ(heading_q, 4);

    bearing_and_quadrants(0.0f, -10.0f, 0.0f, 0.0f, 360.0f, bearing, heading_q, bearing_q);
    EXPECT_FLOAT_EQ(bearing, 180.0f);
    EXPECT_EQ(bearing_q, 3);
    EXPECT_EQ(heading_q, 4) << "360 has no quadrant";

    bearing_and_quadrants(-1.0f, 10.0f, 0.0f, 0.0f, -1.0f, bearing, heading_q, bearing_q);
    EXPECT_GT(bearing, 354.0f);
    EXPECT_EQ(bearing_q, 3) << "a heading of -1 writes no quadrant";
}

} // namespace
