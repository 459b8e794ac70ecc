// The fixture of the tests that run the whole game as a process under the
// test display: a private folder, a stand-in xmessage, the environment, and
// real X key events.
#pragma once

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/process_runner.h"

inline const std::string GAME = GAME_BINARY;
inline const std::string BUILD_DIR = TEST_BUILD_DIR;

// The tests wait for what the screen or the process shows, never for a fixed
// time; this is how long they keep looking. A busy machine may be many times
// slower than an idle one.
inline constexpr double PATIENCE_SECONDS = 120.0;

using Deadline = std::chrono::steady_clock::time_point;

inline Deadline deadline_in(double seconds)
{
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

inline bool before(Deadline deadline)
{
    return std::chrono::steady_clock::now() < deadline;
}

inline bool mostly_black(const ScreenCapture& c)
{
    int black = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const ScreenCapture::Rgb p = c.at(x, y);
            black += p.r <= 20 && p.g <= 20 && p.b <= 20;
        }
    return black > c.width * c.height / 2;
}

// Both colour tables fill their bar with 64 stars, however often the library
// reports its progress.
inline std::string expected_console_output()
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
        // stand-in records its arguments, complains of a font as xmessage
        // does where its font is missing, and answers as if OK were clicked
        // (status 101), so the message is not repeated on the console.
        run_shell("mkdir -p '" + folder_ + "/bin'");
        const std::string script = folder_ + "/bin/xmessage";
        run_shell("printf '#!/bin/sh\\nprintf \"%%s\\\\n\" \"$@\" >> \"" + folder_ +
                  "/xmessage.log\"\\necho \"Warning: Cannot convert string to type FontStruct\" >&2\\nexit 101\\n' > '" +
                  script + "' && chmod +x '" + script + "'");
    }

    void TearDown() override { remove_tree(folder_); }

    // The game runs without sound unless a test listens to it.
    std::vector<std::string> environment(bool with_display = true, bool with_sound = false) const
    {
        std::vector<std::string> env = {
            "PATH=" + folder_ + "/bin:/usr/bin:/bin",
            "HOME=" + folder_,
            "LIBGL_ALWAYS_SOFTWARE=1",
        };
        if (with_display)
            env.push_back("DISPLAY=" + display_);
        if (!with_sound)
            env.push_back("IRONSTEP_NOSOUND=1");
        return env;
    }

    std::string xmessage_log() const { return read_file(folder_ + "/xmessage.log"); }

    // An Xvfb display of the test's own, of the given depth, for a test that
    // breaks it; stop_private_display ends it.
    std::string start_private_display(int depth)
    {
        int n = 150;
        const auto taken = [](int d) {
            return file_exists("/tmp/.X11-unix/X" + std::to_string(d)) || file_exists("/tmp/.X" + std::to_string(d) + "-lock");
        };
        while (taken(n))
            ++n;
        run_shell("Xvfb :" + std::to_string(n) + " -screen 0 800x600x" + std::to_string(depth) +
                  " -nolisten tcp >/dev/null 2>&1 & echo $! > '" + folder_ + "/xvfb.pid'");
        for (const Deadline deadline = deadline_in(PATIENCE_SECONDS); !taken(n) && before(deadline);)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return ":" + std::to_string(n);
    }
    void stop_private_display() { run_shell("kill $(cat '" + folder_ + "/xvfb.pid') 2>/dev/null"); }

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
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        while (read_file(child.out_path) != expected && before(deadline)) {
            if (poll_child(child, outcome))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return true;
    }

    // Waits until the game's window is up and shows its first frame (it is
    // black until then): keys sent earlier are lost.
    bool wait_for_first_frame()
    {
        if (run_shell("DISPLAY=" + display_ + " timeout " + std::to_string(int(PATIENCE_SECONDS)) +
                      " xdotool search --sync --name '^ironstep$' >/dev/null") != 0)
            return false;
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        ScreenCapture c;
        while (before(deadline))
            if (capture_screen(display_, folder_ + "/screen.xwd", c) && !mostly_black(c))
                return true;
        return false;
    }

    // Presses the given keys together for a moment as real X key events.
    void press_keys(const std::vector<std::string>& keys)
    {
        std::string down, up;
        for (const std::string& k : keys) {
            down += " keydown " + k;
            up += " keyup " + k;
        }
        run_shell("DISPLAY=" + display_ + " xdotool" + down + " sleep 0.3" + up);
    }

    // Presses each group of keys in turn, again and again, until the game
    // ends; false, with the game killed, if it is still running at the limit.
    bool press_until_ended(ChildProcess& child, ChildOutcome& outcome,
                           const std::vector<std::vector<std::string>>& presses)
    {
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        while (!poll_child(child, outcome)) {
            if (!before(deadline)) {
                outcome = wait_child(child, 0.0);
                return false;
            }
            for (const std::vector<std::string>& keys : presses)
                press_keys(keys);
        }
        return true;
    }

    // Once the console shows both colour tables, presses Enter (PLAY in the
    // title menu) and then Escape until the game ends. Keys sent before the
    // window is up are lost, so the pair is repeated; Enter does nothing in
    // the game and Escape nothing in the menu.
    bool escape_until_ended(ChildProcess& child, ChildOutcome& outcome)
    {
        return wait_for_tables(child, outcome) && press_until_ended(child, outcome, {{"Return"}, {"Escape"}});
    }

    ScreenCapture capture()
    {
        ScreenCapture c;
        EXPECT_TRUE(capture_screen(display_, folder_ + "/screen.xwd", c));
        if (c.width != screen_w_ || c.height != screen_h_) {
            ADD_FAILURE() << "screen " << c.width << " x " << c.height;
            c.width = screen_w_;
            c.height = screen_h_;
            c.rgb.assign(std::size_t(screen_w_) * screen_h_ * 3, 0);
        }
        return c;
    }

    // Captures the screen until it shows what is looked for, or the limit
    // passes; the last capture is returned for the test to judge.
    template <class Shows>
    ScreenCapture capture_until(Shows shows)
    {
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        ScreenCapture c = capture();
        while (!shows(c) && before(deadline))
            c = capture();
        return c;
    }

    // Holds the keys down (at least min_hold seconds) and captures the screen
    // until it shows what is looked for. If it does not within a few seconds,
    // the keys are let go and pressed afresh (a press may come before the game
    // looks, a jump may be over, a fresh close view shows the gunsight), until
    // the limit passes. The last capture is returned for the test to judge.
    template <class Shows>
    ScreenCapture hold_until(const std::vector<std::string>& keys, Shows shows, double min_hold = 0.2)
    {
        std::string down, up;
        for (const std::string& k : keys) {
            down += " keydown " + k;
            up += " keyup " + k;
        }
        const Deadline deadline = deadline_in(PATIENCE_SECONDS);
        ScreenCapture c;
        do {
            run_shell("DISPLAY=" + display_ + " xdotool" + down);
            const Deadline held = deadline_in(min_hold), press_again = deadline_in(3.0);
            do
                c = capture();
            while (!shows(c) && before(press_again) && before(deadline));
            std::this_thread::sleep_until(held);
            run_shell("DISPLAY=" + display_ + " xdotool" + up);
        } while (!shows(c) && before(deadline));
        return c;
    }

    std::string display_;
    std::string folder_;
    int screen_w_ = 800, screen_h_ = 600; // the test display's size
};

