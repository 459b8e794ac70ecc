// The recorded actions of the tick being run, filled before it from the demo
// or the live devices. The rules of a tick read these, never a device.
#pragma once

#include <array>
#include <cstdint>

#include "input/demo.h"

using ActionBytes = std::array<std::uint8_t, ACTION_COUNT>;

// 0 released, non-zero held (a recording's byte as it stands, INPUT_PRESSED
// from a live key).
extern ActionBytes tick_actions;

bool action_held(Action action);

// A key that no recording keeps (the view keys and the testing aids) is read
// from the live keyboard, and only in play: a demo plays its actions alone.
bool live_key_held(int allegro_key);

// The recorded actions as the live keyboard holds them now.
ActionBytes live_actions();

// Fills tick_actions for the tick about to run: the demo's record in demo
// mode, else the live keyboard.
void fill_tick_actions();
