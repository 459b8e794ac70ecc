// The scenery drawn through the game's camera and read back: the town seen
// from the play start, and the culling that shows every part's outside only.
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/scenery.h"
#include "world/terrain_drawing.h"

namespace {

const std::string TOWN_FILE = std::string(TEST_BUILD_DIR) + "/scenery.txt";

class SceneryDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = {player_position, camera_eye, game.player_heading, game.view_mode};
        game.view_mode = 0;
        ASSERT_TRUE(load_scenery(TOWN_FILE.c_str())) << scenery_error_message();
    }
    void TearDown() override
    {
        std::tie(player_position, camera_eye, game.player_heading, game.view_mode) = saved_;
        std::remove(scene_file_.c_str());
        load_scenery(TOWN_FILE.c_str());
    }

    // Chase-view camera from eye to target (the camera adds its own heights).
    static void look(Vec3 eye, Vec3 target)
    {
        camera_eye = {eye.x, eye.y - CHASE_EYE_HEIGHT, eye.z};
        player_position = {target.x, target.y - LOOK_AT_HEIGHT, target.z};
    }

    static void draw_scenery_only()
    {
        glViewport(0, 0, SCREEN_W, SCREEN_H);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setup_camera();
        glBegin(GL_QUADS);
        draw_scenery();
        glEnd();
    }

    // A scene of its own: the given records, then small boxes far below the
    // ground to make up the count.
    void load_scene(const std::string& records, int count)
    {
        std::ofstream out(scene_file_);
        out << records;
        for (int i = count; i < SCENERY_PARTS; ++i)
            out << "box 1 1 1 0.1 0 0 10 0 0.1 0 -500 0 0 0.1 10\n";
        out.close();
        ASSERT_TRUE(load_scenery(scene_file_.c_str())) << scenery_error_message();
    }

    std::tuple<Vec3, Vec3, float, int> saved_{};
    std::string scene_file_ = testing::TempDir() + "ironstep_scenery_gl_test.txt";
};

TEST_F(SceneryDrawing, TownColoursShowFromThePlayStartInTheChaseView)
{
    player_position = {1820.0f, terrain_height_at(1820.0f, 1236.0f), 1236.0f};
    camera_eye = {1820.0f, terrain_height_at(1820.0f, 1271.0f), 1271.0f};
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setup_camera();
    draw_land_and_town();

    std::set<std::tuple<int, int, int>> town_colours;
    for (const SceneryPart& p : scenery_parts)
        town_colours.insert({p.red, p.green, p.blue});
    std::set<std::tuple<int, int, int>> seen;
    int town_pixels = 0;
    for (int y = 0; y < SCREEN_H; y += 4) {
        for (int x = 0; x < SCREEN_W; x += 4) {
            const Pixel p = composed_pixel(x, y);
            if (town_colours.count({p.r, p.g, p.b}) > 0) {
                seen.insert({p.r, p.g, p.b});
                ++town_pixels;
            }
        }
    }
    EXPECT_GE(seen.size(), 4u) << "walls and roofs of several colours";
    EXPECT_GT(town_pixels, 300);
}

TEST_F(SceneryDrawing, APartSeenFromInsideShowsNothingOfIt)
{
    // A grey hall 40 wide round (1000, 50, 1000), and a red block 40 beyond its wall.
    load_scene("box 87 87 87 20 0 0 1000 0 20 0 50 0 0 20 1000\n"
               "box 200 0 0 5 0 0 1000 0 5 0 50 0 0 5 1060\n",
               2);
    look({1000.0f, 50.0f, 900.0f}, {1000.0f, 50.0f, 1000.0f});
    draw_scenery_only();
    EXPECT_TRUE(close_to(composed_pixel(400, 300), {87, 87, 87})) << "from outside, the wall";

    look({1000.0f, 50.0f, 995.0f}, {1000.0f, 50.0f, 1060.0f});
    draw_scenery_only();
    EXPECT_TRUE(close_to(composed_pixel(400, 300), {200, 0, 0})) << composed_pixel(400, 300);
    int wall = 0;
    for (int y = 0; y < SCREEN_H; y += 8)
        for (int x = 0; x < SCREEN_W; x += 8)
            wall += close_to(composed_pixel(x, y), {87, 87, 87});
    EXPECT_EQ(wall, 0) << "no face of the hall seen from within";
}

TEST_F(SceneryDrawing, AMirroredSphereShowsItsOutside)
{
    // A crown mirrored in x round a small blue box: its near side must hide the box.
    load_scene("sphere 0 171 0 -10 0 0 1000 0 10 0 50 0 0 10 1000\n"
               "box 0 0 200 2 0 0 1000 0 2 0 50 0 0 2 1000\n",
               2);
    look({1000.0f, 50.0f, 940.0f}, {1000.0f, 50.0f, 1000.0f});
    draw_scenery_only();
    EXPECT_TRUE(close_to(composed_pixel(400, 300), {0, 171, 0})) << composed_pixel(400, 300);
    EXPECT_TRUE(close_to(composed_pixel(430, 280), {0, 171, 0})) << composed_pixel(430, 280);
    EXPECT_TRUE(close_to(composed_pixel(400, 100), clear_colour_pixel())) << "sky above the crown";
}

} // namespace
