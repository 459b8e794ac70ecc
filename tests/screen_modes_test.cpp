// The whole game on a 1920 x 1080 display (tests/CMakeLists.txt starts one):
// full screen between black bars, F11 to a window in the menu, play started
// there, F11 back to full screen, and play goes on; no pointer over the game.
// A window as the desktop sees it, F12 in its menu, resized, and destroyed by
// another program.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/screen_fit.h"
#include "platform/png_file.h"
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

// The game's 48-pixel icon as xprop prints _NET_WM_ICON: width, height, then
// 0xAARRGGBB pixels.
std::string icon_as_cardinals()
{
    const std::string png = read_file(std::string(SOURCE_DIR) + "/packaging/icons/ironstep-48.png");
    int w = 0, h = 0;
    std::vector<std::uint8_t> p;
    std::string text = "48, 48";
    if (decode_png(reinterpret_cast<const unsigned char*>(png.data()), png.size(), 48, w, h, p).empty())
        for (std::size_t i = 0; i < p.size(); i += 4)
            text += ", " + std::to_string(std::uint32_t(p[i + 3]) << 24 | p[i] << 16 | p[i + 1] << 8 | p[i + 2]);
    return text;
}

TEST_F(ScreenModesTest, TheDesktopKnowsTheWindowAsTheGamesItResizesWithThePictureFittedAndItsLossEndsTheGame)
{
    screen_w_ = 1920;
    screen_h_ = 1080;
    std::vector<std::string> env = environment();
    env.push_back("IRONSTEP_WINDOW=1");
    run_shell("mkdir -p '" + folder_ + "/.config' && echo 'XDG_PICTURES_DIR=\"$HOME/Bilder\"' > '" + folder_ +
              "/.config/user-dirs.dirs'");
    ChildOutcome outcome;
    ChildProcess child = start_child(GAME, folder_, env);
    ASSERT_TRUE(wait_for_tables(child, outcome)) << read_file(child.err_path);
    // The window is centred after it opens: the menu is looked for where it is.
    bool menu = false;
    for (const Deadline deadline = deadline_in(PATIENCE_SECONDS); !menu && before(deadline);)
        menu = window_becomes(800, 600) && shows_chosen(window_part(capture(), window_), PLAY_ROWS);
    ASSERT_TRUE(menu) << "the menu in the window";
    const Place start = window_;
    run_shell("DISPLAY=" + display_ + " xdotool search --onlyvisible --name '^ironstep$' | tr -d '\\n' > " + folder_ + "/id");
    const std::string window = read_file(folder_ + "/id");
    const auto property = [this, window](const std::string& names) {
        run_shell("DISPLAY=" + display_ + " xprop -len 1000000 -id " + window + " " + names + " | tr -d '\\n' > " +
                  folder_ + "/xprop");
        return read_file(folder_ + "/xprop");
    };
    const std::string names = property("WM_CLASS _NET_WM_NAME WM_NORMAL_HINTS _NET_WM_ALLOWED_ACTIONS");
    EXPECT_NE(names.find("WM_CLASS(STRING) = \"ironstep\", \"Ironstep\""), std::string::npos) << names;
    EXPECT_NE(read_file(std::string(SOURCE_DIR) + "/packaging/ironstep.desktop").find("\nStartupWMClass=Ironstep\n"),
              std::string::npos) << "the launcher names the window's class";
    EXPECT_NE(names.find("_NET_WM_NAME(UTF8_STRING) = \"ironstep\""), std::string::npos) << names;
    EXPECT_NE(names.find("minimum size: 800 by 600"), std::string::npos) << names;
    EXPECT_EQ(names.find("maximum size"), std::string::npos) << names;
    const std::string icons = property("-notype 32c _NET_WM_ICON");
    EXPECT_EQ(icons.find("_NET_WM_ICON = " + icon_as_cardinals() + ", 128, 128, "), 0u) << icons.substr(0, 80);
    EXPECT_NE(icons.find(", 256, 256, "), std::string::npos);
    const bool managed = run_shell("DISPLAY=" + display_ + " xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'") == 0;
    EXPECT_TRUE(!managed || names.find("MAXIMIZE_VERT") != std::string::npos) << "the manager offers to maximise it";

    // F12 in the menu, into the desktop's pictures folder.
    const std::string screenshot = folder_ + "/Bilder/ironstep/ironstep-0001.png";
    for (const Deadline deadline = deadline_in(PATIENCE_SECONDS); !file_exists(screenshot) && before(deadline);)
        press_keys({"F12"});
    EXPECT_TRUE(file_exists(screenshot));
    const auto play = [start](const ScreenCapture& c) { return shows_hud_frame(window_part(c, start)); };
    ASSERT_TRUE(play(hold_until({"Return"}, play))) << "the game in the window";
    // Resized by another program, or through the window manager where one runs.
    run_shell("DISPLAY=" + display_ + " xdotool windowsize " + window + " 1200 700");
    ASSERT_TRUE(window_becomes(1200, 700));
    const PictureRect r = fit_picture(1200, 700, Scaling::smooth);
    const Place at = {window_.x + r.x, window_.y + 700 - r.y - r.h};
    const auto fitted = [at, r](const ScreenCapture& c) {
        const auto black = [&c](int x, int y) { return near(c.at(x, y), {0, 0, 0}, 0); };
        for (int y = at.y; y < at.y + r.h; y += 35)
            if (!black(at.x - 1, y) || black(at.x, y) || black(at.x + r.w - 1, y) || !black(at.x + r.w, y))
                return false;
        return !black(at.x + r.w / 2, at.y) && !black(at.x + r.w / 2, at.y + r.h - 1);
    };
    EXPECT_TRUE(fitted(capture_until(fitted))) << "the picture fills the window's height, black beside it";

    // Destroyed in play, where the library's threads still draw and ask for it.
    run_shell("DISPLAY=" + display_ + " xdotool windowclose " + window);
    outcome = wait_child(child, PATIENCE_SECONDS);
    ASSERT_TRUE(outcome.ended && outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(read_file(child.err_path), "ironstep: the game's window was destroyed by another program; ending\n");
}

} // namespace
