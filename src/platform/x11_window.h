// The game's window under X11, once AllegroGL has opened it: full screen
// through the window manager, or a plain window, and never a change of the
// screen's video mode.
#pragma once

enum class WindowManager {
    none,        // nothing places or decorates windows: a window is where it is put
    full_screen, // one that shows a window full screen when asked
    other,       // one that cannot be asked
};

WindowManager find_window_manager();

// Shows the window over the whole screen of its monitor: asks the window
// manager, or, with none, covers the desktop from its top-left corner.
void request_full_screen(WindowManager manager, int desktop_w, int desktop_h);

// Shows it as a window of w x h, centred on the desktop where no window
// manager places it.
void request_window(WindowManager manager, int w, int h, int desktop_w, int desktop_h);

// Reads the window's size now, then follows its changes through a
// connection of its own; the second call only rereads the size.
void follow_window_size();
// The window's size in pixels as last reported, without waiting on the
// server; 0 x 0 before follow_window_size.
void read_window_size(int& w, int& h);
void stop_following_window_size();
