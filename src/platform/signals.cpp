// The handlers run on whichever thread the signal lands on (the library's,
// the renderer's or the main one), so they touch only lock-free atomics and
// async-signal-safe calls.
#include "platform/signals.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <errno.h>

#include <unistd.h>

#include <X11/Xlib.h>
#include <allegro.h>
#include <xalleg.h>

namespace {

constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int SIGNAL_STATUS_BASE = 128;
constexpr int LOST_DISPLAY_STATUS = 1;
constexpr std::size_t ABRUPT_PATH_SIZE = 4096; // PATH_MAX on Linux

std::atomic<int> caught_signal{0};
std::atomic<bool> close_pressed{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// Written before the file exists, read only by the lost-display handler.
char abrupt_end_path[ABRUPT_PATH_SIZE];

// A second stop signal ends the program at once, as if no handler were
// installed: the way out should the shutdown itself ever hang.
extern "C" void on_stop_signal(int number)
{
    int none = 0;
    if (caught_signal.compare_exchange_strong(none, number))
        return;
    std::signal(number, SIG_DFL);
    raise(number);
}

void on_close_button()
{
    close_pressed.store(true);
}

void write_text(const char* text)
{
    const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

// Nothing that talks to X, nor the library's shutdown, can run any more: the
// program ends here with one line, leaving no half-written file.
[[noreturn]] void end_at_once(const char* why)
{
    write_text(program_invocation_short_name);
    write_text(": ");
    write_text(why);
    write_text("; ending\n");
    if (abrupt_end_path[0] != '\0')
        unlink(abrupt_end_path);
    _exit(LOST_DISPLAY_STATUS);
}

// Xlib calls this on the thread that found the connection gone, maybe with
// the display's lock held by another.
extern "C" int on_lost_display(Display*)
{
    end_at_once("the connection to the X display was lost");
}

// Xlib calls this for a request the server refused, on whichever thread made
// it. A window of this program's own that no longer exists was destroyed by
// another program (the library's threads go on using it); one of another
// program's that went away is no matter. Anything else would only have ended
// the program through Xlib's own handler, which hangs in the shutdown.
extern "C" int on_x_error(Display* d, XErrorEvent* error)
{
    const XID id = error->resourceid;
    const bool ours = id != None && (id == _xwin.window || id == _xwin.wm_window || id == _xwin.fs_window);
    const bool gone = error->error_code == BadWindow || error->error_code == BadDrawable;
    if (gone && ours)
        end_for_lost_window();
    if (gone)
        return 0;
    char text[160];
    XGetErrorText(d, error->error_code, text, sizeof text);
    char why[256];
    std::snprintf(why, sizeof why, "the X server refused a request (%s, request %d)", text,
                  int(error->request_code));
    end_at_once(why);
}

void install_flag_handlers()
{
    struct sigaction action = {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : STOP_SIGNALS)
        sigaction(number, &action, nullptr);
}

sigset_t stop_signal_set()
{
    sigset_t set;
    sigemptyset(&set);
    for (int number : STOP_SIGNALS)
        sigaddset(&set, number);
    return set;
}

} // namespace

void hold_stop_signals()
{
    install_flag_handlers();
    // The library opens the display in allegro_init.
    XSetIOErrorHandler(on_lost_display);
    XSetErrorHandler(on_x_error);
    const sigset_t set = stop_signal_set();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void catch_stop_signals()
{
    install_flag_handlers();
    // Without a system driver (no display) the library would crash here.
    if (system_driver != nullptr)
        set_close_button_callback(on_close_button);
    const sigset_t set = stop_signal_set();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool stop_requested()
{
    return caught_signal.load() != 0 || close_pressed.load();
}

int stop_signal()
{
    return caught_signal.load();
}

int stop_exit_status(int normal_status)
{
    const int number = caught_signal.load();
    return number != 0 ? SIGNAL_STATUS_BASE + number : normal_status;
}

void remove_on_abrupt_end(const char* path)
{
    abrupt_end_path[0] = '\0';
    if (path != nullptr && std::strlen(path) < ABRUPT_PATH_SIZE)
        std::strcpy(abrupt_end_path, path);
}

void end_for_lost_window()
{
    end_at_once("the game's window was destroyed by another program");
}
