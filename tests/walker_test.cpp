// The Walker through whole logic ticks: the chase from the play start, the
// slow approach from afar, wandering between random goals, its turns, the
// shots that kill it and its death roll, and the KEY_6 mode switch.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "gameplay/walker.h"
#include "input/demo.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

class WalkerTest : public testing::Test {
protected:
    void SetUp() override
    {
        start_fresh_game();
        set_flat_terrain(0.0f);
        for (int i = 0; i < TERRAIN_GRID_SIZE; ++i)
            for (int j = 0; j < TERRAIN_GRID_SIZE; ++j)
                terrain_grid[i][j].height = float(10 + (i + 2 * j) % 13); // bumpy ground
        init_model_tables();
        game.flyer_alive = 0; // the Flyer and its bombs stay out of these scenarios
    }
    void TearDown() override
    {
        release_all_keys();
        use_no_screen();
    }

    static void place_player(float x, float z)
    {
        player_position = {x, terrain_height_at(x, z), z};
        player_proposed_xz = {x, z};
        update_player();
    }
    static double distance_to_player()
    {
        return std::hypot(player_position.x - game.walker_pos.x, player_position.z - game.walker_pos.z);
    }
    static bool walker_finite()
    {
        const float v[] = {game.walker_pos.x, game.walker_pos.y, game.walker_pos.z, game.walker_dir.x,
                           game.walker_heading, game.walker_speed, game.walker_goal_bearing, game.walker_walk_phase};
        return std::all_of(std::begin(v), std::end(v), [](float f) { return std::isfinite(f); });
    }

    FakeGameData data;
};

TEST_F(WalkerTest, ChasesFromThePlayStartOnTheGroundAndShovesThePlayerOnReachingIt)
{
    place_player(1820.0f, 1236.0f); // about 93 units away
    double closest = 1e9;
    for (int t = 1; t <= 600; ++t) {
        const Vec3 before = game.walker_pos;
        const float speed = game.walker_speed;
        play_tick();
        ASSERT_TRUE(walker_finite()) << t;
        ASSERT_EQ(game.walker_pos.y, terrain_height_at(before.x, before.z)) << "stands on the ground, tick " << t;
        ASSERT_EQ(game.walker_mode, 0) << t;
        ASSERT_LE(std::fabs(game.walker_speed - speed), 0.1551f) << t;
        ASSERT_GE(game.walker_speed, 0.745f) << t;
        if (t <= 13) { // turning within the first quadrant
            ASSERT_NEAR(game.walker_speed, 4.0f + 0.04f * float(t), 1e-4f) << t;
            ASSERT_NEAR(game.walker_heading, 0.6f * float(t), 1e-4f) << t;
            ASSERT_NEAR(std::hypot(game.walker_pos.x - before.x, game.walker_pos.z - before.z), speed + 0.04, 1e-3);
        }
        if (t == 1) {
            EXPECT_EQ(game.walker_goal_x, 1820.0f);
            EXPECT_EQ(game.walker_goal_z, 1236.0f);
            EXPECT_FLOAT_EQ(game.walker_walk_phase, 4.04f) << "the phase gains the speed while chasing";
        }
        closest = std::min(closest, distance_to_player());
    }
    EXPECT_LT(closest, 10.0);
    EXPECT_EQ(game.player_health, 95) << "hurt once by the contact";
    EXPECT_NE(player_position.x, 1820.0f) << "and shoved";
}

TEST_F(WalkerTest, AChaseFromAfarSlowsToThreeQuartersUntilWithin145)
{
    place_player(1745.0f, 1461.0f); // 280 straight ahead: no turn at all
    int t = 0;
    while (distance_to_player() > 145.0) {
        const float z = game.walker_pos.z;
        play_tick();
        ++t;
        ASSERT_NEAR(game.walker_speed, std::max(4.0f - 0.15f * float(t), 0.75f), 1e-4f) << t;
        ASSERT_EQ(game.walker_heading, 0.0f);
        ASSERT_FLOAT_EQ(game.walker_pos.z, z + game.walker_speed) << t;
    }
    EXPECT_GT(t, 100);
    play_tick();
    EXPECT_FLOAT_EQ(game.walker_speed, 0.79f) << "speeding up again";
}

