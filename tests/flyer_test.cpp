// The Flyer through whole logic ticks: waiting on the ground, the take-off,
// the hunt within its pitch, speed and height bounds, the crash, and the bomb
// runs it starts: release times, the fall, the hit on the player, the fires
// and the end of a run.
#include <algorithm>
#include <array>
#include <cmath>

#include <allegro.h>
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/startup_tables.h"
#include "gameplay/bombs.h"
#include "gameplay/hit_record.h"
#include "gameplay/player.h"
#include "models/animation.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

constexpr float GROUND = 20.0f;
constexpr Vec3 FLYER_START = {1600.0f, 70.0f, 1181.0f};

class FlyerTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        use_fake_screen(800, 600);
        set_flat_terrain(GROUND);
        init_flyer_model();
        init_carrier_model();
        init_box_faces();
        park_carrier();
        game.walker_alive = 0;
        place_player(1820.0f, 1236.0f); // where play starts
    }
    void TearDown() override
    {
        init_carrier_waypoints();
        release_all_keys();
        use_no_screen();
    }

    static void place_player(float x, float z)
    {
        player_position = {x, GROUND, z};
        player_proposed_xz = {x, z};
    }

    // Airborne in level flight, as the take-off leaves it.
    static void launch(Vec3 at, float heading, float speed)
    {
        game.flyer_flying = 1;
        flyer_anim_key = 1;
        game.flyer_pos = at;
        game.flyer_heading = heading;
        game.flyer_pitch = 90.0f;
        game.flyer_speed = speed;
    }

    static double distance_to_player()
    {
        return std::hypot(game.flyer_pos.x - player_position.x, game.flyer_pos.z - player_position.z);
    }

    // One tick with the clock at `clock`, as the millisecond timer would have it.
    static void tick_at(float clock)
    {
        game.game_clock = clock;
        play_tick();
    }

    FakeGameData data;
};

TEST_F(FlyerTest, WaitsOnTheGroundUntilThePlayerComesNearThenTakesOffForTwoHundredAndOneTicks)
{
    play_tick();
    place_player(1795.0f, 1236.0f); // 202.6 away
    play_tick();
    EXPECT_EQ(game.flyer_taking_off, 0) << "227 and 202.6 units away";
    EXPECT_EQ(flyer_anim_clock, 0.0f);
    place_player(1700.0f, 1236.0f);
    game.demo_mode = 1;
    play_tick();
    EXPECT_EQ(game.flyer_pos.y, FLYER_START.y) << "in a demo it takes no step";
    game.demo_mode = 0;

    int ticks = 0;
    float last_y = game.flyer_pos.y;
    while (game.flyer_flying == 0 && ticks < 300) {
        play_tick();
        ++ticks;
        ASSERT_EQ(game.flyer_speed, 1.0f);
        ASSERT_GE(game.flyer_pos.y, last_y) << "rising, tick " << ticks;
        last_y = game.flyer_pos.y;
        if (ticks == 1) {
            EXPECT_EQ(game.flyer_taking_off, 1);
            EXPECT_NEAR(game.flyer_pos.y, 71.0f, 1e-4f) << "straight up at speed 1";
        }
    }
    EXPECT_EQ(ticks, 201);
    EXPECT_EQ(game.flyer_taking_off, 0);
    EXPECT_EQ(game.flyer_pitch, 90.0f) << "level after 180 ticks, and no further";
    // Sums of cos and sin of 0.5, 1 ... 90 degrees: 114.09 up and 115.09
    // along its heading 0 (+z), then 21 level ticks at speed 1.
    EXPECT_NEAR(game.flyer_pos.y, 70.0 + 114.09, 0.05);
    EXPECT_EQ(game.flyer_pos.x, FLYER_START.x);
    EXPECT_NEAR(game.flyer_pos.z, 1181.0 + 115.09 + 21.0, 0.05);

    // A hit on the grounded Flyer wakes it at once, wherever the player is.
    reset_game_state();
    place_player(100.0f, 100.0f);
    game.flyer_health = 39.9f;
    play_tick();
    EXPECT_EQ(game.flyer_taking_off, 1);
    EXPECT_GT(game.flyer_pos.y, FLYER_START.y);
}

