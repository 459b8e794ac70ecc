// The settings file's reader. Each line stands alone: a line is refused with
// a warning and its setting keeps its default, and the lines round it still
// count. Keys bound in the file take their keys away from the defaults of
// other controls, so no key ever serves two controls.
#include "settings/settings_file.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/folders.h"
#include "settings/key_names.h"

Settings settings;

namespace {

enum class Section { none, display, sound, keys, gamepad, unknown };

struct Reader {
    const char* file_name;
    std::FILE* warnings;
    int line = 0;
    int warning_count = 0;
    Section section = Section::none;
    std::array<bool, CONTROL_COUNT> given = {}; // bound by the file
};

void warn(Reader& r, const char* what, std::string_view about = "")
{
    ++r.warning_count;
    if (r.warnings == nullptr)
        return;
    std::fprintf(r.warnings, "ironstep: %s:%d: %s%.*s; the default is kept\n", r.file_name, r.line, what,
                 int(about.size()), about.data());
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Text is printable ASCII or UTF-8 bytes with tabs and line ends: a NUL or
// another control byte means the file is something else.
bool looks_like_text(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
            return false;
        if (byte == 0x7F)
            return false;
    }
    return true;
}

// A whole number from min to max, written in at most four digits.
bool read_number(std::string_view value, int min, int max, int& out)
{
    if (value.empty() || value.size() > 4)
        return false;
    int n = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max)
        return false;
    out = n;
    return true;
}

void read_number_setting(Reader& r, std::string_view value, int min, int max, int& setting)
{
    if (!read_number(value, min, max, setting))
        warn(r, "not a whole number in range: ", value);
}

void read_switch(Reader& r, std::string_view value, const char* on, const char* off, const char* expected,
                 bool& setting)
{
    if (value == on)
        setting = true;
    else if (value == off)
        setting = false;
    else
        warn(r, expected, value);
}

void read_display(Reader& r, std::string_view name, std::string_view value, Settings& s)
{
    if (name == "mode") {
        bool full = s.display_mode == DisplayMode::fullscreen;
        read_switch(r, value, "fullscreen", "window", "expected fullscreen or window: ", full);
        s.display_mode = full ? DisplayMode::fullscreen : DisplayMode::window;
    } else if (name == "scale") {
        read_number_setting(r, value, 1, SCALE_MAX, s.scale);
    } else {
        warn(r, "unknown name in [display]: ", name);
    }
}

void read_sound(Reader& r, std::string_view name, std::string_view value, Settings& s)
{
    if (name == "sound")
        read_switch(r, value, "on", "off", "expected on or off: ", s.sound);
    else if (name == "volume")
        read_number_setting(r, value, 0, 100, s.volume);
    else
        warn(r, "unknown name in [sound]: ", name);
}

int control_named(std::string_view name)
{
    for (int c = 0; c < CONTROL_COUNT; ++c)
        if (name == CONTROLS[std::size_t(c)].name)
            return c;
    return -1;
}

// The control other than self that the file has already given this key, or -1.
int control_given_key(const Reader& r, const Settings& s, int self, int allegro_key)
{
    for (int c = 0; c < CONTROL_COUNT; ++c)
        if (c != self && r.given[std::size_t(c)])
            for (const int k : s.keys[std::size_t(c)])
                if (k == allegro_key)
                    return c;
    return -1;
}

// One or two key names, or "none"; separated by spaces or a comma.
void read_keys(Reader& r, std::string_view name, std::string_view value, Settings& s)
{
    const int control = control_named(name);
    if (control < 0) {
        warn(r, "unknown name in [keys]: ", name);
        return;
    }
    std::array<int, KEYS_PER_CONTROL> keys = {};
    int count = 0;
    while (!value.empty()) {
        const std::size_t end = value.find_first_of(" \t,");
        const std::string_view word = value.substr(0, end);
        value = end == std::string_view::npos ? std::string_view() : trimmed(value.substr(end + 1));
        if (word.empty())
            continue;
        if (word == "none" && count == 0 && value.empty()) {
            r.given[std::size_t(control)] = true;
            s.keys[std::size_t(control)] = {};
            return;
        }
        const int k = key_from_name(word);
        if (k == 0) {
            warn(r, "unknown key name: ", word);
            return;
        }
        if (k == KEY_ESC) {
            warn(r, "ESC is kept for quitting: ", word);
            return;
        }
        if (count == KEYS_PER_CONTROL) {
            warn(r, "more than two keys for ", name);
            return;
        }
        if (count == 1 && keys[0] == k) {
            warn(r, "the same key twice: ", word);
            return;
        }
        const int other = control_given_key(r, s, control, k);
        if (other >= 0) {
            warn(r, "the key is already bound to ", CONTROLS[std::size_t(other)].name);
            return;
        }
        keys[std::size_t(count++)] = k;
    }
    if (count == 0) {
        warn(r, "no key given for ", name);
        return;
    }
    s.keys[std::size_t(control)] = keys;
    r.given[std::size_t(control)] = true;
}

