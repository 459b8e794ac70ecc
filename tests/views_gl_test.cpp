// What the views show: where each camera puts the eye and its clipping
// planes, which models each view and mode draws, how the models are turned,
// the ground's corner colours and the fog, all read back from the GL.
#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "models/model_data.h"
#include "models/model_drawing.h"
#include "models/part_record.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/hud.h"
#include "world/terrain_drawing.h"

namespace {

// Far off the map the far plane reaches neither the ground nor the town, so
// the models stand alone against the clear colour.
constexpr Vec3 AWAY = {-3000.0f, CARRIER_BASE_HEIGHT, -3000.0f};

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// A cleared frame seen from eye towards centre through the close view's lock.
void look(Vec3 eye, Vec3 centre)
{
    game.view_mode = 1;
    game.target_lock = 1;
    camera_eye = {eye.x, eye.y - CLOSE_EYE_HEIGHT, eye.z};
    target_point = centre;
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setup_camera();
}

TEST(CameraTest, EachViewPutsItsEyeAtItsHeightAndClipsAtOneAnd1340)
{
    const Restorer keep(camera_eye, player_position, target_point, game.view_mode, game.target_lock,
                        game.look_pitch);
    camera_eye = {1000.0f, 30.0f, 1200.0f};
    player_position = {1010.0f, 20.0f, 1100.0f};
    target_point = {900.0f, 70.0f, 1000.0f};
    game.look_pitch = 5.0f;
    struct View {
        int mode, lock;
        Vec3 eye, centre;
    };
    const View views[] = {
        {0, 0, {1000.0f, 44.0f, 1200.0f}, {1010.0f, 37.0f, 1100.0f}}, // chase: 14 up, at 12 + pitch over the feet
        {1, 0, {1000.0f, 40.0f, 1200.0f}, {1010.0f, 45.0f, 1100.0f}}, // close: 10 up, level + pitch
        {1, 3, {1000.0f, 40.0f, 1200.0f}, {900.0f, 70.0f, 1000.0f}},  // close under a lock
    };
    for (const View& v : views) {
        SCOPED_TRACE(testing::Message() << "view " << v.mode << " lock " << v.lock);
        game.view_mode = v.mode;
        game.target_lock = v.lock;
        setup_camera();
        double p[16], m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        EXPECT_NEAR(p[14] / (p[10] - 1.0), 1.0, 1e-3) << "near plane";
        EXPECT_NEAR(p[14] / (p[10] + 1.0), 1340.0, 0.5) << "far plane";
        // The view is a rotation R and a translation t: the eye is -R^T t,
        // the view axis the negated third row of R.
        const double eye[3] = {v.eye.x, v.eye.y, v.eye.z};
        const double to[3] = {v.centre.x - v.eye.x, v.centre.y - v.eye.y, v.centre.z - v.eye.z};
        const double distance = std::sqrt(to[0] * to[0] + to[1] * to[1] + to[2] * to[2]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(-(m[4 * k] * m[12] + m[4 * k + 1] * m[13] + m[4 * k + 2] * m[14]), eye[k], 0.01) << k;
            EXPECT_NEAR(-m[4 * k + 2], to[k] / distance, 1e-4) << k;
        }
        EXPECT_NEAR(m[4], 0.0, 1e-6) << "the screen's x axis stays level";
        EXPECT_GT(m[5], 0.0) << "and its y axis points up";
    }
}

enum class Model { player, walker, flyer, carrier };

constexpr Pixel PLAYER_MARK = {255, 0, 0};
constexpr Pixel WALKER_MARK = {0, 255, 0};
constexpr Pixel FLYER_MARK = {0, 0, 255};
constexpr Pixel CARRIER_MARK = {255, 255, 0};

auto keep_models()
{
    return Restorer(player_position, camera_eye, target_point, player_boxes, walker_boxes, walker_spheres,
                    walker_cylinders, flyer_spheres, flyer_cylinders, CARRIER_BOXES, CARRIER_SPHERES, game.walker_pos,
                    game.flyer_pos, game.carrier_x, game.carrier_z, game.player_model_yaw, game.walker_model_yaw,
                    game.flyer_model_yaw, game.carrier_heading, game.walker_pitch, game.walker_roll,
                    game.flyer_pitch, game.flyer_roll, game.player_hit_flag, game.walker_hit_flag,
                    game.flyer_hit_flag, game.flyer_health, game.riding_part, game.riding_face, game.fire_held,
                    game.look_pitch, game.view_mode, game.target_lock, game.demo_mode, game.flyer_alive,
                    game.walker_alive);
}

// Every model reduced to one marker part, so that each shows in its own
// colour exactly where its part is.
class ModelsInView : public testing::Test {
protected:
    void SetUp() override
    {
        player_boxes = {};
        walker_boxes = {};
        walker_spheres = {};
        walker_cylinders = {};
        flyer_spheres = {};
        flyer_cylinders = {};
        CARRIER_BOXES = {};
        CARRIER_SPHERES = {};
        game.player_model_yaw = game.walker_model_yaw = game.flyer_model_yaw = 0.0f;
        game.walker_pitch = game.walker_roll = game.flyer_pitch = game.flyer_roll = 0.0f;
        game.carrier_heading = 64.0f; // the Carrier's axes along the world's
        game.player_hit_flag = game.walker_hit_flag = game.flyer_hit_flag = 0;
        game.riding_part = game.riding_face = 99;
        game.fire_held = 0;
        game.look_pitch = 0.0f;
        game.demo_mode = 0;
    }

