// The settings reader and writer over any bytes as the file. Whatever the
// file holds, the settings it leaves are within their ranges, no key serves
// two controls, Escape serves none, and every warning names the file and a
// line; and settings saved over it read back as they were saved.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "fuzz/fuzz_support.h"
#include "settings/key_names.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"
#include "settings/settings_writer.h"

namespace {

void check_ranges(const Settings& s)
{
    for (const SettingRow& row : SETTINGS_TABLE) {
        const int value = row.kind == SettingKind::number   ? s.*row.number
                          : row.kind == SettingKind::button ? s.gamepad_buttons[std::size_t(row.index)]
                                                            : row.min;
        if (value < row.min || value > row.max)
            fuzz_fault("a number or a button out of range");
    }
}

// Settings away from the defaults, as a player's saving might leave them:
// the keys of two controls swapped, every number at its range's other end.
Settings saved_settings()
{
    Settings s;
    std::swap(s.keys[0], s.keys[std::size_t(Control::pause)]);
    for (const SettingRow& row : SETTINGS_TABLE)
        if (row.kind == SettingKind::number)
            s.*row.number = row.default_value == row.max ? row.min : row.max;
        else if (row.kind == SettingKind::button)
            s.gamepad_buttons[std::size_t(row.index)] = row.max - row.index;
    s.sound = false;
    return s;
}

void check_saved_over(std::string_view text)
{
    if (!is_settings_text(text))
        return;
    static const Settings saved = saved_settings();
    const std::string written = settings_text(text, saved);
    if (!is_settings_text(written))
        return; // the writer refuses to save what would not be read
    Settings read_back;
    read_settings_text(written, "settings.conf", read_back, nullptr);
    if (!(read_back == saved))
        fuzz_fault("settings saved over the file do not read back as saved");
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
    check_saved_over(text);
    return 0;
}
