// The keys the settings bind to each control, read from the live keyboard.
#pragma once

#include "input/tick_actions.h"
#include "settings/settings.h"

// Whether a key bound to the control is down now.
bool bound_key_down(Control control);

// As bound_key_down, and only in play: a demo plays its actions alone.
bool live_control_held(Control control);

// The recorded actions as the bound keys and the gamepad hold them now; the
// gamepad is polled once per call, so once per tick.
ActionBytes bound_live_actions();

// True once for each press of the control's key: the key is down now and
// was not at the last call for this control.
bool control_pressed(Control control);