    // Puts the model's origin at `origin` (the Carrier keeps its height) and
    // its one part, a cube of half-size 4 (the Flyer's a ball of radius 4),
    // `at` world units from the origin along the model's own axes.
    static void mark(Model model, Vec3 origin, Vec3 at, Pixel colour)
    {
        auto part = [&](float k) {
            return PartRecord{4.0f / k, 4.0f / k, 4.0f / k, 0.0f, 0.0f, 0.0f, at.x / k, at.y / k, at.z / k,
                              float(colour.r), float(colour.g), float(colour.b)};
        };
        switch (model) {
        case Model::player:
            player_position = origin;
            player_boxes[0] = part(PLAYER_MODEL_SCALE);
            break;
        case Model::walker:
            game.walker_pos = origin;
            walker_boxes[0] = part(WALKER_MODEL_SCALE);
            break;
        case Model::flyer:
            game.flyer_pos = origin;
            flyer_spheres[0] = part(FLYER_MODEL_SCALE);
            break;
        case Model::carrier:
            game.carrier_x = origin.x;
            game.carrier_z = origin.z;
            CARRIER_BOXES[0] = part(CARRIER_MODEL_SCALE);
            break;
        }
    }

    decltype(keep_models()) kept_ = keep_models();
};

TEST_F(ModelsInView, EachViewAndModeDrawsItsModels)
{
    // The player in front of the camera, the Carrier to its left, the Walker
    // to its right, the Flyer above: all in sight of both views.
    mark(Model::player, AWAY, {0.0f, 0.0f, 0.0f}, PLAYER_MARK);
    mark(Model::carrier, AWAY + Vec3{-30.0f, 0.0f, -20.0f}, {0.0f, 0.0f, 0.0f}, CARRIER_MARK);
    mark(Model::walker, AWAY + Vec3{30.0f, 0.0f, -20.0f}, {0.0f, 0.0f, 0.0f}, WALKER_MARK);
    mark(Model::flyer, AWAY + Vec3{0.0f, 30.0f, -20.0f}, {0.0f, 0.0f, 0.0f}, FLYER_MARK);
    camera_eye = AWAY + Vec3{0.0f, 0.0f, 90.0f};
    struct Case {
        int view, demo, flyer_alive, walker_alive;
        bool player, flyer, walker;
    };
    const Case cases[] = {
        {0, 0, 1, 1, true, true, true},  {1, 0, 1, 1, false, true, true}, {0, 1, 1, 1, true, false, true},
        {0, 0, 0, 1, true, false, true}, {1, 0, 1, 0, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "view " << c.view << " demo " << c.demo << " flyer " << c.flyer_alive
                                        << " walker " << c.walker_alive);
        game.view_mode = c.view;
        game.target_lock = 0;
        game.demo_mode = c.demo;
        game.flyer_alive = c.flyer_alive;
        game.walker_alive = c.walker_alive;
        compose_frame();
        const Picture s = read_screen();
        EXPECT_GT(s.count(CARRIER_MARK), 400) << "the Carrier is always drawn";
        EXPECT_EQ(s.count(PLAYER_MARK) > 400, c.player) << s.count(PLAYER_MARK);
        EXPECT_EQ(s.count(FLYER_MARK) > 400, c.flyer) << s.count(FLYER_MARK);
        EXPECT_EQ(s.count(WALKER_MARK) > 400, c.walker) << s.count(WALKER_MARK);
        // The HUD's own pixels, found by drawing it alone over the clear colour, are left out.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBlendFunc(GL_ONE, GL_ZERO);
        draw_hud();
        const Picture hud = read_screen();
        int other = 0;
        for (int y = 0; y < SCREEN_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x) {
                const Pixel p = s.at(x, y);
                other += close_to(hud.at(x, y), clear_colour_pixel(), 2) && !close_to(p, clear_colour_pixel(), 2) &&
                         !close_to(p, PLAYER_MARK, 0) && !close_to(p, FLYER_MARK, 0) &&
                         !close_to(p, WALKER_MARK, 0) && !close_to(p, CARRIER_MARK, 0);
            }
        EXPECT_EQ(other, 0) << "nothing but the markers in sight";
    }
}

TEST_F(ModelsInView, EachModelTurnsByItsOwnAngles)
{
    // A marker 20 units out along one model axis, turned a quarter turn.
    constexpr float R = 20.0f;
    struct Turn {
        const char* what;
        Model model;
        void (*draw)();
        float* angle;
        float value;
        Vec3 at, turned;
    };
    const Turn turns[] = {
        {"player yaw", Model::player, draw_player_model, &game.player_model_yaw, 64.0f, {R, 0, 0}, {0, 0, -R}},
        {"Walker yaw", Model::walker, draw_walker_model, &game.walker_model_yaw, 64.0f, {R, 0, 0}, {0, 0, -R}},
        {"Walker pitch", Model::walker, draw_walker_model, &game.walker_pitch, 90.0f, {0, R, 0}, {0, 0, R}},
        {"Walker roll", Model::walker, draw_walker_model, &game.walker_roll, 90.0f, {0, R, 0}, {-R, 0, 0}},
        {"Flyer yaw", Model::flyer, draw_flyer_model, &game.flyer_model_yaw, 64.0f, {R, 0, 0}, {0, 0, -R}},
        {"Flyer pitch", Model::flyer, draw_flyer_model, &game.flyer_pitch, 90.0f, {0, R, 0}, {0, 0, R}},
        {"Carrier heading", Model::carrier, draw_carrier_model, &game.carrier_heading, 128.0f, {R, 0, 0}, {0, 0, -R}},
    };
    for (const Turn& t : turns) {
        SCOPED_TRACE(t.what);
        const float was = *t.angle;
        *t.angle = t.value;
        mark(t.model, AWAY, t.at, PLAYER_MARK);
        look(AWAY + Vec3{30.0f, 60.0f, 80.0f}, AWAY);
        t.draw();
        *t.angle = was;
        const Patch seen = read_screen().patch(PLAYER_MARK);
        const ScreenPoint want = project(AWAY.x + t.turned.x, AWAY.y + t.turned.y, AWAY.z + t.turned.z);
        EXPECT_GT(seen.count, 200);
        EXPECT_NEAR(seen.x, want.x, 6.0);
        EXPECT_NEAR(seen.y, want.y, 6.0);
    }
}

TEST_F(ModelsInView, HitFlyerFadesWithItsHealthAndLeavesBlendingOneZero)
{
    game.flyer_hit_flag = 1;
    game.flyer_health = 30.0f; // of 40: h = 0.75, alpha 0.25 + 0.5 h = 0.625
    mark(Model::flyer, AWAY, {0.0f, 0.0f, 0.0f}, {255, 255, 255});
    look(AWAY + Vec3{0.0f, 0.0f, 40.0f}, AWAY);
    draw_flyer_model();
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);
    const Pixel sky = clear_colour_pixel();
    auto over_sky = [](int back) { return int(0.625 * 0.75 * 255.0 + 0.375 * back + 0.5); };
    const Pixel expected = {over_sky(sky.r), over_sky(sky.g), over_sky(sky.b)};
    EXPECT_TRUE(close_to(composed_pixel(400, 300), expected)) << composed_pixel(400, 300) << " expected " << expected;
}

