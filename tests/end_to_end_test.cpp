// The game as a player meets it: the real program under the test display,
// driven by real X key events held as a person holds them, and judged by
// what its screens show (captured from outside with xwd).
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game_process.h"

namespace {

using Rgb = ScreenCapture::Rgb;

int difference(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// The world above the health pie and the minimap, clear of the frame rate.
bool in_world_view(int x, int y)
{
    return x >= 100 && x < 790 && y >= 10 && y < 390;
}

// Share of the world view whose colour changed markedly between two captures.
double changed_share(const ScreenCapture& a, const ScreenCapture& b)
{
    int changed = 0, all = 0;
    for (int y = 0; y < a.height; y += 2)
        for (int x = 0; x < a.width; x += 2)
            if (in_world_view(x, y)) {
                ++all;
                changed += difference(a.at(x, y), b.at(x, y)) > 60;
            }
    return double(changed) / all;
}

// Points of a burst: small specks unlike the even background round them.
int burst_specks(const ScreenCapture& c)
{
    int specks = 0;
    for (int y = 10; y < 390; ++y)
        for (int x = 100; x < 790; ++x) {
            const Rgb centre = c.at(x, y);
            const Rgb round[4] = {c.at(x - 3, y), c.at(x + 3, y), c.at(x, y - 3), c.at(x, y + 3)};
            bool speck = true;
            for (const Rgb& r : round)
                speck = speck && difference(centre, r) > 80 && difference(round[0], r) < 40;
            specks += speck;
        }
    return specks;
}

// The viewport frame's blue on the screen's left, right and bottom edges
// (the demo's banner covers the top one).
bool shows_hud_frame(const ScreenCapture& c)
{
    const Rgb blue = {64, 128, 196};
    return near(c.at(1, 300), blue, 3) && near(c.at(798, 300), blue, 3) && near(c.at(400, 598), blue, 3);
}

// The gunsight: a cross of one colour through the centre, green 128 and
// little blue, with the world showing between its arms.
bool shows_gunsight(const ScreenCapture& c)
{
    const Rgb arm = c.at(420, 300);
    const bool cross = near(c.at(380, 300), arm, 2) && near(c.at(400, 280), arm, 2) && near(c.at(400, 320), arm, 2);
    return cross && std::abs(arm.g - 128) <= 2 && arm.b < 40 && difference(c.at(412, 312), arm) > 30 &&
           difference(c.at(388, 288), arm) > 30;
}


int count_near(const ScreenCapture& c, Rgb colour, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < c.width; ++x)
            n += near(c.at(x, y), colour, 20);
    return n;
}

// The banner ends at row 150: a seam across the whole screen there.
bool shows_banner(const ScreenCapture& c)
{
    int seam = 0;
    for (int x = 0; x < c.width; ++x)
        seam += difference(c.at(x, 144), c.at(x, 156)) > 20;
    return seam > c.width * 9 / 10;
}

double brightness(const ScreenCapture& c, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb p = c.at(x, y);
            sum += p.r + p.g + p.b;
        }
    return sum / ((x1 - x0) * (y1 - y0));
}

class EndToEndTest : public GameProcessTest {
protected:
    ScreenCapture capture()
    {
        ScreenCapture c;
        EXPECT_TRUE(capture_screen(display_, folder_ + "/screen.xwd", c));
        if (c.width != 800 || c.height != 600) {
            ADD_FAILURE() << "screen " << c.width << " x " << c.height;
            c.width = 800;
            c.height = 600;
            c.rgb.assign(800 * 600 * 3, 0);
        }
        return c;
    }

    // Holds the keys down, captures the screen after the given seconds, then lets them go.
    ScreenCapture capture_while_held(const std::vector<std::string>& keys, double seconds)
    {
        std::string down, up;
        for (const std::string& k : keys) {
            down += " keydown " + k;
            up += " keyup " + k;
        }
        run_shell("DISPLAY=" + display_ + " xdotool" + down + " sleep " + std::to_string(seconds));
        const ScreenCapture c = capture();
        run_shell("DISPLAY=" + display_ + " xdotool" + up);
        return c;
    }

    void hold(const std::vector<std::string>& keys, double seconds) { capture_while_held(keys, seconds); }

    static void pause(double seconds)
    {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }

    // The game started, its colour tables made and its window up.
    ChildProcess start_game(ChildOutcome& outcome)
    {
        ChildProcess child = start_child(GAME, folder_, environment());
        EXPECT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
        EXPECT_EQ(run_shell("DISPLAY=" + display_ + " timeout 30 xdotool search --sync --name '^ironstep$' >/dev/null"),
                  0);
        // The window is black until the menu's first frame is shown.
        for (int attempt = 0; attempt < 60 && count_near(capture(), {0, 0, 0}, 0, 600) > 800 * 600 / 2; ++attempt)
            pause(0.25);
        return child;
    }
};

