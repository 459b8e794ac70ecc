// The menus' key presses, counted from the key array Allegro keeps.
#include "app/key_presses.h"

namespace {

// A held count that no step reaches by counting: the key was down before.
constexpr std::uint16_t HELD_BEFORE = 0xFFFF;

} // namespace

void read_key_presses(KeyPresses& k)
{
    for (int i = 1; i < KEY_MAX; ++i) {
        std::uint16_t& steps = k.held[std::size_t(i)];
        if (key[i] == 0)
            steps = 0;
        else if (steps < HELD_BEFORE - 1)
            ++steps;
    }
}

void take_keys_as_held(KeyPresses& k)
{
    for (int i = 1; i < KEY_MAX; ++i)
        k.held[std::size_t(i)] = key[i] != 0 ? HELD_BEFORE : 0;
}

bool key_pressed(const KeyPresses& k, int allegro_key)
{
    return k.held[std::size_t(allegro_key)] == 1;
}

bool key_repeats(const KeyPresses& k, int allegro_key)
{
    const int steps = k.held[std::size_t(allegro_key)];
    if (steps == HELD_BEFORE)
        return false;
    return steps == 1 || (steps > KEY_REPEAT_DELAY && (steps - KEY_REPEAT_DELAY) % KEY_REPEAT_EVERY == 0);
}

int first_key_pressed(const KeyPresses& k)
{
    for (int i = 1; i < KEY_MAX; ++i)
        if (key_pressed(k, i))
            return i;
    return 0;
}
