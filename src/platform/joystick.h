// The first joystick or gamepad, read through Allegro's joystick drivers.
#pragma once

// Looks for a joystick, quietly; true when there is one.
bool open_joystick();

// Reads the joystick's state; false when there is none or it cannot be read.
bool read_joystick();

// As last read: the position of an axis of a stick, -128..128 (0 when the
// joystick has no such stick or axis), and whether a button, numbered from 1
// as pads print them, is down (never for 0, meaning none, or a missing one).
int joystick_axis(int stick, int axis);
bool joystick_button(int number);
