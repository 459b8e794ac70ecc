// The first joystick Allegro finds. A stick pushed past the dead zone holds
// the walk and turn actions; the mapped buttons hold theirs.
#include "input/gamepad.h"

#include <array>
#include <cstdlib>

#include <allegro.h>

#include "settings/settings.h"

namespace {

bool present = false;
std::array<bool, ACTION_COUNT> held = {};

constexpr int AXIS_TRAVEL = 128; // Allegro's axis positions run -128..128

bool button_down(const JOYSTICK_INFO& pad, int number)
{
    return number >= 1 && number <= pad.num_buttons && pad.button[number - 1].b != 0;
}

void hold(Action action, bool down)
{
    held[std::size_t(action_slot(action))] = down;
}

} // namespace

void install_gamepad()
{
    present = install_joystick(JOY_TYPE_AUTODETECT) == 0 && num_joysticks > 0;
}

void poll_gamepad()
{
    held = {};
    if (!present || poll_joystick() != 0)
        return;
    const JOYSTICK_INFO& pad = joy[0];
    if (settings.gamepad_stick < pad.num_sticks) {
        const JOYSTICK_STICK_INFO& stick = joy[0].stick[settings.gamepad_stick];
        const int dead = settings.gamepad_dead_zone * AXIS_TRAVEL / 100;
        if (settings.gamepad_walk_axis < stick.num_axis) {
            hold(Action::forward, stick.axis[settings.gamepad_walk_axis].pos < -dead);
            hold(Action::back, stick.axis[settings.gamepad_walk_axis].pos > dead);
        }
        if (settings.gamepad_turn_axis < stick.num_axis) {
            hold(Action::turn_left, stick.axis[settings.gamepad_turn_axis].pos < -dead);
            hold(Action::turn_right, stick.axis[settings.gamepad_turn_axis].pos > dead);
        }
    }
    // A button holds its action too, the walk and the turns included.
    for (const ActionEntry& entry : ACTIONS)
        if (button_down(pad, settings.gamepad_buttons[std::size_t(action_slot(entry.action))]))
            hold(entry.action, true);
}

bool gamepad_holds(Action action)
{
    return held[std::size_t(action_slot(action))];
}
