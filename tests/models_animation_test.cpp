// Keyframe animation: key steps, interpolated poses, the Flyer's take-off
// and rotor.
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>

#include <gtest/gtest.h>

#include "models/animation.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

bool same(const PartRecord& a, const PartRecord& b)
{
    for (float PartRecord::*member : PART_FIELD_MEMBERS)
        if (std::bit_cast<std::uint32_t>(a.*member) != std::bit_cast<std::uint32_t>(b.*member))
            return false;
    return true;
}

bool pose_is_key(std::span<const PartRecord> live, std::span<const PartRecord> keys, int set, int key)
{
    const int parts = int(live.size());
    for (int part = 0; part < parts; ++part)
        if (!same(live[part], keys[key_index(set, key, part, parts)]))
            return false;
    return true;
}

// Largest difference of any field between the live table and one key.
float distance_to_key(std::span<const PartRecord> live, std::span<const PartRecord> keys, int set, int key)
{
    float largest = 0.0f;
    const int parts = int(live.size());
    for (int part = 0; part < parts; ++part)
        for (float PartRecord::*member : PART_FIELD_MEMBERS)
            largest = std::fmax(largest, std::fabs(live[part].*member - keys[key_index(set, key, part, parts)].*member));
    return largest;
}

class AnimationTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        init_player_model();
        init_walker_model();
        init_flyer_model();
        flyer_anim_key = 0;
        flyer_anim_clock = 0.0f;
        flyer_spheres = {};
        flyer_cylinders = {};
    }
    void TearDown() override { init_flyer_model(); }

    // One tick of the main loop's walk row.
    void walk_tick()
    {
        if (game.walk_anim_active == 1) {
            advance_walk_clock();
            animate_player();
        }
    }
};

TEST_F(AnimationTest, PlayerWalkCycleTakes68TicksThroughKeysOneAndTwo)
{
    game.walk_anim_active = 1;
    int ticks = 0;
    int key1_tick = 0;
    int key2_tick = 0;
    while (game.walk_anim_active == 1 && ticks < 200) {
        walk_tick();
        ++ticks;
        if (game.walk_anim_key == 1 && key1_tick == 0) {
            key1_tick = ticks;
            EXPECT_TRUE(pose_is_key(player_boxes, PLAYER_KEYS, 0, 1)) << "exactly key 1 on its first step";
        }
        if (game.walk_anim_key == 2 && key2_tick == 0) {
            key2_tick = ticks;
            EXPECT_TRUE(pose_is_key(player_boxes, PLAYER_KEYS, 0, 2));
        }
    }
    EXPECT_EQ(key1_tick, 17);
    EXPECT_EQ(key2_tick, 51);
    EXPECT_EQ(ticks, 68);
    EXPECT_EQ(game.walk_anim_key, 0);
    EXPECT_EQ(game.walk_anim_clock, 0.0f);
    EXPECT_TRUE(pose_is_key(player_boxes, PLAYER_KEYS, 0, 0)) << "the cycle comes to rest in key 0";
}

TEST_F(AnimationTest, PlayerPoseInterpolatesEveryField)
{
    game.walk_anim_key = 1;
    game.walk_anim_clock = 5.0f; // a quarter of key 1's 20
    animate_player();
    const PartRecord& k1 = PLAYER_KEYS[key_index(0, 1, 0, PLAYER_BOX_PARTS)];
    const PartRecord& k2 = PLAYER_KEYS[key_index(0, 2, 0, PLAYER_BOX_PARTS)];
    EXPECT_FLOAT_EQ(player_boxes[0].rot_x, -45.0f + 90.0f * 0.25f);
    EXPECT_FLOAT_EQ(player_boxes[0].offset_z, k1.offset_z + (k2.offset_z - k1.offset_z) * 0.25f);
    EXPECT_EQ(game.walk_anim_active, 0) << "animate_player never starts the cycle itself";
}

