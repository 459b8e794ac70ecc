// The settings file: [display], [sound], [keys] and [gamepad] sections of
// "name = value" lines, with # comments, one line for each row of
// SETTINGS_TABLE. A line that cannot be used is named in a warning and its
// setting keeps its default.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "settings/settings.h"

// A file longer than this is not a settings file. The defaults with all
// their comments take about 4 KiB.
constexpr std::size_t SETTINGS_FILE_MAX = 64 * 1024;

// The usual place: $XDG_CONFIG_HOME/ironstep/ironstep.conf, or
// ~/.config/ironstep/ironstep.conf when the variable is unset or empty.
// Empty when neither it nor HOME is set.
std::string usual_settings_path();

// Reads the settings in text over s, which holds the defaults. Each warning
// is one line on warnings, naming file_name and the line; so is each
// control a binding leaves with no key. Returns how many lines were said.
int read_settings_text(std::string_view text, const char* file_name, Settings& s, std::FILE* warnings);

// Whether text can be a settings file at all: not too long, and text.
bool is_settings_text(std::string_view text);

// The bytes of the settings file at path, up to one more than
// SETTINGS_FILE_MAX. Never waits on a pipe: what is not an ordinary file
// is refused. Returns an empty string, or what is wrong; missing tells
// whether the file is simply not there.
std::string read_settings_bytes(const char* path, std::string& text, bool& missing);

// Reads the file at path over s. A missing file is no warning when it is
// only the usual place (must_exist false); a named one that cannot be read
// is. Returns how many warnings there were.
int read_settings_file(const char* path, bool must_exist, Settings& s, std::FILE* warnings);