void read_gamepad(Reader& r, std::string_view name, std::string_view value, Settings& s)
{
    GamepadSettings& g = s.gamepad;
    struct Field {
        const char* name;
        int* setting;
        int max;
    };
    const std::array<Field, 10> fields = {{
        {"stick", &g.stick, GAMEPAD_STICKS_MAX - 1},
        {"walk_axis", &g.walk_axis, GAMEPAD_AXES_MAX - 1},
        {"turn_axis", &g.turn_axis, GAMEPAD_AXES_MAX - 1},
        {"dead_zone", &g.dead_zone, DEAD_ZONE_MAX},
        {"jump", &g.jump, GAMEPAD_BUTTONS_MAX},
        {"fire", &g.fire, GAMEPAD_BUTTONS_MAX},
        {"close_view", &g.close_view, GAMEPAD_BUTTONS_MAX},
        {"view_up", &g.view_up, GAMEPAD_BUTTONS_MAX},
        {"view_down", &g.view_down, GAMEPAD_BUTTONS_MAX},
        {"narrow_view", &g.narrow_view, GAMEPAD_BUTTONS_MAX},
    }};
    for (const Field& f : fields)
        if (name == f.name) {
            read_number_setting(r, value, 0, f.max, *f.setting);
            return;
        }
    warn(r, "unknown name in [gamepad]: ", name);
}

void read_section_header(Reader& r, std::string_view line)
{
    if (line.back() != ']') {
        r.section = Section::unknown;
        warn(r, "a section header ends with ]: ", line);
        return;
    }
    const std::string_view name = trimmed(line.substr(1, line.size() - 2));
    if (name == "display")
        r.section = Section::display;
    else if (name == "sound")
        r.section = Section::sound;
    else if (name == "keys")
        r.section = Section::keys;
    else if (name == "gamepad")
        r.section = Section::gamepad;
    else {
        r.section = Section::unknown;
        warn(r, "unknown section: ", line);
    }
}

void read_line(Reader& r, std::string_view line, Settings& s)
{
    if (line.size() > SETTINGS_LINE_MAX) {
        warn(r, "line too long");
        return;
    }
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty())
        return;
    if (line.front() == '[') {
        read_section_header(r, line);
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        warn(r, "expected name = value: ", line);
        return;
    }
    const std::string_view name = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    switch (r.section) {
    case Section::none:
        warn(r, "a setting before any [section]: ", name);
        break;
    case Section::unknown:
        break; // its header was warned about
    case Section::display:
        read_display(r, name, value, s);
        break;
    case Section::sound:
        read_sound(r, name, value, s);
        break;
    case Section::keys:
        read_keys(r, name, value, s);
        break;
    case Section::gamepad:
        read_gamepad(r, name, value, s);
        break;
    }
}

// A control the file leaves alone keeps its default keys, but not those the
// file has given to another control.
void settle_default_keys(const Reader& r, Settings& s)
{
    for (int c = 0; c < CONTROL_COUNT; ++c) {
        if (r.given[std::size_t(c)])
            continue;
        std::array<int, KEYS_PER_CONTROL> keys = {};
        int count = 0;
        for (const int k : CONTROLS[std::size_t(c)].default_keys)
            if (k != 0 && control_given_key(r, s, c, k) < 0)
                keys[std::size_t(count++)] = k;
        s.keys[std::size_t(c)] = keys;
    }
}

} // namespace

std::string usual_settings_path()
{
    return xdg_place("XDG_CONFIG_HOME", "ironstep/ironstep.conf", ".config/ironstep/ironstep.conf");
}

int read_settings_text(std::string_view text, const char* file_name, Settings& s, std::FILE* warnings)
{
    Reader r{file_name, warnings};
    if (text.size() > SETTINGS_FILE_MAX || !looks_like_text(text)) {
        if (warnings != nullptr)
            std::fprintf(warnings, "ironstep: %s: %s; the defaults are kept\n", file_name,
                         text.size() > SETTINGS_FILE_MAX ? "too long for a settings file" : "not a text file");
        return 1;
    }
    while (!text.empty()) {
        ++r.line;
        const std::size_t end = text.find('\n');
        read_line(r, text.substr(0, end), s);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    settle_default_keys(r, s);
    return r.warning_count;
}

int read_settings_file(const char* path, bool must_exist, Settings& s, std::FILE* warnings)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        if (!must_exist)
            return 0;
        if (warnings != nullptr)
            std::fprintf(warnings, "ironstep: %s: %s; the defaults are kept\n", path, std::strerror(errno));
        return 1;
    }
    // One byte more than a settings file may hold tells a longer file apart.
    std::string text(SETTINGS_FILE_MAX + 1, '\0');
    const std::size_t got = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        if (warnings != nullptr)
            std::fprintf(warnings, "ironstep: %s: cannot be read; the defaults are kept\n", path);
        return 1;
    }
    text.resize(got);
    return read_settings_text(text, path, s, warnings);
}
