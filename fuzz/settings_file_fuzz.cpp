// The settings reader over any bytes as the file. Whatever the file holds,
// the settings it leaves are within their ranges, no key serves two controls,
// Escape serves none, and every warning names the file and a line.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "settings/key_names.h"
#include "settings/settings_file.h"

namespace {

void check_ranges(const Settings& s)
{
    const GamepadSettings& g = s.gamepad;
    if (s.scale < 0 || s.scale > SCALE_MAX || s.volume < 0 || s.volume > 100) // scale 0: the largest that fits
        fuzz_fault("a display or sound setting out of range");
    if (g.stick < 0 || g.stick >= GAMEPAD_STICKS_MAX || g.walk_axis < 0 || g.walk_axis >= GAMEPAD_AXES_MAX ||
        g.turn_axis < 0 || g.turn_axis >= GAMEPAD_AXES_MAX || g.dead_zone < 0 || g.dead_zone > DEAD_ZONE_MAX)
        fuzz_fault("a gamepad axis setting out of range");
    for (const int b : {g.jump, g.fire, g.close_view, g.view_up, g.view_down, g.narrow_view})
        if (b < 0 || b > GAMEPAD_BUTTONS_MAX)
            fuzz_fault("a gamepad button out of range");
}

void check_keys(const Settings& s)
{
    bool seen[KEY_MAX] = {};
    for (const auto& keys : s.keys)
        for (const int k : keys) {
            if (k == 0)
                continue;
            if (k < 0 || k >= KEY_MAX || std::strcmp(key_name(k), "?") == 0 || k == KEY_ESC)
                fuzz_fault("a control bound to no key Allegro names, or to Escape");
            if (seen[k])
                fuzz_fault("a key serves two controls");
            seen[k] = true;
        }
}

void check_warnings(const char* text, std::size_t size, int count)
{
    int lines = 0;
    for (const char* line = text; line < text + size; line = std::strchr(line, '\n') + 1) {
        if (std::strncmp(line, "ironstep: settings.conf", 23) != 0)
            fuzz_fault("a warning does not name the file");
        ++lines;
    }
    if (lines != count)
        fuzz_fault("the warnings counted are not the warnings printed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    char* warnings = nullptr;
    std::size_t warnings_size = 0;
    std::FILE* out = open_memstream(&warnings, &warnings_size);
    if (out == nullptr)
        fuzz_fault("no memory stream");
    Settings s;
    const int count = read_settings_text(text, "settings.conf", s, out);
    std::fclose(out);
    check_warnings(warnings, warnings_size, count);
    std::free(warnings);
    check_ranges(s);
    check_keys(s);
    return 0;
}
