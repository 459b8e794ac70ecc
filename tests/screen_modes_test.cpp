// The whole game on a 1920 x 1080 display (tests/CMakeLists.txt starts one):
// full screen between black bars, F11 to a window in the menu, play started
// there, F11 back to full screen, and play goes on; no pointer over the game.
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

// Last: Xlib's macros would clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace {

// Full screen the picture spans x 240..1679; the window is one picture of
// 800 x 600, centred where no window manager places it.
bool shows_bars(const ScreenCapture& c)
{
    const auto black = [&c](int x, int y) { return near(c.at(x, y), {0, 0, 0}, 0); };
    for (int y = 0; y < c.height; y += 40)
        if (!black(239, y) || black(240, y) || black(1679, y) || !black(1680, y))
            return false;
    return true;
}

struct Place {
    int x = 0, y = 0;
};

ScreenCapture window_part(const ScreenCapture& c, Place at)
{
    ScreenCapture w{800, 600, {}};
    for (int y = 0; y < 600; ++y) {
        const unsigned char* row = &c.rgb[((at.y + y) * 1920 + at.x) * 3];
        w.rgb.insert(w.rgb.end(), row, row + 800 * 3);
    }
    return w;
}

class ScreenModesTest : public GameProcessTest {
protected:
    // Moves the pointer to (x, y) and polls the X server until the pointer's
    // image there is hidden (no pixel that shows) or not, as wanted.
    bool pointer_becomes(bool hidden, int x, int y)
    {
        run_shell("DISPLAY=" + display_ + " xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
        Display* d = XOpenDisplay(display_.c_str());
        if (d == nullptr)
            return false;
        bool reached = false;
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        do {
            XFixesCursorImage* image = XFixesGetCursorImage(d);
            if (image != nullptr) {
                bool shows = false;
                for (int i = 0; i < image->width * image->height; ++i)
                    shows = shows || (image->pixels[i] >> 24 & 0xFF) != 0;
                reached = shows != hidden;
                XFree(image);
            }
            if (!reached)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (!reached && before(deadline));
        XCloseDisplay(d);
        return reached;
    }

    // Polls the X server until the game window is w x h, and notes where it
    // is (xwininfo's corner is the window's own, inside any frame).
    bool window_becomes(int w, int h)
    {
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        do {
            run_shell("DISPLAY=" + display_ + " xwininfo -id $(DISPLAY=" + display_ +
                      " xdotool search --onlyvisible --name '^ironstep$') >'" + folder_ + "/geometry' 2>/dev/null");
            const std::string info = read_file(folder_ + "/geometry");
            const auto number = [&info](const char* label) {
                const std::size_t at = info.find(label);
                return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + std::strlen(label));
            };
            window_ = {number("Absolute upper-left X:"), number("Absolute upper-left Y:")};
            if (number("Width:") == w && number("Height:") == h && window_.x >= 0 && window_.y >= 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (before(deadline));
        return false;
    }

    Place window_; // where the window was last seen
};

TEST_F(ScreenModesTest, FullScreenWithBarsThenF11ToAWindowAndBackWhilePlayGoesOn)
{
    screen_w_ = 1920;
    screen_h_ = 1080;
    ChildOutcome outcome;
    ChildProcess child = start_child(GAME, folder_, environment());
    ASSERT_TRUE(wait_for_tables(child, outcome)) << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    EXPECT_TRUE(shows_bars(capture_until(shows_bars))) << "the title menu full screen between bars";
    EXPECT_TRUE(pointer_becomes(true, 100, 100)) << "no pointer over the bars";
    // Back to the middle, where the window will be: without a window manager
    // the keys go to the window under the pointer.
    EXPECT_TRUE(pointer_becomes(true, 960, 540)) << "no pointer over the picture";

    press_keys({"F11"});
    ASSERT_TRUE(window_becomes(800, 600));
    // Back over the window last, for the keys.
    EXPECT_TRUE(pointer_becomes(false, 1900, 1060)) << "the desktop's pointer beside the window";
    EXPECT_TRUE(pointer_becomes(true, window_.x + 400, window_.y + 300)) << "no pointer over the window";
    const Place at = window_;
    const auto menu = [at](const ScreenCapture& c) { return shows_chosen(window_part(c, at), PLAY_ROWS); };
    EXPECT_TRUE(menu(capture_until(menu))) << "the menu as it was, in the window";
    const auto play = [at](const ScreenCapture& c) { return shows_hud_frame(window_part(c, at)); };
    ASSERT_TRUE(play(hold_until({"Return"}, play))) << "the game in the window";

    press_keys({"F11"});
    ASSERT_TRUE(window_becomes(1920, 1080));
    const ScreenCapture playing = capture_until(shows_bars);
    EXPECT_TRUE(shows_bars(playing)) << "the game full screen again";
    // Play goes on: turning moves the view.
    const auto turned = [&playing](const ScreenCapture& c) {
        int changed = 0;
        for (int y = 0; y < 1080; y += 4)
            for (int x = 240; x < 1680; x += 4)
                changed += difference(playing.at(x, y), c.at(x, y)) > 60;
        return changed > 270 * 360 / 10;
    };
    EXPECT_TRUE(turned(hold_until({"Left"}, turned)));
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_TRUE(outcome.exited && outcome.status == 0);
    EXPECT_EQ(read_file(child.err_path), "") << "full screen had, nothing to say";
}

} // namespace
