// The gamepad's buttons as the player counts them: button 1 is the pad's
// first, as pads print them, and the default settings' buttons 1 to 5 hold
// jump, fire, the close view, view up and view down.
#include <gtest/gtest.h>

#include "input/gamepad.h"
#include "settings/settings.h"

namespace {

TEST(GamepadTest, ButtonsAreNumberedFromOneAndEachHoldsItsDefaultActionAlone)
{
    settings = Settings{};
    const Action by_button[] = {Action::jump, Action::fire, Action::close_view, Action::view_up, Action::view_down};
    JOYSTICK_INFO pad = {};
    pad.num_buttons = 6;
    for (int b = 0; b < pad.num_buttons; ++b) {
        pad.button[b].b = 1;
        read_gamepad(pad);
        for (const ActionEntry& entry : ACTIONS)
            EXPECT_EQ(gamepad_holds(entry.action), b < 5 && entry.action == by_button[b])
                << "button " << b + 1 << ", " << entry.name;
        pad.button[b].b = 0;
    }
}

} // namespace
