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
#include "tests/screen_checks.h"

namespace {

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

// The gunsight: a cross of one colour through the centre, green 128 and
// little blue, with the world showing between its arms.
bool shows_gunsight(const ScreenCapture& c)
{
    const Rgb arm = c.at(420, 300);
    const bool cross = near(c.at(380, 300), arm, 2) && near(c.at(400, 280), arm, 2) && near(c.at(400, 320), arm, 2);
    return cross && std::abs(arm.g - 128) <= 2 && arm.b < 40 && difference(c.at(412, 312), arm) > 30 &&
           difference(c.at(388, 288), arm) > 30;
}

// The sky's even colour anywhere along the top of the world view.
bool shows_sky(const ScreenCapture& c)
{
    for (int x = 100; x < 790; x += 2)
        if (near(c.at(x, 12), {102, 128, 178}, 3))
            return true;
    return false;
}

class EndToEndTest : public GameProcessTest {
protected:
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
    EXPECT_GT(count_near(menu, CHOSEN_GREEN, PLAY_ROWS[0], PLAY_ROWS[1]), 150) << "PLAY in the chosen colour";
    EXPECT_GT(count_near(menu, UNCHOSEN_BLUE, DEMO_ROWS[0], DEMO_ROWS[1]), 150) << "DEMO in the other colour";
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

} // namespace
