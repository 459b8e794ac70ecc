#include "game/player_place.h"

Vec3 player_position = {0.0f, 0.0f, 0.0f};
VecXZ player_proposed_xz = {0.0f, 0.0f};
VecXZ player_step = {0.0f, 0.0f};
Vec3 camera_eye = {0.0f, 0.0f, 0.0f};
Vec3 target_point = {0.0f, 0.0f, 0.0f};
int player_heading_quadrant = 0;
int player_bearing_quadrant = 0;
