// Writing a demo recording whole or not at all: the records go to a
// temporary file beside the recording, renamed over it once complete.
#pragma once

#include <string>
#include <vector>

#include "tools/demo_script_compiler.h"

struct DemoFileWriter {
    std::string path;      // the recording to write
    std::string temporary; // beside it, until it is renamed
    int fd = -1;           // open on temporary, or -1
};

// Creates the temporary file beside path, so that a path that cannot be
// written is refused before any work is done. Returns an empty string or
// what went wrong.
std::string open_demo_file(DemoFileWriter& writer, const std::string& path);

// Writes the records to the temporary file and renames it to the path.
// Returns an empty string or what went wrong (the temporary is then removed).
std::string finish_demo_file(DemoFileWriter& writer, const std::vector<DemoRecord>& records);

// Removes the temporary file without touching the path.
void abandon_demo_file(DemoFileWriter& writer);
