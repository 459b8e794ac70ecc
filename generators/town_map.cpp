// The building map from the scenery's own quads: a vertical line through each
// pixel's centre meets a blocking part's surface; the highest meeting point is
// that pixel's top. Box sides stand vertical and are never met, so the map
// holds the roofs and yard floors as the game draws them. A tube is open, so
// its two end caps are added: a tank blocks as a solid drum, its lid at the
// height of its rim.
#include "generators/town_map.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/startup_tables.h"
#include "world/scenery.h"

namespace {

constexpr int MAP_SIZE = 1250;
constexpr double UNITS_PER_PIXEL = 2.0;
constexpr double ROAD_HALF_WIDTH = 16.0;
constexpr int OPEN = 255;
constexpr double NO_TOP = -1e30;

// Minimap shades; the game reads only the red channel.
constexpr int ROAD_GREEN = 206, ROAD_BLUE = 150;
constexpr int BUILDING_GREEN = 50, BUILDING_BLUE = 70;

// Height of triangle a, b, c above (x, z), if the vertical line meets it.
bool height_on_triangle(const Vec3& a, const Vec3& b, const Vec3& c, double x, double z, double& y)
{
    const double area = (double(b.x) - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (double(b.z) - a.z);
    if (std::fabs(area) < 1e-9)
        return false; // seen edge-on from above
    const double wb = ((x - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (z - a.z)) / area;
    const double wc = ((double(b.x) - a.x) * (z - a.z) - (x - a.x) * (double(b.z) - a.z)) / area;
    const double wa = 1.0 - wb - wc;
    constexpr double EDGE = -1e-9;
    if (wa < EDGE || wb < EDGE || wc < EDGE)
        return false;
    y = wa * a.y + wb * b.y + wc * c.y;
    return true;
}

// The highest point of the part above (x, z), raised into top.
void raise_top(const SceneryPart& part, int first, int end, double x, double z, double& top)
{
    double y;
    for (int q = first; q < end; ++q) {
        const Quad& quad = scenery_quads[q];
        if (height_on_triangle(quad[0], quad[1], quad[2], x, z, y))
            top = std::max(top, y);
        if (height_on_triangle(quad[0], quad[2], quad[3], x, z, y))
            top = std::max(top, y);
    }
    if (part.kind != SceneryKind::cylinder)
        return;
    // Cylinder quads run from the rim at y = +1 (vertices 0 and 3) down to
    // the rim at y = -1 (vertices 1 and 2); each cap is a fan about its centre.
    const Vec3 top_centre = scenery_point(part, {0.0f, 1.0f, 0.0f});
    const Vec3 bottom_centre = scenery_point(part, {0.0f, -1.0f, 0.0f});
    for (int q = first; q < end; ++q) {
        const Quad& quad = scenery_quads[q];
        if (height_on_triangle(top_centre, quad[0], quad[3], x, z, y))
            top = std::max(top, y);
        if (height_on_triangle(bottom_centre, quad[1], quad[2], x, z, y))
            top = std::max(top, y);
    }
}

void raise_tops(int part, std::vector<double>& tops)
{
    const int first = scenery_first_quad[part], end = scenery_first_quad[part + 1];
    double x0 = 1e30, x1 = -1e30, z0 = 1e30, z1 = -1e30;
    for (int q = first; q < end; ++q) {
        for (const Vec3& v : scenery_quads[q]) {
            x0 = std::min(x0, double(v.x)), x1 = std::max(x1, double(v.x));
            z0 = std::min(z0, double(v.z)), z1 = std::max(z1, double(v.z));
        }
    }
    const int i0 = std::max(0, int(std::floor(x0 / UNITS_PER_PIXEL)));
    const int i1 = std::min(MAP_SIZE - 1, int(std::floor(x1 / UNITS_PER_PIXEL)));
    const int j0 = std::max(0, int(std::floor(z0 / UNITS_PER_PIXEL)));
    const int j1 = std::min(MAP_SIZE - 1, int(std::floor(z1 / UNITS_PER_PIXEL)));
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            const double x = (i + 0.5) * UNITS_PER_PIXEL, z = (j + 0.5) * UNITS_PER_PIXEL;
            raise_top(scenery_parts[part], first, end, x, z, tops[size_t(i) * MAP_SIZE + j]);
        }
    }
}

} // namespace

void draw_building_map(BITMAP* map)
{
    clear_to_color(map, makecol(OPEN, 255, 255));
    init_carrier_waypoints();
    for (int i = 0; i < MAP_SIZE; ++i)
        for (int j = 0; j < MAP_SIZE; ++j)
            if (carrier_route_distance((i + 0.5) * UNITS_PER_PIXEL, (j + 0.5) * UNITS_PER_PIXEL) < ROAD_HALF_WIDTH)
                putpixel(map, i, j, makecol(OPEN, ROAD_GREEN, ROAD_BLUE));

    std::vector<double> tops(size_t(MAP_SIZE) * MAP_SIZE, NO_TOP);
    for (int p = 0; p < scenery_part_count; ++p)
        if (scenery_part_blocks(scenery_parts[p]))
            raise_tops(p, tops);
    for (int i = 0; i < MAP_SIZE; ++i) {
        for (int j = 0; j < MAP_SIZE; ++j) {
            const double top = tops[size_t(i) * MAP_SIZE + j];
            if (top != NO_TOP)
                putpixel(map, i, j, makecol(std::clamp(int(std::lround(top)), 0, OPEN - 1), BUILDING_GREEN, BUILDING_BLUE));
        }
    }
}