TEST_F(WalkerTest, LosingThePlayerStartsAWanderBetweenRandomGoalsInsideTheTown)
{
    place_player(100.0f, 100.0f);
    game.walker_mode = 0; // it was chasing
    std::srand(1234);
    const float speed = float((std::rand() % 50) * 0.01 + 0.15);
    const int r1 = std::rand(), a1 = std::rand() % 360, r2 = std::rand(), a2 = std::rand() % 360;
    const auto offset = [](int r, int a) { return std::sin(a * M_PI / 180.0) * (r % 100 + 30); };
    std::srand(1234);
    play_tick();
    EXPECT_EQ(game.walker_mode, 1) << "on the first tick";
    EXPECT_EQ(game.walker_speed, speed);
    EXPECT_NEAR(game.walker_goal_x, std::clamp(1745.0 + offset(r1, a1), 1545.0, 1945.0), 1e-3);
    EXPECT_NEAR(game.walker_goal_z, std::clamp(1181.0 + offset(r2, a2), 981.0, 1381.0), 1e-3);
    EXPECT_FLOAT_EQ(game.walker_walk_phase, 5.0f * speed) << "five times the speed while wandering";

    int goals = 0;
    for (int t = 0; t < 20000; ++t) {
        const Vec3 at = game.walker_pos;
        const float gx = game.walker_goal_x, gz = game.walker_goal_z;
        play_tick();
        ASSERT_TRUE(walker_finite()) << t;
        ASSERT_EQ(game.walker_mode, 1);
        // A new goal exactly when the tick began within 35 of the old one on
        // both axes (a goal in a corner of the town may be drawn again).
        const bool renewed = game.walker_goal_x != gx || game.walker_goal_z != gz;
        const bool near = std::fabs(at.x - gx) < 35.0f && std::fabs(at.z - gz) < 35.0f;
        const bool corner = (gx == 1545.0f || gx == 1945.0f) && (gz == 981.0f || gz == 1381.0f);
        ASSERT_TRUE(near ? renewed || corner : !renewed) << t;
        if (!renewed)
            continue;
        ++goals;
        ASSERT_LE(std::fabs(game.walker_goal_x - gx), 129.0f);
        ASSERT_LE(std::fabs(game.walker_goal_z - gz), 129.0f);
        ASSERT_TRUE(game.walker_goal_x >= 1545.0f && game.walker_goal_x <= 1945.0f) << game.walker_goal_x;
        ASSERT_TRUE(game.walker_goal_z >= 981.0f && game.walker_goal_z <= 1381.0f) << game.walker_goal_z;
        ASSERT_TRUE(game.walker_speed >= 0.15f && game.walker_speed <= 0.6401f) << game.walker_speed;
    }
    EXPECT_GT(goals, 100) << "it keeps reaching its goals";
}

