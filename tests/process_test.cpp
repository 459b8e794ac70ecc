// The whole game as a process: console output, exit statuses, messages, and
// Escape sent as a real X key event. Runs under the display that the test
// script starts; a stand-in xmessage records what the game would show.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

TEST_F(GameProcessTest, EscapeEndsTheGameWithStatus0EvenWhenStartedFromAnotherFolder)
{
    // The current folder holds no datafile: the game finds it beside itself.
    ChildProcess child = start_child(GAME, folder_, environment());
    ChildOutcome outcome;
    ASSERT_TRUE(escape_until_ended(child, outcome))
        << "the game did not end on Escape; stderr: " << read_file(folder_ + "/stderr.txt");
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
    ASSERT_TRUE(wait_for_first_frame());
    // With Enter, Escape still ends the program before the game starts (as it
    // does alone, tests/options_end_to_end_test.cpp). The chord is repeated
    // until the menu has seen it.
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape", "Return"}})) << "stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(xmessage_log(), "");
}

TEST_F(GameProcessTest, MissingDatafileEndsWithStatus12AndNamesTheFullPath)
{
    const std::string program = install_game_copy("");
    ChildProcess child = start_child(program, folder_, environment());
    const ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/height.dat!\n"), std::string::npos)
        << xmessage_log();
    // The box's own complaints (the stand-in's font warning) are not passed on.
    EXPECT_EQ(read_file(child.err_path), "ironstep: Error loading " + folder_ + "/game/height.dat!\n");
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
        const ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
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
    ASSERT_TRUE(escape_until_ended(child, outcome)) << "stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(xmessage_log(), "");

    // Data beside the link but not beside the game is not the game's data.
    run_shell("mv '" + folder_ + "/game/height.dat' '" + link_folder + "/'");
    child = start_child(link_folder + "/ironstep", folder_, env, "ironstep");
    outcome = wait_child(child, PATIENCE_SECONDS);
    ASSERT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("Error loading " + folder_ + "/game/height.dat!"), std::string::npos)
        << xmessage_log();
}

TEST_F(GameProcessTest, MissingOrBrokenSceneryEndsWithStatus12NamingTheFileAndLine)
{
    std::string program = install_game_copy(BUILD_DIR + "/height.dat", false);
    ChildProcess child = start_child(program, folder_, environment());
    ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
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
    outcome = wait_child(child, PATIENCE_SECONDS);
    ASSERT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 12);
    EXPECT_NE(xmessage_log().find("line 3: "), std::string::npos) << xmessage_log();
}

TEST_F(GameProcessTest, NoDisplayEndsWithStatus1AndTheGraphicsMessageOnStandardErrorNotASignal)
{
    ChildProcess child = start_child(GAME, folder_, environment(false));
    const ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(read_file(child.err_path),
              "ironstep: Error setting OpenGL graphics mode:\nCannot connect to an X display\n")
        << "no empty line for AllegroGL, never asked";
    EXPECT_EQ(read_file(child.out_path), "");
}

TEST_F(GameProcessTest, RefusedGraphicsModeEndsWithStatus1AndTheMessage)
{
    // An 8-bit screen offers no OpenGL visual, so the display refuses the mode.
    std::vector<std::string> env = environment(false);
    env.push_back("DISPLAY=" + start_private_display(8));
    ChildProcess child = start_child(GAME, folder_, env);
    const ChildOutcome outcome = wait_child(child, PATIENCE_SECONDS);
    stop_private_display();

    ASSERT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(xmessage_log().find("Error setting OpenGL graphics mode:\n"), std::string::npos) << xmessage_log();
    EXPECT_NE(xmessage_log().find("\nAllegro GL error : "), std::string::npos) << xmessage_log();
}

// What is named with --demo is judged as "vesk" is: what is no recording is
// refused before any window opens, and a named pipe that nothing writes to
// yet holds up nothing; the demo plays what arrives through it.
TEST_F(GameProcessTest, DemoRecordingsAreJudgedAsVeskIsAndANamedPipeNeverHoldsUpStartUp)
{
    const std::string empty = folder_ + "/empty", pipe = folder_ + "/pipe";
    ASSERT_EQ(run_shell("mkfifo '" + pipe + "' && : > '" + empty + "'"), 0);
    ChildProcess refused = start_child(GAME, folder_, environment(), "", {"--demo", empty});
    const ChildOutcome refusal = wait_child(refused, PATIENCE_SECONDS);
    ASSERT_TRUE(refusal.ended && refusal.exited) << "signal " << refusal.signal;
    EXPECT_EQ(refusal.status, 1);
    EXPECT_EQ(read_file(refused.err_path), "ironstep: " + empty + ": is empty, not a recording\n");
    EXPECT_EQ(read_file(refused.out_path), "");

    ChildProcess child = start_child(GAME, folder_, environment(), "", {"--demo", pipe});
    ChildOutcome outcome;
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame()) << "started with no writer";
    const auto demo_chosen = [](const ScreenCapture& c) { return shows_chosen(c, DEMO_ROWS); };
    ASSERT_TRUE(demo_chosen(hold_until({"Down"}, demo_chosen)));
    ASSERT_TRUE(shows_banner(hold_until({"Return"}, shows_banner))) << "Enter starts the demo";
    // Up held in every record: the demo reads on to the record of its tick.
    const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0) << "the game holds the pipe open";
    std::string up_held(25000, '\0');
    for (std::size_t record = 0; record < up_held.size(); record += 10)
        up_held[record] = char(0xFF);
    EXPECT_EQ(write(writer, up_held.data(), up_held.size()), ssize_t(up_held.size()));
    close(writer);
    EXPECT_TRUE(lights_up_not_down(capture_until(lights_up_not_down))) << "the demo plays what arrived";
    ASSERT_TRUE(press_until_ended(child, outcome, {{"Escape"}})) << "stderr: " << read_file(child.err_path);
    EXPECT_EQ(outcome.status, 0);
}

} // namespace
