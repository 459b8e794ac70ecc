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

namespace {

using Rgb = ScreenCapture::Rgb;

const std::string SOURCE_DIR = PROJECT_SOURCE_DIR;

bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Pixels near the colour in rows [y0, y1): the chosen menu entry is green.
int count_near(const ScreenCapture& c, Rgb colour, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < c.width; ++x)
            n += near(c.at(x, y), colour, 20);
    return n;
}

constexpr Rgb CHOSEN_GREEN = {16, 128, 64};
constexpr int DEMO_ROWS[2] = {115, 170};

// The demo's banner ends at row 150: a seam across the whole screen there.
bool shows_banner(const ScreenCapture& c)
{
    int seam = 0;
    for (int x = 0; x < c.width; ++x) {
        const Rgb a = c.at(x, 144), b = c.at(x, 156);
        seam += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 20;
    }
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

// The banner lights Up's key and not Down's: the showcase is walking.
bool lights_up_not_down(const ScreenCapture& c)
{
    return shows_banner(c) && brightness(c, 585, 106, 608, 121) > brightness(c, 585, 130, 608, 145) + 20.0;
}

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

    ScreenCapture capture()
    {
        ScreenCapture c;
        if (!capture_screen(display_, folder_ + "/screen.xwd", c) || c.width != 800 || c.height != 600) {
            ADD_FAILURE() << "no 800 x 600 screen capture";
            c.width = 800;
            c.height = 600;
            c.rgb.assign(800 * 600 * 3, 0);
        }
        return c;
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
    ASSERT_EQ(run_shell("DISPLAY=" + display_ + " timeout 60 xdotool search --sync --name '^ironstep$' >/dev/null"), 0);

    // The title menu: Down chooses DEMO, pressed again until the screen shows it.
    ScreenCapture menu = capture();
    for (int attempt = 0; attempt < 40 && count_near(menu, CHOSEN_GREEN, DEMO_ROWS[0], DEMO_ROWS[1]) < 150; ++attempt) {
        press_keys(display_, {"Down"});
        menu = capture();
    }
    ASSERT_GT(count_near(menu, CHOSEN_GREEN, DEMO_ROWS[0], DEMO_ROWS[1]), 150) << "the menu shows DEMO chosen";
    ScreenCapture demo = menu;
    for (int attempt = 0; attempt < 20 && !shows_banner(demo); ++attempt) {
        press_keys(display_, {"Return"});
        demo = capture();
    }
    ASSERT_TRUE(shows_banner(demo)) << "Enter starts the demo";

    // The showcase walks from about 13 to 30 seconds in: Up's key lights,
    // which it never does without the recording. Then the demo ends by itself.
    bool lit = false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(180);
    while (!poll_child(child, outcome) && std::chrono::steady_clock::now() < limit) {
        if (!lit)
            lit = lights_up_not_down(capture());
        std::this_thread::sleep_for(std::chrono::milliseconds(lit ? 200 : 500));
    }
    if (!outcome.ended)
        outcome = wait_child(child, 0.1);
    EXPECT_TRUE(lit) << "the banner never lit the showcase's keys: the recording beside the program was not found";
    ASSERT_TRUE(outcome.ended) << "the demo did not end by itself; stderr: " << read_file(child.err_path);
    EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "no complaint of a missing recording";
    EXPECT_EQ(xmessage_log(), "");

    // Only the test's own captures of the game's output lie in the start folder.
    run_shell("ls -A '" + start + "' > '" + folder_ + "/start.txt'");
    EXPECT_EQ(read_file(folder_ + "/start.txt"), "stderr.txt\nstdout.txt\n");
    list_tree(root, folder_ + "/installed_after.txt");
    run_shell("cd '" + folder_ + "' && diff installed_before.txt installed_after.txt > installed_changes.txt");
    EXPECT_EQ(read_file(folder_ + "/installed_changes.txt"), "") << "the installed tree changed";
}

} // namespace
