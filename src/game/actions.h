// The recorded actions: what a tick's input holds and a demo recording keeps,
// named once. The controls, the settings, the gamepad, the demo reader, the
// recorder, the script compiler and decompiler, the banner picture and its
// lights all read this table; adding an action is a new row here and a key on
// the banner picture.
#pragma once

#include <array>
#include <cstdint>

#include <allegro.h>

enum class Action { forward, back, turn_left, turn_right, jump, fire, close_view, view_up, view_down, narrow_view };

// A key of the banner picture (game/banner.h), in the picture's own pixels:
// x1..x2-1, y1..y2-1.
struct BannerKey {
    int x1, y1, x2, y2;
    const char* label;
};

struct ActionEntry {
    Action action;           // its place in the table is its byte in a record
    const char* name;        // its name in the settings
    const char* script_word; // its word in a demo script
    int default_key;         // the Allegro key that fires it unless bound otherwise
    BannerKey banner;        // lit while a recording presses it
    int default_button;      // the gamepad button that holds it unless set otherwise: from 1, 0 for none
    const char* what;        // what it does, as the settings file says
};

inline constexpr std::array<ActionEntry, 10> ACTIONS = {{
    {Action::forward, "forward", "up", KEY_UP, {383, 103, 403, 123, "^"},
     0, "walk forward"},
    {Action::back, "back", "down", KEY_DOWN, {383, 127, 403, 147, "v"},
     0, "walk back"},
    {Action::turn_left, "turn_left", "left", KEY_LEFT, {361, 127, 381, 147, "<"},
     0, "turn left (step left while a target is locked)"},
    {Action::turn_right, "turn_right", "right", KEY_RIGHT, {405, 127, 425, 147, ">"},
     0, "turn right (step right while a target is locked)"},
    {Action::jump, "jump", "lshift", KEY_LSHIFT, {10, 105, 58, 126, "Shift"},
     1, "jump, higher while held"},
    {Action::fire, "fire", "z", KEY_Z, {60, 105, 80, 126, "Z"},
     2, "hold to charge a shot, let go to fire it"},
    {Action::close_view, "close_view", "x", KEY_X, {83, 105, 103, 126, "X"},
     3, "the close view while held"},
    {Action::view_up, "view_up", "pgup", KEY_PGUP, {405, 36, 425, 56, "PU"},
     4, "raise the view"},
    {Action::view_down, "view_down", "pgdn", KEY_PGDN, {405, 58, 425, 80, "PD"},
     5, "lower the view"},
    {Action::narrow_view, "narrow_view", "f", KEY_F, {116, 82, 136, 102, "F"},
     0, "narrower field of view; with Shift wider"},
}};

constexpr int ACTION_COUNT = int(ACTIONS.size());

constexpr bool actions_in_record_order()
{
    for (int i = 0; i < ACTION_COUNT; ++i)
        if (ACTIONS[std::size_t(i)].action != Action(i))
            return false;
    return true;
}
static_assert(actions_in_record_order(), "a row's place is its action's byte in a record");

// The action's byte in a record.
constexpr int action_slot(Action action)
{
    return int(action);
}

// One tick's actions, as a tick reads them and a recording keeps them: a byte
// per row of ACTIONS, in its order.
using ActionBytes = std::array<std::uint8_t, ACTION_COUNT>;

// The byte written for a press.
constexpr std::uint8_t INPUT_PRESSED = 0xFF;

// Whether a byte presses its action: any but 0 does, as the rules and the
// banner's lights both read it.
constexpr bool pressed(std::uint8_t byte)
{
    return byte != 0;
}
