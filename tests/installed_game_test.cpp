// The game as a player gets it from its Debian package: the package built,
// judged by Debian's checkers, unpacked into a scratch root, and the game
// started through its link in games/ from an empty folder, far from the
// build, under the test display.
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

namespace {

const std::string SOURCE_DIR = PROJECT_SOURCE_DIR;

// Lists every path under root with its type, size, time of change and link
// target, one a line, into the file listing.
void list_tree(const std::string& root, const std::string& listing)
{
    run_shell("cd '" + root + "' && find . -printf '%p %y %s %T@ %l\\n' | sort > '" + listing + "'");
}

class InstalledGameTest : public GameProcessTest {
protected:
    // The package is built once for the tests below.
    static void SetUpTestSuite()
    {
        const std::string log = BUILD_DIR + "/package_test.log";
        const int status = run_shell("sh '" + SOURCE_DIR + "/tools/package.sh' '" + BUILD_DIR + "' > '" + log + "' 2>&1");
        package_ = status == 0 ? last_line(read_file(log)) : "";
        package_log_ = read_file(log);
    }

    static std::string last_line(std::string text)
    {
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }

    static std::string package_;
    static std::string package_log_;
};

std::string InstalledGameTest::package_;
std::string InstalledGameTest::package_log_;

TEST_F(InstalledGameTest, ThePackagePassesLintianDesktopFileValidateAppstreamcliAndMan)
{
    ASSERT_FALSE(package_.empty()) << package_log_;
    const std::string log = folder_ + "/checks.log";
    const int status = run_shell("sh '" + SOURCE_DIR + "/tools/check_package.sh' '" + package_ + "' > '" + log + "' 2>&1");
    EXPECT_EQ(status, 0) << read_file(log);
}

TEST_F(InstalledGameTest, FromAnEmptyFolderTheInstalledGamePlaysTheShowcaseToItsEndAndWritesNothing)
{
    ASSERT_FALSE(package_.empty()) << package_log_;
    const std::string root = folder_ + "/root";
    const std::string start = folder_ + "/start";
    ASSERT_EQ(run_shell("mkdir '" + root + "' '" + start + "' && dpkg-deb -x '" + package_ + "' '" + root + "'"), 0);
    list_tree(root, folder_ + "/installed_before.txt");

    ChildOutcome outcome;
    ChildProcess child = start_child(root + "/usr/games/ironstep", start, environment());
    ASSERT_TRUE(wait_for_tables(child, outcome)) << "stderr: " << read_file(child.err_path);
    ASSERT_TRUE(wait_for_first_frame());

    // Down chooses DEMO, Enter confirms; each is pressed again until the
    // screen shows that it was seen.
    const ScreenCapture menu = hold_until({"Down"}, [](const ScreenCapture& c) { return shows_chosen(c, DEMO_ROWS); });
    ASSERT_TRUE(shows_chosen(menu, DEMO_ROWS)) << "DEMO chosen";
    EXPECT_FALSE(shows_chosen(menu, PLAY_ROWS)) << "PLAY no longer";
    const auto confirmed = std::chrono::steady_clock::now();
    const ScreenCapture early = hold_until({"Return"}, shows_banner);
    ASSERT_TRUE(shows_banner(early)) << "Enter starts the demo";
    EXPECT_TRUE(shows_hud_frame(early));

    // From about 9 to 25 seconds in the showcase walks: Up's key lights,
    // which it never does without the recording beside the program.
    const ScreenCapture walking = capture_until(lights_up_not_down);
    EXPECT_TRUE(lights_up_not_down(walking)) << "Up lit " << up_key_light(walking) << ", Down "
                                             << down_key_light(walking) << ": was the recording found?";

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
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "no complaint of a missing recording";
    EXPECT_EQ(xmessage_log(), "");

    // Only the test's own captures of the game's output lie in the start folder.
    run_shell("ls -A '" + start + "' > '" + folder_ + "/start.txt'");
    EXPECT_EQ(read_file(folder_ + "/start.txt"), "stderr.txt\nstdout.txt\n");
    list_tree(root, folder_ + "/installed_after.txt");
    run_shell("cd '" + folder_ + "' && diff installed_before.txt installed_after.txt > installed_changes.txt");
    EXPECT_EQ(read_file(folder_ + "/installed_changes.txt"), "") << "the installed tree changed";
}

// The man pages name the prefix given to "make install", not the one the
// build was configured with (/usr/local by default), nor the staging folder.
TEST_F(InstalledGameTest, MakeInstallWritesTheManPagesWithItsOwnPrefix)
{
    const std::string prefix = "/opt/elsewhere", stage = folder_ + "/stage", log = folder_ + "/install.log";
    ASSERT_EQ(run_shell("MAKEFLAGS= make -C '" + SOURCE_DIR + "' install BUILD='" + BUILD_DIR + "' PREFIX=" + prefix +
                        " DESTDIR='" + stage + "' > '" + log + "' 2>&1"), 0) << read_file(log);
    for (const std::string program : {"ironstep", "ironstep-record", "ironstep-timedemo"}) {
        run_shell("zcat '" + stage + prefix + "/share/man/man6/" + program + ".6.gz' > '" + log + "'");
        EXPECT_NE(read_file(log).find(".I " + prefix + "/lib/games/ironstep/height.dat"), std::string::npos)
            << program << ":\n" << read_file(log);
    }
}

} // namespace