TEST_F(FlyerTest, HuntsThePlayerWithinItsPitchSpeedAndHeightBoundsAndBombsItOnEveryPass)
{
    // Straight above the player the bearing is atan2(0, 0) = 0, quadrant 1.
    place_player(1250.0f, 1250.0f);
    launch({1250.0f, 80.0f, 1250.0f}, 45.0f, 1.0f);
    tick_at(100.0f);
    EXPECT_EQ(game.flyer_target_bearing, 0.0f);
    EXPECT_EQ(game.flyer_target_quadrant, 1);
    EXPECT_EQ(game.flyer_heading, 44.0f) << "below the bearing in the same quadrant";
    EXPECT_EQ(game.bomb_run_active, 1);
    EXPECT_EQ(bombs[0].released, 1);

    float top_speed = 0.0f, low = 1000.0f, high = 0.0f;
    int runs = 0;
    float run_start = game.bomb_run_start;
    for (int t = 1; t <= 3000; ++t) {
        const int active = game.bomb_run_active;
        // The height and quadrants before the tick decide its pitch step:
        // nose down above 80, up below 40, else down heading at the player.
        const float above = game.flyer_pos.y - GROUND, pitch = game.flyer_pitch;
        const double step = above > 80.0f   ? 0.1
                            : above < 40.0f ? -0.1
                            : game.flyer_heading_quadrant == game.flyer_target_quadrant ? 0.1
                                                                                         : -0.1;
        tick_at(100.0f + float(t) / 6.0f);
        ASSERT_NEAR(game.flyer_pitch, std::clamp(double(pitch) + step, 86.0, 93.0), 1e-4) << t;
        ASSERT_TRUE(std::isfinite(game.flyer_pos.x + game.flyer_pos.y + game.flyer_pos.z)) << t;
        ASSERT_GE(game.flyer_pitch, 86.0f) << t;
        ASSERT_LE(game.flyer_pitch, 93.0f) << t;
        if (active == 1) {
            ASSERT_EQ(game.bomb_run_start, run_start) << "no new run before this one ends, tick " << t;
        }
        top_speed = std::max(top_speed, game.flyer_speed);
        if (t > 300) {
            low = std::min(low, game.flyer_pos.y - GROUND);
            high = std::max(high, game.flyer_pos.y - GROUND);
        }
        if (active == 0 && game.bomb_run_active == 1) {
            ++runs;
            // Started by the Flyer's step, the run's first bomb falls in the same tick.
            ASSERT_LT(bombs[0].position.y, game.flyer_pos.y - 1.0f) << t;
            run_start = game.bomb_run_start;
            ASSERT_LT(distance_to_player(), 225.0) << t;
        }
    }
    EXPECT_GE(top_speed, 9.0f) << "turning it speeds up by 0.1 a tick while below 9";
    EXPECT_LT(top_speed, 9.1001f);
    EXPECT_GE(runs, 3) << "a run on every pass";
    // Sinking while it heads at the player and climbing while it turns, it
    // overshoots its 40..80 band by a few units.
    EXPECT_GT(low, 35.0f);
    EXPECT_LT(high, 95.0f);

    // Head-on from far away it weaves about the bearing and slows to 3.5.
    place_player(2200.0f, 2200.0f);
    launch({300.0f, 80.0f, 300.0f}, 45.0f, 9.0f);
    for (int t = 0; t < 80; ++t) {
        play_tick();
        ASSERT_NEAR(game.flyer_heading, 45.0f, 1.0f) << t;
    }
    EXPECT_NEAR(game.flyer_speed, 3.5f, 0.1f);

    // Shift+6 re-arms the take-off for good: every tick ends at speed 1.
    key[KEY_6] = 1;
    key_shifts = KB_SHIFT_FLAG;
    play_tick();
    release_all_keys();
    for (int t = 0; t < 20; ++t)
        play_tick();
    EXPECT_EQ(game.flyer_taking_off, 1);
    EXPECT_EQ(game.flyer_speed, 1.0f);
}

