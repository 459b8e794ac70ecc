// Allegro keeps the state of every joystick in joy[]; this reads the first.
#include "platform/joystick.h"

#include <allegro.h>

namespace {

bool present = false;

} // namespace

bool open_joystick()
{
    present = install_joystick(JOY_TYPE_AUTODETECT) == 0 && num_joysticks > 0;
    return present;
}

bool read_joystick()
{
    return present && poll_joystick() == 0;
}

int joystick_axis(int stick, int axis)
{
    const JOYSTICK_INFO& pad = joy[0];
    if (!present || stick < 0 || stick >= pad.num_sticks || axis < 0 || axis >= pad.stick[stick].num_axis)
        return 0;
    return pad.stick[stick].axis[axis].pos;
}

bool joystick_button(int number)
{
    const JOYSTICK_INFO& pad = joy[0];
    return present && number >= 1 && number <= pad.num_buttons && pad.button[number - 1].b != 0;
}
