// The player's gun through whole logic ticks: charging, the launch along the
// aim, range, buildings, terrain, hits on the actors with their immunity, the
// explosion's life, a full slot table, and the Walker's shove; the random
// scatter of the shots' clouds of points, held still while paused.
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/startup_tables.h"
#include "gameplay/hit_record.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "models/animation.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "tests/test_support.h"
#include "world/point_clouds.h"

namespace {

class ProjectileTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        init_model_tables();
        flyer_anim_key = 0; // the Flyer on the ground in its first pose
        flyer_anim_clock = 0.0f;
        animate_walker();
        animate_flyer();
        walker = hold_walker(); // where it starts, facing +z, whatever each tick's own step does
        game.game_clock = 100.0f;
        park_carrier(); // at (620, 2336), lying along x
        stand_at(1000.0f, 20.0f, 1000.0f, 0.0f);
    }
    void TearDown() override
    {
        init_carrier_waypoints();
        release_all_keys();
    }

    // The player on flat ground of height y at (x, z).
    static void stand_at(float x, float y, float z, float heading)
    {
        set_flat_terrain(y);
        game.player_heading = heading;
        player_position = {x, y, z};
        player_proposed_xz = {x, z};
        update_player();
    }

    // n ticks with the fire key held or not; counts per slot the ticks that end exploded.
    std::array<int, PROJECTILE_SLOTS> run(int n, bool fire_key = false)
    {
        std::array<int, PROJECTILE_SLOTS> exploding{};
        key[KEY_Z] = fire_key;
        for (int t = 0; t < n; ++t) {
            play_tick();
            put_back_walker(walker);
            for (int k = 0; k < PROJECTILE_SLOTS; ++k)
                exploding[k] += projectiles[k].exploded;
        }
        return exploding;
    }

    // Charges for `hold` ticks and lets go: the shot has made its first tick.
    const Projectile& fire(int hold)
    {
        run(hold, true);
        run(1);
        return projectiles[game.fire_slot];
    }

    // What the shot burst on, as the rules recorded it.
    static Struck struck(const Projectile& p) { return hit_record.shot_struck[std::size_t(&p - projectiles.data())]; }

    FakeGameData data;
    HeldWalker walker{};
};

TEST_F(ProjectileTest, TheChargeSetsTheExplosionsLifeAndNewChargesTakeTheNextFreeSlot)
{
    data.set_building(900.0f, 1100.0f, 1100.0f, 1200.0f, 100); // a wall across the line of fire
    run(1, true);
    const Projectile& a = projectiles[0];
    EXPECT_EQ(game.fire_charging, 1);
    EXPECT_FLOAT_EQ(a.charge, 0.06f) << "the first tick charges too";
    run(1);
    EXPECT_EQ(game.fire_charging, 0);
    EXPECT_EQ(a.position.y, 30.0f) << "launched 10 above the feet";
    EXPECT_NEAR(a.position.z, 1006.0f, 1e-3f) << "and moved 2 x velocity in the same tick";

    run(60, true);
    const Projectile& b = projectiles[1]; // slot 0 is still flying
    EXPECT_LT(b.charge, 0.65f) << "sixty steps stay just below 0.65";
    run(21, true);
    EXPECT_EQ(b.charge, FULL_CHARGE) << "one more step, then no more";
    EXPECT_NEAR(FULL_CHARGE, 0.66f, 1e-6f);
    run(1);
    fire(1);
    EXPECT_EQ(game.fire_slot, 2) << "after the last slot, not the free slot 0";
    const std::array<int, PROJECTILE_SLOTS> exploding = run(200);
    EXPECT_EQ(exploding[1], 159) << "freed at the 160th tick of its explosion";
    EXPECT_NEAR(b.explosion_radius, 33.0f, 1e-3f);
    EXPECT_EQ(exploding[2], 9) << "freed at the 10th tick at charge 0.06";
    EXPECT_GE(b.position.z, 1100.0f);
    EXPECT_LT(b.position.z, 1100.6f) << "stopped at the first sub-step in the wall, and stayed";
}

