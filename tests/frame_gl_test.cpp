// The camera and the frame, drawn with the game's own data and read back.
#include <cmath>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"

namespace {

class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = game_view();
        glViewport(0, 0, SCREEN_W, SCREEN_H); // a frame of a smaller viewport may have run before
        player_position = {1820.0f, terrain_height_at(1820.0f, 1236.0f), 1236.0f};
        game.player_heading = 180.0f;
        camera_eye = {1820.0f, terrain_height_at(1820.0f, 1271.0f), 1271.0f};
        game.view_mode = 0;
        game.target_lock = 0;
        game.look_pitch = 0.0f;
    }
    void TearDown() override { restore(saved_); }

    struct View {
        int w, h, fov, mode, lock;
        float aspect, pitch;
    };
    static View game_view()
    {
        return {game.viewport_width, game.viewport_height, game.fov_degrees, game.view_mode, game.target_lock,
                game.aspect_scale, game.look_pitch};
    }
    static void restore(const View& v)
    {
        game.viewport_width = v.w;
        game.viewport_height = v.h;
        game.fov_degrees = v.fov;
        game.view_mode = v.mode;
        game.target_lock = v.lock;
        game.aspect_scale = v.aspect;
        game.look_pitch = v.pitch;
    }
    View saved_{};
};

TEST_F(FrameTest, ViewportIsCentredAndTruncatesTowardZero)
{
    game.viewport_width = 800;
    game.viewport_height = 600;
    EXPECT_EQ(viewport_origin().x, 0);
    EXPECT_EQ(viewport_origin().y, 0);
    game.viewport_width = 801;
    EXPECT_EQ(viewport_origin().x, 0) << "-1 / 2 truncates to 0";
    game.viewport_width = 640;
    game.viewport_height = 480;
    EXPECT_EQ(viewport_origin().x, 80);
    EXPECT_EQ(viewport_origin().y, 60);
}

TEST_F(FrameTest, ChaseViewLooksTwelveUnitsAboveThePlayer)
{
    setup_camera();
    const ScreenPoint centre = project(player_position.x, player_position.y + 12.0, player_position.z);
    EXPECT_NEAR(centre.x, 400.0, 0.5);
    EXPECT_NEAR(centre.y, 300.0, 0.5);
    // Pitch raises the point looked at.
    game.look_pitch = 30.0f;
    setup_camera();
    const ScreenPoint raised = project(player_position.x, player_position.y + 42.0, player_position.z);
    EXPECT_NEAR(raised.y, 300.0, 0.5);
}

TEST_F(FrameTest, CloseViewLooksLevelFromTheEyeAndAtTheTargetUnderALock)
{
    game.view_mode = 1;
    camera_eye.y = 30.0f;
    setup_camera();
    const ScreenPoint level = project(player_position.x, 40.0, player_position.z);
    EXPECT_NEAR(level.x, 400.0, 0.5);
    EXPECT_NEAR(level.y, 300.0, 0.5);

    game.target_lock = 1;
    target_point = {1700.0f, 60.0f, 1100.0f};
    setup_camera();
    const ScreenPoint target = project(target_point.x, target_point.y, target_point.z);
    EXPECT_NEAR(target.x, 400.0, 0.5);
    EXPECT_NEAR(target.y, 300.0, 0.5);
}

TEST_F(FrameTest, FieldOfViewAndAspectShapeTheProjection)
{
    // A point 1000 ahead and tan(24 deg) * 1000 above the view axis sits on
    // the top edge with the default 48-degree field of view.
    game.view_mode = 1;
    camera_eye = {1000.0f, 0.0f, 1000.0f};
    player_position = {1000.0f, 0.0f, 990.0f};
    setup_camera();
    const double rise = 1000.0 * std::tan(24.0 * 3.14159265358979 / 180.0);
    EXPECT_NEAR(project(1000.0, 10.0 + rise, 0.0).y, 0.0, 0.5);
    // The horizontal extent follows aspect_scale x 1.333333.
    game.aspect_scale = 2.0f;
    setup_camera();
    const double across = rise * 2.0 * 1.333333;
    EXPECT_NEAR(project(1000.0 - across, 10.0, 0.0).x, 0.0, 0.5);
}

TEST_F(FrameTest, TerrainFillsTheLowerPartOfTheChaseView)
{
    compose_frame();
    int ground = 0;
    for (int x = 50; x < 800; x += 100)
        if (!close_to(composed_pixel(x, 560), clear_colour_pixel(), 6))
            ++ground;
    EXPECT_EQ(ground, 8) << composed_pixel(400, 560);
    // The ground is green or earth-coloured, fogged towards grey in the distance.
    const Pixel near = composed_pixel(400, 590);
    EXPECT_GT(near.g, near.b) << near;
}

TEST_F(FrameTest, ShrinkingTheViewportShowsTheClearColourAroundIt)
{
    game.viewport_width = 400;
    game.viewport_height = 300;
    compose_frame();
    // Probed clear of the HUD's pie and minimap at the bottom corners.
    EXPECT_TRUE(close_to(composed_pixel(120, 120), clear_colour_pixel())) << composed_pixel(120, 120);
    EXPECT_TRUE(close_to(composed_pixel(700, 350), clear_colour_pixel())) << composed_pixel(700, 350);
    EXPECT_FALSE(close_to(composed_pixel(400, 440), clear_colour_pixel(), 6)) << composed_pixel(400, 440);
}

} // namespace
