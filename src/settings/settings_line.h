// How a line of the settings file splits: a comment, a section header, or a
// name and a value. The reader and the writer split lines alike, so the
// writer rewrites exactly the lines the reader reads.
#pragma once

#include <cstddef>
#include <string_view>

// Only the part of a line before its comment counts towards this; a longer
// one is no setting.
constexpr std::size_t SETTINGS_LINE_MAX = 200;

enum class LineKind {
    blank,       // spaces or a comment only
    too_long,    // more than SETTINGS_LINE_MAX characters before its comment
    section,     // "[name]"
    bad_section, // starts with [ but does not end with ]
    setting,     // "name = value"; the name or the value may be empty
    no_equals,   // anything else
};

struct SettingsLine {
    LineKind kind = LineKind::blank;
    std::string_view text;  // the line before its comment, without the spaces round it
    std::string_view name;  // a section's or a setting's, without spaces
    std::string_view value; // a setting's, without spaces; a view into the line
};

SettingsLine split_settings_line(std::string_view line);

// Without the spaces and tabs round it, nor carriage returns at its end.
std::string_view trimmed(std::string_view s);

// A whole number from min to max, written in at most four digits, into out;
// false, and out unchanged, for anything else.
bool read_number(std::string_view text, int min, int max, int& out);
