// The whole game as a process: console output, exit statuses, messages, and
// Escape sent as a real X key event. Runs under the display that the test
// script starts; a stand-in xmessage records what the game would show.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <allegro.h>
#include <gtest/gtest.h>

#include "app/startup.h"
#include "tests/process_runner.h"

namespace {

const std::string GAME = GAME_BINARY;
const std::string BUILD_DIR = TEST_BUILD_DIR;

// The stars that a progress bar gets: one for every position the library
// reports whose two low bits are set. The library decides how often it
// reports, so the expectation asks it, with the game's own palette.
int reported_star_count = 0;
void count_stars(int pos)
{
    if ((pos & 3) == 3)
        ++reported_star_count;
}

std::string expected_console_output()
{
    static const std::string expected = [] {
        PALETTE palette;
        build_startup_palette(palette);
        static RGB_MAP rgb;
        static COLOR_MAP light;
        reported_star_count = 0;
        create_rgb_table(&rgb, palette, count_stars);
        const std::string rgb_stars(reported_star_count, '*');
        rgb_map = &rgb;
        reported_star_count = 0;
        create_light_table(&light, palette, 0, 0, 0, count_stars);
        const std::string light_stars(reported_star_count, '*');
        rgb_map = nullptr;

        const std::string bar = "<" + std::string(64, '.') + ">\r<";
        return "Generating rgb_map table:\n" + bar + rgb_stars + "\n\n" + "Generating lighting table:\n" + bar +
               light_stars + "\n";
    }();
    return expected;
}

TEST(ConsoleOutput, TheRgbTableFillsItsBarWithSixtyFourStars)
{
    EXPECT_NE(expected_console_output().find("<" + std::string(64, '.') + ">\r<" + std::string(64, '*') + "\n\n"),
              std::string::npos);
}

class GameProcessTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        ASSERT_NE(display, nullptr) << "the process tests need an X display: run them through 'make test'";
        display_ = display;
        folder_ = make_temp_folder();
        ASSERT_FALSE(folder_.empty());
        // Under X11 allegro_message runs xmessage and waits for a click; this
        // stand-in records its arguments and answers as if OK were clicked
        // (status 101), so the message is not repeated on the console.
        run_shell("mkdir -p '" + folder_ + "/bin'");
        const std::string script = folder_ + "/bin/xmessage";
        run_shell("printf '#!/bin/sh\\nprintf \"%%s\\\\n\" \"$@\" >> \"" + folder_ +
                  "/xmessage.log\"\\nexit 101\\n' > '" + script + "' && chmod +x '" + script + "'");
    }

    void TearDown() override { remove_tree(folder_); }

    std::vector<std::string> environment(bool with_display = true) const
    {
        std::vector<std::string> env = {
            "PATH=" + folder_ + "/bin:/usr/bin:/bin",
            "HOME=" + folder_,
            "LIBGL_ALWAYS_SOFTWARE=1",
        };
        if (with_display)
            env.push_back("DISPLAY=" + display_);
        return env;
    }

    std::string xmessage_log() const { return read_file(folder_ + "/xmessage.log"); }

    // A copy of the game in its own folder, with the scenery list and with
    // or without a datafile.
    std::string install_game_copy(const std::string& datafile_source, bool with_scenery = true)
    {
        const std::string game_folder = folder_ + "/game";
        run_shell("mkdir -p '" + game_folder + "' && cp '" + GAME + "' '" + game_folder + "/'");
        if (!datafile_source.empty())
            run_shell("cp '" + datafile_source + "' '" + game_folder + "/height.dat'");
        if (with_scenery)
            run_shell("cp '" + BUILD_DIR + "/scenery.txt' '" + game_folder + "/'");
        return game_folder + "/ironstep";
    }

    // Once the console shows both colour tables, holds Escape down for a
    // moment at a time until the game ends. Returns the seconds from the first
    // Escape to the end, or a negative value if it never ended.
    double escape_until_ended(ChildProcess& child, ChildOutcome& outcome, const std::string& display)
    {
        const std::string expected = expected_console_output();
        for (int i = 0; i < 300 && read_file(child.out_path) != expected; ++i) {
            if (poll_child(child, outcome))
                return -1.0;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const auto first_escape = std::chrono::steady_clock::now();
        const std::string press = "DISPLAY=" + display + " xdotool keydown Escape sleep 0.3 keyup Escape";
        for (int attempt = 0; attempt < 40; ++attempt) {
            run_shell(press);
            if (poll_child(child, outcome))
                return std::chrono::duration<double>(std::chrono::steady_clock::now() - first_escape).count();
        }
        wait_child(child, 0.1);
        return -1.0;
    }

    std::string display_;
    std::string folder_;
};

