// Full screen or a window: opening the game's OpenGL display in the mode the
// player asked for, and switching between the two while the game runs. The
// same window and OpenGL context serve both, so nothing has to be made again.
#pragma once

#include "display/screen_fit.h"

// Opens the display as asked: a window of the desktop's own size shown full
// screen, or the window the choice names. Where full
// screen cannot be had it opens the window instead and says so in one line
// on standard error. False when no OpenGL display can be opened at all
// (allegro_error says why).
bool open_game_display(const DisplayChoice& asked);
// Lets go of what open_game_display took beside the display itself.
void close_game_display();

void show_full_screen();
// The window the player asked for, or the largest multiple of the picture
// that fits the desktop.
void show_window();
void show_window(WindowSize size);
void toggle_full_screen();
// Whether the game shows itself full screen now (after F11 too).
bool full_screen_shown();

Scaling picture_scaling();

// The options screen's changes, taken at once: the window's size in
// pictures of 800 x 600 (0 the largest that fits the desktop), the window
// resized now if it shows; and the picture's scaling, from the next frame.
void set_window_scale(int scale);
void set_picture_scaling(Scaling scaling);

// True once for every press of F11 since the last call; the key is read as
// it comes, so a demo's replayed keys cannot hide it.
bool take_full_screen_toggle();
