// Ending when told to: each program, under the test display, sent a stop
// signal at a point where it once hung, aborted or crashed, its window closed,
// or its display taken away; judged by its status, how soon it ended and the
// folder it ran in, which must be left as it was.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

#include <X11/Xlib.h>

namespace {

// Generous for a busy machine: a hang lasts for ever, a clean end a moment.
constexpr double END_LIMIT_SECONDS = 30.0;

class StopTest : public GameProcessTest {
protected:
    void SetUp() override
    {
        GameProcessTest::SetUp();
        run_ = folder_ + "/run";
        std::filesystem::create_directory(run_);
    }

    // Names, kinds and sizes of what the folder holds, but the program's own
    // standard output and error.
    std::string listing() const
    {
        std::string text;
        for (const auto& entry : std::filesystem::directory_iterator(run_))
            if (entry.path().filename() != "stdout.txt" && entry.path().filename() != "stderr.txt")
                text += entry.path().filename().string() + " " + std::to_string(int(entry.status().type())) + " " +
                    (entry.is_regular_file() ? std::to_string(entry.file_size()) : "-") + "\n";
        return text;
    }

    // Sends the signal (0: presses the window's close button) and expects the
    // program to end soon with the status, leaving the folder as it was.
    void expect_stop(ChildProcess& child, int signal, int status)
    {
        const std::string before = listing();
        const auto sent = std::chrono::steady_clock::now();
        if (signal != 0)
            kill(child.pid, signal);
        else
            press_close_button();
        const ChildOutcome outcome = wait_child(child, END_LIMIT_SECONDS);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        ASSERT_TRUE(outcome.ended) << "still running " << END_LIMIT_SECONDS << " s after signal " << signal;
        EXPECT_TRUE(outcome.exited) << "ended by signal " << outcome.signal << " after signal " << signal;
        EXPECT_EQ(outcome.status, status) << "signal " << signal << ", ended in " << took
                                          << " s; stderr: " << read_file(child.err_path);
        EXPECT_EQ(listing(), before) << "signal " << signal;
    }

    // The close button sends the window manager's WM_DELETE_WINDOW message to
    // the program's windows.
    void press_close_button() const
    {
        Display* x = XOpenDisplay(display_.c_str());
        ASSERT_NE(x, nullptr);
        std::FILE* ids = popen(("DISPLAY=" + display_ + " xdotool search --name '^ironstep'").c_str(), "r");
        ASSERT_NE(ids, nullptr);
        for (unsigned long id = 0; std::fscanf(ids, "%lu", &id) == 1;) {
            XEvent event = {};
            event.xclient.type = ClientMessage;
            event.xclient.window = id;
            event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
            XSendEvent(x, id, False, NoEventMask, &event);
        }
        pclose(ids);
        XCloseDisplay(x);
    }

    std::string run_;
};

TEST_F(StopTest, TheGameEndsOnEachStopSignalInEachPhaseAndOnItsCloseButton)
{
    // Starting up: the console shows the first table being built.
    ChildProcess child = start_child(GAME, run_, environment());
    const Deadline deadline = deadline_in(PATIENCE_SECONDS);
    while (read_file(child.out_path).empty() && before(deadline))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    expect_stop(child, SIGINT, 130);

    // The title menu.
    child = start_child(GAME, run_, environment());
    ASSERT_TRUE(wait_for_first_frame());
    expect_stop(child, SIGTERM, 143);

    // The demo, from a named pipe nothing writes to: start-up does not wait for it.
    ASSERT_EQ(mkfifo((run_ + "/vesk").c_str(), 0644), 0);
    child = start_child(GAME, run_, environment());
    ASSERT_TRUE(wait_for_first_frame()) << "start-up waited for the pipe";
    hold_until({"Down"}, [](const ScreenCapture& c) { return shows_chosen(c, DEMO_ROWS); });
    ASSERT_TRUE(shows_banner(hold_until({"Return"}, shows_banner))) << "the demo plays";
    expect_stop(child, SIGHUP, 129);
    EXPECT_EQ(read_file(child.out_path), expected_console_output()) << "a pipe is a recording";

    // Play: the close button ends it as Escape does.
    child = start_child(GAME, run_, environment());
    ASSERT_TRUE(wait_for_first_frame());
    ASSERT_TRUE(shows_hud_frame(hold_until({"Return"}, shows_hud_frame)));
    expect_stop(child, 0, 0);
    EXPECT_EQ(xmessage_log(), "");
}

TEST_F(StopTest, RecorderAndTimedemoStopOnASignalLeavingTheirFilesAsTheyWere)
{
    // Recording: what was there before is kept, and nothing appears beside it.
    const std::string out = run_ + "/mine";
    run_shell("echo before > '" + out + "'");
    ChildProcess child = start_child(RECORD_BINARY, run_, environment(), "", {out});
    const auto marked = [](const ScreenCapture& c) { return near(c.at(268, 572), {230, 13, 13}, 50); };
    ASSERT_TRUE(marked(capture_until(marked))) << "stderr: " << read_file(child.err_path);
    expect_stop(child, SIGINT, 130);
    EXPECT_EQ(read_file(out), "before\n");

    // Timing: no figures and no file.
    child = start_child(TIMEDEMO_BINARY, run_, environment(), "", {"--csv", run_ + "/frames.csv"});
    ASSERT_TRUE(shows_banner(capture_until(shows_banner))) << "stderr: " << read_file(child.err_path);
    expect_stop(child, SIGTERM, 143);
    EXPECT_EQ(read_file(child.out_path), "");
}

TEST_F(StopTest, ALostDisplayEndsTheGameWithStatus1AndAMessage)
{
    int n = 160;
    while (file_exists("/tmp/.X11-unix/X" + std::to_string(n)) || file_exists("/tmp/.X" + std::to_string(n) + "-lock"))
        ++n;
    const std::string display = ":" + std::to_string(n);
    run_shell("Xvfb " + display + " -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 & echo $! > '" + folder_ +
              "/xvfb.pid'");
    std::vector<std::string> env = environment(false);
    env.push_back("DISPLAY=" + display);
    for (const Deadline deadline = deadline_in(PATIENCE_SECONDS);
         !file_exists("/tmp/.X11-unix/X" + std::to_string(n)) && before(deadline);)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ChildProcess child = start_child(GAME, run_, env);
    // Once the menu is drawn. (Lost while OpenGL's context is being made, the
    // display takes the driver down with it: Mesa does not check its replies.)
    const std::string shared_display = display_;
    display_ = display;
    const bool drawn = wait_for_first_frame();
    display_ = shared_display;
    run_shell("kill $(cat '" + folder_ + "/xvfb.pid')");
    ASSERT_TRUE(drawn);
    const ChildOutcome outcome = wait_child(child, END_LIMIT_SECONDS);
    ASSERT_TRUE(outcome.ended && outcome.exited) << "hung or ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(read_file(child.err_path), "ironstep: the connection to the X display was lost; ending\n");
}

} // namespace
