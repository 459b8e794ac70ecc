// The settings file's reader. Each line stands alone: a line is refused with
// a warning and its setting keeps its default, and the lines round it still
// count. Keys bound in the file take their keys away from the defaults of
// other controls, so no key ever serves two controls.
#include "settings/settings_file.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"
#include "settings/key_names.h"
#include "settings/settings_line.h"
#include "settings/settings_table.h"

Settings settings;

namespace {

struct Reader {
    const char* file_name;
    std::FILE* warnings;
    int line = 0;
    int said = 0;
    const SettingsSection* section = nullptr;
    bool in_unknown_section = false;             // its header was warned about
    std::array<int, CONTROL_COUNT> given_at = {}; // the line that bound each control last, 0 none
};

void say(Reader& r, int line, const std::string& what)
{
    ++r.said;
    if (r.warnings != nullptr)
        std::fprintf(r.warnings, "ironstep: %s:%d: %s\n", r.file_name, line, what.c_str());
}

void warn(Reader& r, const std::string& what)
{
    say(r, r.line, what + "; the default is kept");
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

void read_number_setting(Reader& r, std::string_view value, int min, int max, int& setting)
{
    if (!read_number(value, min, max, setting))
        warn(r, "not a whole number in range: " + std::string(value));
}

bool is_none(std::string_view word)
{
    constexpr std::string_view NONE = "none";
    if (word.size() != NONE.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (word[i] != NONE[i] && word[i] != NONE[i] - 'a' + 'A')
            return false;
    return true;
}

// The control other than self that the file has already given this key, or -1.
int control_given_key(const Reader& r, const Settings& s, int self, int allegro_key)
{
    for (int c = 0; c < CONTROL_COUNT; ++c)
        if (c != self && r.given_at[std::size_t(c)] != 0)
            for (const int k : s.keys[std::size_t(c)])
                if (k == allegro_key)
                    return c;
    return -1;
}

// One or two key names, or "none"; separated by spaces or a comma.
void read_keys(Reader& r, int control, std::string_view value, Settings& s)
{
    const char* const name = CONTROLS[std::size_t(control)].name;
    ControlKeys keys = {};
    int count = 0;
    bool none = false;
    while (!value.empty()) {
        const std::size_t end = value.find_first_of(" \t,");
        const std::string_view word = value.substr(0, end);
        value = end == std::string_view::npos ? std::string_view() : trimmed(value.substr(end + 1));
        if (word.empty())
            continue;
        if (is_none(word) && count == 0 && value.empty()) {
            none = true;
            break;
        }
        const int k = key_from_name(word);
        if (k == 0)
            return warn(r, "unknown key name: " + std::string(word));
        if (k == KEY_ESC)
            return warn(r, "ESC is kept for quitting: " + std::string(word));
        if (count == KEYS_PER_CONTROL)
            return warn(r, "more than two keys for " + std::string(name));
        if (count == 1 && keys[0] == k)
            return warn(r, "the same key twice: " + std::string(word));
        const int other = control_given_key(r, s, control, k);
        if (other >= 0)
            return warn(r, "the key " + std::string(key_name(k)) + " is already bound to " +
                               CONTROLS[std::size_t(other)].name);
        keys[std::size_t(count++)] = k;
    }
    if (count == 0 && !none)
        return warn(r, "no key given for " + std::string(name));
    s.keys[std::size_t(control)] = keys;
    r.given_at[std::size_t(control)] = r.line;
}

void read_setting(Reader& r, const SettingRow& row, std::string_view value, Settings& s)
{
    switch (row.kind) {
    case SettingKind::number:
        read_number_setting(r, value, row.min, row.max, s.*row.number);
        break;
    case SettingKind::choice:
        if (value == row.words[0] || value == row.words[1])
            s.*row.choice = value == row.words[0];
        else
            warn(r, std::string("expected ") + row.words[0] + " or " + row.words[1] + ": " + std::string(value));
        break;
    case SettingKind::keys:
        read_keys(r, row.index, value, s);
        break;
    case SettingKind::button:
        read_number_setting(r, value, 0, row.max, s.gamepad_buttons[std::size_t(row.index)]);
        break;
    }
}

void read_line(Reader& r, std::string_view text, Settings& s)
{
    const SettingsLine line = split_settings_line(text);
    switch (line.kind) {
    case LineKind::blank:
        return;
    case LineKind::too_long:
        return warn(r, "line too long");
    case LineKind::bad_section:
        r.section = nullptr;
        r.in_unknown_section = true;
        return warn(r, "a section header ends with ]: " + std::string(line.text));
    case LineKind::section:
        r.section = settings_section(line.name);
        r.in_unknown_section = r.section == nullptr;
        if (r.section == nullptr)
            warn(r, "unknown section: " + std::string(line.text));
        return;
    case LineKind::no_equals:
        return warn(r, "expected name = value: " + std::string(line.text));
    case LineKind::setting:
        break;
    }
    if (r.in_unknown_section)
        return;
    if (line.name.empty())
        return warn(r, "no name before the =: " + std::string(line.text));
    if (r.section == nullptr)
        return warn(r, "a setting before any [section]: " + std::string(line.name));
    const SettingRow* row = setting_row(r.section->name, line.name);
    if (row == nullptr)
        return warn(r, "unknown name in [" + std::string(r.section->name) + "]: " + std::string(line.name));
    read_setting(r, *row, line.value, s);
}

// A control the file leaves alone keeps its default keys, but not those the
// file has given to another control; one left with no key at all is said,
// at the line that took its key.
void settle_default_keys(Reader& r, Settings& s)
{
    for (int c = 0; c < CONTROL_COUNT; ++c) {
        if (r.given_at[std::size_t(c)] != 0)
            continue;
        const ControlKeys& defaults = CONTROLS[std::size_t(c)].default_keys;
        ControlKeys keys = {};
        int count = 0;
        for (const int k : defaults)
            if (k != 0 && control_given_key(r, s, c, k) < 0)
                keys[std::size_t(count++)] = k;
        s.keys[std::size_t(c)] = keys;
        if (count == 0 && defaults[0] != 0) {
            const int taker = control_given_key(r, s, c, defaults[0]);
            say(r, r.given_at[std::size_t(taker)],
                std::string(CONTROLS[std::size_t(taker)].name) + " takes " + key_name(defaults[0]) + " from " +
                    CONTROLS[std::size_t(c)].name + ", which now has no key");
        }
    }
}

} // namespace

std::string usual_settings_path()
{
    return xdg_place("XDG_CONFIG_HOME", "ironstep/ironstep.conf", ".config/ironstep/ironstep.conf");
}

bool is_settings_text(std::string_view text)
{
    return text.size() <= SETTINGS_FILE_MAX && looks_like_text(text);
}

int read_settings_text(std::string_view text, const char* file_name, Settings& s, std::FILE* warnings)
{
    Reader r{file_name, warnings};
    if (!is_settings_text(text)) {
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
    return r.said;
}

std::string read_settings_bytes(const char* path, std::string& text, bool& missing)
{
    text.clear();
    missing = false;
    // Non-blocking, so that a named pipe with no writer is refused at once.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT;
        return std::strerror(errno);
    }
    struct stat st = {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return S_ISDIR(st.st_mode) ? "a folder, not a settings file" : "not an ordinary file";
    }
    // One byte more than a settings file may hold tells a longer file apart.
    text.resize(SETTINGS_FILE_MAX + 1);
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            text.clear();
            return "cannot be read";
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    close(fd);
    text.resize(got);
    return "";
}

int read_settings_file(const char* path, bool must_exist, Settings& s, std::FILE* warnings)
{
    std::string text;
    bool missing = false;
    const std::string wrong = read_settings_bytes(path, text, missing);
    if (wrong.empty())
        return read_settings_text(text, path, s, warnings);
    if (missing && !must_exist)
        return 0;
    if (warnings != nullptr)
        std::fprintf(warnings, "ironstep: %s: %s; the defaults are kept\n", path, wrong.c_str());
    return 1;
}