TEST_F(WalkerTest, TurnsByQuadrantsKeepsItsHeadingInRangeNeverTurnsOnItsGoalAndTakesKeySix)
{
    struct Turn { float heading, bearing, turn; };
    const Turn turns[] = {
        {45, 45.9f, 0},   {10, 60, 0.6f},  {60, 10, -0.6f}, {80, 100, 1.6f},  {100, 80, -1.6f},
        {350, 10, 1.6f},  {10, 350, -1.6f}, {10, 200, -1},  {30, 200, 1},     {200, 10, 1}, {200, 30, -1},
    };
    place_player(100.0f, 100.0f);
    for (const Turn& c : turns) {
        game.walker_heading = c.heading;
        game.walker_goal_x = float(1745.0 + 100.0 * std::sin(c.bearing * M_PI / 180.0));
        game.walker_goal_z = float(1181.0 + 100.0 * std::cos(c.bearing * M_PI / 180.0));
        game.walker_pos = {1745.0f, 0.0f, 1181.0f};
        steer_walker();
        EXPECT_NEAR(game.walker_heading, c.heading + c.turn, 1e-4f) << c.heading << " to " << c.bearing;
        EXPECT_EQ(game.walker_speed, 4.0f) << "a wander keeps its speed";
    }
    game.walker_pos = {1745.0f, 0.0f, 1181.0f};
    game.walker_heading = 260.0f; // a chase into the next quadrant slows down
    place_player(float(1745.0 + 100.0 * std::sin(280 * M_PI / 180)), float(1181.0 + 100.0 * std::cos(280 * M_PI / 180)));
    steer_walker();
    EXPECT_NEAR(game.walker_heading, 261.6f, 1e-4f);
    EXPECT_NEAR(game.walker_speed, 4.035f, 1e-5f);

    for (const auto& [from, to] : {std::pair(361.0f, 1.0f), std::pair(-1.0f, 359.0f), std::pair(360.0f, 360.0f)}) {
        game.walker_heading = from;
        update_walker_frame();
        EXPECT_EQ(game.walker_heading, to);
        EXPECT_FLOAT_EQ(game.walker_model_yaw, to * 256.0f / 360.0f);
    }
    game.walker_pitch = 30.0f;
    game.walker_heading = 60.0f;
    update_walker_frame();
    EXPECT_FLOAT_EQ(game.walker_dir.x, 0.75f);
    EXPECT_FLOAT_EQ(game.walker_dir.y, -0.5f);
    EXPECT_FLOAT_EQ(game.walker_dir.z, 0.75f / std::sqrt(3.0f));
    EXPECT_EQ(game.walker_pos.y, terrain_height_at(game.walker_pos.x, game.walker_pos.z));

    // On the player's very spot the bearing would read 0 (atan2 of 0, 0): no
    // turn, the bearing kept, and a step on along the heading, up to 6.03.
    game.walker_pitch = 0.0f;
    game.walker_heading = 100.0f;
    game.walker_speed = 5.99f;
    update_walker_frame();
    place_player(game.walker_pos.x, game.walker_pos.z);
    game.walker_goal_bearing = 123.0f;
    const Vec3 at = game.walker_pos;
    steer_walker();
    EXPECT_EQ(game.walker_heading, 100.0f);
    EXPECT_EQ(game.walker_goal_bearing, 123.0f);
    EXPECT_NEAR(game.walker_pos.x, at.x + 6.03 * std::sin(100 * M_PI / 180), 1e-3);
    EXPECT_NEAR(game.walker_pos.z, at.z + 6.03 * std::cos(100 * M_PI / 180), 1e-3);
    EXPECT_TRUE(walker_finite());
    steer_walker();
    EXPECT_NEAR(game.walker_speed, 6.025f, 1e-5f) << "no faster past 6; turning round brakes";

    game.walker_health = 0.0f; // exactly 0: no step, the roll begins
    const Vec3 still = game.walker_pos;
    steer_walker();
    EXPECT_EQ(game.walker_pos.x, still.x);
    EXPECT_EQ(game.walker_roll, 1.0f);
    EXPECT_EQ(game.walker_pitch, 1.0f);

    // KEY_6 sets the mode, with Shift chasing; the phase gains five times the speed while wandering.
    game.walker_speed = 0.5f;
    game.walker_walk_phase = 0.0f;
    key[KEY_6] = 1;
    key_shifts = KB_SHIFT_FLAG;
    advance_walker_phase();
    EXPECT_EQ(game.walker_mode, 0);
    key_shifts = 0;
    advance_walker_phase();
    EXPECT_EQ(game.walker_mode, 1);
    EXPECT_FLOAT_EQ(game.walker_walk_phase, 0.5f + 2.5f);
}

TEST_F(WalkerTest, ShotsFromTheGunKillItAndItRollsOverAndIsGoneAfter91Ticks)
{
    set_flat_terrain(20.0f);
    place_player(1745.0f, 1480.0f); // 299 straight ahead, facing it
    game.walker_health = 20.0f;     // already wounded: three full shots
    int hits = 0, roll_ticks = 0;
    float health = game.walker_health, speed_at_death = 0.0f;
    for (int t = 1; t <= 1200 && game.walker_alive == 1; ++t) {
        game.game_clock = float(t) / 6.0f; // 10 a second: the Walker's hit immunity runs out
        key[KEY_Z] = t % 62 != 0;          // 61 ticks of charge, then the release
        // Aim down at the Walker's body, 4 above its feet, as it comes.
        game.look_pitch = float(35.0 * -6.0 / distance_to_player());
        const Vec3 at = game.walker_pos;
        play_tick();
        if (game.walker_health < health) {
            ++hits;
            EXPECT_NEAR(health - game.walker_health, 15.0f * 0.66f, 1e-3f) << "a full charge";
            health = game.walker_health;
        }
        if (health <= 0.0f) {
            if (++roll_ticks == 1)
                speed_at_death = game.walker_speed;
            ASSERT_EQ(game.walker_pos.x, at.x);
            ASSERT_EQ(game.walker_pos.z, at.z) << "no step while dying";
        }
    }
    EXPECT_EQ(hits, 4) << "three to kill it and one in its roll: a dying Walker is still hit";
    EXPECT_EQ(roll_ticks, 91);
    EXPECT_GT(game.walker_speed, speed_at_death + 1.0f) << "still steering: the chase speeds up as it rolls";
    EXPECT_EQ(game.walker_alive, 0);
    EXPECT_EQ(game.walker_roll, 91.0f);
    EXPECT_EQ(game.walker_pitch, 91.0f);
    EXPECT_EQ(game.player_health, 100) << "shot before it arrived";
    const Vec3 gone = game.walker_pos;
    play_tick();
    EXPECT_EQ(game.walker_pos.x, gone.x);
    EXPECT_EQ(game.walker_roll, 91.0f) << "no longer updated";
}

} // namespace
