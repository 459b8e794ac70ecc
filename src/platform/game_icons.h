// The game's icons (packaging/icons/, installed under the icon theme by the
// package), built into the program as their PNG files' bytes, so that its
// window shows them wherever the program was put.
#pragma once

#include <cstddef>

struct PngBytes {
    const unsigned char* bytes;
    std::size_t size;
};

constexpr int GAME_ICON_COUNT = 3; // 48, 128 and 256 pixels square
constexpr int GAME_ICON_MOST_SIDE = 256;

// Generated at build time by cmake/embed_icons.cmake.
extern const PngBytes GAME_ICONS[GAME_ICON_COUNT];
