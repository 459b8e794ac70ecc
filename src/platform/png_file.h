// PNG pictures written with libpng.
#pragma once

#include <cstdint>
#include <string>

// Encodes a picture of 8-bit RGB pixels, rows from the top, as PNG bytes in
// out. Returns an empty string, or what went wrong.
std::string encode_png(const std::uint8_t* rgb, int width, int height, std::string& out);
