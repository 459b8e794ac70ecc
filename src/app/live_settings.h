// The settings changed while the game runs, on the options screen: the game
// follows each change at once, and leaving the screen saves them to the
// settings file. What the command line asked for this run only (--window,
// --scale, --nosound) stays out of the file unless the screen changes it.
#pragma once

#include <string>

#include "app/options_rows.h"
#include "settings/settings.h"

// At start-up: the file the settings came from (empty when there is none),
// whether its missing folders are to be made when it is saved (the usual
// place's are; a file named on the command line is taken as it is), and the
// settings as the file alone gave them.
void remember_settings_file(const std::string& path, bool make_its_folders, const Settings& as_in_file);

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

// Saves the file whole. Returns an empty string, or the screen's line that
// says why not; standard error is told in full.
std::string save_settings_file();
