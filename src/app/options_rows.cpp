// The pages' rows. (Until the settings have one table: the rows by hand.)
#include "app/options_rows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/key_binding.h"

namespace {

struct HandRow {
    const char* label;
    int* number;
    int min, max, step;
    const char* help;
};

void copy(char (&to)[ROW_TEXT_SIZE], const char* from)
{
    std::snprintf(to, sizeof to, "%s", from);
}

} // namespace

const char* page_name(OptionsPage page)
{
    static const char* const NAMES[OPTIONS_PAGE_COUNT] = {"DISPLAY", "SOUND", "KEYS", "GAMEPAD", "DEFAULTS"};
    return NAMES[int(page)];
}

int page_row_count(OptionsPage page)
{
    switch (page) {
    case OptionsPage::display: return 2;
    case OptionsPage::sound: return 2;
    case OptionsPage::keys: return CONTROL_COUNT;
    case OptionsPage::gamepad: return 2 + 6;
    case OptionsPage::defaults: return 0;
    }
    return 0;
}

OptionRow page_row(OptionsPage page, int row, const Settings& s)
{
    OptionRow r;
    if (page == OptionsPage::keys) {
        copy(r.label, control_label(row).c_str());
        r.press = RowPress::key;
        r.index = row;
        return r;
    }
    if (page == OptionsPage::display) {
        copy(r.label, row == 0 ? "MODE" : "SCALE");
        if (row == 0)
            copy(r.value, s.display_mode == DisplayMode::fullscreen ? "FULLSCREEN" : "WINDOW");
        else
            std::snprintf(r.value, sizeof r.value, "%d", s.scale);
        return r;
    }
    if (page == OptionsPage::sound) {
        copy(r.label, row == 0 ? "SOUND" : "VOLUME");
        if (row == 0)
            copy(r.value, s.sound ? "ON" : "OFF");
        else
            std::snprintf(r.value, sizeof r.value, "%d", s.volume);
        return r;
    }
    const GamepadSettings& g = s.gamepad;
    const int* buttons[6] = {&g.jump, &g.fire, &g.close_view, &g.view_up, &g.view_down, &g.narrow_view};
    if (row == 0) {
        copy(r.label, "STICK");
        std::snprintf(r.value, sizeof r.value, "%d", g.stick);
    } else if (row == 1) {
        copy(r.label, "DEAD ZONE");
        std::snprintf(r.value, sizeof r.value, "%d", g.dead_zone);
    } else {
        copy(r.label, control_label(row - 2 + 4).c_str());
        r.press = RowPress::button;
        r.index = row - 2 + 4;
        if (*buttons[row - 2] == 0)
            copy(r.value, "NONE");
        else
            std::snprintf(r.value, sizeof r.value, "BUTTON %d", *buttons[row - 2]);
    }
    return r;
}

bool turn_page_row(OptionsPage page, int row, int direction, Settings& s)
{
    const Settings before = s;
    if (page == OptionsPage::display && row == 0)
        s.display_mode = s.display_mode == DisplayMode::fullscreen ? DisplayMode::window : DisplayMode::fullscreen;
    else if (page == OptionsPage::display)
        s.scale = std::clamp(s.scale + direction, 0, SCALE_MAX);
    else if (page == OptionsPage::sound && row == 0)
        s.sound = !s.sound;
    else if (page == OptionsPage::sound)
        s.volume = std::clamp(s.volume + 5 * direction, 0, 100);
    else if (page == OptionsPage::gamepad && row == 0)
        s.gamepad.stick = std::clamp(s.gamepad.stick + direction, 0, GAMEPAD_STICKS_MAX - 1);
    else if (page == OptionsPage::gamepad && row == 1)
        s.gamepad.dead_zone = std::clamp(s.gamepad.dead_zone + 5 * direction, 0, DEAD_ZONE_MAX);
    return std::memcmp(&before, &s, sizeof s) != 0;
}

int& action_button(Settings& s, int action)
{
    GamepadSettings& g = s.gamepad;
    int* buttons[ACTION_COUNT] = {nullptr, nullptr, nullptr, nullptr, &g.jump, &g.fire, &g.close_view, &g.view_up, &g.view_down, &g.narrow_view};
    return *buttons[action];
}

void copy_page_row(OptionsPage page, int row, const Settings& from, Settings& to)
{
    if (page == OptionsPage::keys)
        to.keys = from.keys;
    else if (page == OptionsPage::display && row == 0)
        to.display_mode = from.display_mode;
    else if (page == OptionsPage::display)
        to.scale = from.scale;
    else if (page == OptionsPage::sound && row == 0)
        to.sound = from.sound;
    else if (page == OptionsPage::sound)
        to.volume = from.volume;
    else
        to.gamepad = from.gamepad;
}
