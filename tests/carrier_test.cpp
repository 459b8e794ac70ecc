// The Carrier's route: its steps along each leg, the pause at each waypoint,
// the eased heading and its trim, and a rider carried and turned with it.
#include <cmath>

#include <allegro.h>
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/startup_tables.h"
#include "gameplay/carrier.h"
#include "gameplay/player.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

class CarrierTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        init_carrier_waypoints();
    }
    void TearDown() override { release_all_keys(); }
};

TEST_F(CarrierTest, StepsAlongEveryLegPausesAtEachWaypointAndLapsForEver)
{
    // The first step leaves waypoint 15 = (620, 2336) for 16 = (314, 2059):
    // 0.75 x (-306, -277) / 583, heading 128 - A as the leg angle eases up.
    step_carrier();
    EXPECT_NEAR(game.carrier_x, 620.0f - 0.39365f, 1e-4f);
    EXPECT_NEAR(game.carrier_z, 2336.0f - 0.35634f, 1e-4f);
    EXPECT_FLOAT_EQ(game.carrier_leg_angle, 0.75f);
    EXPECT_FLOAT_EQ(game.carrier_heading, 128.0f - 0.75f * 256.0f / 360.0f);

    // Round the whole route and back to waypoint 15, visiting every waypoint in
    // order, pausing one tick at each, and settling on each long leg's heading.
    int expected = 16, ticks = 1, settled_legs = 0, reached = 0;
    while (ticks < 20000 && reached < CARRIER_WAYPOINT_COUNT) {
        const float x = game.carrier_x, z = game.carrier_z, leg = game.carrier_leg_angle;
        const int waypoint = game.carrier_waypoint;
        step_carrier();
        ++ticks;
        ASSERT_TRUE(std::isfinite(game.carrier_heading) && std::isfinite(game.carrier_leg_angle)) << ticks;
        // Waypoints are reached within 6 on each axis, so corners are cut by up to 6 x sqrt(2).
        ASSERT_LE(carrier_route_distance(game.carrier_x, game.carrier_z), 8.5) << "on the route, tick " << ticks;
        if (game.carrier_waypoint != waypoint) {
            ASSERT_EQ(waypoint, expected) << "waypoints in order";
            expected = (expected + 1) % CARRIER_WAYPOINT_COUNT;
            ++reached;
            ASSERT_EQ(game.carrier_x, x) << "a tick's pause at waypoint " << waypoint;
            ASSERT_EQ(game.carrier_z, z);
            const float dx = carrier_waypoints[waypoint].x - x, dz = carrier_waypoints[waypoint].z - z;
            ASSERT_LE(std::fabs(dx), 6.0f);
            ASSERT_LE(std::fabs(dz), 6.0f);
            // On arrival after a long leg the heading has settled on the leg's:
            // +x 256 - A, +z 256 - A, -x A + 128, -z 128 - A (A of the angle to x).
            const VecXZ from = carrier_waypoints[(waypoint + CARRIER_WAYPOINT_COUNT - 1) % CARRIER_WAYPOINT_COUNT];
            const double lx = carrier_waypoints[waypoint].x - from.x, lz = carrier_waypoints[waypoint].z - from.z;
            if (std::hypot(lx, lz) > 300.0) {
                const double a = std::atan(std::fabs(lz / lx)) * 180.0 / M_PI * 256.0 / 360.0;
                const double route = lx >= 0 && lz >= 0 ? 256.0 - a : lx < 0 && lz >= 0 ? a + 128.0
                                     : lx < 0 ? 128.0 - a : a;
                EXPECT_NEAR(game.carrier_heading, route, 1.1) << "leg into waypoint " << waypoint;
                ++settled_legs;
            }
        } else {
            // Each step is 0.75 along the direction divided by |dx| + |dz|.
            const double step = std::hypot(game.carrier_x - x, game.carrier_z - z);
            const double dx = carrier_waypoints[waypoint].x - x, dz = carrier_waypoints[waypoint].z - z;
            ASSERT_TRUE(std::fabs(dx) > 6.0 || std::fabs(dz) > 6.0) << "moves on only while not yet reached";
            ASSERT_NEAR(step, 0.75 * std::hypot(dx, dz) / (std::fabs(dx) + std::fabs(dz)), 1e-3) << ticks;
            ASSERT_LE(std::fabs(game.carrier_leg_angle - leg), 0.75f) << "eased, tick " << ticks;
        }
    }
    EXPECT_EQ(game.carrier_waypoint, 16) << "back on the way to 16 after " << ticks << " ticks";
    EXPECT_LT(ticks, 20000);
    EXPECT_GE(settled_legs, 6);
}

