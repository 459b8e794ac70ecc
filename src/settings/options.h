// The game's command line, GNU style: long options, "--name value" or
// "--name=value", and -h for --help. Each option is a row of OPTIONS, which
// parses it, writes what it asks straight into the settings or the run's
// options, and prints --help; a new option is a row here.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "settings/settings.h"

// What the command line asks of the run beside the settings.
struct Options {
    bool help = false;
    bool version = false;
    bool write_config = false;
    bool display_mode_given = false; // --window or --fullscreen, which stand above IRONSTEP_WINDOW
    const char* config = nullptr;    // read instead of the usual settings file
    const char* demo = nullptr;      // played through DEMO instead of vesk
};

enum class OptionKind {
    run,    // sets a flag of Options
    flag,   // sets a flag of Settings to flag_value (and notes it in Options, where `run` is given)
    number, // a whole number from min to max into Settings
    file,   // a file name into Options
};

struct OptionRow {
    const char* name;
    char short_name;      // '\0' for none
    const char* argument; // its value's name in --help; null when it takes none
    const char* help;     // what --help says of it
    OptionKind kind;
    bool Options::*run = nullptr;
    bool Settings::*flag = nullptr;
    bool flag_value = false;
    int Settings::*number = nullptr;
    int min = 0, max = 0;
    const char* Options::*file = nullptr;
};

inline constexpr std::array<OptionRow, 10> OPTIONS = {{
    {"--window", '\0', nullptr, "play in a window", OptionKind::flag, &Options::display_mode_given,
     &Settings::fullscreen, false},
    {"--fullscreen", '\0', nullptr, "play full screen", OptionKind::flag, &Options::display_mode_given,
     &Settings::fullscreen, true},
    {"--scale", '\0', "N", "the window's size in screens of 800 x 600", OptionKind::number, nullptr,
     nullptr, false, &Settings::scale, 1, SCALE_MAX},
    {"--nosound", '\0', nullptr, "play without sound", OptionKind::flag, nullptr, &Settings::sound, false},
    {"--unlimited", '\0', nullptr, "draw frames as fast as the machine can, not one a tick", OptionKind::flag,
     nullptr, &Settings::frames_follow_ticks, false},
    {"--config", '\0', "FILE", "read the settings from FILE instead of the usual place", OptionKind::file,
     nullptr, nullptr, false, nullptr, 0, 0, &Options::config},
    {"--write-config", '\0', nullptr,
     "write the default settings, with comments, to the usual place (or to FILE given by --config) and exit",
     OptionKind::run, &Options::write_config},
    {"--demo", '\0', "RECORDING", "play RECORDING through DEMO instead of vesk", OptionKind::file, nullptr,
     nullptr, false, nullptr, 0, 0, &Options::demo},
    {"--help", 'h', nullptr, "show this help and exit", OptionKind::run, &Options::help},
    {"--version", '\0', nullptr, "show the version and exit", OptionKind::run, &Options::version},
}};

// Reads argv[1..argc-1], each option writing into s or options as it comes.
// Returns an empty string, or what is wrong with them.
std::string parse_options(int argc, char** argv, Settings& s, Options& options);

// The usage text, to standard output for --help and to standard error after
// a wrong option.
void print_usage(std::FILE* out);
