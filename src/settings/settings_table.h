// Every setting as one row: its section and name in the settings file, its
// kind, its member of Settings, its range, its default and its comment. The
// file's reader and writer, the defaults and the tests of the README's and
// the man page's lists all loop over this table; a new setting is a row here.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/settings.h"

enum class SettingKind {
    number, // a whole number from min to max, in an int member
    choice, // one of two words, in a bool member: the first word is true
    keys,   // one or two key names, or none: the keys of the control `index`
    button, // a gamepad button from 1 to GAMEPAD_BUTTONS_MAX, 0 for none: that of the action `index`
};

struct SettingRow {
    const char* section; // without its brackets
    const char* name;
    SettingKind kind;
    int Settings::*number = nullptr;       // a number
    bool Settings::*choice = nullptr;      // a choice
    std::array<const char*, 2> words = {}; // a choice's words, for true and for false
    int index = 0;                         // keys: the control; a button: the action
    int min = 0, max = 0;                  // a number's range
    int default_value = 0;                 // a number's, a choice's (1 true) or a button's; keys take their control's
    const char* comment = "";              // above its line in the file written
};

struct SettingsSection {
    const char* name;
    const char* comment; // under its header in the file written
};

inline constexpr std::array<SettingsSection, 4> SETTINGS_SECTIONS = {{
    {"display", ""},
    {"sound", ""},
    {"keys", "One or two keys each, by Allegro's key names without KEY_: UP, LSHIFT, T, F12, SPACE, "
             "ENTER_PAD... or none. A key serves one name only. Shift for the other way stays the Shift "
             "keys; Escape always quits."},
    {"gamepad", "The first joystick or gamepad: its stick walks and turns. Below those, the button of "
                "each action, numbered from 1 as the pad prints them, 0 for none."},
}};

namespace setting_rows {

constexpr SettingRow number(const char* section, const char* name, int Settings::*member, int min, int max,
                            int default_value, const char* comment)
{
    return {section, name, SettingKind::number, member, nullptr, {}, 0, min, max, default_value, comment};
}

constexpr SettingRow choice(const char* section, const char* name, bool Settings::*member, const char* if_true,
                            const char* if_false, bool default_value, const char* comment)
{
    return {section, name, SettingKind::choice, nullptr, member, {if_true, if_false}, 0, 0, 0, default_value,
            comment};
}

// The settings named by hand; the keys and the buttons follow from CONTROLS
// and ACTIONS.
inline constexpr std::array<SettingRow, 11> NAMED = {{
    choice("display", "mode", &Settings::fullscreen, "fullscreen", "window", true, "how the game shows itself"),
    number("display", "scale", &Settings::scale, 0, SCALE_MAX, 0,
           "the window's size in pictures of 800 x 600, also for F11; 0 for the largest that fits"),
    choice("display", "scaling", &Settings::smooth_scaling, "smooth", "whole", true,
           "the picture scaled to the screen: smooth blends its pixels, whole keeps them square"),
    choice("display", "vsync", &Settings::vsync, "on", "off", true,
           "each frame waits for the screen's refresh, where the driver offers it"),
    choice("display", "frame_rate", &Settings::frames_follow_ticks, "ticks", "unlimited", true,
           "a frame for each tick of the game (60 a second), or as many as the machine draws"),
    choice("sound", "sound", &Settings::sound, "on", "off", true, "the game's sound"),
    number("sound", "volume", &Settings::volume, 0, VOLUME_MAX, VOLUME_MAX, "the volume, in percent"),
    number("gamepad", "stick", &Settings::gamepad_stick, 0, GAMEPAD_STICKS_MAX - 1, 0,
           "the stick or pad that walks and turns"),
    number("gamepad", "walk_axis", &Settings::gamepad_walk_axis, 0, GAMEPAD_AXES_MAX - 1, 1,
           "its axis that walks: pushed up walks forward"),
    number("gamepad", "turn_axis", &Settings::gamepad_turn_axis, 0, GAMEPAD_AXES_MAX - 1, 0,
           "its axis that turns: pushed left turns left"),
    number("gamepad", "dead_zone", &Settings::gamepad_dead_zone, 0, DEAD_ZONE_MAX, 30,
           "percent of the axis's travel that counts as centred"),
}};

} // namespace setting_rows

constexpr int SETTING_COUNT = int(setting_rows::NAMED.size()) + CONTROL_COUNT + ACTION_COUNT;

// The rows in the order of the file written: display and sound, a key row
// per control, the gamepad's numbers, a button row per action.
inline constexpr std::array<SettingRow, SETTING_COUNT> SETTINGS_TABLE = [] {
    std::array<SettingRow, SETTING_COUNT> rows = {};
    std::size_t n = 0;
    for (const SettingRow& row : setting_rows::NAMED)
        if (std::string_view(row.section) != "gamepad")
            rows[n++] = row;
    for (int c = 0; c < CONTROL_COUNT; ++c)
        rows[n++] = {"keys", CONTROLS[std::size_t(c)].name, SettingKind::keys, nullptr, nullptr, {}, c,
                     0, 0, 0, CONTROLS[std::size_t(c)].what};
    for (const SettingRow& row : setting_rows::NAMED)
        if (std::string_view(row.section) == "gamepad")
            rows[n++] = row;
    for (const ActionEntry& a : ACTIONS)
        rows[n++] = {"gamepad", a.name, SettingKind::button, nullptr, nullptr, {}, action_slot(a.action),
                     0, GAMEPAD_BUTTONS_MAX, a.default_button, a.what};
    return rows;
}();

// Each row's section is listed, its rows come together in the sections'
// order, and no name is given twice in a section.
constexpr bool settings_table_in_order()
{
    std::size_t section = 0;
    for (std::size_t i = 0; i < SETTINGS_TABLE.size(); ++i) {
        const SettingRow& row = SETTINGS_TABLE[i];
        while (section < SETTINGS_SECTIONS.size() && row.section != std::string_view(SETTINGS_SECTIONS[section].name))
            ++section;
        if (section == SETTINGS_SECTIONS.size())
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (SETTINGS_TABLE[j].section == std::string_view(row.section) &&
                SETTINGS_TABLE[j].name == std::string_view(row.name))
                return false;
    }
    return true;
}
static_assert(settings_table_in_order(), "sections listed, in order, each name once");

// The row of the setting named in the section, or null.
const SettingRow* setting_row(std::string_view section, std::string_view name);

// The section of that name, or null.
const SettingsSection* settings_section(std::string_view name);

// The setting's value as the file writes it.
std::string setting_value_text(const SettingRow& row, const Settings& s);

// What values the row takes, as its comment says: "0 to 100", "on or off";
// empty for keys and buttons, which their sections' comments explain.
std::string setting_range_text(const SettingRow& row);
