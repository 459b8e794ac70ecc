// The player's position, its proposed move for this tick, its forward step and
// the camera's eye point that trails it.
#pragma once

#include "app/game_state.h"

extern Vec3 player_position;     // committed position; y is the height of the feet
extern VecXZ player_proposed_xz; // where the player goes this tick if the building map allows
extern VecXZ player_step;        // (sin heading, cos heading): one unit of forward movement
extern Vec3 camera_eye;          // eye point of the 3D view
extern Vec3 target_point;        // the locked target's aim point
