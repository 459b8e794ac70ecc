// The settings changed while the game runs, on the options screen: the game
// follows each change at once, and leaving the screen saves them to the
// settings file. What the command line asked for this run only (--window,
// --scale, --nosound) stays out of the file unless the screen changes it.
#pragma once

#include <string>

#include "app/options_rows.h"
#include "settings/settings.h"

// At start-up: the file the settings came from (empty when there is none)
// and the settings as the file alone gave them.
void remember_settings_file(const std::string& path, const Settings& as_in_file);

// As the screen opens: the display's settings as the game shows itself now,
// after F11 or the variables (kept from the file until the screen changes them).
void show_settings_as_played();

// After the screen changed the row's setting in `settings`: the game follows
// it, and it is kept for the file.
void follow_changed_row(const Settings& before, OptionsPage page, int row);

// After the screen put every setting back to its default.
void follow_defaults(const Settings& before);

// Whether the settings for the file changed since they were last saved.
bool settings_unsaved();

// Saves the file whole. Returns an empty string, or the line that says what
// went wrong (also written to standard error).
std::string save_settings_file();
