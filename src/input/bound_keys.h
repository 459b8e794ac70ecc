// The keys the settings bind to each control, read from the keyboard as it
// is now, and the actions they and the gamepad hold.
#pragma once

#include "game/actions.h"
#include "settings/settings.h"

// Whether a key bound to the control is down now.
bool bound_key_down(Control control);

// As bound_key_down, and only in play: a demo plays its actions alone.
bool live_control_held(Control control);

// The recorded actions as the bound keys and the gamepad hold them now; the
// gamepad is polled once per call, so once per tick.
ActionBytes bound_device_actions();

// Presses of the control's keys since the last call for this control: a key
// down now that was not then, and each press of the Pause key when it is
// bound (counted as Allegro reports it, once count_pause_key_presses is on).
int control_presses(Control control);
bool control_pressed(Control control);

// Counts the Pause key's presses from now on, as Allegro's keyboard reports
// them, passing every key on to the watch already installed (the display's).
void count_pause_key_presses();