TEST_F(ModelsInView, FogFadesFromFourHundredToFourteenHundredUnits)
{
    // A black wall facing the eye takes (d - 400) / 1000 of the fog colour
    // (0.75, 0.7, 0.65) at d units.
    for (const float d : {600.0f, 1200.0f}) {
        game.walker_pos = AWAY + Vec3{0.0f, 0.0f, -d};
        walker_boxes[0] = {4.0f, 4.0f, 0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -0.2f, 0.0f, 0.0f, 0.0f}; // front face at d
        look(AWAY, AWAY + Vec3{0.0f, 0.0f, -1.0f});
        draw_walker_model();
        const double fog = (d - 400.0) / 1000.0;
        const Pixel expected = {int(fog * 191.25 + 0.5), int(fog * 178.5 + 0.5), int(fog * 165.75 + 0.5)};
        EXPECT_TRUE(close_to(composed_pixel(400, 300), expected)) << d << ": " << composed_pixel(400, 300);
    }
}

TEST(TerrainColours, EachQuadCornerShowsItsOwnSamplesColour)
{
    const Restorer keep(terrain_grid, player_position, camera_eye, target_point, game.view_mode, game.target_lock);
    // One bright sample amid black ones on a level patch.
    constexpr int I = 41;
    constexpr int J = 41;
    constexpr Pixel BRIGHT = {250, 160, 40};
    for (int i = I - 1; i <= I + 1; ++i) {
        for (int j = J - 1; j <= J + 1; ++j) {
            TerrainVertex& sample = terrain_grid[i][j];
            sample.height = 127.0f;
            sample.red = sample.green = sample.blue = 0;
        }
    }
    TerrainVertex& bright = terrain_grid[I][J];
    bright.red = BRIGHT.r;
    bright.green = BRIGHT.g;
    bright.blue = BRIGHT.b;
    player_position = {bright.x, bright.height, bright.z};
    look({bright.x, bright.height + 100.0f, bright.z + 40.0f}, player_position);
    draw_terrain();
    const Picture seen = read_screen();

    // In each of the four cells round the sample, 2 units in from each corner:
    // near the bright corner nearly its colour, near the others nearly black.
    for (int cell_i = I - 1; cell_i <= I; ++cell_i) {
        for (int cell_j = J - 1; cell_j <= J; ++cell_j) {
            for (int i = cell_i; i <= cell_i + 1; ++i) {
                for (int j = cell_j; j <= cell_j + 1; ++j) {
                    const TerrainVertex& corner = terrain_grid[i][j];
                    const float in_x = i == cell_i ? 2.0f : -2.0f;
                    const float in_z = j == cell_j ? 2.0f : -2.0f;
                    const ScreenPoint p = project(corner.x + in_x, corner.height, corner.z + in_z);
                    const Pixel got = seen.at(int(p.x), int(p.y));
                    SCOPED_TRACE(testing::Message() << "corner " << i << ", " << j << " of cell " << cell_i << ", "
                                                    << cell_j << ": " << got);
                    const bool lit = i == I && j == J;
                    for (auto [have, full] : {std::pair{got.r, BRIGHT.r}, {got.g, BRIGHT.g}, {got.b, BRIGHT.b}}) {
                        EXPECT_LE(have, lit ? full + 1 : int(0.12 * full) + 2);
                        if (lit) {
                            EXPECT_GE(have, int(0.8 * full));
                        }
                    }
                }
            }
        }
    }
}

} // namespace
