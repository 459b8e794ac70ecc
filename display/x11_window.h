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

// The window's present size in pixels; false when it cannot be read.
bool read_window_size(int& w, int& h);
