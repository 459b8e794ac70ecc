// The settings file written from SETTINGS_TABLE: the defaults for
// --write-config, and the player's own file saved with new values.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

// The settings s as a settings file written over an existing one's text:
// each line the reader takes for a setting gets s's value in place, the
// player's comments and other lines stay as they are, and the settings the
// text lacks are added under their sections, each with its comment. Over
// an empty text, a whole file with a comment on every name.
std::string settings_text(std::string_view existing, const Settings& s);

// The defaults as a settings file, every name with a comment.
std::string default_settings_text();

// Saves s to the settings file at path, over what is there as settings_text
// does; the file is written whole or not at all. Returns an empty string, or
// what went wrong.
std::string save_settings(const std::string& path, const Settings& s);
