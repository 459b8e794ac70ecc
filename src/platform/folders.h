// Folders the game writes into on the player's request.
#pragma once

#include <string>

// The place in a folder of the desktop's (XDG) layout: under the folder the
// variable names when it holds an absolute path, else under HOME; empty
// without either.
std::string xdg_place(const char* variable, const char* under_variable, const char* under_home);

// The value of XDG_<NAME>_DIR as a user-dirs.dirs file's text sets it, as the
// shell reads the file: the last line naming it wins, its value in double
// quotes or bare, "$HOME" at its start replaced by home. Empty when no line
// sets it, or when the value is not an absolute path.
std::string user_dir_in(const std::string& file_text, const char* name, const char* home);

// The desktop's folder of that name, as `xdg-user-dir NAME` finds it:
// $XDG_CONFIG_HOME/user-dirs.dirs (else ~/.config/user-dirs.dirs), then the
// variable XDG_<NAME>_DIR itself when it holds an absolute path. Empty when
// neither says.
std::string xdg_user_dir(const char* name);

// Creates the folder and any missing folders above it. Returns an empty
// string, or what went wrong.
std::string make_folders(const std::string& path);