TEST_F(EndToEndTest, MenuThenPlayWalkTurnJumpShootAndTheCloseViewThenEscape)
{
    ChildOutcome outcome;
    ChildProcess child = start_game(outcome);

    // The title menu: PLAY chosen (green, arrowed) above DEMO (blue), over a fly-over that moves.
    const ScreenCapture menu = capture();
    pause(0.5);
    const ScreenCapture later = capture();
    EXPECT_GT(count_near(menu, {16, 128, 64}, 20, 75), 150) << "PLAY in the chosen colour";
    EXPECT_GT(count_near(menu, {128, 196, 225}, 115, 170), 150) << "DEMO in the other colour";
    EXPECT_FALSE(shows_hud_frame(menu));
    EXPECT_GT(changed_share(menu, later), 0.05) << "the fly-over moves";

    // Enter plays: the viewport frame, the pie and the minimap of the game.
    ScreenCapture play = menu;
    for (int attempt = 0; attempt < 10 && !shows_hud_frame(play); ++attempt) {
        hold({"Return"}, 0.3);
        pause(0.3);
        play = capture();
    }
    ASSERT_TRUE(shows_hud_frame(play)) << "Enter starts the game";
    EXPECT_FALSE(shows_gunsight(play)) << "no gunsight in the chase view";

    // Walking forward, turning and jumping each move the view.
    const ScreenCapture walked = capture_while_held({"Up"}, 1.5);
    EXPECT_GT(changed_share(play, walked), 0.03) << "walking";
    pause(0.3);
    const ScreenCapture standing = capture();
    const ScreenCapture turned = capture_while_held({"Left"}, 1.5);
    EXPECT_GT(changed_share(standing, turned), 0.10) << "a quarter turn";
    pause(0.3);
    const ScreenCapture on_the_ground = capture();
    const ScreenCapture jumping = capture_while_held({"Shift_L"}, 0.6);
    EXPECT_GT(changed_share(on_the_ground, jumping), 0.08) << "the view rises with the jump";
    pause(2.0);

    // Looking down, a charged shot fired into the ground ahead bursts into specks.
    hold({"Next"}, 2.0);
    const ScreenCapture charged = capture_while_held({"z"}, 1.2);
    EXPECT_LT(burst_specks(charged), 20) << "nothing burst yet";
    pause(0.5);
    const ScreenCapture burst = capture();
    EXPECT_GT(burst_specks(burst), 40) << "the shot bursts";

    // The close view while X is held, with the gunsight at the centre.
    const ScreenCapture close_view = capture_while_held({"x"}, 1.0);
    EXPECT_TRUE(shows_gunsight(close_view));
    EXPECT_TRUE(shows_hud_frame(close_view));

    // Escape ends the game.
    for (int attempt = 0; attempt < 10 && !poll_child(child, outcome); ++attempt)
        hold({"Escape"}, 0.3);
    if (!outcome.ended)
        outcome = wait_child(child, 2.0);
    ASSERT_TRUE(outcome.ended) << "stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(xmessage_log(), "");
}

TEST_F(EndToEndTest, TheDemoChosenInTheMenuShowsItsBannerAndKeysAndEndsByItselfWithStatus0)
{
    // The game reads its recording from the folder it starts in.
    run_shell("cp '" + BUILD_DIR + "/vesk' '" + folder_ + "/'");
    ChildOutcome outcome;
    ChildProcess child = start_game(outcome);
    // Down chooses DEMO, Enter confirms; each is pressed again until the
    // screen shows that it was seen (a press while the menu comes up is lost).
    ScreenCapture menu = capture();
    for (int attempt = 0; attempt < 10 && count_near(menu, {16, 128, 64}, 115, 170) < 150; ++attempt) {
        hold({"Down"}, 0.3);
        menu = capture();
    }
    ASSERT_GT(count_near(menu, {16, 128, 64}, 115, 170), 150) << "DEMO chosen";
    EXPECT_LT(count_near(menu, {16, 128, 64}, 20, 75), 150) << "PLAY no longer";
    auto confirmed = std::chrono::steady_clock::now();
    ScreenCapture early = menu;
    for (int attempt = 0; attempt < 10 && !shows_banner(early); ++attempt) {
        confirmed = std::chrono::steady_clock::now();
        hold({"Return"}, 0.3);
        pause(0.5);
        early = capture();
    }
    ASSERT_TRUE(shows_banner(early)) << "Enter starts the demo";
    EXPECT_TRUE(shows_hud_frame(early));
    pause(2.0);
    // From about 9 to 25 seconds the recording walks: Up's key lights, Down's does not.
    pause(18.0);
    const ScreenCapture walking = capture();
    EXPECT_TRUE(shows_banner(walking));
    const double up = brightness(walking, 585, 106, 608, 121);
    const double down = brightness(walking, 585, 130, 608, 145);
    EXPECT_GT(up, down + 20.0) << "Up lit " << up << ", Down " << down;

    // Play never ends by itself: only the demo, after its 2,499 records
    // (41.65 seconds at 60 ticks a second), ends without Escape.
    outcome = wait_child(child, 70.0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - confirmed).count();
    ASSERT_TRUE(outcome.ended) << "the demo did not end by itself; stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_GT(seconds, 40.0) << "ended before the recording had played";
    EXPECT_LT(seconds, 50.0) << "the demo runs at the game's 60 ticks a second";
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "the recording was found";
    EXPECT_EQ(xmessage_log(), "");
}

} // namespace
