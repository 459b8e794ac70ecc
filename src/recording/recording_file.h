// Reading a recording for the tools: never more than a recording can hold,
// plus one byte to know that it is longer, whatever the path names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/demo_file_check.h"

struct RecordingBytes {
    std::vector<std::uint8_t> bytes; // the first DEMO_FILE_LENGTH + 1 bytes at most
    long long length = -1;           // the whole length of an ordinary file; -1 for a stream
};

// Reads the recording at path (an ordinary file, a pipe or a device). Returns
// an empty string, or what went wrong: "PATH: is a folder", "PATH: <reason>".
std::string read_recording(const std::string& path, RecordingBytes& recording);
