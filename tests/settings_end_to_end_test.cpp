// The player's settings in the running game: a settings file that binds the
// walk to T and holds a bad line, pause holding the world still while keys
// are held, the Pause key acting on every press, F12 saving the picture on the
// screen as a PNG, and a gamepad, there from the start or plugged in and
// pulled out while the game runs.
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/joystick.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

// The red roof of the house ahead of the start point, in pixels: it grows
// as the player walks towards it, whatever else moves (the Walker, the
// Flyer, the player's model blinking when hit).
int roof_ahead(const ScreenCapture& c)
{
    int red = 0;
    for (int y = 120; y < 330; ++y)
        for (int x = 200; x < 600; ++x) {
            const Rgb p = c.at(x, y);
            red += p.r > p.g + 80 && p.r > p.b + 80;
        }
    return red;
}

// "PAUSED" in white across the middle of the screen.
bool shows_paused(const ScreenCapture& c)
{
    int white = 0;
    for (int y = 285; y < 340; ++y)
        for (int x = 250; x < 550; ++x)
            white += near(c.at(x, y), {255, 255, 255}, 8);
    return white > 300;
}

// A PNG file decoded as 8-bit RGB, in the form of a screen capture.
bool decode_png(const std::string& path, ScreenCapture& out)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
        return false;
    image.format = PNG_FORMAT_RGB;
    out.width = int(image.width);
    out.height = int(image.height);
    out.rgb.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

class SettingsInPlayTest : public GameProcessTest {
protected:
    std::vector<std::string> with_settings(const std::string& text)
    {
        run_shell("mkdir -p '" + folder_ + "/config/ironstep' && printf '" + text + "' > '" + folder_ +
                  "/config/ironstep/ironstep.conf'");
        std::vector<std::string> env = environment();
        env.push_back("XDG_CONFIG_HOME=" + folder_ + "/config");
        env.push_back("XDG_PICTURES_DIR=" + folder_ + "/pictures");
        return env;
    }

    // The player has walked some way towards the house ahead: the roof
    // doubles in about two seconds of walking, and the Walker's shoves move
    // the player only a few units a minute.
    static bool walked_from(const ScreenCapture& from, const ScreenCapture& c)
    {
        return roof_ahead(c) > roof_ahead(from) * 2;
    }
    // Captures until the player has walked from the first capture, or the
    // limit passes; the game's time runs at its own pace however busy the
    // machine, and the limit is fifteen times what walking takes, far short
    // of what shoves take. The last capture is returned with the first.
    std::pair<ScreenCapture, ScreenCapture> walk(const std::string& held_key)
    {
        const ScreenCapture from = capture();
        if (!held_key.empty())
            run_shell("DISPLAY=" + display_ + " xdotool keydown " + held_key);
        const Deadline limit = deadline_in(30.0);
        ScreenCapture to = capture();
        while (!walked_from(from, to) && before(limit))
            to = capture();
        if (!held_key.empty())
            run_shell("DISPLAY=" + display_ + " xdotool keyup " + held_key);
        return {from, to};
    }

    // The environment in which Allegro's joystick driver takes the named pipe
    // at pad for its device, through the stand-in that answers its ioctls.
    std::vector<std::string> with_stand_in_pad(const std::string& pad)
    {
        run_shell("printf '[joystick]\\njoystick_device = " + pad + "\\n' > '" + folder_ + "/allegro.cfg'");
        std::vector<std::string> env = environment();
        env.push_back("ALLEGRO=" + folder_);
        env.push_back(std::string("LD_PRELOAD=") + JOYSTICK_STAND_IN);
        return env;
    }
};

// Writes one Linux joystick event moving the walk axis (axis 1).
bool push_walk_axis(int writer, short value)
{
    const js_event event = {0, value, JS_EVENT_AXIS, 1};
    return write(writer, &event, sizeof event) == ssize_t(sizeof event);
}

