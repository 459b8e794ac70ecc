// The first joystick or gamepad, through Allegro's joystick drivers: a stick
// walks and turns, buttons fire the other actions, as the settings map them.
#pragma once

#include "game/actions.h"

// Looks for a joystick, quietly: without one the game plays as before.
void install_gamepad();

// Reads the joystick's state for the tick about to run.
void poll_gamepad();

// Whether the gamepad, as last polled, holds the action.
bool gamepad_holds(Action action);
