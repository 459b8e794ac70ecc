// The part models drawn into the back buffer and read back: colours,
// translucency, the Carrier's magenta face, culling and the player's arm.
#include <gtest/gtest.h>

#include <GL/glu.h>
#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/hit_test.h"
#include "gameplay/player.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "models/model_drawing.h"
#include "tests/gl_support.h"

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr Pixel MAGENTA = {255, 0, 255};

// A cleared frame seen from eye towards centre with the game's projection.
void look(Vec3 eye, Vec3 centre)
{
    glViewport(0, 0, W, H);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(48.0, 1.333333, 1.0, 1340.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0.0, 1.0, 0.0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBlendFunc(GL_ONE, GL_ZERO);
}

bool blend_is_one_zero()
{
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    return src == GL_ONE && dst == GL_ZERO;
}

Pixel blend(Pixel front, float alpha, Pixel back)
{
    return {int(front.r * alpha + back.r * (1 - alpha) + 0.5f), int(front.g * alpha + back.g * (1 - alpha) + 0.5f),
            int(front.b * alpha + back.b * (1 - alpha) + 0.5f)};
}

class ModelDrawingTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_position_ = player_position;
        saved_ = {game.player_hit_flag, game.walker_hit_flag, game.fire_held, game.walk_anim_active,
                  game.riding_part,     game.riding_face,     game.player_model_yaw, game.carrier_heading,
                  game.walker_health};
        init_player_model();
        init_walker_model();
        init_carrier_model();
        init_box_faces();
        game.player_hit_flag = 0;
        game.walker_hit_flag = 0;
        game.fire_held = 0;
        game.walk_anim_active = 0;
        game.riding_part = 99;
        game.riding_face = 99;
        walker_boxes = {};
        walker_spheres = {};
        walker_cylinders = {};
    }
    void TearDown() override
    {
        player_position = saved_position_;
        game.player_hit_flag = saved_.player_hit_flag;
        game.walker_hit_flag = saved_.walker_hit_flag;
        game.fire_held = saved_.fire_held;
        game.walk_anim_active = saved_.walk_anim_active;
        game.riding_part = saved_.riding_part;
        game.riding_face = saved_.riding_face;
        game.player_model_yaw = saved_.player_model_yaw;
        game.carrier_heading = saved_.carrier_heading;
        game.walker_health = saved_.walker_health;
        init_player_model();
        glBlendFunc(GL_ONE, GL_ZERO);
    }

    // The player at (1000, 20, 1000) facing -z, seen by the chase camera.
    void look_at_player()
    {
        player_position = {1000.0f, 20.0f, 1000.0f};
        game.player_model_yaw = 180.0f * 256.0f / 360.0f + 130.5f;
        look({1000.0f, 34.0f, 1035.0f}, {1000.0f, 32.0f, 1000.0f});
    }

    // One Walker box of half-size 10 at walker_pos + (0, 5, 0), seen from 40 units.
    void look_at_walker_box(float r, float g, float b)
    {
        walker_boxes[0] = {2, 2, 2, 0, 0, 0, 0, 1, 0, r, g, b};
        const Vec3 c = {game.walker_pos.x, game.walker_pos.y + 5.0f, game.walker_pos.z};
        look({c.x, c.y, c.z + 40.0f}, c);
    }

    struct Saved {
        int player_hit_flag, walker_hit_flag, fire_held, walk_anim_active, riding_part, riding_face;
        float player_model_yaw, carrier_heading, walker_health;
    } saved_{};
    Vec3 saved_position_{};
};

TEST_F(ModelDrawingTest, PlayerShowsItsTruncatedPartColoursInTheChaseView)
{
    look_at_player();
    draw_player_model();
    const Picture s = read_screen();
    // 102, 127.5, 255 / 51, 0, 0 / 0, 94.35, 0 / 20.91 / 86.7: truncated, not rounded.
    EXPECT_GT(s.count({102, 127, 255}), 1000) << "body";
    EXPECT_GT(s.count({51, 0, 0}), 200) << "head";
    EXPECT_GT(s.count({0, 94, 0}), 100) << "arms";
    EXPECT_GT(s.count({20, 20, 20}), 100) << "lower legs and back";
    EXPECT_GT(s.count({86, 86, 86}), 20) << "upper legs";
    EXPECT_EQ(s.count({102, 128, 255}) + s.count({21, 21, 21}) + s.count({87, 87, 87}), 0) << "no rounding";
}