TEST_F(SettingsInPlayTest, TWalksAsBoundABadLineIsNamedPauseHoldsTheWorldEachPressOfPauseCountsAndF12SavesThePicture)
{
    // Full screen, with a scale for the window F11 would open: too large for
    // the test's 800 x 600 desktop, and said so.
    ChildProcess child = start_child(GAME, folder_, with_settings("[keys]\\nforward = T\\njump = NOSUCHKEY\\n"),
                                     "ironstep", {"--scale", "2"});
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    EXPECT_EQ(read_file(child.err_path), "ironstep: " + folder_ +
                                             "/config/ironstep/ironstep.conf:3: unknown key name: NOSUCHKEY; "
                                             "the default is kept\n"
                                             "ironstep: a window of scale 2 (1600 x 1200) does not fit the "
                                             "desktop's 800 x 600: scale 1\n");
    const ScreenCapture play = hold_until({"Return"}, shows_hud_frame);
    ASSERT_TRUE(shows_hud_frame(play)) << "Enter starts the game";
    press_keys({"6"}); // the Walker wanders instead of shoving the player about

    const auto [before_walk, walked] = walk("t");
    EXPECT_TRUE(walked_from(before_walk, walked)) << "T walks";

    // Paused, nothing moves however long T is held; not even the Walker.
    const ScreenCapture paused = hold_until({"p"}, shows_paused);
    ASSERT_TRUE(shows_paused(paused));
    run_shell("DISPLAY=" + display_ + " xdotool keydown t");
    for (int look = 0; look < 10; ++look)
        EXPECT_LT(changed_share(paused, capture()), 0.001) << "capture " << look << " while paused";
    run_shell("DISPLAY=" + display_ + " xdotool keyup t");

    // F12 saves the picture under the words drawn over it.
    const std::string picture = folder_ + "/pictures/ironstep/ironstep-0001.png";
    const Deadline deadline = deadline_in(PATIENCE_SECONDS);
    while (!file_exists(picture) && before(deadline))
        press_keys({"F12"});
    ScreenCapture saved;
    ASSERT_TRUE(decode_png(picture, saved)) << "a PNG at " << picture;
    ASSERT_EQ(saved.width, 800);
    ASSERT_EQ(saved.height, 600);
    const ScreenCapture screen = capture();
    int same = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            same += difference(saved.at(x, y), screen.at(x, y)) <= 12;
    EXPECT_GT(same, 800 * 600 * 95 / 100) << "the saved picture is the screen's, but for the words over it";

    // P again resumes, and T walks again.
    const ScreenCapture resumed = hold_until({"p"}, [](const ScreenCapture& c) { return !shows_paused(c); });
    ASSERT_FALSE(shows_paused(resumed));
    const auto [before_walk_again, walked_again] = walk("t");
    EXPECT_TRUE(walked_from(before_walk_again, walked_again)) << "T walks after the pause";

    // The Pause key pauses and resumes on each press, though the X server
    // reports it as a toggle: one press down, the next up.
    press_keys({"Pause"});
    EXPECT_TRUE(shows_paused(capture_until(shows_paused))) << "the first press of Pause";
    press_keys({"Pause"});
    EXPECT_FALSE(shows_paused(capture_until([](const ScreenCapture& c) { return !shows_paused(c); })))
        << "the second press of Pause";

    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_EQ(outcome.status, 0);
}

// Allegro's joystick driver reads a named pipe, through the stand-in that
// answers its ioctls; the test writes Linux joystick events into the pipe.
TEST_F(SettingsInPlayTest, TheGamepadsStickPushedUpWalksThePlayerForward)
{
    const std::string pad = folder_ + "/pad";
    ASSERT_EQ(mkfifo(pad.c_str(), 0600), 0);
    ChildProcess child = start_child(GAME, folder_, with_stand_in_pad(pad));
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    EXPECT_EQ(read_file(child.err_path), "") << "nothing said about the gamepad";
    const ScreenCapture play = hold_until({"Return"}, shows_hud_frame);
    ASSERT_TRUE(shows_hud_frame(play)) << "Enter starts the game";
    press_keys({"6"}); // the Walker wanders instead of shoving the player about

    // The game holds the pipe open for reading from start-up on.
    const int writer = open(pad.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0) << "the game reads the stand-in joystick";
    ASSERT_TRUE(push_walk_axis(writer, -32767));
    const auto [before_walk, walked] = walk("");
    EXPECT_TRUE(walked_from(before_walk, walked)) << "the stick pushed up walks";
    close(writer);

    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_EQ(outcome.status, 0);
}

// The pad's device appears in its folder while the game plays: the game
// opens it (the pipe then takes a writer), and its stick walks. Pulled out
// with the stick still pushed, it lets go: Down alone walks back, which it
// could not against a forward still held.
TEST_F(SettingsInPlayTest, APadPluggedInWhilePlayingWalksAndPulledOutHoldsNothing)
{
    const std::string pad = folder_ + "/pad";
    ChildProcess child = start_child(GAME, folder_, with_stand_in_pad(pad));
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());
    const ScreenCapture play = hold_until({"Return"}, shows_hud_frame);
    ASSERT_TRUE(shows_hud_frame(play)) << "Enter starts the game";
    press_keys({"6"});

    ASSERT_EQ(mkfifo(pad.c_str(), 0600), 0);
    int writer = -1;
    for (const Deadline limit = deadline_in(PATIENCE_SECONDS); writer < 0 && before(limit);) {
        writer = open(pad.c_str(), O_WRONLY | O_NONBLOCK); // fails until the game reads the pipe
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GE(writer, 0) << "the game opens the pad plugged in";
    ASSERT_TRUE(push_walk_axis(writer, -32767));
    const auto [before_walk, walked] = walk("");
    ASSERT_TRUE(walked_from(before_walk, walked)) << "the pad plugged in walks";

    ASSERT_EQ(unlink(pad.c_str()), 0);
    const int roof_when_pulled = roof_ahead(capture());
    run_shell("DISPLAY=" + display_ + " xdotool keydown Down");
    ScreenCapture back = capture();
    for (const Deadline limit = deadline_in(30.0); roof_ahead(back) * 3 > roof_when_pulled * 2 && before(limit);)
        back = capture();
    run_shell("DISPLAY=" + display_ + " xdotool keyup Down");
    EXPECT_LE(roof_ahead(back) * 3, roof_when_pulled * 2) << "Down walks back: the pad pulled out holds nothing";
    close(writer);

    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}}));
    EXPECT_EQ(outcome.status, 0);
}

} // namespace