TEST_F(FlyerTest, TurnsByQuadrantsTwiceAsFastTowardsGrowingHeadingAndSpeedsUpWhileTurning)
{
    struct Case {
        float heading, bearing, turn, speed;
    } const cases[] = {
        {45.0f, 60.0f, 1.0f, -0.1f},   {45.0f, 30.0f, -1.0f, -0.1f}, // same quadrant: a degree, slowing
        {45.0f, 135.0f, 1.6f, 0.1f},   {315.0f, 45.0f, 1.6f, 0.1f},  // the next quadrant up
        {135.0f, 45.0f, -0.8f, 0.1f},  {45.0f, 315.0f, -0.8f, 0.1f}, // the next one down
        {45.0f, 200.0f, 0.8f, 0.1f},   {45.0f, 260.0f, -0.8f, 0.1f}, // opposite: h + 180 against b
        {200.0f, 10.0f, 0.8f, 0.1f},   {200.0f, 30.0f, -0.8f, 0.1f}, // opposite: h - 180 against b
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heading << " to " << c.bearing);
        const double b = c.bearing * M_PI / 180.0;
        place_player(float(1250.0 + 500.0 * std::sin(b)), float(1250.0 + 500.0 * std::cos(b)));
        launch({1250.0f, 80.0f, 1250.0f}, c.heading, 5.0f);
        play_tick();
        EXPECT_NEAR(game.flyer_target_bearing, c.bearing, 1e-3f);
        EXPECT_NEAR(game.flyer_heading, c.heading + c.turn, 1e-4f);
        EXPECT_NEAR(game.flyer_speed, 5.0f + c.speed, 1e-5f);
        EXPECT_FLOAT_EQ(game.flyer_model_yaw, c.heading * 256.0f / 360.0f) << "from the heading before the turn";
        const double moved = std::atan2(game.flyer_pos.x - 1250.0, game.flyer_pos.z - 1250.0) * 180.0 / M_PI;
        EXPECT_NEAR(std::remainder(moved - c.heading, 360.0), 0.0, 0.05) << "moved along that heading";
    }
    // A heading out of 0..360 comes back into range first: -10 is 350, 370 is 10.
    for (const auto [set, bearing, after] : {std::array{-10.0f, 300.0f, 349.0f}, std::array{370.0f, 30.0f, 11.0f}}) {
        place_player(float(1250.0 + 500.0 * std::sin(bearing * M_PI / 180.0)),
                     float(1250.0 + 500.0 * std::cos(bearing * M_PI / 180.0)));
        launch({1250.0f, 80.0f, 1250.0f}, set, 5.0f);
        play_tick();
        EXPECT_NEAR(game.flyer_heading, after, 1e-4f) << set;
    }
}

TEST_F(FlyerTest, AtHealthZeroItFliesOnBelowZeroItNosesDownStillBombsAndIsRemovedUnderTheGround)
{
    place_player(1250.0f, 1250.0f);
    launch({2000.0f, 120.0f, 2000.0f}, 45.0f, 3.5f);
    game.flyer_pitch = 91.3f;
    game.flyer_health = 0.0f;
    for (int t = 0; t < 40; ++t)
        play_tick();
    EXPECT_EQ(game.flyer_pitch, 91.3f) << "neither altitude rules nor the crash";
    EXPECT_EQ(game.flyer_alive, 1);

    launch({850.0f, 700.0f, 1250.0f}, 90.0f, 3.5f); // high enough to nose right down
    game.flyer_pitch = 91.3f;
    game.flyer_health = -0.5f;
    float clock = 100.0f;
    int ticks = 0, run_started = 0;
    float last_y = game.flyer_pos.y;
    while (game.flyer_alive == 1 && ticks < 1000) {
        last_y = game.flyer_pos.y;
        tick_at(clock += 1.0f / 6.0f);
        ++ticks;
        ASSERT_EQ(game.flyer_pitch, std::min(91.3f + 0.5f * float(ticks), 180.3f)) << ticks;
        if (run_started == 0 && game.bomb_run_active == 1)
            run_started = ticks;
    }
    EXPECT_EQ(game.flyer_alive, 0);
    EXPECT_GE(last_y, GROUND);
    EXPECT_LT(game.flyer_pos.y, GROUND) << "removed on the tick it sinks under the ground";
    EXPECT_GT(run_started, 0) << "crashing, it still bombs";

    // The run goes on without the Flyer, which moves no more.
    const Vec3 wreck = game.flyer_pos;
    bool last_released = false;
    while (game.bomb_run_active == 1 && ticks++ < 2000) {
        tick_at(clock += 1.0f / 6.0f);
        last_released = last_released || bombs[BOMB_COUNT - 1].released == 1;
    }
    EXPECT_TRUE(last_released);
    EXPECT_EQ(game.bomb_run_active, 0);
    EXPECT_EQ(game.flyer_pos.x, wreck.x);
}

