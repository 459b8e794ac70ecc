// Splitting a settings line; see settings_line.h.
#include "settings/settings_line.h"

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

SettingsLine split_settings_line(std::string_view line)
{
    SettingsLine split;
    split.text = trimmed(line.substr(0, line.find('#')));
    if (split.text.empty())
        return split;
    if (split.text.size() > SETTINGS_LINE_MAX) {
        split.kind = LineKind::too_long;
        return split;
    }
    if (split.text.front() == '[') {
        split.kind = split.text.back() == ']' ? LineKind::section : LineKind::bad_section;
        if (split.kind == LineKind::section)
            split.name = trimmed(split.text.substr(1, split.text.size() - 2));
        return split;
    }
    const std::size_t equals = split.text.find('=');
    if (equals == std::string_view::npos) {
        split.kind = LineKind::no_equals;
        return split;
    }
    split.kind = LineKind::setting;
    split.name = trimmed(split.text.substr(0, equals));
    split.value = trimmed(split.text.substr(equals + 1));
    return split;
}

bool read_number(std::string_view text, int min, int max, int& out)
{
    if (text.empty() || text.size() > 4)
        return false;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max)
        return false;
    out = n;
    return true;
}
