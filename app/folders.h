// Folders the game writes into on the player's request.
#pragma once

#include <string>

// Creates the folder and any missing folders above it. Returns an empty
// string, or what went wrong.
std::string make_folders(const std::string& path);
