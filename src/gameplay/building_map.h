// The building map: a top-down picture of structure heights, 2 world units a
// pixel. Red 0..254 is the height of a structure's top, 255 means open ground.
#pragma once

// Answers of the per-axis movement test.
enum MoveResult : int {
    MOVE_BLOCKED = 0, // neither axis may move
    MOVE_X_ONLY = 1,  // the x move is free, the z move is blocked
    MOVE_Z_ONLY = 2,  // the z move is free, the x move is blocked
    MOVE_FREE = 3,    // both axes may move
};

constexpr int OPEN_GROUND = 255;

// Raw red value 0..255 of the map at world (x, z); off the map counts as 255.
int building_sample_at(float x, float z);

// The structure height at (x, z), with open ground as 0.
int building_height_at(float x, float z);

// Which axes of a move from player_position to (new_x, new_z) are free. A
// structure blocks when its top is more than 2 units above the player's feet.
MoveResult building_move_test(float new_x, float new_z);
