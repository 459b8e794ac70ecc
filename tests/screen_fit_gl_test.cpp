// The game full screen on displays of several sizes: tests/CMakeLists.txt
// runs this once under each. The frame's picture fills the screen's height
// or width with its 4:3 shape, centred on black, each part of it where the
// scaling puts it, and lock-on still works in the picture's own pixels.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "app/game_state.h"
#include "app/timers.h"
#include "display/picture.h"
#include "display/present.h"
#include "display/screen_fit.h"
#include "display/x11_window.h"
#include "gameplay/player.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/terrain.h"

namespace {

// Worked out by hand: 1080 high makes 1440 wide, with 240 on either side;
// 1280 wide makes 960 high, with 32 above and below.
struct ScreenCase {
    int w, h;
    PictureRect picture;
};
constexpr ScreenCase SCREENS[] = {
    {1920, 1080, {240, 0, 1440, 1080}},
    {1280, 1024, {0, 32, 1280, 960}},
    {3840, 2160, {480, 0, 2880, 2160}},
    {800, 600, {0, 0, 800, 600}},
};

const ScreenCase* this_screen()
{
    int w = 0, h = 0;
    get_desktop_resolution(&w, &h);
    for (const ScreenCase& s : SCREENS)
        if (s.w == w && s.h == h)
            return &s;
    return nullptr;
}

// The whole window as drawn in the back buffer, rows bottom-up as GL counts them.
struct WindowPixels {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    Pixel at(int x, int y) const
    {
        const unsigned char* p = &rgb[(std::size_t(y) * w + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

WindowPixels read_window()
{
    WindowPixels shown;
    read_window_size(shown.w, shown.h);
    shown.rgb.resize(std::size_t(shown.w) * shown.h * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, shown.w, shown.h, GL_RGB, GL_UNSIGNED_BYTE, shown.rgb.data());
    return shown;
}

// Five by five pixels of one colour round (x, y).
bool even_patch(const Picture& p, int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (!close_to(p.at(x + dx, y + dy), p.at(x, y), 0))
                return false;
    return true;
}

TEST(FitsTheScreen, TheFramesPictureFillsTheScreenWithItsShapeCentredOnBlack)
{
    const ScreenCase* screen = this_screen();
    ASSERT_NE(screen, nullptr) << "run under one of the displays listed in tests/CMakeLists.txt";
    int w = 0, h = 0;
    read_window_size(w, h);
    ASSERT_TRUE(w == screen->w && h == screen->h) << "the window covers the screen: " << w << " x " << h;

    // Twice, so that the second frame's corner, spilt into the bars, is blacked again.
    compose_frame();
    scale_picture_to_window();
    compose_frame();
    const Picture picture = read_screen();
    scale_picture_to_window();
    const WindowPixels shown = read_window();

    const PictureRect r = screen->picture;
    int lit_outside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < r.x || x >= r.x + r.w || y < r.y || y >= r.y + r.h)
                lit_outside += !close_to(shown.at(x, y), {0, 0, 0}, 0);
    EXPECT_EQ(lit_outside, 0);

    // The centre of picture pixel (x, y), counted from the top, lands at
    // r.x + (x + 0.5) s across and r.y + (600 - y - 0.5) s up, s the scale.
    const double s = double(r.w) / PICTURE_WIDTH;
    int checked = 0, misplaced = 0;
    for (int y = 2; y < PICTURE_HEIGHT - 2; y += 5)
        for (int x = 2; x < PICTURE_WIDTH - 2; x += 5)
            if (even_patch(picture, x, y)) {
                ++checked;
                const Pixel there = shown.at(r.x + int((x + 0.5) * s), r.y + int((PICTURE_HEIGHT - y - 0.5) * s));
                misplaced += !close_to(there, picture.at(x, y), 2);
            }
    EXPECT_GT(checked, 5000);
    EXPECT_EQ(misplaced, 0) << "of " << checked;
    // The picture's own edge pixels line the rectangle's edges, corners too.
    EXPECT_TRUE(close_to(shown.at(r.x, r.y), picture.at(0, PICTURE_HEIGHT - 1), 2));
    EXPECT_TRUE(close_to(shown.at(r.x + r.w - 1, r.y), picture.at(PICTURE_WIDTH - 1, PICTURE_HEIGHT - 1), 2));
    EXPECT_TRUE(close_to(shown.at(r.x, r.y + r.h - 1), picture.at(0, 0), 2));
    EXPECT_TRUE(close_to(shown.at(r.x + r.w - 1, r.y + r.h - 1), picture.at(PICTURE_WIDTH - 1, 0), 2));
    if (r.w == PICTURE_WIDTH) {
        // No scaling pass at all: the very same pixels.
        EXPECT_TRUE(std::equal(picture.rgb.begin(), picture.rgb.end(), shown.rgb.begin()));
    }
}

TEST(FitsTheScreen, LockOnLocksInTheCloseViewInThePicturesPixels)
{
    remove_int(clock_callback);
    Restorer<Vec3, Vec3, Vec3, Vec3, int, int, int, float> kept{
        player_position, camera_eye, game.walker_pos, game.flyer_pos, game.view_mode, game.target_lock,
        game.flyer_alive, game.nearest_marker_distance};
    // The close view from the play start, looking along -z; the Walker 200
    // ahead at eye height, 50 of the picture's pixels right of the centre.
    const float ground = terrain_height_at(1820.0f, 1238.0f);
    player_position = {1820.0f, ground, 1236.0f};
    camera_eye = {1820.0f, ground, 1238.0f};
    game.view_mode = 1;
    game.target_lock = 0;
    game.flyer_alive = 0;
    glViewport(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    setup_camera();
    const Vec3 ahead = {1820.0f, ground + 10.0f, 1038.0f};
    const double pixels_per_unit = (project(ahead.x + 10.0, ahead.y, ahead.z).x - project(ahead.x, ahead.y, ahead.z).x) / 10.0;
    game.walker_pos = {ahead.x + float(50.0 / pixels_per_unit), ahead.y, ahead.z};
    game.lock_timing = 0;
    game.lock_timer_ms = 0;

    for (int frame = 0; frame < 100 && game.target_lock == 0; ++frame) {
        for (int ms = 0; ms < 16; ++ms)
            clock_callback();
        compose_frame();
        present_frame();
    }
    EXPECT_EQ(game.target_lock, 1);
    EXPECT_NEAR(game.nearest_marker_distance, 50.0f, 0.5f);
    game.lock_timing = 0;
    game.lock_timer_ms = 0;
    install_int(clock_callback, 1);
}

} // namespace
