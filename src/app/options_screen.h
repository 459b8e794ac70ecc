// The options screen, over the title menu's fly-over or over the paused
// game: a list of pages (display, sound, keys, gamepad, defaults), each a
// list of settings changed with the menu's keys. Up and Down choose, Left
// and Right change a value, Enter opens a page, changes a value or waits
// for the key or the pad button to bind, and Escape goes back; Escape on
// the list leaves the screen and saves the settings file.
#pragma once

// Opens the screen at its list of pages.
void open_options_screen();

bool options_screen_open();

// One step of the screen: 60 a second over the title menu, once a round
// over the pause.
void step_options_screen();

// Draws the screen over the composed picture, shading it.
void draw_options_screen();

// What the menu's sounds hear of the screen: a new number for every move
// and every change, so that each sounds as the menu's choice moving does.
int options_screen_choice_heard();

// True while the screen is open, and once Escape has closed it until
// Escape is let go: that Escape does not also quit the game.
bool options_screen_holds_escape();

// For a few seconds after the screen closed without saving the settings
// file, the line that says why, at the bottom of the picture.
void draw_options_notice();
