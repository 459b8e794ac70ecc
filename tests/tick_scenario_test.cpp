// Whole logic ticks in their order: the player walks into the side of the
// Carrier, is pushed back by both of the tick's face tests, jumps onto its
// parts, bumps an underside, rides a top and sinks back to the ground.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/startup_tables.h"
#include "gameplay/player.h"
#include "input/demo.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

struct Snapshot {
    float y, z, eye_y, eye_z;
    int jump, riding, part, face, walk_key;
    float walk_clock;
    std::pair<int, int> touched() const { return {part, face}; } // Carrier box and face, 99 none
};

class TickScenarioTest : public testing::Test {
protected:
    void SetUp() override
    {
        start_fresh_game();
        set_flat_terrain(36.0f); // the feet are level with the Carrier's hull (box 1, y 33.4..39.8)
        init_model_tables();
        walker_boxes = {};
        flyer_spheres = {};
        // The Carrier is parked: every waypoint lies where it stands, so each
        // route step finds its waypoint reached and it stays at (620, 2336),
        // lying along x; its hull's -z side is at z 2317.01.
        park_carrier();
        game.player_heading = 0.0f;
        player_position = {610.0f, 36.0f, 2300.0f};
        player_proposed_xz = {610.0f, 2300.0f};
        camera_eye = {610.0f, 36.0f, 2265.0f};
        update_player();
    }
    void TearDown() override
    {
        init_carrier_waypoints();
        release_all_keys();
        input_record = {};
        use_no_screen();
    }

    // Runs ticks 1..n with the jump key held from tick jump_from on; entry t is after tick t.
    static std::vector<Snapshot> run(int n, int jump_from)
    {
        std::vector<Snapshot> s(n + 1);
        for (int t = 1; t <= n; ++t) {
            key[KEY_LSHIFT] = t >= jump_from ? 1 : 0;
            play_tick();
            s[t] = {player_position.y, player_position.z, camera_eye.y, camera_eye.z, game.jump_active,
                    game.carrier_riding, game.riding_part, game.riding_face, game.walk_anim_key,
                    game.walk_anim_clock};
        }
        return s;
    }

    FakeGameData data;
};

TEST_F(TickScenarioTest, WalkingIntoTheCarrierJumpingOverItAndSinkingBack)
{
    game.game_clock = 20.5f;
    game.player_hit_flag = 1;    // hit at 0.0, span 20: over
    game.walker_hit_flag = 1;
    game.walker_hit_time = 19.6f; // span 1: still on
    key[KEY_UP] = 1;
    const std::vector<Snapshot> s = run(140, 40);
    EXPECT_EQ(game.player_hit_flag, 0);
    EXPECT_EQ(game.walker_hit_flag, 1);
    EXPECT_NE(flyer_spheres[0].scale_x, 0.0f) << "the Flyer is posed in play";
    EXPECT_NE(walker_boxes[0].scale_x, 0.0f) << "the Walker is posed";

    // One unit a tick; the walk cycle starts on the tick after the first commit.
    EXPECT_EQ(s[16].z, 2316.0f);
    EXPECT_EQ(s[16].walk_key, 0);
    EXPECT_FLOAT_EQ(s[16].walk_clock, 9.0f);
    // 1.01 in front of the hull side: each face test pushes one unit, the key
    // walks one back in, so the player rocks between 2315 and 2316.
    for (int t = 17; t <= 39; t += 2) {
        ASSERT_EQ(s[t].z, 2315.0f) << t;
        ASSERT_EQ(s[t].riding, 1) << t;
        ASSERT_EQ(s[t].touched(), std::pair(1, 1)) << t;
        ASSERT_EQ(s[t + 1].z, 2316.0f) << t + 1;
        ASSERT_EQ(s[t + 1].touched(), std::pair(99, 99)) << t + 1;
    }
    EXPECT_EQ(s[18].walk_key, 1);
    EXPECT_EQ(s[18].walk_clock, 0.0f);
    EXPECT_EQ(s[69].walk_key, 0) << "the 68-tick cycle ends and the held key starts the next";
    EXPECT_EQ(s[69].walk_clock, 0.0f);
    EXPECT_FLOAT_EQ(s[70].walk_clock, 0.6f);

    // The jump starts on the press; the eye rises 1.1 times the jump's speed.
    EXPECT_NEAR(s[40].y, 36.9125f, 1e-4f);
    EXPECT_NEAR(s[40].eye_y, 36.0f + 1.1f * 0.9125f, 1e-4f);
    EXPECT_EQ(s[40].riding, 0);
    // Touching the hull again: the jump goes on, the eye holds, 35 behind the uncommitted feet.
    EXPECT_NEAR(s[41].y, 37.8195f, 1e-4f);
    EXPECT_EQ(s[41].riding, 1);
    EXPECT_EQ(s[41].eye_y, s[40].eye_y);
    EXPECT_EQ(s[41].eye_z, 2316.0f - 35.0f);
    // Above the hull the player walks on, and is stopped by the next side up (box 3).
    EXPECT_EQ(s[49].z, 2321.0f);
    EXPECT_EQ(s[50].z, 2320.0f);
    EXPECT_EQ(s[50].touched(), std::pair(3, 1));
    // Brushing box 3's top: riding for one tick, the eye holds.
    EXPECT_EQ(s[60].touched(), std::pair(3, 4));
    EXPECT_EQ(s[60].eye_y, s[59].eye_y);
    EXPECT_NEAR(s[60].y, 53.5415f, 1e-4f);

    // The head meets the deck's underside (box 0, y 62.25): pushed down one
    // unit, the jump ends, then the sinking starts in the same tick.
    EXPECT_EQ(s[70].jump, 1);
    EXPECT_NEAR(s[70].y, 60.1920f, 1e-4f);
    EXPECT_EQ(s[71].jump, 0);
    EXPECT_NEAR(s[71].y, 60.1920f + 0.5874f - 1.0f - 0.5f, 1e-4f);
    EXPECT_NEAR(s[71].eye_y, s[70].eye_y - 0.5f, 1e-4f);
    // Sinking onto box 8's top and riding it: nothing moves up or down until it walks off.
    for (int t = 83; t <= 86; ++t) {
        ASSERT_EQ(s[t].touched(), std::pair(8, 4)) << t;
        ASSERT_EQ(s[t].y, s[82].y) << t;
        ASSERT_EQ(s[t].eye_y, s[82].eye_y) << t;
    }
    EXPECT_EQ(s[87].riding, 0);
    EXPECT_EQ(s[87].y, s[86].y - 0.5f);
    EXPECT_NEAR(s[121].y, 36.2795f, 1e-4f) << "half a unit a tick down to the ground";
    EXPECT_FLOAT_EQ(s[122].y, 36.0f);
    EXPECT_EQ(s[140].z, 2404.0f);
    EXPECT_FLOAT_EQ(s[140].eye_y, 36.0f);
}

