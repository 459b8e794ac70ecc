// The whole game as a process: console output, exit statuses, messages, and
// Escape sent as a real X key event. Runs under the display that the test
// script starts; a stand-in xmessage records what the game would show.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/process_runner.h"

namespace {

const std::string GAME = GAME_BINARY;
const std::string BUILD_DIR = TEST_BUILD_DIR;

// Both colour tables fill their bar with 64 stars, however often the library
// reports its progress.
std::string expected_console_output()
{
    const std::string bar = "<" + std::string(64, '.') + ">\r<" + std::string(64, '*');
    return "Generating rgb_map table:\n" + bar + "\n\n" + "Generating lighting table:\n" + bar + "\n";
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

    // Waits until the console shows both colour tables; false if the game ended first.
    bool wait_for_tables(ChildProcess& child, ChildOutcome& outcome)
    {
        const std::string expected = expected_console_output();
        for (int i = 0; i < 300 && read_file(child.out_path) != expected; ++i) {
            if (poll_child(child, outcome))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return true;
    }

    // Presses the given keys together for a moment as real X key events.
    void press_keys(const std::string& display, const std::vector<std::string>& keys)
    {
        std::string down, up;
        for (const std::string& k : keys) {
            down += " keydown " + k;
            up += " keyup " + k;
        }
        run_shell("DISPLAY=" + display + " xdotool" + down + " sleep 0.3" + up);
    }

    // Once the console shows both colour tables, presses Enter (PLAY in the
    // title menu) and then Escape, each for a moment, until the game ends.
    // Keys sent before the window is up are lost, so the pair is repeated;
    // Enter does nothing in the game and Escape nothing in the menu. Returns
    // the seconds from the first Escape to the end, or a negative value if it
    // never ended.
    double escape_until_ended(ChildProcess& child, ChildOutcome& outcome, const std::string& display)
    {
        if (!wait_for_tables(child, outcome))
            return -1.0;
        const auto first_escape = std::chrono::steady_clock::now();
        for (int attempt = 0; attempt < 40; ++attempt) {
            press_keys(display, {"Return"});
            press_keys(display, {"Escape"});
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

TEST_F(GameProcessTest, EscapeHeldWhileEnterConfirmsTheMenuEndsWithStatus0)
{
    ChildProcess child = start_child(GAME, folder_, environment());
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    // Escape alone does nothing in the menu, however long it is pressed.
    for (int attempt = 0; attempt < 8; ++attempt)
        press_keys(display_, {"Escape"});
    ASSERT_FALSE(poll_child(child, outcome)) << "the menu waits for Enter";
    // With Enter it ends the program before the game starts. The chord is
    // repeated until the menu has seen it.
    for (int attempt = 0; attempt < 40 && !poll_child(child, outcome); ++attempt)
        press_keys(display_, {"Escape", "Return"});
    if (!outcome.ended)
        outcome = wait_child(child, 0.1);
    ASSERT_TRUE(outcome.ended) << "stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(xmessage_log(), "");
}

TEST_F(GameProcessTest, TheDemoChosenInTheMenuPlaysToItsEndAndEndsWithStatus0)
{
    // The game reads its recording from the folder it starts in.
    run_shell("cp '" + BUILD_DIR + "/vesk' '" + folder_ + "/'");
    ChildProcess child = start_child(GAME, folder_, environment());
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_EQ(run_shell("DISPLAY=" + display_ + " timeout 30 xdotool search --sync --name '^ironstep$' >/dev/null"), 0);
    // Down chooses DEMO however often it is pressed; it is repeated so that
    // one lost while the menu comes up does not leave PLAY chosen.
    for (int attempt = 0; attempt < 3; ++attempt)
        press_keys(display_, {"Down"});
    press_keys(display_, {"Return"});
    const auto confirmed = std::chrono::steady_clock::now();
    // Play never ends by itself: only the demo, after its 2,499 records
    // (41.65 seconds at 60 ticks a second), ends without Escape.
    outcome = wait_child(child, 90.0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - confirmed).count();
    ASSERT_TRUE(outcome.ended) << "the demo did not end by itself; stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_GT(seconds, 40.0) << "ended before the recording had played";
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "the recording was found";
    EXPECT_EQ(xmessage_log(), "");
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

TEST_F(GameProcessTest, DamagedOrUnusableDatafilesEndWithStatus12NeverACrash)
{
    std::vector<std::string> sources;
    // Two bitmaps only, then a file that is no datafile at all.
    const std::string two_bitmaps = folder_ + "/two.dat";
    ASSERT_EQ(run_shell(std::string("sh '") + ASSEMBLE_SCRIPT + "' '" + DAT_TOOL + "' '" + two_bitmaps + "' '" +
                        BUILD_DIR + "/data_work/terrain_height.bmp' '" + BUILD_DIR +
                        "/data_work/terrain_colour.bmp' >/dev/null"),
              0);
    sources.push_back(two_bitmaps);
    sources.push_back(folder_ + "/garbage.dat");
    run_shell("head -c 5000 /dev/urandom > '" + sources.back() + "'");
    // Cut short anywhere.
    const std::string whole = BUILD_DIR + "/height.dat";
    for (int length : {1000, 30000, 60000, 1000000, 4000000}) {
        sources.push_back(folder_ + "/cut" + std::to_string(length) + ".dat");
        run_shell("head -c " + std::to_string(length) + " '" + whole + "' > '" + sources.back() + "'");
    }
    // One byte flipped in each object's chunk header: the unpacked size, which
    // follows the object's type "BMP " and the size in the file.
    const std::string bytes = read_file(whole);
    for (std::size_t at = bytes.find("BMP "); at != std::string::npos; at = bytes.find("BMP ", at + 1)) {
        if (bytes.compare(at + 4, 4, bytes, at + 8, 4) != 0)
            continue;
        std::string flipped = bytes;
        flipped[at + 11] = char(flipped[at + 11] ^ 0x01);
        sources.push_back(folder_ + "/flipped" + std::to_string(at) + ".dat");
        std::ofstream(sources.back(), std::ios::binary) << flipped;
    }
    ASSERT_EQ(sources.size(), 2u + 5u + 4u) << "a flipped copy for each of the four chunk headers";

    for (const std::string& source : sources) {
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

TEST_F(GameProcessTest, StartedThroughALinkFoundOnPathTheGameReadsTheDataBesideItself)
{
    // The link's folder is on PATH and the game is started by its bare name,
    // as a shell does; the current folder holds nothing.
    const std::string program = install_game_copy(BUILD_DIR + "/height.dat");
    const std::string link_folder = folder_ + "/link";
    run_shell("mkdir -p '" + link_folder + "' && ln -s '" + program + "' '" + link_folder + "/ironstep'");
    std::vector<std::string> env = environment();
    env[0] = "PATH=" + folder_ + "/bin:" + link_folder + ":/usr/bin:/bin";

    ChildProcess child = start_child(link_folder + "/ironstep", folder_, env, "ironstep");
    ChildOutcome outcome;
    ASSERT_GE(escape_until_ended(child, outcome, display_), 0.0) << "stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(xmessage_log(), "");

    // Data beside the link but not beside the game is not the game's data.
    run_shell("mv '" + folder_ + "/game/height.dat' '" + link_folder + "/'");
    child = start_child(link_folder + "/ironstep", folder_, env, "ironstep");
    outcome = wait_child(child, 60.0);
    ASSERT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/height.dat!"), std::string::npos)
        << xmessage_log();
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