// The Flyer is held out of the tick and moved by hand; the clock gains 0.5
// a tick, so that it meets each release time exactly on ticks 5, 10 ... 25.
TEST_F(FlyerTest, ARunReleasesSixBombsAQuarterSecondApartThatFallBurnAndEndTheRun)
{
    game.flyer_alive = 0;
    game.flyer_pos = {1000.0f, GROUND + 40.0f, 1000.0f};
    game.flyer_dir = {1.0f, 0.0f, 0.0f};
    game.flyer_speed = 2.0f;
    game.game_clock = 100.0f;
    start_bomb_run();
    EXPECT_EQ(game.bomb_run_start, 100.0f);
    EXPECT_EQ(bombs[0].position.x, 1000.0f);

    int released_on[BOMB_COUNT] = {0, -1, -1, -1, -1, -1}, landed_on[BOMB_COUNT] = {};
    int t = 0;
    while (game.bomb_run_active == 1 && t < 400) {
        game.flyer_pos.x = 1000.0f + 10.0f * float(++t);
        tick_at(100.0f + 0.5f * float(t));
        for (int i = 0; i < BOMB_COUNT; ++i) {
            if (released_on[i] < 0 && bombs[i].released == 1) {
                released_on[i] = t;
                // Released from where the Flyer is now, then the first fall step.
                EXPECT_FLOAT_EQ(bombs[i].position.x, game.flyer_pos.x + 2.0f * 0.975f) << i;
                EXPECT_FLOAT_EQ(bombs[i].position.y, GROUND + 40.0f - 1.035f) << i;
            }
            if (landed_on[i] == 0 && bombs[i].landed == 1)
                landed_on[i] = t;
        }
        if (t == 130) {
            EXPECT_EQ(bombs[0].fire_radius, FIRE_RADIUS_END) << "a fire grows to 30 and stops";
        }
    }
    for (int i = 1; i < BOMB_COUNT; ++i) {
        EXPECT_EQ(released_on[i], 5 * i + 1) << "strictly after 2.5 x " << i;
        EXPECT_EQ(landed_on[i] - released_on[i], 24) << "25 ticks of falling 40 units, counting the release";
    }
    EXPECT_EQ(landed_on[0], 25);
    EXPECT_EQ(t, landed_on[5] + 99) << "the last fire's 100th tick, counting the landing";
    for (const Bomb& b : bombs)
        EXPECT_TRUE(b.released == 0 && b.landed == 0 && b.fire_radius == 0.0f && b.position.y == 0.0f);
}

// The player stands where every bomb falls: the first one lands on it, the
// others fall through while its hit flag is set. The next run hurts again.
TEST_F(FlyerTest, ABombCostsThePlayerTenHealthOncePerTwoSeconds)
{
    place_player(1000.0f, 1000.0f);
    game.flyer_alive = 0;
    game.flyer_pos = {1000.0f, GROUND + 40.0f, 1000.0f};
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const float start = 100.0f + 100.0f * float(run);
        game.game_clock = start;
        hit_record.player_hurt_by = Hurt::walker;
        start_bomb_run();
        for (int t = 1; t <= 60; ++t)
            tick_at(start + 0.5f * float(t));
        EXPECT_EQ(game.player_health, 100 - 10 * run);
        EXPECT_EQ(hit_record.player_hurt_by, Hurt::bomb);
        EXPECT_EQ(game.player_hit_time, start + 0.5f * 23.0f);
        EXPECT_GT(bombs[0].position.y, GROUND) << "stopped on the player";
        for (int i = 1; i < BOMB_COUNT; ++i)
            EXPECT_LT(bombs[i].position.y, GROUND) << "fell through into the ground, bomb " << i;
        for (int t = 0; t < 200 && game.bomb_run_active == 1; ++t)
            play_tick();
    }
}

} // namespace
