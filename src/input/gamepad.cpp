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
    if (present && poll_joystick() == 0)
        read_gamepad(joy[0]);
}

void read_gamepad(const JOYSTICK_INFO& pad)
{
    held = {};
    const GamepadSettings& g = settings.gamepad;
    if (g.stick < pad.num_sticks) {
        const JOYSTICK_STICK_INFO& stick = pad.stick[g.stick];
        const int dead = g.dead_zone * AXIS_TRAVEL / 100;
        if (g.walk_axis < stick.num_axis) {
            hold(Action::forward, stick.axis[g.walk_axis].pos < -dead);
            hold(Action::back, stick.axis[g.walk_axis].pos > dead);
        }
        if (g.turn_axis < stick.num_axis) {
            hold(Action::turn_left, stick.axis[g.turn_axis].pos < -dead);
            hold(Action::turn_right, stick.axis[g.turn_axis].pos > dead);
        }
    }
    hold(Action::jump, button_down(pad, g.jump));
    hold(Action::fire, button_down(pad, g.fire));
    hold(Action::close_view, button_down(pad, g.close_view));
    hold(Action::view_up, button_down(pad, g.view_up));
    hold(Action::view_down, button_down(pad, g.view_down));
    hold(Action::narrow_view, button_down(pad, g.narrow_view));
}

bool gamepad_holds(Action action)
{
    return held[std::size_t(action_slot(action))];
}
