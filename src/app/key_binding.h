// Binding a key to a control by pressing it on the options screen: a key
// bound elsewhere moves, and the keys the player could not do without are
// refused with a word why.
#pragma once

#include <string>

#include "settings/settings.h"

// What became of a key pressed for a control.
struct KeyBinding {
    bool bound = false;  // the key now serves the control
    int moved_from = -1; // the control it was taken from, or -1
    std::string refusal; // why it was not bound, when it was not
};

// Puts the key in the control's first or second place (slot 0 or 1) in
// keys, taking it from any other control; a control's keys stay packed,
// the first place filled before the second. Refused: F11 (full screen),
// a key without a name, Enter for pause (Enter opens the options in the
// pause) and the pause's last key for another control (a game paused by
// the window losing the focus could never go on).
KeyBinding bind_key(Settings& s, int control, int slot, int allegro_key);

// Clears the control's key in that place; refused for the pause's last key.
KeyBinding clear_key(Settings& s, int control, int slot);

// The control's name as the screen shows it: JUMP, CLOSE VIEW.
std::string control_label(int control);
