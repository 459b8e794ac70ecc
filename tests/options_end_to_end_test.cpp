// The title menu's new ends and the options screen, played as a player
// plays them with real X key events: Escape in the menu quits, and JUMP
// bound to Space on the screen jumps and is in the saved settings file.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

constexpr Rgb WHITE = {255, 255, 255};
constexpr Rgb PROMPT_YELLOW = {255, 255, 160};

// The entries of the title menu, and of the options screen's list of pages
// under its white heading, stand in the same rows, 94 pixels apart.
int chosen_entry(const ScreenCapture& c)
{
    for (int e = 0; e < 5; ++e)
        if (count_near(c, CHOSEN_GREEN, PLAY_ROWS[0] + 94 * e, PLAY_ROWS[1] + 94 * e) > 150)
            return e;
    return -1;
}

bool shows_options_heading(const ScreenCapture& c)
{
    return count_near(c, WHITE, 10, 60) > 150;
}

// A page's chosen row, 27 pixels apart from 86 down, its name in green.
int chosen_row(const ScreenCapture& c)
{
    for (int r = 0; r < 16; ++r) {
        int green = 0;
        for (int y = 86 + 27 * r; y < 103 + 27 * r; ++y)
            for (int x = 40; x < 330; ++x)
                green += near(c.at(x, y), CHOSEN_GREEN, 20);
        if (green > 60)
            return r;
    }
    return -1;
}

// "press a key for JUMP" across the bottom.
bool shows_prompt(const ScreenCapture& c)
{
    return count_near(c, PROMPT_YELLOW, 520, 552) > 100;
}

class OptionsScreenTest : public GameProcessTest {
protected:
    // Presses the key until the screen's choice, as `choice` reads it, is
    // `wanted`; after each press, waits for the choice to move before
    // looking again, so that a slow frame never earns a press too many.
    template <class Choice>
    bool press_to(const std::string& k, Choice choice, int wanted)
    {
        const Deadline limit = deadline_in(PATIENCE_SECONDS);
        for (int now = choice(capture()); before(limit); now = choice(capture())) {
            if (now == wanted)
                return true;
            press_keys({k});
            const Deadline moved = deadline_in(10.0);
            while (choice(capture()) == now && before(moved)) {
            }
        }
        return false;
    }

    template <class Shows>
    bool press_until_shown(const std::string& k, Shows shows)
    {
        return press_to(k, [&shows](const ScreenCapture& c) { return shows(c) ? 1 : 0; }, 1);
    }
};

TEST_F(OptionsScreenTest, EscapeInTheTitleMenuEndsTheGameWithStatusZero)
{
    ChildProcess child = start_child(GAME, folder_, environment());
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    const ScreenCapture menu = capture();
    EXPECT_EQ(chosen_entry(menu), 0) << "PLAY chosen";
    EXPECT_GT(count_near(menu, UNCHOSEN_BLUE, QUIT_ROWS[0], QUIT_ROWS[1]), 150) << "QUIT below";
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(read_file(child.err_path), "");
}

TEST_F(OptionsScreenTest, JumpBoundToSpaceOnTheScreenJumpsAndIsSaved)
{
    const std::string conf = folder_ + "/config/ironstep/ironstep.conf";
    run_shell("mkdir -p '" + folder_ + "/config/ironstep' && printf '# my own words\\n[sound]\\nvolume = 80\\n' > '" +
              conf + "'");
    std::vector<std::string> env = environment();
    env.push_back("XDG_CONFIG_HOME=" + folder_ + "/config");
    ChildProcess child = start_child(GAME, folder_, env);
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());

    // OPTIONS, then KEYS, then JUMP (the fifth row), Enter and Space.
    ASSERT_TRUE(press_to("Down", chosen_entry, 2));
    ASSERT_TRUE(press_until_shown("Return", shows_options_heading));
    ASSERT_TRUE(press_to("Down", chosen_entry, 3)) << "KEYS on the list";
    ASSERT_TRUE(press_until_shown("Return", [](const ScreenCapture& c) { return chosen_row(c) == 0; }));
    ASSERT_TRUE(press_to("Down", chosen_row, 4));
    ASSERT_TRUE(press_until_shown("Return", shows_prompt)) << "press a key for JUMP";
    ASSERT_TRUE(press_until_shown("space", [](const ScreenCapture& c) { return !shows_prompt(c); }));

    // Escape back to the list and out of the screen, which saves the file.
    ASSERT_TRUE(press_until_shown("Escape", shows_options_heading));
    ASSERT_TRUE(press_until_shown("Escape", [](const ScreenCapture& c) { return chosen_entry(c) == 2; }));
    const Deadline saved = deadline_in(PATIENCE_SECONDS);
    while (read_file(conf).find("jump = SPACE") == std::string::npos && before(saved)) {
    }
    const std::string text = read_file(conf);
    EXPECT_NE(text.find("jump = SPACE"), std::string::npos) << text;
    EXPECT_NE(text.find("# my own words"), std::string::npos) << "the player's comment stays";
    EXPECT_NE(text.find("volume = 80"), std::string::npos) << text;

    // PLAY, and Space jumps: the view rises.
    ASSERT_TRUE(press_to("Up", chosen_entry, 0));
    ASSERT_TRUE(press_until_shown("Return", shows_hud_frame));
    press_keys({"6"}); // the Walker wanders instead of shoving the player about
    ScreenCapture last = capture();
    const ScreenCapture standing = capture_until([&last](const ScreenCapture& next) {
        const bool same = changed_share(last, next) < 0.005;
        last = next;
        return same;
    });
    const ScreenCapture jumping =
        hold_until({"space"}, [&standing](const ScreenCapture& c) { return changed_share(standing, c) > 0.08; });
    EXPECT_GT(changed_share(standing, jumping), 0.08) << "Space jumps";

    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_EQ(outcome.status, 0);
}

} // namespace
