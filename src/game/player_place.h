// Where the player is, where it is going this tick, and the eye and target
// points that follow it: read by the rules, the hit tests, the drawing and
// the sound alike, and written by the player's own rules.
#pragma once

#include "maths/vectors.h"

extern Vec3 player_position;     // committed position; y is the height of the feet
extern VecXZ player_proposed_xz; // where the player goes this tick if the building map allows
extern VecXZ player_step;        // (sin heading, cos heading): one unit of forward movement
extern Vec3 camera_eye;          // eye point of the 3D view
extern Vec3 target_point;        // the locked target's aim point

// Quadrants of the player's heading and of the bearing to a locked target,
// kept between ticks so that an angle in no quadrant keeps the last one.
extern int player_heading_quadrant;
extern int player_bearing_quadrant;
