// The terrain height field: 100 x 100 samples 25 units apart, each with a
// height (0..127) and a colour, loaded once from "height.dat".
#pragma once

#include <array>
#include <cstdint>

constexpr int TERRAIN_GRID_SIZE = 100;
constexpr float TERRAIN_CELL_SIZE = 25.0f;

struct TerrainVertex {
    float x;      // world x of the sample, 25 i
    float height; // world y, a whole number 0..127
    float z;      // world z of the sample, 25 j
    std::uint8_t red, green, blue;
};

// terrain_grid[i][j]: i along x, j along z.
extern std::array<std::array<TerrainVertex, TERRAIN_GRID_SIZE>, TERRAIN_GRID_SIZE> terrain_grid;

// Fills the grid from datafile objects 0 (red / 2 = height) and 1 (colours).
void load_terrain();

// The ground height at (x, z). Each corner of the cell weighs with the square
// root of its bilinear weight, renormalised. Outside the grid the cell indices
// clamp to the edge cells.
float terrain_height_at(float x, float z);
