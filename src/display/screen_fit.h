// Where the game's 800 x 600 picture goes in a window of any size, what size
// of window to ask for, and how the player asked for them: arithmetic only.
#pragma once

#include <string>

enum class Scaling { smooth, whole };

// A rectangle of the window in pixels, x from the left, y from the bottom.
struct PictureRect {
    int x, y, w, h;
};

// The largest rectangle of the picture's 4:3 shape that fits the window,
// centred: smooth fills the window's height or width; whole keeps to whole
// multiples of 800 x 600 (at least one).
PictureRect fit_picture(int window_w, int window_h, Scaling scaling);

// The largest window asked for in pictures of 800 x 600, through the
// settings, the command line or IRONSTEP_WINDOW.
constexpr int SCALE_MAX = 8;

struct WindowSize {
    int w, h;
};

// How the game shows itself: full screen, or a window of a whole multiple of
// the picture or of a given size.
struct DisplayChoice {
    bool windowed = false;
    int window_scale = 0;        // 0: the largest multiple that fits the desktop
    WindowSize window_size{0, 0}; // a size given, else 0 x 0
    Scaling scaling = Scaling::smooth;
};

// Reads the values of IRONSTEP_WINDOW ("fit", a scale such as "2" or a size
// such as "1024x768"; unset or empty for full screen) and IRONSTEP_SCALING
// ("smooth" or "whole"), either null when unset; the scale runs from 1 to
// SCALE_MAX. A value it does not understand gets one line in complaint and
// the nearest sound choice.
DisplayChoice read_display_choice(const char* window, const char* scaling, std::string& complaint);

// The largest whole multiple of the picture that fits the desktop, at least one.
int largest_scale_that_fits(int desktop_w, int desktop_h);

// The window's size for the choice on a desktop of the given size: the given
// size, the given multiple, or the largest multiple that fits; a multiple
// larger than fits is cut to the largest that does.
WindowSize window_size_for(const DisplayChoice& choice, int desktop_w, int desktop_h);
