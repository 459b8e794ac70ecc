// The first joystick or gamepad, read through Allegro's joystick drivers.
#pragma once

#include <allegro.h>

// Looks for a joystick, quietly; true when there is one.
bool open_joystick();

// Reads the first joystick's state: nullptr when there is none or it cannot
// be read.
const JOYSTICK_INFO* read_joystick();
