// The recorder: the game played as the demo starts it (its starting place, the
// Flyer held, the banner lighting the keys) with the player's bound keys and
// gamepad, keeping the actions of every tick as the tick read them.
#pragma once

#include <vector>

#include "recording/demo_script_compiler.h"

struct Recording {
    std::vector<ActionBytes> records; // the demo's length: record 0 and those after the last tick released
    int ticks = 0;                   // ticks recorded: records 1..ticks
};

// Plays the started game from the demo's start on the game's own timers until
// Escape or the end of the demo's length, each tick's actions read from the
// devices and kept in the recording. The player's pause and screenshot keys
// act as in the game: no tick runs, and none is recorded, while paused.
void run_recorder(Recording& recording);

// The recorder's mark over a composed frame, clear of the banner, the health
// pie and the minimap: a red dot, "REC" and the ticks left.
void draw_recording_mark(int ticks_left);
