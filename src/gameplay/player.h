// The player's locomotion: heading, standing on the ground or on a building
// top, the jump, the camera's eye point that trails it, and the bearing helper
// shared with the Walker, the Flyer and the title menu.
#pragma once

#include "game/player_place.h"
#include "maths/vectors.h"

constexpr float CHASE_CAMERA_DISTANCE = 35.0f;
constexpr float CLOSE_CAMERA_DISTANCE = 2.0f;

// Bearing in degrees (0 along +z, 90 along +x, kept in 0..360) from (from_x,
// from_z) to (to_x, to_z), and the quadrant numbers 1..4 of the heading and
// of the bearing. An angle of exactly 270, or 360 and above, leaves its
// quadrant as it was; a heading of exactly -1 leaves both.
void bearing_and_quadrants(float to_x, float to_z, float from_x, float from_z, float heading, float& bearing,
                           int& heading_quadrant, int& bearing_quadrant);

// Once per tick late in the logic: lock-on turn, step vector, camera, height.
void update_player();

// While a jump runs, early in the tick: the arc advances, then the height.
void advance_jump_phase();
void update_jump();

// Ends a jump: on landing, or when the player bumps the underside of a part.
void end_jump();
