// The player's settings for this run: the defaults, then the settings file,
// then the command line. Start-up reads them; nothing changes them in play.
// Each setting is a row of SETTINGS_TABLE (settings/settings_table.h).
#pragma once

#include <array>

#include <allegro.h>

#include "display/screen_fit.h"
#include "game/actions.h"

// What a key can be bound to: the recorded actions first, an action's
// control being its slot (control_of), then the keys no recording keeps.
enum class Control { viewport_width = ACTION_COUNT, viewport_height, aspect, minimap_zoom, pause, screenshot };
constexpr int CONTROL_COUNT = int(Control::screenshot) + 1;
constexpr int KEYS_PER_CONTROL = 2; // any control may have two keys

constexpr Control control_of(Action action)
{
    return Control(action_slot(action));
}

using ControlKeys = std::array<int, KEYS_PER_CONTROL>; // Allegro keys; 0 for none

struct ControlEntry {
    const char* name;        // its name in the settings file
    ControlKeys default_keys;
    const char* what;        // what it does, as the settings file says
};

// The controls after the actions, in the order of Control.
constexpr std::array<ControlEntry, CONTROL_COUNT - ACTION_COUNT> LIVE_CONTROLS = {{
    {"viewport_width", {KEY_W, 0}, "narrower 3D viewport; with Shift wider"},
    {"viewport_height", {KEY_H, 0}, "lower 3D viewport; with Shift taller"},
    {"aspect", {KEY_A, 0}, "narrower aspect; with Shift wider"},
    {"minimap_zoom", {KEY_R, 0}, "minimap zoom out; with Shift in"},
    {"pause", {KEY_P, KEY_PAUSE}, "pause and resume"},
    {"screenshot", {KEY_F12, 0}, "save the picture as a PNG"},
}};

// Every control: a row for each action, from ACTIONS, then LIVE_CONTROLS.
constexpr std::array<ControlEntry, CONTROL_COUNT> CONTROLS = [] {
    std::array<ControlEntry, CONTROL_COUNT> rows = {};
    for (const ActionEntry& a : ACTIONS)
        rows[std::size_t(action_slot(a.action))] = {a.name, {a.default_key, 0}, a.what};
    for (std::size_t i = 0; i < LIVE_CONTROLS.size(); ++i)
        rows[ACTIONS.size() + i] = LIVE_CONTROLS[i];
    return rows;
}();

constexpr int VOLUME_MAX = 100;
constexpr int DEAD_ZONE_MAX = 90;
constexpr int GAMEPAD_BUTTONS_MAX = MAX_JOYSTICK_BUTTONS;
constexpr int GAMEPAD_STICKS_MAX = MAX_JOYSTICK_STICKS;
constexpr int GAMEPAD_AXES_MAX = MAX_JOYSTICK_AXIS;

// The defaults are the table's: a Settings is made with every setting at its
// row's default.
struct Settings {
    Settings();
    bool operator==(const Settings&) const = default;

    bool fullscreen;    // else a window
    int scale;          // the window's size in pictures of 800 x 600, 1..SCALE_MAX; 0 the largest that fits
    bool smooth_scaling; // the picture's pixels blended as it is scaled, else whole multiples only
    bool vsync;         // each flip waits for the screen's refresh, where the driver offers it
    bool frames_follow_ticks; // a frame once a tick has run, else as many as the machine draws
    bool sound;
    int volume;         // 0..VOLUME_MAX
    // Allegro keys bound to each control, 0 for none; no key serves two controls.
    std::array<ControlKeys, CONTROL_COUNT> keys;
    // The gamepad: the stick that walks and turns and its axes, from 0 (pushed
    // up, negative, walks forward; pushed left turns left).
    int gamepad_stick;
    int gamepad_walk_axis;
    int gamepad_turn_axis;
    int gamepad_dead_zone; // percent of the axis's travel that counts as centred, 0..DEAD_ZONE_MAX
    // The button that holds each action, in the order of ACTIONS: numbered
    // from 1 as pads print them, 0 for none.
    std::array<int, ACTION_COUNT> gamepad_buttons;
};

// The run's settings, filled before start-up.
extern Settings settings;
