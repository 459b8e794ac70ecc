// The start-up tables and their source values.
#include "game/startup_tables.h"

#include <algorithm>
#include <cmath>

#include <allegro.h>

#include "display/picture.h"
#include "game/banner.h"

std::array<VecXZ, CARRIER_WAYPOINT_COUNT> carrier_waypoints;
std::array<ScreenRect, ACTION_COUNT> input_indicator_rects;

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
    // Each action's key on the banner picture, in record byte order.
    const double stretch = double(picture_width()) / BANNER_WIDTH;
    for (int i = 0; i < ACTION_COUNT; ++i) {
        const BannerKey& k = ACTIONS[std::size_t(i)].banner;
        input_indicator_rects[std::size_t(i)] = {float(k.x1 * stretch), float(k.y1), float(k.x2 * stretch), float(k.y2)};
    }
}