TEST_F(ModelDrawingTest, HitPlayerIsDrawnAtFortyPercentAndBlendingIsRestored)
{
    for (int i = 0; i < PLAYER_BOX_PARTS; ++i)
        if (i != 4)
            player_boxes[i].scale_x = player_boxes[i].scale_y = player_boxes[i].scale_z = 0.0f;
    look_at_player();
    draw_player_model();
    const Picture opaque = read_screen();
    int bx = -1;
    int by = -1;
    for (int y = 0; y < H && bx < 0; y += 4)
        for (int x = 0; x < W && bx < 0; x += 4)
            if (close_to(opaque.at(x, y), {102, 127, 255}, 0) && close_to(opaque.at(x + 8, y + 8), {102, 127, 255}, 0)) {
                bx = x + 8;
                by = y + 8;
            }
    ASSERT_GE(bx, 0) << "the body shows";

    game.player_hit_flag = 1;
    look_at_player();
    draw_player_model();
    EXPECT_TRUE(blend_is_one_zero());
    const Picture hit = read_screen();
    const Pixel expected = blend({102, 127, 255}, 0.4f, clear_colour_pixel());
    EXPECT_TRUE(close_to(hit.at(bx, by), expected, 2)) << hit.at(bx, by) << " expected " << expected;
}

TEST_F(ModelDrawingTest, WalkerColoursUseTheLowEightBitsOfTheTruncatedValue)
{
    look_at_walker_box(300.7f, 20.91f, 255.0f);
    draw_walker_model();
    EXPECT_TRUE(close_to(read_screen().at(400, 300), {44, 20, 255}, 0)) << read_screen().at(400, 300);
}

TEST_F(ModelDrawingTest, HalfHealthWalkerFlashesAtHalfBrightnessAndHalfAlpha)
{
    game.walker_hit_flag = 1;
    game.walker_health = 25.0f; // of 50
    look_at_walker_box(200.0f, 100.0f, 40.0f);
    draw_walker_model();
    EXPECT_TRUE(blend_is_one_zero());
    const Pixel expected = blend({100, 50, 20}, 0.5f, clear_colour_pixel());
    const Pixel got = read_screen().at(400, 300);
    EXPECT_TRUE(close_to(got, expected, 2)) << got << " expected " << expected;
}

TEST_F(ModelDrawingTest, AnOpenCylinderSeenAlongItsAxisShowsNoCaps)
{
    walker_cylinders[0] = {2, 2, 2, 0, 0, 0, 0, 1, 0, 200, 200, 200};
    const Vec3 c = {game.walker_pos.x, game.walker_pos.y + 5.0f, game.walker_pos.z};
    look({c.x, c.y + 60.0f, c.z + 0.01f}, c);
    draw_walker_model();
    EXPECT_TRUE(close_to(read_screen().at(400, 300), clear_colour_pixel())) << "looking down an open tube";

    walker_boxes[0] = walker_cylinders[0];
    walker_cylinders = {};
    look({c.x, c.y + 60.0f, c.z + 0.01f}, c);
    draw_walker_model();
    EXPECT_TRUE(close_to(read_screen().at(400, 300), {200, 200, 200})) << "a box of the same size has a top";
}

class CarrierDrawingTest : public ModelDrawingTest {
protected:
    // Box 3's top and its -x side and the deck's top, seen from the -x side a
    // little above them.
    Picture carrier_with(int part, int face)
    {
        game.carrier_heading = 64.0f; // model axes along the world's
        game.riding_part = part;
        game.riding_face = face;
        look({game.carrier_x - 60.0f, 58.0f, game.carrier_z + 10.0f}, {game.carrier_x - 11.0f, 50.0f, game.carrier_z});
        draw_carrier_model();
        return read_screen();
    }
};

// Pixels that are magenta in both pictures.
int shared_magenta(const Picture& a, const Picture& b)
{
    int n = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            n += close_to(a.at(x, y), MAGENTA, 0) && close_to(b.at(x, y), MAGENTA, 0);
    return n;
}

