// Folders the game writes into on the player's request.
#pragma once

#include <string>

// The place in a folder of the desktop's (XDG) layout: under the folder the
// variable names when it holds an absolute path, else under HOME; empty
// without either.
std::string xdg_place(const char* variable, const char* under_variable, const char* under_home);

// Creates the folder and any missing folders above it. Returns an empty
// string, or what went wrong.
std::string make_folders(const std::string& path);
