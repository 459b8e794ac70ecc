// The player's settings for this run: the defaults, then the settings file,
// then the command line. Start-up reads them; nothing changes them in play.
#pragma once

#include <array>

#include <allegro.h>

#include "game/actions.h"

// What a key can be bound to: the ten recorded actions (in the order of
// ACTIONS, so an action's slot is its control's number), then the keys no
// recording keeps.
enum class Control {
    forward, back, turn_left, turn_right, jump, fire, close_view, view_up, view_down, narrow_view,
    viewport_width, viewport_height, aspect, minimap_zoom, pause, screenshot
};
constexpr int CONTROL_COUNT = 16;
constexpr int KEYS_PER_CONTROL = 2; // any control may have two keys

struct ControlEntry {
    const char* name; // its name in the settings file
    std::array<int, KEYS_PER_CONTROL> default_keys; // Allegro keys; 0 for none
};

constexpr std::array<ControlEntry, CONTROL_COUNT> CONTROLS = {{
    {ACTIONS[0].name, {ACTIONS[0].default_key, 0}},
    {ACTIONS[1].name, {ACTIONS[1].default_key, 0}},
    {ACTIONS[2].name, {ACTIONS[2].default_key, 0}},
    {ACTIONS[3].name, {ACTIONS[3].default_key, 0}},
    {ACTIONS[4].name, {ACTIONS[4].default_key, 0}},
    {ACTIONS[5].name, {ACTIONS[5].default_key, 0}},
    {ACTIONS[6].name, {ACTIONS[6].default_key, 0}},
    {ACTIONS[7].name, {ACTIONS[7].default_key, 0}},
    {ACTIONS[8].name, {ACTIONS[8].default_key, 0}},
    {ACTIONS[9].name, {ACTIONS[9].default_key, 0}},
    {"viewport_width", {KEY_W, 0}},
    {"viewport_height", {KEY_H, 0}},
    {"aspect", {KEY_A, 0}},
    {"minimap_zoom", {KEY_R, 0}},
    {"pause", {KEY_P, KEY_PAUSE}},
    {"screenshot", {KEY_F12, 0}},
}};
static_assert(ACTION_COUNT == 10 && int(Control::screenshot) == CONTROL_COUNT - 1,
              "the recorded actions come first, in their record order");

constexpr Control control_of(Action action)
{
    return Control(action_slot(action));
}

enum class DisplayMode { fullscreen, window };

// The gamepad's buttons are numbered from 1 as pads print them; 0 is none.
// The walk and turn axes are axes of the chosen stick.
struct GamepadSettings {
    int stick = 0;      // the stick or pad that walks and turns, from 0
    int walk_axis = 1;  // pushed up (negative) walks forward
    int turn_axis = 0;  // pushed left (negative) turns left
    int dead_zone = 30; // percent of the axis's travel that counts as centred, 0..90
    int jump = 1;
    int fire = 2;
    int close_view = 3;
    int view_up = 4;
    int view_down = 5;
    int narrow_view = 0;
};

struct Settings {
    DisplayMode display_mode = DisplayMode::fullscreen; // the screen code reads this
    int scale = 0;                                      // the window's size in screens of 800 x 600, 1..8; 0 the largest that fits
    bool sound = true;                                  // the sound code reads this
    int volume = 100;                                   // 0..100
    // Allegro keys bound to each control, 0 for none; no key serves two controls.
    std::array<std::array<int, KEYS_PER_CONTROL>, CONTROL_COUNT> keys = default_keys();
    GamepadSettings gamepad;

    static constexpr std::array<std::array<int, KEYS_PER_CONTROL>, CONTROL_COUNT> default_keys()
    {
        std::array<std::array<int, KEYS_PER_CONTROL>, CONTROL_COUNT> k = {};
        for (int c = 0; c < CONTROL_COUNT; ++c)
            k[std::size_t(c)] = CONTROLS[std::size_t(c)].default_keys;
        return k;
    }
};

constexpr int SCALE_MAX = 8;
constexpr int DEAD_ZONE_MAX = 90;
constexpr int GAMEPAD_BUTTONS_MAX = MAX_JOYSTICK_BUTTONS;
constexpr int GAMEPAD_STICKS_MAX = MAX_JOYSTICK_STICKS;
constexpr int GAMEPAD_AXES_MAX = MAX_JOYSTICK_AXIS;

// The run's settings, filled before start-up.
extern Settings settings;