TEST_F(ProjectileTest, ShotsFollowTheHeadingAndTheAimAndAreFreedSixHundredUnitsOut)
{
    stand_at(1000.0f, 20.0f, 1000.0f, 30.0f);
    const Projectile& level = fire(1);
    EXPECT_NEAR(level.velocity.x, 1.5f, 1e-5f);
    EXPECT_NEAR(level.velocity.z, 2.598076f, 1e-5f);
    game.look_pitch = 35.0f;
    EXPECT_NEAR(fire(1).velocity.y, 3.0f * std::sqrt(0.5f), 1e-5f) << "chase view: 35 up at 35 ahead";
    game.view_mode = 1;
    key[KEY_X] = 1;
    game.look_pitch = 2.0f;
    EXPECT_NEAR(fire(1).velocity.y, 6.0f / std::sqrt(29.0f), 1e-5f) << "close view: 2 up at 5 ahead";
    game.target_lock = 1;
    target_point = {1300.0f, 70.0f, 1400.0f}; // 40 over the muzzle, 500 away; the heading turns to it
    const Projectile& locked = fire(1);
    const float e = std::atan2(40.0f, 500.0f);
    EXPECT_NEAR(locked.velocity.x, 1.8f * std::cos(e), 1e-5f);
    EXPECT_NEAR(locked.velocity.y, 3.0f * std::sin(e), 1e-5f);

    EXPECT_EQ(run(92)[0], 0); // the level shot, at its 99th tick over open ground
    EXPECT_EQ(level.in_flight, 1);
    run(1);
    EXPECT_EQ(level.in_flight, 0) << "freed at 600 units";
}

TEST_F(ProjectileTest, BuildingTopsAtOrAboveTheShotAndRisingGroundStopIt)
{
    data.set_building(990.0f, 1100.0f, 1010.0f, 1120.0f, 30); // level with the shot
    data.set_building(1090.0f, 1100.0f, 1110.0f, 1120.0f, 29); // just below it
    const Projectile& wall = fire(1);
    stand_at(1100.0f, 20.0f, 1000.0f, 0.0f);
    const Projectile& slope = fire(1);
    for (auto& column : terrain_grid)
        for (int j = 46; j < TERRAIN_GRID_SIZE; ++j)
            column[j].height = 60.0f; // rising from z 1125 to 1150
    run(60);
    EXPECT_GE(wall.position.z, 1100.0f);
    EXPECT_LT(wall.position.z, 1100.6f);
    EXPECT_TRUE(struck(wall) == Struck::ground && struck(slope) == Struck::ground);
    EXPECT_GT(slope.position.z, 1125.0f) << "over the low top, into the slope";
    EXPECT_GE(terrain_height_at(1100.0f, slope.position.z), 30.0f);
    EXPECT_LT(terrain_height_at(1100.0f, slope.position.z - 0.6f), 30.0f) << "at the first sub-step in the ground";
}

TEST_F(ProjectileTest, HitsCostTheWalkerAndTheFlyerOncePerHitPeriodAndTheCarrierStopsShots)
{
    const Vec3 w = game.walker_pos;
    stand_at(w.x, 10.0f, w.z - 40.0f, 0.0f); // shots at y 20 into the Walker's body
    game.flyer_alive = 0; // the player is near enough to wake it; held on the ground here
    const Projectile& first = fire(1);
    run(10);
    EXPECT_GT(first.position.z, w.z - 5.0f) << "only inside the Walker's box";
    EXPECT_LT(first.position.z, w.z - 4.4f);
    EXPECT_FLOAT_EQ(game.walker_health, 50.0f - 15.0f * 0.06f);
    EXPECT_EQ(game.walker_hit_time, 100.0f);
    EXPECT_EQ(struck(first), Struck::walker);
    const Projectile& through = fire(1);
    run(10);
    EXPECT_GT(through.position.z, w.z + 5.0f) << "immune while the hit flag is set";
    game.game_clock = 101.01f; // 0.1 s later
    fire(61);
    run(10);
    EXPECT_NEAR(game.walker_health, 49.1f - 15.0f * 0.66f, 1e-3f);
    EXPECT_EQ(game.walker_hit_time, 101.01f);

    game.flyer_alive = 1;
    const Vec3 f = game.flyer_pos;
    stand_at(f.x, 60.0f, f.z - 210.0f, 0.0f); // beyond its waking distance: grounded until hit
    const Projectile& flyer = fire(1);
    run(35);
    EXPECT_NEAR(flyer.position.z, f.z - 24.6f, 0.61f);
    EXPECT_FLOAT_EQ(game.flyer_health, 40.0f - 10.0f * 0.06f);
    EXPECT_EQ(struck(flyer), Struck::flyer);
    EXPECT_EQ(game.flyer_hit_time, 101.01f);
    game.game_clock = 120.0f; // within its 2 s
    const Projectile& past = fire(1);
    run(45);
    EXPECT_GT(past.position.z, f.z + 30.0f);
    EXPECT_FLOAT_EQ(game.flyer_health, 39.4f);

    stand_at(610.0f, 26.0f, 2250.0f, 0.0f); // the Carrier's hull faces -z at z 2317.01, y 33.4..39.8
    const Projectile& hull = fire(1);
    run(20);
    EXPECT_GT(hull.position.z, 2315.01f) << "within 2 of the face";
    EXPECT_LT(hull.position.z, 2317.01f);
    EXPECT_EQ(struck(hull), Struck::carrier);
}

