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

// A missing stick or axis reads as centred.
int axis_position(const JOYSTICK_INFO& pad, int stick, int axis)
{
    if (stick < 0 || stick >= pad.num_sticks || axis < 0 || axis >= pad.stick[stick].num_axis)
        return 0;
    return pad.stick[stick].axis[axis].pos;
}

// Buttons are numbered from 1 as pads print them; 0 is none.
bool button_down(const JOYSTICK_INFO& pad, int number)
{
    return number >= 1 && number <= pad.num_buttons && pad.button[number - 1].b != 0;
}

} // namespace

void install_gamepad()
{
    open_joystick();
    held = {};
}

bool gamepad_present()
{
    return joystick_present();
}

unsigned gamepad_buttons_down()
{
    const JOYSTICK_INFO* pad = read_joystick();
    if (pad == nullptr)
        return 0;
    unsigned down = 0;
    for (int b = 0; b < pad->num_buttons && b < 32; ++b)
        if (pad->button[b].b != 0)
            down |= 1u << b;
    return down;
}

void poll_gamepad()
{
    held = {};
    if (const JOYSTICK_INFO* pad = read_joystick())
        read_gamepad(*pad);
}

void read_gamepad(const JOYSTICK_INFO& pad)
{
    held = {};
    const int dead = settings.gamepad_dead_zone * AXIS_TRAVEL / 100;
    const int walk = axis_position(pad, settings.gamepad_stick, settings.gamepad_walk_axis);
    const int turn = axis_position(pad, settings.gamepad_stick, settings.gamepad_turn_axis);
    hold(Action::forward, walk < -dead);
    hold(Action::back, walk > dead);
    hold(Action::turn_left, turn < -dead);
    hold(Action::turn_right, turn > dead);
    // A button holds its action too, the walk and the turns included.
    for (const ActionEntry& entry : ACTIONS)
        if (button_down(pad, settings.gamepad_buttons[std::size_t(action_slot(entry.action))]))
            hold(entry.action, true);
}

bool gamepad_holds(Action action)
{
    return held[std::size_t(action_slot(action))];
}
