// Terrain loading and height queries.
#include "gameplay/terrain.h"

#include <algorithm>
#include <cmath>

#include "game/resources.h"

std::array<std::array<TerrainVertex, TERRAIN_GRID_SIZE>, TERRAIN_GRID_SIZE> terrain_grid;

namespace {

constexpr int LAST_CELL = TERRAIN_GRID_SIZE - 2; // cells 0..98 have both corners on the grid

// Truncates toward zero and clamps to a cell whose four corners exist. Tested
// as a float first, so that no position converts out of range.
int cell_index(float position)
{
    const float cell = position / TERRAIN_CELL_SIZE;
    if (!(cell >= 0.0f))
        return 0; // negative or NaN
    if (cell >= float(LAST_CELL))
        return LAST_CELL;
    return int(cell);
}

} // namespace

void load_terrain()
{
    BITMAP* heights = game_bitmap(TERRAIN_HEIGHT_BITMAP);
    BITMAP* colours = game_bitmap(TERRAIN_COLOUR_BITMAP);
    for (int i = 0; i < TERRAIN_GRID_SIZE; ++i) {
        for (int j = 0; j < TERRAIN_GRID_SIZE; ++j) {
            TerrainVertex& sample = terrain_grid[i][j];
            const int colour = getpixel(colours, i, j);
            sample.red = std::uint8_t(getr(colour));
            sample.green = std::uint8_t(getg(colour));
            sample.blue = std::uint8_t(getb(colour));
            sample.x = TERRAIN_CELL_SIZE * float(i);
            sample.z = TERRAIN_CELL_SIZE * float(j);
            sample.height = float(getr(getpixel(heights, i, j)) / 2);
        }
    }
}

float terrain_height_at(float x, float z)
{
    const int c = cell_index(x);
    const int d = cell_index(z);
    const float x0 = TERRAIN_CELL_SIZE * float(c);
    const float x1 = x0 + TERRAIN_CELL_SIZE;
    const float z0 = TERRAIN_CELL_SIZE * float(d);
    const float z1 = z0 + TERRAIN_CELL_SIZE;

    // Corners in fixed order: (x0, z0), (x0, z1), (x1, z1), (x1, z0).
    const float heights[4] = {
        terrain_grid[c][d].height,
        terrain_grid[c][d + 1].height,
        terrain_grid[c + 1][d + 1].height,
        terrain_grid[c + 1][d].height,
    };
    const float corner_x[4] = {x0, x0, x1, x1};
    const float corner_z[4] = {z0, z1, z1, z0};

    // A corner's raw weight is the root of the area between the point and the
    // diagonally opposite corner; every step is rounded to a float.
    float raw[4];
    for (int k = 0; k < 4; ++k) {
        const int o = (k + 2) % 4;
        const float dx = std::fabs(x - corner_x[o]);
        const float dz = std::fabs(z - corner_z[o]);
        raw[k] = float(std::sqrt(2.0 * double(dx) * double(dz)));
    }
    const float sum = raw[0] + raw[1] + raw[2] + raw[3];
    float weight[4];
    for (int k = 0; k < 4; ++k)
        weight[k] = raw[k] / sum;
    return ((heights[0] * weight[0] + heights[1] * weight[1]) + heights[2] * weight[2]) + heights[3] * weight[3];
}
