// The actions of the tick being run, read before it from the devices or the
// demo's recording. The rules of a tick read these, never a device.
#pragma once

#include "game/actions.h"

// Where a tick's actions come from.
enum class TickSource {
    devices,   // the keys the settings bind to the actions, and the gamepad
    recording, // the demo's record for the tick (game.demo_index)
};

// As the tick was given them: a recording's bytes as they stand, INPUT_PRESSED
// from a device.
extern ActionBytes tick_actions;

bool action_held(Action action);

// A key that no recording keeps (the view keys and the testing aids) is read
// from the keyboard as it is now, and only in play: a demo plays its actions
// alone.
bool live_key_held(int allegro_key);

// Where the game itself takes a tick's actions: its demo plays the recording,
// play reads the devices.
TickSource game_tick_source();

// The actions for the tick about to run, from source. The keyboard is polled
// first either way, for what a tick reads of it beside its actions (Shift,
// and in play the keys no recording keeps).
ActionBytes read_tick_actions(TickSource source);

// Ticks' actions kept in the order the ticks ran, in room set aside before
// play, so that keeping them never allocates.
struct ActionLog {
    ActionBytes* records = nullptr;
    int room = 0;  // records there is room for
    int count = 0; // records kept

    bool full() const { return count >= room; }
    void append(const ActionBytes& actions) { records[count++] = actions; }
};
