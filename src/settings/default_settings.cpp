// The defaults written out as a settings file, with a comment on every name:
// what --write-config writes and what a player starts editing from.
#include <string>

#include "settings/key_names.h"
#include "settings/settings_file.h"

namespace {

const char* const CONTROL_COMMENTS[CONTROL_COUNT] = {
    "walk forward",
    "walk back",
    "turn left (step left while a target is locked)",
    "turn right (step right while a target is locked)",
    "jump, higher while held",
    "hold to charge a shot, let go to fire it",
    "the close view while held",
    "raise the view",
    "lower the view",
    "narrower field of view; with Shift wider",
    "narrower 3D viewport; with Shift wider",
    "lower 3D viewport; with Shift taller",
    "narrower aspect; with Shift wider",
    "minimap zoom out; with Shift in",
    "pause and resume",
    "save the picture as a PNG",
};

void append_keys(std::string& text, int control)
{
    const Settings defaults;
    const auto& keys = defaults.keys[std::size_t(control)];
    text += CONTROLS[std::size_t(control)].name;
    text += " = ";
    text += key_name(keys[0]);
    if (keys[1] != 0) {
        text += ' ';
        text += key_name(keys[1]);
    }
    text += "\n";
}

} // namespace

std::string default_settings_text()
{
    const Settings d;
    const GamepadSettings& g = d.gamepad;
    std::string text =
        "# Ironstep's settings. Lines are \"name = value\"; # starts a comment.\n"
        "# A line the game cannot use is named in a warning and keeps its default.\n"
        "\n"
        "[display]\n"
        "# fullscreen or window\n"
        "mode = fullscreen\n"
        "# the window's size in screens of 800 x 600, 1 to 8; without it, the\n"
        "# largest that fits the desktop\n"
        "# scale = 2\n"
        "\n"
        "[sound]\n"
        "# on or off\n"
        "sound = on\n"
        "# 0 to 100\n"
        "volume = " + std::to_string(d.volume) + "\n"
        "\n"
        "[keys]\n"
        "# One or two keys each, by Allegro's key names without KEY_: UP, LSHIFT,\n"
        "# T, F12, SPACE, ENTER_PAD... or none. A key serves one name only.\n"
        "# Shift for the other way stays the Shift keys; Escape always quits.\n";
    for (int c = 0; c < CONTROL_COUNT; ++c) {
        text += "# ";
        text += CONTROL_COMMENTS[c];
        text += "\n";
        append_keys(text, c);
    }
    text += "\n"
            "[gamepad]\n"
            "# the stick or pad that walks and turns, from 0, and its axes (0 to 2):\n"
            "# pushed up walks forward, pushed left turns left\n"
            "stick = " + std::to_string(g.stick) + "\n"
            "walk_axis = " + std::to_string(g.walk_axis) + "\n"
            "turn_axis = " + std::to_string(g.turn_axis) + "\n"
            "# percent of the axis's travel that counts as centred, 0 to 90\n"
            "dead_zone = " + std::to_string(g.dead_zone) + "\n"
            "# buttons, numbered from 1; 0 for none\n"
            "jump = " + std::to_string(g.jump) + "\n"
            "fire = " + std::to_string(g.fire) + "\n"
            "close_view = " + std::to_string(g.close_view) + "\n"
            "view_up = " + std::to_string(g.view_up) + "\n"
            "view_down = " + std::to_string(g.view_down) + "\n"
            "narrow_view = " + std::to_string(g.narrow_view) + "\n";
    return text;
}
