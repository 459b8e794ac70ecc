// Pause: P or the Pause key, or the window losing its focus, holds the game
// still; the same key resumes. Only the programs whose loop asks for it (the
// game and the recorder) pause.
#pragma once

// Asks Allegro to pause the game when its window loses the focus, and counts
// every press of the Pause key; once the display is open.
void watch_pause();

// Once a round of the loop, before its ticks: reads the pause keys and the
// focus, and while paused holds the game's clock, its sounds and its clouds'
// points, and drops the ticks that come due: they are never run. Where
// options_reachable, Enter in the pause opens the options screen, which then
// takes the keys, a step each round. True while paused: no tick runs.
bool pause_holds_ticks(bool options_reachable);

// "PAUSED" over the frozen picture while paused, with the way to the options
// where they are reachable, or the options screen.
void draw_pause_overlay(bool options_reachable);