TEST_F(CarrierTest, AWaypointReachedExactlyOrALegAlongZNeverFormsANaN)
{
    // Standing exactly on the waypoint: no leg, so the angle stays; the next
    // waypoint is taken and the Carrier does not move.
    game.carrier_waypoint = 3;
    game.carrier_x = carrier_waypoints[3].x;
    game.carrier_z = carrier_waypoints[3].z;
    game.carrier_leg_angle = 30.0f;
    game.carrier_dir = {0.5f, -0.5f};
    step_carrier();
    EXPECT_EQ(game.carrier_leg_angle, 30.0f);
    EXPECT_EQ(game.carrier_waypoint, 4);
    EXPECT_EQ(game.carrier_x, carrier_waypoints[3].x);
    EXPECT_EQ(game.carrier_dir.x, 0.5f) << "the last direction is kept";
    EXPECT_FLOAT_EQ(game.carrier_heading, 256.0f - 30.0f * 256.0f / 360.0f);

    // A leg straight along +z: its angle to x is 90; the Carrier steps 0.75 along z.
    game.carrier_x = carrier_waypoints[4].x;
    game.carrier_z = carrier_waypoints[4].z - 100.0f;
    step_carrier();
    EXPECT_FLOAT_EQ(game.carrier_leg_angle, 30.75f);
    EXPECT_EQ(game.carrier_dir.x, 0.0f);
    EXPECT_EQ(game.carrier_dir.z, 1.0f);
    EXPECT_FLOAT_EQ(game.carrier_z, carrier_waypoints[4].z - 99.25f);
    for (int t = 0; t < 100; ++t)
        step_carrier();
    EXPECT_NEAR(game.carrier_leg_angle, 89.25f, 1e-3f) << "rests within a degree of 90";
    EXPECT_NEAR(game.carrier_heading, 256.0f - 89.25f * 256.0f / 360.0f, 1e-3f);
}

TEST_F(CarrierTest, SevenAndEightTrimTheHeadingForGood)
{
    for (int t = 0; t < 200; ++t)
        step_carrier();
    const float settled = game.carrier_heading;
    key[KEY_7] = 1;
    for (int t = 0; t < 64; ++t)
        step_carrier();
    key[KEY_7] = 0;
    step_carrier();
    EXPECT_FLOAT_EQ(game.carrier_heading_trim, 64.0f);
    EXPECT_NEAR(game.carrier_heading, settled + 64.0f, 0.6f) << "a quarter turn against the route";
    key[KEY_8] = 1;
    for (int t = 0; t < 16; ++t)
        step_carrier();
    key[KEY_8] = 0;
    EXPECT_FLOAT_EQ(game.carrier_heading_trim, 48.0f);
}

// Whole ticks: standing on the deck, the player is carried at the Carrier's
// speed and keeps its place, turning as the Carrier turns into its leg.
TEST_F(CarrierTest, ARiderKeepsItsPlaceOnTheDeckAndTurnsWithTheCarrier)
{
    FakeGameData data;
    set_flat_terrain(20.0f);
    use_fake_screen(800, 600);
    init_model_tables();
    game.walker_alive = 0;
    game.flyer_alive = 0;
    player_position = {610.0f, 70.0f, 2336.0f}; // 0.72 above the deck (box 0)
    player_proposed_xz = {610.0f, 2336.0f};
    camera_eye = {610.0f, 70.0f, 2371.0f};

    // The first tick's early face test carries with the direction of no step
    // yet, the late one with the first step's: the rider falls 1.25 x dir
    // behind once, while the Carrier makes its 2.5 x dir step.
    play_tick();
    const VecXZ dir = game.carrier_dir;
    EXPECT_EQ(game.carrier_riding, 1);
    EXPECT_NEAR(game.carrier_x, 620.0f + 2.5f * dir.x, 1e-4f);
    EXPECT_NEAR(player_position.x, 610.0f + 1.25f * dir.x, 1e-4f);
    EXPECT_NEAR(player_position.z, 2336.0f + 1.25f * dir.z, 1e-4f);
    EXPECT_FLOAT_EQ(game.player_heading, 180.75f) << "the heading jumped from 0 to 128 - A";

    const float offset_x = player_position.x - game.carrier_x, offset_z = player_position.z - game.carrier_z;
    int turning_ticks = 0;
    for (int t = 2; t <= 100; ++t) {
        const float heading = game.carrier_heading;
        play_tick();
        ASSERT_EQ(game.carrier_riding, 1) << t;
        ASSERT_EQ(game.riding_part, 0) << t;
        ASSERT_EQ(game.riding_face, 4) << t;
        ASSERT_EQ(player_position.y, 70.0f) << "no sinking while riding, tick " << t;
        ASSERT_NEAR(player_position.x - game.carrier_x, offset_x, 0.05f) << t; // float steps near 2000
        ASSERT_NEAR(player_position.z - game.carrier_z, offset_z, 0.05f) << t;
        turning_ticks += game.carrier_heading < heading - 0.1f;
    }
    EXPECT_NEAR(std::hypot(game.carrier_x - 620.0f, game.carrier_z - 2336.0f), 2.5 * 100 * 0.7079, 0.5)
        << "2.5 a tick along the leg's direction";
    EXPECT_EQ(turning_ticks, 54);
    EXPECT_FLOAT_EQ(game.player_heading, 180.75f - 0.75f * float(turning_ticks));

    // Off the deck: one tick later nothing is touched, so no face is magenta.
    player_position = {300.0f, 20.0f, 300.0f};
    player_proposed_xz = {300.0f, 300.0f};
    play_tick();
    EXPECT_EQ(game.carrier_riding, 0);
    EXPECT_EQ(game.riding_part, 99);
    EXPECT_EQ(game.riding_face, 99);
    use_no_screen();
}

} // namespace