TEST_F(GameProcessTest, EscapeEndsTheGameWithStatus0EvenWhenStartedFromAnotherFolder)
{
    // The current folder holds no datafile: the game finds it beside itself.
    ChildProcess child = start_child(GAME, folder_, environment());
    ChildOutcome outcome;
    const double seconds = escape_until_ended(child, outcome, display_);
    ASSERT_GE(seconds, 0.0) << "the game did not end on Escape; stderr: " << read_file(folder_ + "/stderr.txt");
    EXPECT_LT(seconds, 5.0);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(read_file(child.out_path), expected_console_output());
    EXPECT_EQ(xmessage_log(), "") << "no message box on a normal run";
}

TEST_F(GameProcessTest, MissingDatafileEndsWithStatus12AndNamesTheFullPath)
{
    const std::string program = install_game_copy("");
    ChildProcess child = start_child(program, folder_, environment());
    const ChildOutcome outcome = wait_child(child, 60.0);
    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/height.dat!\n"), std::string::npos)
        << xmessage_log();
    // Both colour tables are built before the datafile is looked for.
    EXPECT_EQ(read_file(child.out_path), expected_console_output());
}

TEST_F(GameProcessTest, DatafilesThatLoadButCannotServeAreRefusedWithStatus12)
{
    // Two bitmaps only, then a file that is no datafile at all.
    const std::string two_bitmaps = folder_ + "/two.dat";
    ASSERT_EQ(run_shell(std::string("sh '") + ASSEMBLE_SCRIPT + "' '" + DAT_TOOL + "' '" + two_bitmaps + "' '" +
                        BUILD_DIR + "/data_work/terrain_height.bmp' '" + BUILD_DIR +
                        "/data_work/terrain_colour.bmp' >/dev/null"),
              0);
    const std::string garbage = folder_ + "/garbage.dat";
    run_shell("head -c 5000 /dev/urandom > '" + garbage + "'");

    for (const std::string& source : {two_bitmaps, garbage}) {
        const std::string program = install_game_copy(source);
        run_shell("rm -f '" + folder_ + "/xmessage.log'");
        ChildProcess child = start_child(program, folder_, environment());
        const ChildOutcome outcome = wait_child(child, 60.0);
        ASSERT_TRUE(outcome.ended) << source;
        EXPECT_TRUE(outcome.exited) << source << ": signal " << outcome.signal;
        EXPECT_EQ(outcome.status, 12) << source;
        EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/height.dat!"), std::string::npos)
            << source;
    }
}

TEST_F(GameProcessTest, MissingOrBrokenSceneryEndsWithStatus12NamingTheFileAndLine)
{
    std::string program = install_game_copy(BUILD_DIR + "/height.dat", false);
    ChildProcess child = start_child(program, folder_, environment());
    ChildOutcome outcome = wait_child(child, 60.0);
    ASSERT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/scenery.txt!"), std::string::npos)
        << xmessage_log();

    // A record cut short on its third line.
    run_shell("rm -f '" + folder_ + "/xmessage.log'");
    program = install_game_copy(BUILD_DIR + "/height.dat");
    run_shell("sed -i '3s/ [^ ]*$//' '" + folder_ + "/game/scenery.txt'");
    child = start_child(program, folder_, environment());
    outcome = wait_child(child, 60.0);
    ASSERT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("line 3: "), std::string::npos) << xmessage_log();
}

TEST_F(GameProcessTest, NoDisplayEndsWithStatus1AndTheGraphicsMessageNotASignal)
{
    ChildProcess child = start_child(GAME, folder_, environment(false));
    const ChildOutcome outcome = wait_child(child, 30.0);
    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(read_file(child.out_path).rfind("Error setting OpenGL graphics mode:\n", 0), 0u)
        << read_file(child.out_path);
}

TEST_F(GameProcessTest, RefusedGraphicsModeEndsWithStatus1AndTheMessage)
{
    // An 8-bit screen offers no OpenGL visual, so the display refuses the mode.
    int n = 150;
    while (file_exists("/tmp/.X11-unix/X" + std::to_string(n)) || file_exists("/tmp/.X" + std::to_string(n) + "-lock"))
        ++n;
    const std::string display = ":" + std::to_string(n);
    run_shell("Xvfb " + display + " -screen 0 800x600x8 -nolisten tcp >/dev/null 2>&1 & echo $! > '" + folder_ +
              "/xvfb.pid'");
    for (int i = 0; i < 100 && !file_exists("/tmp/.X11-unix/X" + std::to_string(n)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    std::vector<std::string> env = environment(false);
    env.push_back("DISPLAY=" + display);
    ChildProcess child = start_child(GAME, folder_, env);
    const ChildOutcome outcome = wait_child(child, 60.0);
    run_shell("kill $(cat '" + folder_ + "/xvfb.pid') 2>/dev/null");

    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(xmessage_log().find("Error setting OpenGL graphics mode:\n"), std::string::npos) << xmessage_log();
    EXPECT_NE(xmessage_log().find("\nAllegro GL error : "), std::string::npos) << xmessage_log();
}

} // namespace
