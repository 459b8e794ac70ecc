// Bound keys and the gamepad fill the same recorded actions the default keys
// did, so a recording plays the same whatever the bindings.
#include "input/bound_keys.h"

#include <allegro.h>

#include "game/game_state.h"
#include "input/gamepad.h"

namespace {

// Whether each control's keys were down at its last control_pressed call.
std::array<bool, CONTROL_COUNT> was_down = {};

} // namespace

bool bound_key_down(Control control)
{
    for (const int k : settings.keys[std::size_t(control)])
        if (k != 0 && key[k] != 0)
            return true;
    return false;
}

bool live_control_held(Control control)
{
    return game.demo_mode == 0 && bound_key_down(control);
}

ActionBytes bound_live_actions()
{
    poll_gamepad();
    ActionBytes bytes = {};
    for (const ActionEntry& entry : ACTIONS)
        if (bound_key_down(control_of(entry.action)) || gamepad_holds(entry.action))
            bytes[std::size_t(action_slot(entry.action))] = INPUT_PRESSED;
    return bytes;
}

bool control_pressed(Control control)
{
    const bool down = bound_key_down(control);
    bool& before = was_down[std::size_t(control)];
    const bool pressed = down && !before;
    before = down;
    return pressed;
}
