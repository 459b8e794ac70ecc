// Starting the game as a child process, waiting for it, and driving it with
// real X key events through xdotool.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

struct ChildProcess {
    pid_t pid = -1;
    std::string out_path; // the child's standard output
    std::string err_path; // the child's standard error
};

struct ChildOutcome {
    bool ended = false;  // false: still running after the wait (and then killed)
    bool exited = false; // ended through exit, not a signal
    int status = -1;     // exit status when exited
    int signal = 0;      // terminating signal otherwise
};

// Starts program in folder cwd with exactly the environment env; standard
// input is /dev/null, standard output and error go to files in cwd. argv0
// (the program's path when empty) is what a shell would pass, for example the
// bare name of a program found on PATH; args follow it.
ChildProcess start_child(const std::string& program, const std::string& cwd,
                         const std::vector<std::string>& env, const std::string& argv0 = "",
                         const std::vector<std::string>& args = {});

// Waits up to timeout_seconds for the child; kills it if it is still running.
ChildOutcome wait_child(ChildProcess& child, double timeout_seconds);

// Non-blocking: true when the child has ended, with its outcome.
bool poll_child(ChildProcess& child, ChildOutcome& outcome);

std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

// A fresh temporary folder, removed by remove_tree.
std::string make_temp_folder();
void remove_tree(const std::string& path);

// Runs a shell command; returns its exit status.
int run_shell(const std::string& command);

// The root window of an X display as xwd saves it, in 8-bit RGB, row 0 at
// the top.
struct ScreenCapture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    struct Rgb {
        int r, g, b;
    };
    Rgb at(int x, int y) const;
};

// Captures the whole screen of display through xwd; false if xwd failed or
// wrote something other than a 24- or 32-bit true-colour picture.
bool capture_screen(const std::string& display, const std::string& scratch_file, ScreenCapture& out);