TEST_F(ProjectileTest, WithEverySlotBusyAChargeStartsNothingUntilASlotIsFreed)
{
    const Vec3 sky = {100.0f, 500.0f, 100.0f};
    projectiles.fill({1, 1, 1, sky, {}, sky, 10.0f, 0.66f}); // big explosions, none over soon
    projectiles[42].explosion_radius = 2.9f;
    projectiles[42].charge = 0.06f; // over after this tick's growth
    run(1, true);
    EXPECT_EQ(game.fire_held, 1);
    EXPECT_EQ(game.fire_charging, 0);
    EXPECT_EQ(game.fire_slot, 0) << "left where it was";
    EXPECT_EQ(projectiles[1].charge, 0.66f) << "where a search of 101 steps stops";
    EXPECT_EQ(projectiles[42].in_use, 0);
    run(1, true);
    EXPECT_EQ(game.fire_slot, 42);
    EXPECT_FLOAT_EQ(projectiles[42].charge, 0.06f);
    run(1);
    EXPECT_EQ(projectiles[42].in_flight, 1);
}

TEST_F(ProjectileTest, TheWalkerShovesAndHurtsThePlayerOnlyInsideItsBox)
{
    const Vec3 w = game.walker_pos;
    game.walker_dir = {1.0f, 0.0f, 1.0f};
    walker = hold_walker();
    stand_at(w.x - 5.0f, 10.0f, w.z - 3.0f, 0.0f); // a face within reach, but on the box's edge
    run(1);
    EXPECT_EQ(game.player_health, 100);
    stand_at(w.x, 10.0f, w.z - 3.0f, 0.0f);
    run(1);
    EXPECT_NEAR(player_position.z, w.z - 3.0f - 2.0f * 4.0f, 1e-4f) << "shoved off the front face";
    EXPECT_EQ(game.player_health, 95);
}

// Held still (paused), every frame scatters the same points and leaves the
// game's random numbers alone; in play the clouds draw on those as they did.
TEST(PointClouds, HeldStillEachFrameScattersTheSamePointsAndTheGamesNumbersAreLeftAlone)
{
    const auto frame = [] {
        start_cloud_frame();
        std::vector<int> draws;
        for (int i = 0; i < 50; ++i)
            draws.push_back(random_below(1000));
        return draws;
    };
    std::srand(7);
    std::vector<int> from_rand;
    for (int i = 0; i < 50; ++i)
        from_rand.push_back(std::rand() % 1000);
    std::srand(7);
    EXPECT_EQ(frame(), from_rand) << "in play";

    std::srand(7);
    hold_clouds_still(true);
    const std::vector<int> first = frame();
    const std::vector<int> second = frame();
    hold_clouds_still(false);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, std::vector<int>(50, first[0])) << "scattered all the same";
    EXPECT_EQ(std::rand() % 1000, from_rand[0]) << "the game's numbers as they were";
}

} // namespace
