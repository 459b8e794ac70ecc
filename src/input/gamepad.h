// The first joystick or gamepad, through Allegro's joystick drivers: a stick
// walks and turns, buttons fire the other actions, as the settings map them.
#pragma once

#include <allegro.h>

#include "game/actions.h"

// Looks for a joystick, quietly: without one the game plays as before.
void install_gamepad();

// Reads the joystick's state for the tick about to run.
void poll_gamepad();

// What a pad in the given state holds, as the settings map its stick and its
// buttons (numbered from 1 as pads print them: button 1 is button[0]);
// poll_gamepad hands it the first joystick's state.
void read_gamepad(const JOYSTICK_INFO& pad);

// Whether the gamepad, as last polled, holds the action.
bool gamepad_holds(Action action);