TEST_F(TickScenarioTest, AJumpFromTheDeckLandsBackOnItAtTheHeightItHas)
{
    player_position = {610.0f, 70.0f, 2336.0f}; // 0.72 above the deck (box 0)
    player_proposed_xz = {610.0f, 2336.0f};
    camera_eye.y = 60.0f;
    const std::vector<Snapshot> s = run(160, 11);
    for (int t = 1; t <= 10; ++t) {
        ASSERT_EQ(s[t].touched(), std::pair(0, 4)) << t;
        ASSERT_EQ(s[t].y, 70.0f) << "riding: no sinking to the ground, tick " << t;
        ASSERT_EQ(s[t].eye_y, 60.0f) << t;
    }
    EXPECT_NEAR(s[11].y, 70.9125f, 1e-4f);
    EXPECT_EQ(s[11].eye_y, 60.0f) << "still touching the deck";
    EXPECT_EQ(s[12].riding, 0);
    EXPECT_NEAR(s[12].eye_y, 60.0f + 1.1f * (s[12].y - s[11].y), 1e-4f);
    // Falling back within 2 of the deck, the player rides again, and the next tick's jump step ends the jump.
    EXPECT_EQ(s[138].riding, 0);
    EXPECT_NEAR(s[138].eye_y, 60.0f + 1.1f * (s[138].y - s[11].y), 1e-3f) << "the eye fell with the feet";
    EXPECT_EQ(s[139].riding, 1);
    EXPECT_EQ(s[139].jump, 1);
    EXPECT_NEAR(s[139].y, 70.3973f, 1e-4f);
    for (int t = 140; t <= 160; ++t) {
        ASSERT_EQ(s[t].jump, 0) << t;
        ASSERT_EQ(s[t].y, s[139].y) << t;
        ASSERT_EQ(s[t].eye_y, s[138].eye_y) << t;
        ASSERT_EQ(s[t].z, 2336.0f) << t;
    }
}

TEST_F(TickScenarioTest, DemoTicksPlayTheRecordAndLeaveTheFlyer)
{
    game.demo_mode = 1;
    game.demo_index = 1;
    // Records 1..3 hold Up; record 0 is never played.
    std::vector<std::uint8_t> recording(4 * INPUT_RECORD_SIZE, 0);
    for (int r = 1; r <= 3; ++r)
        recording[r * INPUT_RECORD_SIZE] = INPUT_PRESSED;
    use_demo_bytes(recording);
    key[KEY_LEFT] = 1; // live, so ignored
    for (int t = 0; t < 3; ++t)
        play_tick();
    close_demo_file();
    EXPECT_EQ(player_position.z, 2303.0f);
    EXPECT_EQ(game.player_heading, 0.0f);
    EXPECT_EQ(game.walk_anim_active, 1);
    EXPECT_FLOAT_EQ(game.walk_anim_clock, 1.2f);
    EXPECT_EQ(flyer_spheres[0].scale_x, 0.0f) << "the Flyer takes no step in a demo";
    EXPECT_NE(walker_boxes[0].scale_x, 0.0f);
}

} // namespace
