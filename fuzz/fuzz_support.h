// What the fuzz targets share: the input handed to a reader as a file.
#pragma once

#include <cstddef>
#include <cstdint>

// Holds the bytes in a file that lives in memory only, rewritten for every
// input, and returns a path that opens it ("/proc/self/fd/N").
const char* input_as_file(const std::uint8_t* data, std::size_t size);

// Ends the run with a message libFuzzer records as a crash.
[[noreturn]] void fuzz_fault(const char* what);
