// Loading and checking "height.dat".
#pragma once

#include <allegro.h>

// Smallest size of the two terrain bitmaps: the grid reads 100 x 100 samples.
constexpr int TERRAIN_BITMAP_MIN_SIZE = 100;

// True when the datafile holds the four bitmaps the game reads, in order, with
// the terrain bitmaps large enough for the grid.
bool game_data_is_usable(const DATAFILE* data);

// Loads the datafile at path; nullptr when it is missing, unreadable or unusable
// (an unusable file is unloaded again).
DATAFILE* load_game_data(const char* path);
