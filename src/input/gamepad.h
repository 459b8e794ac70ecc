// The first joystick or gamepad, through Allegro's joystick drivers: a stick
// walks and turns, buttons fire the other actions, as the settings map them.
#pragma once

#include <allegro.h>

#include "game/actions.h"

// Looks for a joystick, quietly: without one the game plays as before.
// Called again, it puts the driver in afresh, finding the pads there are
// now; a pad gone holds nothing.
void install_gamepad();

// Whether a pad was found.
bool gamepad_present();

// The pad's buttons down now, polled afresh, button 1 in bit 0.
unsigned gamepad_buttons_down();

// From start-up on: watches the folders where pads appear (those Allegro's
// joystick driver opens, /dev/input/js0 and on, or the devices its
// configuration names).
void watch_for_gamepads();

// Once a round, between frames, never within a tick: when a pad's device
// came or went, the driver is put in afresh. A device that comes without
// letting itself be opened yet (its permissions follow a moment later) is
// looked for again half a second on.
void follow_gamepad_plugging();

// Reads the joystick's state for the tick about to run.
void poll_gamepad();

// What a pad in the given state holds, as the settings map its stick and its
// buttons (numbered from 1 as pads print them: button 1 is button[0]);
// poll_gamepad hands it the first joystick's state.
void read_gamepad(const JOYSTICK_INFO& pad);

// Whether the gamepad, as last polled, holds the action.
bool gamepad_holds(Action action);
