// The start-up tables and their source values.
#include "app/startup_tables.h"

#include <algorithm>
#include <cmath>

#include <allegro.h>

#include "display/picture.h"

std::array<VecXZ, CARRIER_WAYPOINT_COUNT> carrier_waypoints;
std::array<ScreenRect, INPUT_INDICATOR_COUNT> input_indicator_rects;

namespace {

constexpr std::array<VecXZ, CARRIER_WAYPOINT_COUNT> ROUTE = {{
    {300, 1500},  // 0
    {314, 1339},  // 1
    {637, 953},   // 2
    {1100, 697},  // 3
    {1711, 437},  // 4
    {2232, 428},  // 5
    {2241, 976},  // 6
    {2013, 1160}, // 7
    {1702, 1238}, // 8
    {1468, 1402}, // 9
    {1391, 1601}, // 10
    {1387, 1855}, // 11
    {1457, 2039}, // 12
    {1454, 2207}, // 13
    {1301, 2336}, // 14
    {620, 2336},  // 15
    {314, 2059},  // 16
}};

constexpr double BANNER_WIDTH = 527.0;

// Keys of the demo input record, in record byte order, on the banner picture.
constexpr std::array<ScreenRect, INPUT_INDICATOR_COUNT> BANNER_KEY_RECTS = {{
    {383, 103, 403, 123}, // KEY_UP
    {383, 127, 403, 147}, // KEY_DOWN
    {361, 127, 381, 147}, // KEY_LEFT
    {405, 127, 425, 147}, // KEY_RIGHT
    {10, 105, 58, 126},   // KEY_LSHIFT
    {60, 105, 80, 126},   // KEY_Z
    {83, 105, 103, 126},  // KEY_X
    {405, 36, 425, 56},   // KEY_PGUP
    {405, 58, 425, 80},   // KEY_PGDN
    {116, 82, 136, 102},  // KEY_F
}};

} // namespace

void init_carrier_waypoints()
{
    carrier_waypoints = ROUTE;
}

double carrier_route_distance(double x, double z)
{
    double best = 1e30;
    for (int k = 0; k < CARRIER_WAYPOINT_COUNT; ++k) {
        const VecXZ a = carrier_waypoints[k];
        const VecXZ b = carrier_waypoints[(k + 1) % CARRIER_WAYPOINT_COUNT];
        const double ex = double(b.x) - a.x, ez = double(b.z) - a.z;
        const double t = std::clamp(((x - a.x) * ex + (z - a.z) * ez) / (ex * ex + ez * ez), 0.0, 1.0);
        best = std::min(best, std::hypot(x - (a.x + t * ex), z - (a.z + t * ez)));
    }
    return best;
}

void init_input_indicator_rects()
{
    input_indicator_rects = BANNER_KEY_RECTS;
    const double stretch = double(picture_width()) / BANNER_WIDTH;
    for (ScreenRect& rect : input_indicator_rects) {
        rect.x1 = float(rect.x1 * stretch);
        rect.x2 = float(rect.x2 * stretch);
    }
}
