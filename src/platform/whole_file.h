// Files the tools write appear whole or not at all, and nothing else is ever
// touched: the bytes go to an unnamed file in the target's folder, linked into
// place once complete. Only a new name or an ordinary file (or what a
// symbolic link leads to) is written; anything else is refused before any work.
#pragma once

#include <string>

struct WholeFileWriter {
    std::string path;      // the file to write: the name given, or where its links lead
    std::string temporary; // beside it, only where the file system makes no unnamed file
    int fd = -1;           // open on the unnamed or the temporary file, or -1
};

// Refuses an empty name, a folder, a device, a named pipe or a socket, follows
// symbolic links, and makes the file that will hold the bytes in the folder of
// the path, so a path that cannot be written is refused before any work is
// done. Returns an empty string or what went wrong.
std::string open_whole_file(WholeFileWriter& writer, const std::string& path);

// Writes the bytes and puts the file in place of the path, replacing an
// ordinary file whole. Returns an empty string or what went wrong (nothing
// is then left behind).
std::string finish_whole_file(WholeFileWriter& writer, const std::string& bytes);

// Drops what was opened without touching the path.
void abandon_whole_file(WholeFileWriter& writer);

// The three steps at once.
std::string write_whole_file(const std::string& path, const std::string& bytes);

// As open_whole_file, but always through a named temporary file beside the
// path, as on a file system that makes no unnamed files (tests use it).
std::string open_whole_file_named(WholeFileWriter& writer, const std::string& path);
