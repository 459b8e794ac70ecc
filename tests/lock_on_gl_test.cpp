// Lock-on through the GL's own feedback: the dwell in the game's close view,
// the choice between the actors in a parallel view where pixels come out
// exact, and the marker sphere read back over black.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/lock_on.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"

namespace {

constexpr Vec3 AWAY = {-3000.0f, 100.0f, -3000.0f};
constexpr float PIXELS_PER_UNIT = 0.78125f; // 800 pixels over 1024 units: window coordinates come out exact

// The test drives the millisecond clock itself: it is removed, and each
// frame runs its 16 milliseconds by hand.
class LockOnTest : public testing::Test {
protected:
    void SetUp() override
    {
        remove_int(clock_callback);
        game.target_lock = 0;
        game.walker_alive = game.flyer_alive = 1;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    void TearDown() override
    {
        glClearColor(0.4f, 0.5f, 0.7f, 0.5f);
        game.lock_timing = 0;
        game.lock_timer_ms = 0;
        game.pulse_value = 0.0f;
        install_int(clock_callback, 1);
    }

    // AWAY seen head-on from 100 units in a parallel view, at pixel (400, 300).
    static void flat_view()
    {
        glViewport(0, 0, SCREEN_W, SCREEN_H);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-512.0, 512.0, -384.0, 384.0, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(-AWAY.x, -AWAY.y, -AWAY.z - 100.0f);
    }
    static Vec3 pixels_off(float right, float up)
    {
        return {AWAY.x + right / PIXELS_PER_UNIT, AWAY.y + up / PIXELS_PER_UNIT, AWAY.z};
    }

    Restorer<Vec3, Vec3, Vec3, Vec3, Vec3, int, int, int, int, float, float, float> kept_{
        player_position, camera_eye, target_point, game.walker_pos, game.flyer_pos, game.walker_alive,
        game.flyer_alive, game.target_lock, game.view_mode, game.walker_health, game.flyer_health,
        game.nearest_marker_distance};
};

TEST_F(LockOnTest, AWalkerHeldFiftyPixelsOffCentreLocksInTheFirstFrameAfter750Milliseconds)
{
    // The close view from the play start, looking along -z.
    const float ground = terrain_height_at(1820.0f, 1238.0f);
    player_position = {1820.0f, ground, 1236.0f};
    camera_eye = {1820.0f, ground, 1238.0f};
    game.view_mode = 1;
    game.flyer_pos = {1820.0f, ground, 1400.0f}; // behind the eye
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    setup_camera();
    // A point 200 ahead at eye height sits at the centre; the Walker stands 50 pixels aside of it.
    const Vec3 ahead = {1820.0f, ground + 10.0f, 1038.0f};
    const double pixels_per_unit =
        std::abs(project(ahead.x + 10.0, ahead.y, ahead.z).x - project(ahead.x, ahead.y, ahead.z).x) / 10.0;
    game.walker_pos = {ahead.x + float(50.0 / pixels_per_unit), ahead.y, ahead.z};
    game.lock_timing = 0;

    int frames = 0;
    int timer_at_lock = 0;
    while (game.target_lock == 0 && frames < 100) {
        for (int ms = 0; ms < 16; ++ms)
            clock_callback();
        timer_at_lock = game.lock_timer_ms;
        compose_frame();
        ++frames;
    }
    EXPECT_EQ(game.target_lock, 1);
    EXPECT_TRUE(timer_at_lock > 750 && timer_at_lock <= 766) << timer_at_lock;
    EXPECT_NEAR(game.nearest_marker_distance, 50.0f, 0.5f);
    EXPECT_EQ(game.lock_timing, 1);
    const Vec3 walker = game.walker_pos;
    EXPECT_TRUE(target_point.x == walker.x && target_point.y == walker.y + 7.0f && target_point.z == walker.z);

    // Locked: no more search, but the aim follows the Walker, even once it is gone.
    game.walker_pos = {1700.0f, ground, 1600.0f};
    game.walker_alive = 0;
    compose_frame();
    EXPECT_NEAR(game.nearest_marker_distance, 50.0f, 0.5f);
    EXPECT_EQ(game.lock_timing, 1);
    EXPECT_EQ(target_point.z, 1600.0f);
    // The chase view runs no lock-on at all.
    game.view_mode = 0;
    game.walker_pos.z = 1500.0f;
    compose_frame();
    EXPECT_EQ(target_point.z, 1600.0f);
}

TEST_F(LockOnTest, TheNearerActorWithinTheWindowIsLockedAndItsAimPointRaised)
{
    const struct {
        const char* what;
        Vec3 walker, flyer;
        int alive, timer;
        float nearest;
        int lock;
    } cases[] = {
        {"flyer nearer", pixels_off(60, 0), pixels_off(0, 40), 1, 751, 40.0f, 2},
        {"walker nearer", pixels_off(0, -40), pixels_off(-60, 0), 1, 751, 40.0f, 1},
        {"not yet held long enough", pixels_off(0, -40), pixels_off(2000, 0), 1, 750, 40.0f, 0},
        {"exactly 100 pixels", pixels_off(100, 0), pixels_off(2000, 0), 1, 751, 100.0f, 0},
        {"both off screen", pixels_off(0, 2000), pixels_off(2000, 0), 1, 751, NO_MARKER, 0},
        {"both gone", AWAY, AWAY, 0, 751, NO_MARKER, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        flat_view();
        game.walker_pos = c.walker;
        game.flyer_pos = c.flyer;
        game.walker_alive = game.flyer_alive = c.alive;
        game.target_lock = 0;
        game.lock_timer_ms = c.timer;
        update_target_markers();
        EXPECT_EQ(game.nearest_marker_distance, c.nearest);
        EXPECT_EQ(game.lock_timing, c.nearest < 100.0f ? 1 : 0);
        EXPECT_EQ(game.target_lock, c.lock);
    }
    // Each actor's offset from the centre is filed under its id; a lock aims
    // 7 above the Walker, 5 above the Flyer.
    const Vec3 at = pixels_off(-25, 50);
    for (const int id : {1, 2}) {
        flat_view();
        game.walker_pos = id == 1 ? at : pixels_off(2000, 0);
        game.flyer_pos = id == 2 ? at : pixels_off(2000, 0);
        game.walker_alive = game.flyer_alive = 1;
        game.target_lock = 0;
        update_target_markers();
        EXPECT_EQ(game.target_lock, id);
        EXPECT_EQ(marker_offsets[3 * id], 25.0f);
        EXPECT_EQ(marker_offsets[3 * id + 1], -50.0f);
        EXPECT_NEAR(marker_offsets[3 * id + 2], 99.0 / 999.0, 1e-5); // 100 deep between planes at 1 and 1000
        EXPECT_TRUE(target_point.x == at.x && target_point.y == at.y + (id == 1 ? 7.0f : 5.0f) &&
                    target_point.z == at.z);
    }
}

TEST_F(LockOnTest, TheMarkerPulsesRedToBlueShowsHealthAsGreenAndLeavesBlendingOneZero)
{
    const struct {
        float pulse, health;
        Pixel expected; // a fifth of the colour over black
    } shades[] = {
        {0.0f, 50.0f, {51, 51, 0}},
        {500.0f, 25.0f, {0, 25, 51}},
        {250.0f, -10.0f, {25, 0, 25}}, // health below zero clamps to no green
    };
    for (const auto& s : shades) {
        flat_view();
        game.pulse_value = s.pulse;
        GLdouble before[16], after[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, before);
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
        draw_lock_marker(AWAY.x, AWAY.y, AWAY.z, 64.0f, s.health, 50.0f);
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
        GLint src = 0, dst = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        EXPECT_TRUE(src == GL_ONE && dst == GL_ZERO);
        EXPECT_TRUE(std::equal(before, before + 16, after));
        EXPECT_TRUE(close_to(composed_pixel(400, 300), s.expected, 1)) << composed_pixel(400, 300);
    }

    // A locked Walker's marker has radius 25, the Flyer's 85, each with its own health.
    game.pulse_value = 0.0f;
    game.walker_pos = game.flyer_pos = AWAY;
    game.walker_health = 25.0f;
    game.flyer_health = game.flyer_max_health;
    for (const int lock : {1, 2}) {
        flat_view();
        game.target_lock = lock;
        update_target_markers();
        const Pixel near_centre = composed_pixel(410, 300);
        const Pixel farther = composed_pixel(440, 300);
        EXPECT_TRUE(close_to(near_centre, lock == 1 ? Pixel{51, 25, 0} : Pixel{51, 51, 0}, 1)) << near_centre;
        EXPECT_TRUE(close_to(farther, lock == 1 ? Pixel{0, 0, 0} : Pixel{51, 51, 0}, 1)) << farther;
    }
}

} // namespace
