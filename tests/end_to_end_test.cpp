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

// The sky's even colour anywhere along the top of the world view.
bool shows_sky(const ScreenCapture& c)
{
    for (int x = 100; x < 790; x += 2)
        if (near(c.at(x, 12), {102, 128, 178}, 3))
            return true;
    return false;
}

// The demo banner's indicators of the Up and Down keys.
double up_key_light(const ScreenCapture& c)
{
    return brightness(c, 585, 106, 608, 121);
}

double down_key_light(const ScreenCapture& c)
{
    return brightness(c, 585, 130, 608, 145);
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

    // Captures the screen until it shows what is looked for, or the limit
    // passes; the last capture is returned for the test to judge.
    template <class Shows>
    ScreenCapture capture_until(Shows shows)
    {
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        ScreenCapture c = capture();
        while (!shows(c) && before(deadline))
            c = capture();
        return c;
    }

    // Holds the keys down (at least min_hold seconds) and captures the screen
    // until it shows what is looked for. If it does not within a few seconds,
    // the keys are let go and pressed afresh (a press may come before the game
    // looks, a jump may be over, a fresh close view shows the gunsight), until
    // the limit passes. The last capture is returned for the test to judge.
    template <class Shows>
    ScreenCapture hold_until(const std::vector<std::string>& keys, Shows shows, double min_hold = 0.2)
    {
        std::string down, up;
        for (const std::string& k : keys) {
            down += " keydown " + k;
            up += " keyup " + k;
        }
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        ScreenCapture c;
        do {
            run_shell("DISPLAY=" + display_ + " xdotool" + down);
            const Deadline held = deadline_in(min_hold), press_again = deadline_in(3.0);
            do
                c = capture();
            while (!shows(c) && before(press_again) && before(deadline));
            std::this_thread::sleep_until(held);
            run_shell("DISPLAY=" + display_ + " xdotool" + up);
        } while (!shows(c) && before(deadline));
        return c;
    }

    // Captures the screen until two captures in a row show the same view: the
    // game has taken in the keys let go and the view has come to rest.
    ScreenCapture settled()
    {
        ScreenCapture last = capture();
        return capture_until([&last](const ScreenCapture& next) {
            const bool same = changed_share(last, next) < 0.005;
            last = next;
            return same;
        });
    }

    // The game started, its colour tables made and its window up.
    ChildProcess start_game(ChildOutcome& outcome)
    {
        ChildProcess child = start_child(GAME, folder_, environment());
        EXPECT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
        EXPECT_TRUE(wait_for_first_frame());
        return child;
    }
};

TEST_F(EndToEndTest, MenuThenPlayWalkTurnJumpShootAndTheCloseViewThenEscape)
{
    ChildOutcome outcome;
    ChildProcess child = start_game(outcome);

    // The title menu: PLAY chosen (green, arrowed) above DEMO (blue), over a fly-over that moves.
    const ScreenCapture menu = capture();
    EXPECT_GT(count_near(menu, {16, 128, 64}, 20, 75), 150) << "PLAY in the chosen colour";
    EXPECT_GT(count_near(menu, {128, 196, 225}, 115, 170), 150) << "DEMO in the other colour";
    EXPECT_FALSE(shows_hud_frame(menu));
    const auto moved_from = [](const ScreenCapture& from, double share) {
        return [&from, share](const ScreenCapture& c) { return changed_share(from, c) > share; };
    };
    EXPECT_GT(changed_share(menu, capture_until(moved_from(menu, 0.05))), 0.05) << "the fly-over moves";

    // Enter plays: the viewport frame, the pie and the minimap of the game.
    const ScreenCapture play = hold_until({"Return"}, shows_hud_frame);
    ASSERT_TRUE(shows_hud_frame(play)) << "Enter starts the game";
    EXPECT_FALSE(shows_gunsight(play)) << "no gunsight in the chase view";

    // Walking forward, turning and jumping each move the view.
    const ScreenCapture walked = hold_until({"Up"}, moved_from(play, 0.03));
    EXPECT_GT(changed_share(play, walked), 0.03) << "walking";
    const ScreenCapture standing = settled();
    const ScreenCapture turned = hold_until({"Left"}, moved_from(standing, 0.10));
    EXPECT_GT(changed_share(standing, turned), 0.10) << "turning";
    const ScreenCapture on_the_ground = settled();
    const ScreenCapture jumping = hold_until({"Shift_L"}, moved_from(on_the_ground, 0.08));
    EXPECT_GT(changed_share(on_the_ground, jumping), 0.08) << "the view rises with the jump";

    // Looking down until the sky has left the view, a charged shot fired into
    // the ground ahead bursts into specks. Nothing bursts while the fire key
    // charges; holding it for 1.2 s charges the shot fully.
    const ScreenCapture looking_down = hold_until({"Next"}, [](const ScreenCapture& c) { return !shows_sky(c); });
    EXPECT_FALSE(shows_sky(looking_down)) << "looking down";
    const ScreenCapture charged = hold_until({"z"}, [](const ScreenCapture&) { return true; }, 1.2);
    EXPECT_LT(burst_specks(charged), 20) << "nothing burst yet";
    const ScreenCapture burst = capture_until([](const ScreenCapture& c) { return burst_specks(c) > 40; });
    EXPECT_GT(burst_specks(burst), 40) << "the shot bursts";

    // The close view while X is held, with the gunsight at the centre. An
    // opponent held near the centre for 3/4 s is locked on, and the pulsing
    // marker then shows instead; until then the sight shows.
    const ScreenCapture close_view = hold_until({"x"}, shows_gunsight);
    EXPECT_TRUE(shows_gunsight(close_view));
    EXPECT_TRUE(shows_hud_frame(close_view));

    // Escape ends the game.
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}})) << "stderr: " << read_file(child.err_path);
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
    // screen shows that it was seen.
    const ScreenCapture menu =
        hold_until({"Down"}, [](const ScreenCapture& c) { return count_near(c, {16, 128, 64}, 115, 170) > 150; });
    ASSERT_GT(count_near(menu, {16, 128, 64}, 115, 170), 150) << "DEMO chosen";
    EXPECT_LT(count_near(menu, {16, 128, 64}, 20, 75), 150) << "PLAY no longer";
    const auto confirmed = std::chrono::steady_clock::now();
    const ScreenCapture early = hold_until({"Return"}, shows_banner);
    ASSERT_TRUE(shows_banner(early)) << "Enter starts the demo";
    EXPECT_TRUE(shows_hud_frame(early));
    // From about 13 to 30 seconds the recording walks: Up's key lights, Down's does not.
    const auto walks = [](const ScreenCapture& c) { return up_key_light(c) > down_key_light(c) + 20.0; };
    const ScreenCapture walking = capture_until(walks);
    EXPECT_TRUE(shows_banner(walking));
    EXPECT_TRUE(walks(walking)) << "Up lit " << up_key_light(walking) << ", Down " << down_key_light(walking);

    // Play never ends by itself: only the demo, after its 2,499 records
    // (41.65 seconds at 60 ticks a second), ends without Escape. The game
    // counts ticks from a timer that never runs ahead of the clock, starting
    // after Enter, so the demo cannot end sooner; a busy machine may take longer.
    outcome = wait_child(child, PATIENCE_SECONDS);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - confirmed).count();
    ASSERT_TRUE(outcome.ended) << "the demo did not end by itself; stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_GT(seconds, 41.0) << "ended before the recording had played";
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "the recording was found";
    EXPECT_EQ(xmessage_log(), "");
}

} // namespace
