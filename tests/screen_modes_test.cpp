// The whole game on a 1920 x 1080 display (tests/CMakeLists.txt starts one):
// full screen with black bars either side, F11 to a window in the menu, play
// started there, F11 back to full screen, and play goes on.
#include <string>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

// The picture full screen is 1440 wide from x = 240; the window, one picture
// of 800 x 600 centred at (560, 240).
constexpr int PICTURE_LEFT = 240, PICTURE_RIGHT = 1680;
constexpr int WINDOW_X = 560, WINDOW_Y = 240;

bool black(Rgb p)
{
    return p.r == 0 && p.g == 0 && p.b == 0;
}

// Black bars left and right of a picture that reaches both their edges.
bool shows_bars(const ScreenCapture& c)
{
    for (int y = 0; y < c.height; y += 40)
        if (!black(c.at(0, y)) || !black(c.at(PICTURE_LEFT - 1, y)) || black(c.at(PICTURE_LEFT, y)) ||
            black(c.at(PICTURE_RIGHT - 1, y)) || !black(c.at(PICTURE_RIGHT, y)) || !black(c.at(1919, y)))
            return false;
    return true;
}

// The 800 x 600 window's part of the screen, as the 800 x 600 checks read it.
ScreenCapture window_part(const ScreenCapture& c)
{
    ScreenCapture w;
    w.width = 800;
    w.height = 600;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const Rgb p = c.at(WINDOW_X + x, WINDOW_Y + y);
            w.rgb.insert(w.rgb.end(), {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b});
        }
    return w;
}

// Share of the full-screen picture whose colour changed markedly.
double changed_share(const ScreenCapture& a, const ScreenCapture& b)
{
    int changed = 0, all = 0;
    for (int y = 0; y < a.height; y += 4)
        for (int x = PICTURE_LEFT; x < PICTURE_RIGHT; x += 4) {
            ++all;
            changed += difference(a.at(x, y), b.at(x, y)) > 60;
        }
    return double(changed) / all;
}

class ScreenModesTest : public GameProcessTest {
protected:
    void SetUp() override
    {
        GameProcessTest::SetUp();
        screen_w_ = 1920;
        screen_h_ = 1080;
    }

    // The game window's size as the X server has it, "WIDTHxHEIGHT".
    std::string window_size()
    {
        const std::string out = folder_ + "/geometry";
        run_shell("DISPLAY=" + display_ + " xdotool search --onlyvisible --name '^ironstep$' getwindowgeometry > '" +
                  out + "'");
        const std::string text = read_file(out);
        const std::size_t at = text.find("Geometry: ");
        return at == std::string::npos ? "" : text.substr(at + 10, text.find('\n', at) - at - 10);
    }

    bool wait_for_window_size(const std::string& size)
    {
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        while (window_size() != size && before(deadline))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return window_size() == size;
    }
};

TEST_F(ScreenModesTest, FullScreenWithBarsThenF11ToAWindowAndBackWhilePlayGoesOn)
{
    ChildOutcome outcome;
    ChildProcess child = start_child(GAME, folder_, environment());
    ASSERT_TRUE(wait_for_tables(child, outcome)) << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    EXPECT_EQ(window_size(), "1920x1080");
    EXPECT_TRUE(shows_bars(capture_until(shows_bars))) << "the title menu full screen between bars";

    // F11 in the menu: the window of one picture, the menu in it as before.
    press_keys({"F11"});
    ASSERT_TRUE(wait_for_window_size("800x600"));
    const auto menu_in_window = [](const ScreenCapture& c) { return shows_chosen(window_part(c), PLAY_ROWS); };
    EXPECT_TRUE(menu_in_window(capture_until(menu_in_window)));

    // Enter plays in the window; F11 brings the game back full screen.
    const auto play_in_window = [](const ScreenCapture& c) { return shows_hud_frame(window_part(c)); };
    ASSERT_TRUE(play_in_window(hold_until({"Return"}, play_in_window))) << "the game in the window";
    press_keys({"F11"});
    ASSERT_TRUE(wait_for_window_size("1920x1080"));
    const ScreenCapture playing = capture_until(shows_bars);
    EXPECT_TRUE(shows_bars(playing));

    // Play goes on: turning moves the view.
    const auto turned = [&playing](const ScreenCapture& c) { return changed_share(playing, c) > 0.10; };
    EXPECT_TRUE(turned(hold_until({"Left"}, turned)));
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_TRUE(outcome.exited && outcome.status == 0);
    EXPECT_EQ(read_file(child.err_path), "") << "full screen had, nothing to say";
}

} // namespace
