// The settings file: [display], [sound], [keys] and [gamepad] sections of
// "name = value" lines, with # comments. A line that cannot be used is
// named in a warning and its setting keeps its default; the file is never
// written to.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "settings/settings.h"

// A file longer than this is not a settings file; nor is a longer line a
// setting. The defaults with all their comments take about 3 KiB.
constexpr std::size_t SETTINGS_FILE_MAX = 64 * 1024;
constexpr std::size_t SETTINGS_LINE_MAX = 200;

// The usual place: $XDG_CONFIG_HOME/ironstep/ironstep.conf, or
// ~/.config/ironstep/ironstep.conf when the variable is unset or empty.
// Empty when neither it nor HOME is set.
std::string usual_settings_path();

// Reads the settings in text over s, which holds the defaults. Each warning
// is one line on warnings, naming file_name and the line. Returns how many
// warnings there were.
int read_settings_text(std::string_view text, const char* file_name, Settings& s, std::FILE* warnings);

// Reads the file at path over s. A missing file is no warning when it is
// only the usual place (must_exist false); a named one that cannot be read
// is. Returns how many warnings there were.
int read_settings_file(const char* path, bool must_exist, Settings& s, std::FILE* warnings);

// The defaults as a settings file, every name with a comment.
std::string default_settings_text();
