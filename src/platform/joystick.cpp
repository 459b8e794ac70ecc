// Allegro keeps the state of every joystick in joy[]; this reads the first.
#include "platform/joystick.h"

namespace {

bool present = false;

} // namespace

bool open_joystick()
{
    remove_joystick();
    present = install_joystick(JOY_TYPE_AUTODETECT) == 0 && num_joysticks > 0;
    return present;
}

bool joystick_present()
{
    return present;
}

const JOYSTICK_INFO* read_joystick()
{
    return present && poll_joystick() == 0 ? &joy[0] : nullptr;
}
