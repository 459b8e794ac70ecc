// Files the tools write appear whole or not at all: the bytes go to a
// temporary file beside the path, renamed over it once complete.
#pragma once

#include <string>

struct WholeFileWriter {
    std::string path;      // the file to write
    std::string temporary; // beside it, until it is renamed
    int fd = -1;           // open on temporary, or -1
};

// Creates the temporary file beside path, so that a path that cannot be
// written is refused before any work is done. Returns an empty string or
// what went wrong.
std::string open_whole_file(WholeFileWriter& writer, const std::string& path);

// Writes the bytes to the temporary file and renames it to the path. Returns
// an empty string or what went wrong (the temporary is then removed).
std::string finish_whole_file(WholeFileWriter& writer, const std::string& bytes);

// Removes the temporary file without touching the path.
void abandon_whole_file(WholeFileWriter& writer);

// The three steps at once.
std::string write_whole_file(const std::string& path, const std::string& bytes);
