// Keys bound by pressing them: a key moves from the control that had it,
// keys stay packed, and the keys the player cannot do without are refused.
#include <gtest/gtest.h>

#include "app/key_binding.h"

namespace {

constexpr int JUMP = int(control_of(Action::jump));
constexpr int FIRE = int(control_of(Action::fire));
constexpr int PAUSE = int(Control::pause);

TEST(KeyBindingTest, AKeyMovesFromItsControlAndTheKeysStayPacked)
{
    Settings s;
    KeyBinding b = bind_key(s, JUMP, 1, KEY_Z);
    EXPECT_TRUE(b.bound);
    EXPECT_EQ(b.moved_from, FIRE);
    EXPECT_EQ(s.keys[JUMP], (ControlKeys{KEY_LSHIFT, KEY_Z}));
    EXPECT_EQ(s.keys[FIRE], (ControlKeys{0, 0})) << "Z left fire";

    b = bind_key(s, JUMP, 0, KEY_Z);
    EXPECT_EQ(b.moved_from, -1);
    EXPECT_EQ(s.keys[JUMP], (ControlKeys{KEY_Z, 0})) << "Z from the second place to the first, alone";

    bind_key(s, FIRE, 1, KEY_SPACE);
    EXPECT_EQ(s.keys[FIRE], (ControlKeys{KEY_SPACE, 0})) << "a second key for none goes first";
    EXPECT_TRUE(clear_key(s, JUMP, 0).bound);
    EXPECT_EQ(s.keys[JUMP], (ControlKeys{0, 0}));
}

TEST(KeyBindingTest, FullScreenEnterForPauseAndThePausesLastKeyAreRefused)
{
    Settings s;
    const Settings before = s;
    EXPECT_EQ(bind_key(s, JUMP, 0, KEY_F11).refusal, "F11 is kept for full screen");
    EXPECT_FALSE(bind_key(s, PAUSE, 0, KEY_ENTER).bound);
    EXPECT_FALSE(bind_key(s, JUMP, 0, KEY_ESC).bound);
    EXPECT_TRUE(bind_key(s, JUMP, 0, KEY_PAUSE).bound) << "pause keeps P";
    EXPECT_EQ(bind_key(s, FIRE, 0, KEY_P).refusal, "P is the only key that ends the pause");
    EXPECT_FALSE(clear_key(s, PAUSE, 0).bound);
    EXPECT_EQ(s.keys[PAUSE], (ControlKeys{KEY_P, 0}));
    EXPECT_EQ(s.keys[FIRE], before.keys[FIRE]);
}

} // namespace
