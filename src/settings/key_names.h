// Key names as the settings file writes them: Allegro's KEY_ names without
// the prefix (UP, LSHIFT, T, F12).
#pragma once

#include <string_view>

// The Allegro key named, or 0 for a name no key has. Letters may be given in
// either case.
int key_from_name(std::string_view name);

// The name of an Allegro key, or "?" for a number no key has.
const char* key_name(int allegro_key);
