// The game's command line, GNU style: long options, "--name value" or
// "--name=value".
#pragma once

#include <cstdio>
#include <string>

struct Options {
    bool help = false;
    bool version = false;
    bool window = false;
    bool fullscreen = false;
    int scale = 0; // 0: as the settings say
    bool nosound = false;
    bool write_config = false;
    const char* config = nullptr; // read instead of the usual settings file
    const char* demo = nullptr;   // played through DEMO instead of vesk
};

// Reads argv[1..argc-1] into options. Returns an empty string, or what is
// wrong with them.
std::string parse_options(int argc, char** argv, Options& options);

// The usage text, to standard output for --help and to standard error after
// a wrong option.
void print_usage(std::FILE* out);
