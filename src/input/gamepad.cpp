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
    const GamepadSettings& g = settings.gamepad;
    const int dead = g.dead_zone * AXIS_TRAVEL / 100;
    const int walk = joystick_axis(g.stick, g.walk_axis);
    const int turn = joystick_axis(g.stick, g.turn_axis);
    hold(Action::forward, walk < -dead);
    hold(Action::back, walk > dead);
    hold(Action::turn_left, turn < -dead);
    hold(Action::turn_right, turn > dead);
    hold(Action::jump, joystick_button(g.jump));
    hold(Action::fire, joystick_button(g.fire));
    hold(Action::close_view, joystick_button(g.close_view));
    hold(Action::view_up, joystick_button(g.view_up));
    hold(Action::view_down, joystick_button(g.view_down));
    hold(Action::narrow_view, joystick_button(g.narrow_view));
}

bool gamepad_holds(Action action)
{
    return held[std::size_t(action_slot(action))];
}
