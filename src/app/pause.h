// Pause: P or the Pause key, or the window losing its focus, holds the game
// still; the same key resumes. Only the game's own loop on the 60 Hz timers
// pauses; programs on a driven clock never do.
#pragma once

// Asks Allegro to pause the game when its window loses the focus.
void pause_when_focus_lost();

// Once a round of the game's loop, before its ticks: reads the pause keys
// and the focus, and while paused holds the game's clock and drops the
// ticks that come due. Enter in the pause opens the options screen, which
// then takes the keys, a step each round. True while paused: no tick runs.
bool pause_holds_ticks();

// "PAUSED" over the frozen picture while paused, or the options screen.
void draw_pause_overlay();

// Over the composed frame of the game's loop: the screenshot key's picture is
// taken of it first, then "PAUSED" and the screenshot's message are drawn.
void draw_player_overlays();
