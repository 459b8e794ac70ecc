// The game's command line: options, the settings file, then the game.
#pragma once

#include "settings/options.h"

// What the command line asked of this run beside the settings.
extern Options run_options;

// Reads the options and the settings and runs the game; the result is the
// exit status (0, 1 when a file named on the command line cannot serve, 2
// after a wrong option, else as the game ends).
int run_from_command_line(int argc, char** argv);

// Once start-up has succeeded: the recording given by --demo takes vesk's
// place, and the gamepad and the pause on losing focus are set up.
void apply_run_options();
