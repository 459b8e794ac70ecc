// Bombs drawn into the back buffer and read back: a falling bomb's dark
// 10-pixel points, a fire's orange 2-pixel points, and the frame that draws
// them only during a run and until each fire has burnt out.
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include <GL/glu.h>
#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/bombs.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"
#include "world/bomb_drawing.h"
#include "world/camera.h"
#include "world/frame.h"

namespace {

// Off the map, over black, from 10 units away: every point of a cloud lands
// in the middle pixel at 125 units to the pixel, so the square it covers is
// the point size.
void draw_alone(const Bomb& bomb)
{
    bombs[0] = bomb;
    bombs[0].position = {-3000.0f, 100.0f, -3000.0f};
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-400.5 * 125.0, 399.5 * 125.0, -299.5 * 125.0, 300.5 * 125.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-3000.0, 100.0, -2990.0, -3000.0, 100.0, -3000.0, 0.0, 1.0, 0.0);
    glBlendFunc(GL_ONE, GL_ZERO);
    GLint depth_before = 0, depth_after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
    draw_bomb(0);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
    EXPECT_EQ(depth_after, depth_before) << "the matrix stack as it was";
    glClearColor(0.4f, 0.5f, 0.7f, 0.5f);
}

std::vector<Pixel> lit_pixels(const Picture& s, const Picture* back = nullptr)
{
    std::vector<Pixel> out;
    for (int y = 0; y < SCREEN_H; ++y)
        for (int x = 0; x < SCREEN_W; ++x)
            if (!close_to(s.at(x, y), back ? back->at(x, y) : Pixel{0, 0, 0}, 2))
                out.push_back(s.at(x, y));
    return out;
}

TEST(BombDrawing, AFallingBombIsDarkTenPixelPointsAndAFireOrangeTwoPixelOnes)
{
    const auto kept = Restorer(bombs);
    struct Case {
        Bomb bomb;
        int size, points;
        Pixel low, high; // colour channel ranges
    } const cases[] = {
        {{{}, {}, 1, 0, 5.0f}, 10, 250, {12, 16, 32}, {23, 47, 63}},
        {{{}, {}, 1, 1, 15.0f}, 2, 1140, {136, 96, 48}, {199, 159, 111}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::srand(5);
        draw_alone(c.bomb);
        const int next = std::rand();
        std::srand(5);
        for (int i = 0; i < c.points * 6; ++i)
            std::rand();
        EXPECT_EQ(next, std::rand()) << "three position factors and three colour channels per point";

        const std::vector<Pixel> lit = lit_pixels(read_screen());
        EXPECT_GE(int(lit.size()), c.size * c.size);
        EXPECT_LE(int(lit.size()), (c.size + 1) * (c.size + 1));
        for (const Pixel p : lit)
            ASSERT_TRUE(p.r >= c.low.r && p.r <= c.high.r && p.g >= c.low.g && p.g <= c.high.g &&
                        p.b >= c.low.b && p.b <= c.high.b)
                << p;
    }
}

TEST(BombDrawing, TheFrameDrawsReleasedBombsOfARunUntilTheirFireHasBurntOut)
{
    const auto kept = Restorer(bombs, game.bomb_run_active, camera_eye, target_point, game.view_mode,
                               game.target_lock);
    // The close view's lock looks steeply down on the ground from 40 units.
    const Vec3 ground = {player_position.x, terrain_height_at(player_position.x, player_position.z),
                         player_position.z};
    auto frame = [&] {
        game.view_mode = 1;
        game.target_lock = 1;
        camera_eye = {ground.x, ground.y + 40.0f - CLOSE_EYE_HEIGHT, ground.z + 0.4f};
        target_point = ground;
        compose_frame();
        return read_screen();
    };
    bombs = {};
    game.bomb_run_active = 1;
    const Picture world = frame();
    bombs[3] = {{}, {ground.x, ground.y + 0.5f, ground.z}, 1, 1, 29.75f};
    EXPECT_GT(lit_pixels(frame(), &world).size(), 100u) << "a fire just before it burns out";
    bombs[3].fire_radius = FIRE_RADIUS_END;
    EXPECT_TRUE(lit_pixels(frame(), &world).empty()) << "burnt out";
    bombs[3] = {{}, {ground.x, ground.y + 0.5f, ground.z}, 1, 0, 5.0f};
    EXPECT_GT(lit_pixels(frame(), &world).size(), 100u) << "falling";
    bombs[3].released = 0;
    EXPECT_TRUE(lit_pixels(frame(), &world).empty()) << "not yet released";
    bombs[3].released = 1;
    game.bomb_run_active = 0;
    EXPECT_TRUE(lit_pixels(frame(), &world).empty()) << "no run";
}

} // namespace
