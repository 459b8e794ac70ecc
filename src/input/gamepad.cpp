// The first joystick (platform/joystick.h). A stick pushed past the dead zone
// holds the walk and turn actions; the mapped buttons hold theirs.
#include "input/gamepad.h"

#include <array>

#include "platform/joystick.h"
#include "settings/settings.h"

namespace {

std::array<bool, ACTION_COUNT> held = {};

constexpr int AXIS_TRAVEL = 128; // axis positions run -128..128

void hold(Action action, bool down)
{
    held[std::size_t(action_slot(action))] = down;
}

} // namespace

void install_gamepad()
{
    open_joystick();
}

// A missing stick or axis reads as centred.
void poll_gamepad()
{
    held = {};
    if (!read_joystick())
        return;
    const int dead = settings.gamepad_dead_zone * AXIS_TRAVEL / 100;
    const int walk = joystick_axis(settings.gamepad_stick, settings.gamepad_walk_axis);
    const int turn = joystick_axis(settings.gamepad_stick, settings.gamepad_turn_axis);
    hold(Action::forward, walk < -dead);
    hold(Action::back, walk > dead);
    hold(Action::turn_left, turn < -dead);
    hold(Action::turn_right, turn > dead);
    // A button holds its action too, the walk and the turns included.
    for (const ActionEntry& entry : ACTIONS)
        if (joystick_button(settings.gamepad_buttons[std::size_t(action_slot(entry.action))]))
            hold(entry.action, true);
}

bool gamepad_holds(Action action)
{
    return held[std::size_t(action_slot(action))];
}