TEST_F(CarrierDrawingTest, OnlyTheTouchedFaceOfTheTouchedBoxIsMagenta)
{
    const Picture none = carrier_with(99, 99);
    EXPECT_EQ(none.count(MAGENTA), 0);
    EXPECT_GT(none.count(clear_colour_pixel(), 2), 0) << "the Carrier must not fill the view";

    const Picture top3 = carrier_with(3, 4);
    const Picture side3 = carrier_with(3, 1);
    const Picture top1 = carrier_with(1, 4);
    EXPECT_GT(top3.count(MAGENTA), 50);
    EXPECT_GT(side3.count(MAGENTA), 50);
    EXPECT_GT(top1.count(MAGENTA), 50);
    EXPECT_EQ(shared_magenta(top3, side3), 0) << "another face of the same box stays in its colour";
    EXPECT_EQ(shared_magenta(top3, top1), 0) << "the same face of another box stays in its colour";

    int changed = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (!close_to(top3.at(x, y), none.at(x, y), 0)) {
                ++changed;
                ASSERT_TRUE(close_to(top3.at(x, y), MAGENTA, 0)) << x << ", " << y;
            }
    EXPECT_EQ(changed, top3.count(MAGENTA));
}

// The drawn Carrier and the hit-tested one are the same at a turned heading:
// seen straight from above, the drawn top of one box lies where the hit test
// finds that box's top, found by probing from high above. A turn drawn one
// way and hit-tested the other would put them on mirrored sides.
TEST_F(CarrierDrawingTest, TheDrawnAndTheHitTestedBoxTopsCoincideAtATurnedHeading)
{
    Restorer keep(game.carrier_x, game.carrier_z);
    game.carrier_x = 1000.0f;
    game.carrier_z = 1000.0f;
    game.carrier_heading = 85.0f; // a third of a right angle past the model's own axes
    for (int part : {2, 5}) {  // a box at the bow, off the keel line, and one at the stern
        init_carrier_model();
        for (int other = 0; other < CARRIER_BOX_PARTS; ++other)
            if (other != part)
                CARRIER_BOXES[other].scale_x = CARRIER_BOXES[other].scale_y = CARRIER_BOXES[other].scale_z = 0.0f;
        double sum_x = 0.0, sum_z = 0.0;
        int hits = 0;
        for (float x = 950.0f; x < 1050.0f; x += 0.5f)
            for (float z = 950.0f; z < 1050.0f; z += 0.5f)
                if (carrier_face_test(HIT_QUERY, 300.0f, x, 200.0f, z) == 1) {
                    sum_x += x;
                    sum_z += z;
                    ++hits;
                }
        ASSERT_GT(hits, 20) << "box " << part;

        glViewport(0, 0, W, H);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-60.0, 60.0, -45.0, 45.0, 1.0, 200.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(1000.0, 120.0, 1000.0, 1000.0, 0.0, 1000.0, 0.0, 0.0, -1.0);
        game.riding_part = part;
        game.riding_face = 4;
        draw_carrier_model();
        const Patch top = read_screen().patch(MAGENTA);
        const ScreenPoint found = project(sum_x / hits, 60.0, sum_z / hits);
        ASSERT_GT(top.count, 20) << "box " << part;
        EXPECT_NEAR(top.x, found.x, 4.0) << "box " << part;
        EXPECT_NEAR(top.y, found.y, 4.0) << "box " << part;
    }
    init_carrier_model();
}

TEST_F(ModelDrawingTest, PlayerArmFollowsTheFireKeyAndTheWalkCycle)
{
    player_boxes[6].scale_x = player_boxes[6].scale_y = player_boxes[6].scale_z = 0.0f; // only one green arm
    auto lowest_green_row = [this]() {
        look_at_player();
        draw_player_model();
        const Picture s = read_screen();
        int lowest = -1;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (close_to(s.at(x, y), {0, 94, 0}, 0))
                    lowest = y;
        return lowest;
    };

    const int resting = lowest_green_row();
    EXPECT_EQ(player_boxes[5].rot_x, 0.0f);
    EXPECT_EQ(player_boxes[5].offset_y, 1.15f);

    game.fire_held = 1;
    const int raised = lowest_green_row();
    EXPECT_EQ(player_boxes[5].rot_x, 90.0f);
    EXPECT_EQ(player_boxes[5].offset_y, 1.5f);
    EXPECT_LT(raised, resting - 10) << "raised a quarter turn, the arm's lower end climbs on screen";

    // Walking without firing: the arm keeps what the walk cycle wrote.
    game.fire_held = 0;
    game.walk_anim_active = 1;
    player_boxes[5].rot_x = -45.0f;
    player_boxes[5].offset_y = 1.132f;
    lowest_green_row();
    EXPECT_EQ(player_boxes[5].rot_x, -45.0f);
    EXPECT_EQ(player_boxes[5].offset_y, 1.132f);

    game.walk_anim_active = 0;
    EXPECT_EQ(lowest_green_row(), resting) << "standing still lowers it again";
}

} // namespace