TEST_F(AnimationTest, AClockEqualToTheDurationHoldsTheKey)
{
    game.walk_anim_clock = 10.0f;
    animate_player();
    EXPECT_EQ(game.walk_anim_key, 0);
    EXPECT_EQ(game.walk_anim_clock, 10.0f);
    EXPECT_LT(distance_to_key(player_boxes, PLAYER_KEYS, 0, 1), 1e-4f) << "the pose has reached the next key";

    game.walk_anim_clock = std::nextafter(10.0f, 11.0f);
    animate_player();
    EXPECT_EQ(game.walk_anim_key, 1);
    EXPECT_EQ(game.walk_anim_clock, 0.0f) << "what lies beyond the duration is dropped";
}

TEST_F(AnimationTest, ANegativeClockStepsBackOneKeyAndWraps)
{
    game.walk_anim_active = 1;
    game.walk_anim_clock = -0.5f;
    animate_player();
    EXPECT_EQ(game.walk_anim_key, 2);
    EXPECT_EQ(game.walk_anim_clock, 10.0f) << "key 2 lasts 10";
    EXPECT_LT(distance_to_key(player_boxes, PLAYER_KEYS, 0, 0), 1e-4f);
    EXPECT_EQ(game.walk_anim_active, 1) << "stepping back ends no cycle";

    game.walker_anim_key = 0;
    game.walker_mode = 0;
    game.walker_walk_phase = -1.0f;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 2);
    EXPECT_EQ(game.walker_walk_phase, 5.0f) << "set 0 key 2 lasts 5";
}

TEST_F(AnimationTest, WalkerLoopsThroughItsKeysForEver)
{
    game.walker_mode = 1;
    game.walker_anim_key = 2;
    game.walker_walk_phase = 10.5f;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 0);
    EXPECT_TRUE(pose_is_key(walker_boxes, WALKER_BOX_KEYS, 1, 0));
    EXPECT_TRUE(pose_is_key(walker_spheres, WALKER_SPHERE_KEYS, 1, 0));
    EXPECT_TRUE(pose_is_key(walker_cylinders, WALKER_CYLINDER_KEYS, 1, 0));
}

TEST_F(AnimationTest, SwitchingTheWalkersGaitKeepsTheKeyAndUsesTheNewDurations)
{
    game.walker_mode = 1;
    game.walker_anim_key = 1;
    game.walker_walk_phase = 6.0f;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 1);

    // Within set 0's key 1 (7 units) the key holds and set 0's poses show.
    game.walker_mode = 0;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 1);
    EXPECT_EQ(game.walker_walk_phase, 6.0f);
    const PartRecord& a = WALKER_SPHERE_KEYS[key_index(0, 1, 0, WALKER_SPHERE_PARTS)];
    const PartRecord& b = WALKER_SPHERE_KEYS[key_index(0, 2, 0, WALKER_SPHERE_PARTS)];
    EXPECT_FLOAT_EQ(walker_spheres[0].rot_x, a.rot_x + (b.rot_x - a.rot_x) * 6.0f / 7.0f);

    // Past set 0's duration the key advances on the very step.
    game.walker_mode = 1;
    game.walker_walk_phase = 15.0f;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 1) << "15 is within set 1's 20";
    game.walker_mode = 0;
    animate_walker();
    EXPECT_EQ(game.walker_anim_key, 2);
    EXPECT_EQ(game.walker_walk_phase, 0.0f);
    EXPECT_TRUE(pose_is_key(walker_boxes, WALKER_BOX_KEYS, 0, 2));
}

