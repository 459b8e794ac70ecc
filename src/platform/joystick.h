// The first joystick or gamepad, read through Allegro's joystick drivers.
#pragma once

#include <allegro.h>

// Looks for a joystick, quietly; true when there is one. Called again, it
// puts Allegro's driver in afresh, which finds the joysticks there are now.
bool open_joystick();

// Whether the last look found one.
bool joystick_present();

// Reads the first joystick's state: nullptr when there is none or it cannot
// be read.
const JOYSTICK_INFO* read_joystick();
