// Projectiles drawn into the back buffer and read back: where the clouds sit,
// their point sizes, colours, translucency and reach, the GL state they leave,
// and how the frame draws them over the world.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include <GL/glu.h>
#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/projectile_drawing.h"

namespace {

// Off the map nothing but the cleared background lies behind a cloud.
constexpr Vec3 AWAY = {-3000.0f, 100.0f, -3000.0f};

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

auto keep_drawing_state()
{
    return Restorer(projectiles, player_position, camera_eye, target_point, game.player_model_yaw, game.view_mode,
                    game.target_lock);
}

// Drawn over black, so that a pixel is the point's colour times its alpha.
class ProjectileDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        projectiles = {};
        std::srand(3);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    void TearDown() override { glClearColor(0.4f, 0.5f, 0.7f, 0.5f); }

    // With a stray blending function set beforehand: afterwards blending is
    // one, zero and the matrix stack is as it was.
    static void draw(int slot)
    {
        GLdouble before[16], after[16];
        GLint depth_before = 0, depth_after = 0, src = 0, dst = 0;
        glGetDoublev(GL_MODELVIEW_MATRIX, before);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
        draw_projectile(slot);
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        EXPECT_TRUE(src == GL_ONE && dst == GL_ZERO);
        EXPECT_TRUE(depth_after == depth_before && std::equal(before, before + 16, after));
    }

    // A cleared parallel view of AWAY from AWAY + from, `scale` world units to
    // the pixel, AWAY in the middle of pixel (400, 300).
    static void look_flat(double scale, Vec3 from = {0.0f, 0.0f, 10.0f})
    {
        glViewport(0, 0, SCREEN_W, SCREEN_H);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-400.5 * scale, 399.5 * scale, -299.5 * scale, 300.5 * scale, 1.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const Vec3 eye = AWAY + from;
        gluLookAt(eye.x, eye.y, eye.z, AWAY.x, AWAY.y, AWAY.z, 0.0, 1.0, 0.0);
    }

    static Projectile& launched(int slot, Vec3 at, float charge, float radius = 0.0f)
    {
        return projectiles[slot] = {1, 1, radius > 0.0f, at, {}, at, radius, charge};
    }

    // The pixels that differ from black, or from the same pixel of `back`.
    static std::vector<std::pair<int, int>> changed(const Picture& s, const Picture* back = nullptr)
    {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < SCREEN_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x)
                if (!close_to(s.at(x, y), back ? back->at(x, y) : Pixel{0, 0, 0}, 2))
                    out.emplace_back(x, y);
        return out;
    }

    static double median(std::vector<double> v)
    {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v.empty() ? -1.0 : v[v.size() / 2];
    }

    decltype(keep_drawing_state()) kept_ = keep_drawing_state();
};

TEST_F(ProjectileDrawing, HeldBallSitsAtTheTurnedGunAndShimmersALaunchedOneAtItsOwnPosition)
{
    // The centre of the changed pixels against where a point lands, seen from
    // above and aside so that x, y and z all move it.
    auto expect_centre_at = [](Vec3 at) {
        double x = 0.0, y = 0.0;
        const auto pixels = changed(read_screen());
        for (auto [px, py] : pixels) {
            x += double(px) / pixels.size();
            y += double(py) / pixels.size();
        }
        EXPECT_NEAR(x, project(at.x, at.y, at.z).x, 3.0);
        EXPECT_NEAR(y, project(at.x, at.y, at.z).y, 3.0);
    };
    player_position = AWAY + Vec3{0.0f, -8.0f, 0.0f};
    projectiles[7] = {1, 0, 0, {}, {}, {}, 0.0f, 0.3f};
    for (const float yaw : {130.5f, 130.5f + 64.0f}) {
        SCOPED_TRACE(yaw);
        game.player_model_yaw = yaw;
        // (2, 0, -2) turned about y: a quarter turn (64) takes +x to -z.
        const double t = yaw * 2.0 * M_PI / 256.0;
        look_flat(0.02, {20.0f, 30.0f, 40.0f});
        draw(7);
        expect_centre_at(AWAY + Vec3{float(2 * std::cos(t) - 2 * std::sin(t)), 0.0f,
                                     float(-2 * std::sin(t) - 2 * std::cos(t))});
    }
    const Picture before = read_screen();
    look_flat(0.02, {20.0f, 30.0f, 40.0f});
    draw(7);
    EXPECT_GT(int(changed(read_screen(), &before).size()), 200) << "scattered anew in every frame";

    for (const float radius : {0.0f, 2.0f}) {
        SCOPED_TRACE(radius);
        launched(7, AWAY + Vec3{3.0f, 2.0f, -1.0f}, 0.3f, radius);
        look_flat(0.02, {20.0f, 30.0f, 40.0f});
        draw(7);
        expect_centre_at(AWAY + Vec3{3.0f, 2.0f, -1.0f});
    }
}

