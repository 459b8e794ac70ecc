// PNG pictures written and read with libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes a picture of 8-bit RGB pixels, rows from the top, as PNG bytes in
// out. Returns an empty string, or what went wrong.
std::string encode_png(const std::uint8_t* rgb, int width, int height, std::string& out);

// Decodes PNG bytes into 8-bit RGBA pixels, rows from the top, at most
// most_side pixels on a side. Returns an empty string, or what is wrong.
std::string decode_png(const unsigned char* bytes, std::size_t size, int most_side, int& width, int& height,
                       std::vector<std::uint8_t>& rgba);
