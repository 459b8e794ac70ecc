// Presses of keys as the menus see them, once a step: a key counts as pressed
// in the step that first finds it down, and the keys that repeat count again
// while held, as a typist's keyboard repeats.
#pragma once

#include <array>
#include <cstdint>

#include <allegro.h>

// Steps a key is held before it repeats, then steps between repeats: at 60
// steps a second, 0.4 s and 12 a second.
constexpr int KEY_REPEAT_DELAY = 24;
constexpr int KEY_REPEAT_EVERY = 5;

struct KeyPresses {
    // Steps each key has been found down in a row, 0 when up; a key found
    // down when the counting began is held from the start and never pressed.
    std::array<std::uint16_t, KEY_MAX> held = {};
};

// Once a step: reads the live key array.
void read_key_presses(KeyPresses& k);

// Counts every key down now as held long since, so that none of them is a
// press: a screen opened by a key does not take that key as its own.
void take_keys_as_held(KeyPresses& k);

// Down in this step and up in the step before.
bool key_pressed(const KeyPresses& k, int allegro_key);

// Pressed, or held past the repeat delay on the repeat's beat.
bool key_repeats(const KeyPresses& k, int allegro_key);

// The lowest-numbered key pressed in this step, or 0.
int first_key_pressed(const KeyPresses& k);