TEST_F(AnimationTest, FlyerTakesOffAfter201TicksAndHoldsTheFlightPose)
{
    animate_flyer();
    EXPECT_TRUE(pose_is_key(flyer_spheres, FLYER_SPHERE_KEYS, 0, 0)) << "on the ground before take-off";
    game.flyer_taking_off = 1;
    int ticks = 0;
    while (game.flyer_flying == 0 && ticks < 400) {
        flyer_anim_clock = float(double(flyer_anim_clock) + 0.5); // the take-off step
        animate_flyer();
        ++ticks;
        if (ticks == 100) {
            EXPECT_NEAR(flyer_spheres[0].colour_g, 158.1f / 2.0f, 0.01f) << "colours blend too";
            EXPECT_NEAR(flyer_spheres[4].scale_x, (0.3694f + 4.265f) / 2.0f, 1e-4f);
        }
    }
    EXPECT_EQ(ticks, 201);
    EXPECT_EQ(game.flyer_taking_off, 0);
    EXPECT_EQ(flyer_anim_key, 1);
    EXPECT_TRUE(pose_is_key(flyer_spheres, FLYER_SPHERE_KEYS, 0, 1));
    EXPECT_TRUE(pose_is_key(flyer_cylinders, FLYER_CYLINDER_KEYS, 0, 1));
}

TEST_F(AnimationTest, GroundedFlyerNeverStepsBelowKeyZero)
{
    flyer_anim_clock = -3.0f;
    animate_flyer();
    EXPECT_EQ(flyer_anim_key, 0);
    EXPECT_EQ(flyer_anim_clock, 100.0f);
    EXPECT_EQ(game.flyer_flying, 0);
    EXPECT_LT(distance_to_key(flyer_spheres, FLYER_SPHERE_KEYS, 0, 1), 1e-4f);
}

TEST_F(AnimationTest, GroundedFlyerCylindersNeverTurn)
{
    for (int key = 0; key < 3; ++key)
        for (int part = 0; part < FLYER_CYLINDER_PARTS; ++part) {
            PartRecord& r = FLYER_CYLINDER_KEYS[key_index(0, key, part, FLYER_CYLINDER_PARTS)];
            r.rot_x = 30.0f;
            r.rot_y = -20.0f;
            r.rot_z = 10.0f;
        }
    for (float clock : {0.0f, 37.5f, 100.0f}) {
        flyer_anim_clock = clock;
        animate_flyer();
        for (const PartRecord& part : flyer_cylinders)
            EXPECT_TRUE(part.rot_x == 0.0f && part.rot_y == 0.0f && part.rot_z == 0.0f) << "clock " << clock;
        EXPECT_NE(flyer_cylinders[0].scale_y, 0.0f) << "the other fields are written";
    }
}

TEST_F(AnimationTest, AirborneRotorSpinsBy53Point3AndWrapsBelow360)
{
    game.flyer_flying = 1;
    flyer_spheres[0].scale_x = 123.0f; // anything: airborne steps write no pose
    const float expected[] = {53.3f, 106.6f, 159.9f, 213.2f, 266.5f, 319.8f, 13.1f, 66.4f};
    for (float angle : expected) {
        animate_flyer();
        EXPECT_NEAR(flyer_spheres[FLYER_ROTOR_PART].rot_y, angle, 1e-3f);
    }
    EXPECT_EQ(flyer_spheres[0].scale_x, 123.0f);
    EXPECT_EQ(flyer_anim_key, 1);
    float previous = flyer_spheres[FLYER_ROTOR_PART].rot_y;
    for (int i = 0; i < 5000; ++i) {
        animate_flyer();
        const float angle = flyer_spheres[FLYER_ROTOR_PART].rot_y;
        ASSERT_LE(angle, 360.0f);
        ASSERT_GT(angle, 0.0f);
        const float step = angle > previous ? angle - previous : angle + 360.0f - previous;
        ASSERT_NEAR(step, 53.3f, 1e-2f) << "never reset while airborne";
        previous = angle;
    }
}

TEST_F(AnimationTest, AirborneClockStaysWithinKeyOne)
{
    game.flyer_flying = 1;
    flyer_anim_key = 0;
    flyer_anim_clock = 7.0f;
    animate_flyer();
    EXPECT_EQ(flyer_anim_key, 1);
    EXPECT_EQ(flyer_anim_clock, 0.0f);
    flyer_anim_clock = -1.0f;
    animate_flyer();
    EXPECT_EQ(flyer_anim_clock, 5.0f);
}

} // namespace
