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

// Before the window is made: its class, which the desktop matches to the
// game's launcher (WM_CLASS "ironstep", "Ironstep"), and no icon of the
// library's own.
void name_window_class();

// Once the window is made: its title in UTF-8 (_NET_WM_NAME) beside the
// library's, the game's icons (_NET_WM_ICON), and size hints that let the
// player resize and maximise it down to min_w x min_h.
void dress_window(int min_w, int min_h);

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
// server; 0 x 0 before follow_window_size. Once a frame: a window destroyed
// by another program ends the program here (end_for_lost_window).
void read_window_size(int& w, int& h);
void stop_following_window_size();
