// The recorder: the game played as the demo starts it (its starting place, the
// Flyer held, the banner lighting the keys) with the live keyboard, keeping
// the ten key states of every tick as the tick reads them.
#pragma once

#include <vector>

#include "recording/demo_script_compiler.h"

struct Recording {
    std::vector<DemoRecord> records; // the demo's length: record 0 and those after the last tick released
    int ticks = 0;                   // ticks recorded: records 1..ticks
};

// Plays the started game from the demo's start on the game's own timers until
// Escape or the end of the demo's length, feeding each tick the live actions as
// its demo record and keeping them in the recording. Returns false if the
// records could not be handed to the game.
bool run_recorder(Recording& recording);

// The recorder's mark over a composed frame, clear of the banner, the health
// pie and the minimap: a red dot, "REC" and the ticks left.
void draw_recording_mark(int ticks_left);
