// Ending when told to: each program sent a stop signal where it once hung,
// aborted or crashed, its window closed, or its display taken away; judged by
// its status, how soon it ended and the folder it ran in, left as it was.
#include <csignal>
#include <cstdio>
#include <filesystem>

#include <sys/stat.h>

#include "tests/game_process.h"
#include "tests/screen_checks.h"

#include <X11/Xlib.h>

namespace {

constexpr double END_LIMIT_SECONDS = 30.0; // a hang lasts for ever, a clean end a moment

class StopTest : public GameProcessTest {
protected:
    void SetUp() override
    {
        GameProcessTest::SetUp();
        run_ = folder_ + "/run";
        std::filesystem::create_directory(run_);
    }
    ChildProcess start(const std::string& program, const std::vector<std::string>& args = {})
    {
        return start_child(program, run_, environment(), "", args);
    }
    // Sends the signal, or presses the close button (0), and expects the end,
    // with the folder as it was (names and sizes, but the program's output).
    void expect_stop(ChildProcess& child, int signal, int status)
    {
        const auto listing = [&] {
            std::string text;
            for (const auto& entry : std::filesystem::directory_iterator(run_))
                if (entry.path().extension() != ".txt")
                    text += entry.path().string() + (entry.is_regular_file() ? std::to_string(entry.file_size()) : "");
            return text;
        };
        const std::string before = listing();
        if (signal != 0)
            kill(child.pid, signal);
        else
            press_close_button();
        const ChildOutcome outcome = wait_child(child, END_LIMIT_SECONDS);
        ASSERT_TRUE(outcome.ended && outcome.exited) << "after signal " << signal << ": hung, or ended by signal "
                                                     << outcome.signal;
        EXPECT_EQ(outcome.status, status) << "signal " << signal << "; stderr: " << read_file(child.err_path);
        EXPECT_EQ(listing(), before) << "signal " << signal;
    }
    // What a window manager sends: WM_DELETE_WINDOW to the program's windows.
    void press_close_button() const
    {
        Display* x = XOpenDisplay(display_.c_str());
        std::FILE* ids = popen(("DISPLAY=" + display_ + " xdotool search --name '^ironstep'").c_str(), "r");
        for (unsigned long id = 0; std::fscanf(ids, "%lu", &id) == 1;) {
            XEvent event = {};
            event.xclient = {ClientMessage, 0, False, x, id, XInternAtom(x, "WM_PROTOCOLS", False), 32, {}};
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
    ChildProcess child = start(GAME); // starting up: the first table is being built
    for (const Deadline deadline = deadline_in(PATIENCE_SECONDS); read_file(child.out_path).empty() && before(deadline);)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    expect_stop(child, SIGINT, 130);

    child = start(GAME); // the title menu
    ASSERT_TRUE(wait_for_first_frame());
    expect_stop(child, SIGTERM, 143);

    // The demo, from a named pipe nothing writes to: start-up does not wait for it.
    ASSERT_EQ(mkfifo((run_ + "/vesk").c_str(), 0644), 0);
    child = start(GAME);
    ASSERT_TRUE(wait_for_first_frame()) << "start-up waited for the pipe";
    hold_until({"Down"}, [](const ScreenCapture& c) { return shows_chosen(c, DEMO_ROWS); });
    ASSERT_TRUE(shows_banner(hold_until({"Return"}, shows_banner)));
    expect_stop(child, SIGHUP, 129);

    child = start(GAME); // play, ended by the close button as by Escape
    ASSERT_TRUE(wait_for_first_frame());
    ASSERT_TRUE(shows_hud_frame(hold_until({"Return"}, shows_hud_frame)));
    expect_stop(child, 0, 0);
    EXPECT_EQ(read_file(child.out_path), expected_console_output());
}

TEST_F(StopTest, RecorderAndTimedemoStopOnASignalLeavingTheirFilesAsTheyWere)
{
    run_shell("echo before > '" + run_ + "/mine'");
    ChildProcess child = start(RECORD_BINARY, {"mine"});
    const auto marked = [](const ScreenCapture& c) { return near(c.at(268, 572), {230, 13, 13}, 50); };
    ASSERT_TRUE(marked(capture_until(marked))) << "stderr: " << read_file(child.err_path);
    expect_stop(child, SIGINT, 130);
    EXPECT_EQ(read_file(run_ + "/mine"), "before\n");

    child = start(TIMEDEMO_BINARY, {"--csv", "frames.csv"});
    ASSERT_TRUE(shows_banner(capture_until(shows_banner))) << "stderr: " << read_file(child.err_path);
    expect_stop(child, SIGTERM, 143);
    EXPECT_EQ(read_file(child.out_path), "");
}

TEST_F(StopTest, ALostDisplayEndsTheGameWithStatus1AndAMessage)
{
    const std::string shared_display = display_;
    display_ = start_private_display(24);
    ChildProcess child = start(GAME);
    // Once the menu is drawn. (Lost while OpenGL's context is being made, the
    // display takes the driver down with it: Mesa does not check its replies.)
    const bool drawn = wait_for_first_frame();
    stop_private_display();
    display_ = shared_display;
    ASSERT_TRUE(drawn);
    const ChildOutcome outcome = wait_child(child, END_LIMIT_SECONDS);
    ASSERT_TRUE(outcome.ended && outcome.exited) << "hung or ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(read_file(child.err_path), "ironstep: the connection to the X display was lost; ending\n");
}

} // namespace
