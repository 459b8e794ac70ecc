// Drawing the ground around the player.
#pragma once

constexpr int TERRAIN_DRAW_RADIUS = 60; // cells drawn on each side of the player's cell

struct CellRange {
    int first; // first cell drawn
    int end;   // one past the last cell drawn
};

// The window of cells drawn along one axis around a player position.
CellRange terrain_window(float position);

// One coloured quad per cell in the window around player_position; opens and
// closes its own quad batch.
void draw_terrain();
