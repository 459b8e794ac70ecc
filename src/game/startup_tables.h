// Tables filled once at start-up and only read afterwards: the Carrier's route
// and where the demo banner's key indicators sit on the screen.
#pragma once

#include <array>

#include "game/actions.h"
#include "maths/vectors.h"

constexpr int CARRIER_WAYPOINT_COUNT = 17;

// Start points; the height follows the terrain.
constexpr float START_X_PLAY = 1820.0f;
constexpr float START_X_DEMO = 1520.0f;
constexpr float START_Z = 1236.0f;

struct ScreenRect {
    float x1, y1, x2, y2;
};

// The closed route of the Carrier, visited in index order, 16 wrapping to 0.
extern std::array<VecXZ, CARRIER_WAYPOINT_COUNT> carrier_waypoints;
// One rectangle per byte of the demo input record, in HUD pixels.
extern std::array<ScreenRect, ACTION_COUNT> input_indicator_rects;

void init_carrier_waypoints();

// Distance in world units from (x, z) to the closed route through
// carrier_waypoints (filled by init_carrier_waypoints).
double carrier_route_distance(double x, double z);
// The rectangles are laid out in the banner picture's pixels; x is stretched
// to the picture width (0 when no graphics mode is set).
void init_input_indicator_rects();
