// The ground as a mesh of quads coloured at their corners, smooth-shaded and
// fogged. Cell 0 is never drawn; the window is wider than the far plane.
#include "world/terrain_drawing.h"

#include <allegro.h>
#include <alleggl.h>

#include "gameplay/player.h"
#include "gameplay/terrain.h"

namespace {

constexpr int LOWEST_DRAWN_CELL = 1;
constexpr int HIGHEST_SAMPLE = TERRAIN_GRID_SIZE - 1;

void emit(const TerrainVertex& sample)
{
    glColor3ub(sample.red, sample.green, sample.blue);
    glVertex3f(sample.x, sample.height, sample.z);
}

} // namespace

CellRange terrain_window(float position)
{
    // Clamped as floats before truncating, so that positions far off the
    // map (the title menu's camera may stray) convert safely.
    const float cell = position / TERRAIN_CELL_SIZE;
    if (!(cell > -1e6f && cell < 1e6f))
        return {LOWEST_DRAWN_CELL, LOWEST_DRAWN_CELL};
    CellRange range;
    range.first = int(cell - float(TERRAIN_DRAW_RADIUS));
    if (range.first <= 0)
        range.first = LOWEST_DRAWN_CELL;
    range.end = int(cell + float(TERRAIN_DRAW_RADIUS));
    if (range.end > HIGHEST_SAMPLE)
        range.end = HIGHEST_SAMPLE;
    return range;
}

void draw_terrain()
{
    const CellRange along_x = terrain_window(player_position.x);
    const CellRange along_z = terrain_window(player_position.z);
    glBegin(GL_QUADS);
    for (int i = along_x.first; i < along_x.end; ++i) {
        for (int j = along_z.first; j < along_z.end; ++j) {
            // Counter-clockwise seen from above: the upper side is the front.
            emit(terrain_grid[i][j]);
            emit(terrain_grid[i][j + 1]);
            emit(terrain_grid[i + 1][j + 1]);
            emit(terrain_grid[i + 1][j]);
        }
    }
    glEnd();
}
