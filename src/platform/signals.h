// Ending cleanly when told to: SIGTERM, SIGINT and SIGHUP, the window's close
// button, and a lost X display or window. The handlers only set a flag that the loops
// read; the program then shuts down as it does on Escape.
#pragma once

// Before allegro_init: installs the flag handlers and holds the three stop
// signals back, so that none reaches the handlers the library installs for
// itself (they shut the library down inside the handler, which hangs or
// aborts) before catch_stop_signals replaces them. From here on a lost X
// display, or the game's window destroyed by another program, ends the
// program at once with one line and status 1: Xlib's own handlers would exit
// through the library's shutdown, which hangs or crashes.
void hold_stop_signals();

// The game's window is gone (another program destroyed it): ends the program
// at once, as a lost display does.
[[noreturn]] void end_for_lost_window();

// After the library and its drivers are installed: the flag handlers replace
// the library's, the close button sets the flag too, and the held signals are
// let through. Safe to call when allegro_init failed.
void catch_stop_signals();

// True once a stop signal arrived or the window's close button was pressed:
// the loops then end as on Escape.
bool stop_requested();

// The stop signal that arrived first, or 0 (none, or only the close button).
int stop_signal();

// The exit status of a program ending now: 128 + the stop signal (the
// shell's convention) when one arrived, else normal_status.
int stop_exit_status(int normal_status);

// A named file to remove should the program have to end at once (the X
// display lost), or nullptr. Only a file being written under a temporary
// name needs it; the path is copied.
void remove_on_abrupt_end(const char* path);