TEST_F(ProjectileDrawing, BallPointsAreTwentyTimesTheChargeWideAndBurstPointsTwo)
{
    struct Case {
        float charge, radius;
        int size;
    } const cases[] = {{0.05f, 0.0f, 1}, {0.3f, 0.0f, 6}, {0.65f, 0.0f, 13}, {0.05f, 1.0f, 2}, {0.65f, 3.0f, 2}};
    for (const Case& c : cases) {
        // 125 units to the pixel: every point of the cloud covers the same square.
        launched(0, AWAY, c.charge, c.radius);
        look_flat(125.0);
        draw(0);
        const int n = int(changed(read_screen()).size());
        EXPECT_TRUE(n >= c.size * c.size && n <= (c.size + 1) * (c.size + 1))
            << c.charge << ", " << c.radius << ": " << n;
    }
}

TEST_F(ProjectileDrawing, CloudsShowTheirUnitColourAtTheirAlphaOutToTheirReach)
{
    struct Case {
        float charge, radius, alpha;
        float colour[3];        // the mean colour of a point, normalised
        float reach_x, reach_y; // the farthest a point lies from the centre
        int points;
    } const cases[] = {
        {0.05f, 0.0f, 0.25f, {0.55f, 0.49f, 0.67f}, 0.2f, 0.2f, 250}, // (87, 78, 107): more blue than red
        {0.65f, 0.0f, 0.25f, {0.92f, 0.29f, 0.25f}, 2.6f, 2.6f, 250}, // (176, 56, 48): red
        {0.05f, 2.0f, 0.8f, {0.50f, 0.61f, 0.59f}, 0.3f, 0.45f, 400}, // (89, 80 or 144, 105)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.charge << " " << c.radius);
        launched(0, AWAY, c.charge, c.radius);
        const double scale = c.reach_y / 200.0; // the farthest point 200 pixels out: few overlaps
        look_flat(scale);
        std::srand(11);
        draw(0);
        const int next = std::rand();
        std::srand(11);
        for (int i = 0; i < c.points * 6; ++i)
            std::rand();
        EXPECT_EQ(next, std::rand()) << "three position factors and three jitters per point";

        const Picture s = read_screen();
        std::vector<double> lengths;
        double mean[3] = {0.0, 0.0, 0.0};
        int far_x = 0, far_y = 0;
        for (auto [x, y] : changed(s)) {
            const Pixel p = s.at(x, y);
            const double length = std::sqrt(p.r * p.r + p.g * p.g + p.b * p.b);
            lengths.push_back(length / 255.0);
            mean[0] += p.r / length;
            mean[1] += p.g / length;
            mean[2] += p.b / length;
            far_x = std::max(far_x, std::abs(x - 400));
            far_y = std::max(far_y, std::abs(y - 300));
        }
        EXPECT_NEAR(median(lengths), c.alpha, 0.02) << "alpha times a unit colour";
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(mean[k] / lengths.size(), c.colour[k], 0.03) << k;
        EXPECT_NEAR(far_x, c.reach_x / scale, 0.06 * c.reach_x / scale + 2);
        EXPECT_NEAR(far_y, c.reach_y / scale, 0.06 * c.reach_y / scale + 2);
    }
}

TEST_F(ProjectileDrawing, FrameDrawsInUseSlotsOverTheWorldAndHidesThemBehindIt)
{
    glClearColor(0.4f, 0.5f, 0.7f, 0.5f);
    const Vec3 ground = {player_position.x, terrain_height_at(player_position.x, player_position.z),
                         player_position.z};
    // The close view's lock looks steeply down on the ground from 2.5 units and hides the player.
    auto frame = [&] {
        game.view_mode = 1;
        game.target_lock = 1;
        camera_eye = ground + Vec3{0.0f, 2.5f - CLOSE_EYE_HEIGHT, 0.4f};
        target_point = ground;
        compose_frame();
        return read_screen();
    };
    const Picture world = frame();
    ASSERT_EQ(world.count(clear_colour_pixel(), 2), 0) << "the ground fills the view";

    // A fresh ball of 1-pixel points half a unit above the ground, in the last slot.
    Projectile& ball = launched(PROJECTILE_SLOTS - 1, ground + Vec3{0.0f, 0.5f, 0.0f}, 0.05f);
    const Picture over = frame();
    std::vector<double> lengths;
    for (auto [x, y] : changed(over, &world)) {
        const Pixel p = over.at(x, y);
        const Pixel w = world.at(x, y);
        lengths.push_back(std::hypot(p.r - 0.75 * w.r, p.g - 0.75 * w.g, p.b - 0.75 * w.b) / 255.0);
    }
    EXPECT_GT(lengths.size(), 150u);
    EXPECT_NEAR(median(lengths), 0.25, 0.02) << "blended over the ground, not over the clear colour";

    ball.in_use = 0;
    EXPECT_TRUE(changed(frame(), &world).empty()) << "a slot not in use is not drawn";
    ball.in_use = 1;
    ball.position = ground + Vec3{0.0f, -1.0f, 0.0f};
    EXPECT_TRUE(changed(frame(), &world).empty()) << "under the ground the depth test hides it";
}

} // namespace
