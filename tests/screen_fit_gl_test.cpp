// The game full screen on each display size of tests/CMakeLists.txt, by the
// fast pass or the fallback (IRONSTEP_SCALING_PASS=fallback): the frame
// fills the screen's height or width with its 4:3 shape, centred on black,
// each part where the scaling puts it, and again after F11 twice; lock-on in
// the picture's pixels.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"
#include "display/present.h"
#include "display/window_mode.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "platform/x11_window.h"
#include "tests/gl_support.h"
#include "world/camera.h"
#include "world/frame.h"

namespace {

// Worked out by hand: 1080 high makes 1440 wide, 240 spare on either side;
// 1280 wide makes 960 high, 32 spare above and below. Scaled by whole
// numbers (IRONSTEP_SCALING=whole), 2160 high holds it three times: 1800.
struct ScreenCase {
    bool whole;
    int w, h, x, y, picture_w, picture_h;
} constexpr SCREENS[] = {
    {false, 1920, 1080, 240, 0, 1440, 1080}, {false, 1280, 1024, 0, 32, 1280, 960},
    {false, 3840, 2160, 480, 0, 2880, 2160}, {false, 800, 600, 0, 0, 800, 600},
    {true, 3840, 2160, 720, 180, 2400, 1800},
};

void expect_fits(const ScreenCase* r, int w, int h)
{
    // Twice, so that the second frame's corner, spilt into the bars, is blacked again.
    compose_frame();
    scale_picture_to_window();
    compose_frame();
    const Picture picture = read_screen();
    scale_picture_to_window();
    std::vector<unsigned char> rgb(std::size_t(w) * h * 3);
    read_window_pixels(w, h, rgb.data());
    const auto shown = [&rgb, w](int x, int y) { // y up, as GL counts
        const unsigned char* p = &rgb[(std::size_t(y) * w + x) * 3];
        return Pixel{p[0], p[1], p[2]};
    };

    int lit_outside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < r->x || x >= r->x + r->picture_w || y < r->y || y >= r->y + r->picture_h)
                lit_outside += !close_to(shown(x, y), {0, 0, 0}, 0);
    EXPECT_EQ(lit_outside, 0);

    // Where five by five pixels are of one colour round picture pixel (x, y),
    // counted from the top, the screen shows it at r.x + (x + 0.5) s across
    // and r.y + (600 - y - 0.5) s up, s the scale.
    const double s = double(r->picture_w) / PICTURE_WIDTH;
    int checked = 0, misplaced = 0;
    for (int y = 2; y < PICTURE_HEIGHT - 2; y += 5)
        for (int x = 2; x < PICTURE_WIDTH - 2; x += 5) {
            bool even = true;
            for (int d = 0; d < 25; ++d)
                even = even && close_to(picture.at(x + d % 5 - 2, y + d / 5 - 2), picture.at(x, y), 0);
            checked += even;
            if (even)
                misplaced += !close_to(shown(r->x + int((x + 0.5) * s), r->y + int((PICTURE_HEIGHT - y - 0.5) * s)),
                                       picture.at(x, y), 2);
        }
    EXPECT_GT(checked, 5000);
    EXPECT_EQ(misplaced, 0) << "of " << checked;
    // The picture's own corner pixels sit in the rectangle's corners.
    for (int right = 0; right < 2; ++right)
        for (int top = 0; top < 2; ++top)
            EXPECT_TRUE(close_to(shown(r->x + right * (r->picture_w - 1), r->y + top * (r->picture_h - 1)),
                                 picture.at(right * (PICTURE_WIDTH - 1), (1 - top) * (PICTURE_HEIGHT - 1)), 2));
    if (r->whole) {
        // Every picture pixel a square block of its own colour, unblended.
        const int k = r->picture_w / PICTURE_WIDTH;
        int blended = 0;
        for (int y = 0; y < r->picture_h; ++y)
            for (int x = 0; x < r->picture_w; ++x)
                blended += !close_to(shown(r->x + x, r->y + y), picture.at(x / k, PICTURE_HEIGHT - 1 - y / k), 0);
        EXPECT_EQ(blended, 0);
    }
    if (w == PICTURE_WIDTH) {
        EXPECT_TRUE(std::equal(picture.rgb.begin(), picture.rgb.end(), rgb.begin())) << "the picture 1:1";
    }
}

// Presents frames until the window's size is as wanted, within ten seconds.
template <typename Wanted>
bool window_becomes(Wanted wanted)
{
    int w = 0, h = 0;
    for (int i = 0; i < 500; ++i) {
        compose_frame();
        present_frame();
        read_window_size(w, h);
        if (wanted(w, h))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(FitsTheScreen, TheFramesPictureFillsTheScreenWithItsShapeCentredOnBlack)
{
    const char* pass = std::getenv("IRONSTEP_SCALING_PASS");
    EXPECT_EQ(picture_offscreen(), pass == nullptr || std::strcmp(pass, "fallback") != 0)
        << "the test display's renderer offers the fast pass";
    int w = 0, h = 0;
    read_window_size(w, h);
    const bool whole = picture_scaling() == Scaling::whole;
    const ScreenCase* r = std::find_if(std::begin(SCREENS), std::end(SCREENS), [w, h, whole](const ScreenCase& s) {
        return s.w == w && s.h == h && s.whole == whole;
    });
    ASSERT_NE(r, std::end(SCREENS)) << "the window covers one of the screens of tests/CMakeLists.txt: " << w << " x " << h;
    expect_fits(r, w, h);
    if (w == PICTURE_WIDTH)
        return; // the window F11 opens is the screen's size
    // F11 twice: to the window and back, the same window and context.
    toggle_full_screen();
    ASSERT_TRUE(window_becomes([w, h](int now_w, int now_h) { return now_w != w || now_h != h; }));
    toggle_full_screen();
    ASSERT_TRUE(window_becomes([w, h](int now_w, int now_h) { return now_w == w && now_h == h; }));
    expect_fits(r, w, h);
}

// The last test here: the game's state is left as the lock leaves it.
TEST(FitsTheScreen, LockOnLocksInTheCloseViewInThePicturesPixels)
{
    remove_int(clock_callback);
    // The close view from the play start, looking along -z; the Walker 200
    // ahead at eye height, 50 of the picture's pixels right of the centre.
    const float ground = terrain_height_at(1820.0f, 1238.0f);
    player_position = {1820.0f, ground, 1236.0f};
    camera_eye = {1820.0f, ground, 1238.0f};
    game.view_mode = 1;
    game.flyer_alive = 0;
    glViewport(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    setup_camera();
    const double per_unit = (project(1830.0, ground + 10.0, 1038.0).x - project(1820.0, ground + 10.0, 1038.0).x) / 10;
    game.walker_pos = {1820.0f + float(50.0 / per_unit), ground + 10.0f, 1038.0f};
    for (int frame = 0; frame < 100 && game.target_lock == 0; ++frame) {
        for (int ms = 0; ms < 16; ++ms)
            clock_callback();
        compose_frame();
        present_frame();
    }
    EXPECT_EQ(game.target_lock, 1);
    EXPECT_NEAR(game.nearest_marker_distance, 50.0f, 0.5f);
}

} // namespace
