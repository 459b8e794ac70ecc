// The town on the land: the building map against the scenery it was drawn
// from, the ground the objects stand on, the ways that must stay clear, and
// the keys of the banner under the indicator rectangles.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_data.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "gameplay/building_map.h"
#include "gameplay/terrain.h"
#include "tests/test_support.h"
#include "world/scenery.h"

namespace {

constexpr int MAP_SIZE = 1250;
constexpr float ROUTE_CLEARANCE = 45.0f;

bool in_walker_range(double x, double z)
{
    return x >= 1545.0 && x <= 1945.0 && z >= 981.0 && z <= 1381.0;
}

// Where the vertical line through (x, z) runs inside a box or a cylinder
// (ends closed), worked out from the part's matrix rather than its quads.
bool vertical_span(const SceneryPart& part, double x, double z, double& top)
{
    const auto& m = part.matrix;
    const double a[3][3] = {{m[0], m[1], m[2]}, {m[4], m[5], m[6]}, {m[8], m[9], m[10]}};
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    double inv[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            inv[r][c] = (a[(c + 1) % 3][(r + 1) % 3] * a[(c + 2) % 3][(r + 2) % 3] -
                         a[(c + 1) % 3][(r + 2) % 3] * a[(c + 2) % 3][(r + 1) % 3]) / det;
    // Unit-space point at world height t: start + t * step.
    const double rel[3] = {x - m[3], -m[7], z - m[11]};
    double start[3], step[3];
    for (int r = 0; r < 3; ++r) {
        start[r] = inv[r][0] * rel[0] + inv[r][1] * rel[1] + inv[r][2] * rel[2];
        step[r] = inv[r][1];
    }
    double low = -1e30, high = 1e30;
    const auto clip = [&](int axis) {
        if (std::fabs(step[axis]) < 1e-12)
            return std::fabs(start[axis]) <= 1.0;
        const double t0 = (-1.0 - start[axis]) / step[axis], t1 = (1.0 - start[axis]) / step[axis];
        low = std::max(low, std::min(t0, t1));
        high = std::min(high, std::max(t0, t1));
        return low <= high;
    };
    if (!clip(1))
        return false;
    if (part.kind == SceneryKind::box) {
        if (!clip(0) || !clip(2))
            return false;
    } else {
        const double qa = step[0] * step[0] + step[2] * step[2];
        const double qb = 2.0 * (start[0] * step[0] + start[2] * step[2]);
        const double qc = start[0] * start[0] + start[2] * start[2] - 1.0;
        if (qa < 1e-12) {
            if (qc > 0.0)
                return false;
        } else {
            const double disc = qb * qb - 4.0 * qa * qc;
            if (disc < 0.0)
                return false;
            low = std::max(low, (-qb - std::sqrt(disc)) / (2.0 * qa));
            high = std::min(high, (-qb + std::sqrt(disc)) / (2.0 * qa));
            if (low > high)
                return false;
        }
    }
    top = high;
    return true;
}

struct Bounds {
    Vec3 low, high;
};

Bounds bounds(int part)
{
    Bounds b{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
    for (int q = scenery_first_quad[part]; q < scenery_first_quad[part + 1]; ++q) {
        for (const Vec3& v : scenery_quads[q]) {
            b.low = {std::min(b.low.x, v.x), std::min(b.low.y, v.y), std::min(b.low.z, v.z)};
            b.high = {std::max(b.high.x, v.x), std::max(b.high.y, v.y), std::max(b.high.z, v.z)};
        }
    }
    return b;
}

class TownOnTheLand : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string folder = TEST_BUILD_DIR;
        game_data = load_game_data((folder + "/height.dat").c_str());
        ASSERT_NE(game_data, nullptr);
        load_terrain();
        init_carrier_waypoints();
        ASSERT_TRUE(load_scenery((folder + "/scenery.txt").c_str())) << scenery_error_message();
    }
    static void TearDownTestSuite()
    {
        unload_datafile(game_data);
        game_data = nullptr;
    }

    static int map_red(int column, int row)
    {
        return getr(getpixel(game_bitmap(BUILDING_MAP_BITMAP), column, row));
    }
};

TEST_F(TownOnTheLand, EverySolidPartBlocksAtItsDrawnTopAndNothingElseBlocks)
{
    // Per pixel, from the lines through its centre and a unit to each side:
    // the highest top of a solid part that all five lines meet (the pixel is
    // well inside it), and the highest top that any of them meets.
    constexpr double NONE = -1e30;
    std::vector<double> inside_top(size_t(MAP_SIZE) * MAP_SIZE, NONE), near_top(inside_top.size(), NONE);
    int solid_parts = 0;
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const SceneryPart& part = scenery_parts[p];
        if (!scenery_part_blocks(part))
            continue;
        ++solid_parts;
        const Bounds b = bounds(p);
        for (int i = std::max(0, int(b.low.x / 2) - 1); i <= std::min(MAP_SIZE - 1, int(b.high.x / 2) + 1); ++i) {
            for (int j = std::max(0, int(b.low.z / 2) - 1); j <= std::min(MAP_SIZE - 1, int(b.high.z / 2) + 1); ++j) {
                const double x = 2.0 * i + 1.0, z = 2.0 * j + 1.0;
                const size_t at = size_t(i) * MAP_SIZE + j;
                int hits = 0;
                double centre = NONE, highest = NONE, y;
                for (auto [dx, dz] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}, {0.0, -1.0}}) {
                    if (vertical_span(part, x + dx, z + dz, y)) {
                        ++hits;
                        highest = std::max(highest, y);
                        if (dx == 0.0 && dz == 0.0)
                            centre = y;
                    }
                }
                near_top[at] = std::max(near_top[at], highest);
                if (hits == 5)
                    inside_top[at] = std::max(inside_top[at], centre);
            }
        }
    }
    EXPECT_EQ(solid_parts, 85 + 12 + 10 + 3 + 1) << "boxes, tanks, log and pipe piles, cart loads, the basin";

    int blocking = 0;
    for (int i = 0; i < MAP_SIZE; ++i) {
        for (int j = 0; j < MAP_SIZE; ++j) {
            const size_t at = size_t(i) * MAP_SIZE + j;
            const int red = map_red(i, j);
            blocking += red != OPEN_GROUND;
            if (near_top[at] == NONE) {
                ASSERT_EQ(red, OPEN_GROUND) << "pixel " << i << ", " << j << " blocks with nothing there";
                continue;
            }
            if (inside_top[at] != NONE) {
                ASSERT_NE(red, OPEN_GROUND) << "pixel " << i << ", " << j << " is open inside a solid part";
                ASSERT_GE(red, inside_top[at] - 1.0) << "pixel " << i << ", " << j;
            }
            if (red != OPEN_GROUND) {
                ASSERT_LE(red, near_top[at] + 1.0) << "pixel " << i << ", " << j << " above anything drawn there";
            }
        }
    }
    EXPECT_GT(blocking, 20000) << "pixels under buildings, tanks and yards";
}

TEST_F(TownOnTheLand, RouteWalkerRangeAndStartPointsStayClear)
{
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        for (int q = scenery_first_quad[p]; q < scenery_first_quad[p + 1]; ++q) {
            for (int e = 0; e < 4; ++e) {
                const Vec3 a = scenery_quads[q][e], b = scenery_quads[q][(e + 1) % 4];
                const int steps = 1 + int(std::hypot(b.x - a.x, b.z - a.z) / 4.0f);
                for (int s = 0; s <= steps; ++s) {
                    const double x = a.x + (b.x - a.x) * s / steps, z = a.z + (b.z - a.z) * s / steps;
                    ASSERT_GE(carrier_route_distance(x, z), ROUTE_CLEARANCE) << "part " << p << " at " << x << ", " << z;
                    ASSERT_FALSE(in_walker_range(x, z)) << "part " << p << " at " << x << ", " << z;
                    ASSERT_GE(std::hypot(x - START_X_DEMO, z - START_Z), 40.0) << "part " << p;
                }
            }
        }
    }
    for (float x = 0.0f; x < 2500.0f; x += 2.0f) {
        for (float z = 0.0f; z < 2500.0f; z += 2.0f) {
            if (in_walker_range(x, z) || carrier_route_distance(x, z) < ROUTE_CLEARANCE) {
                ASSERT_EQ(building_sample_at(x, z), OPEN_GROUND) << x << ", " << z;
            }
        }
    }
    EXPECT_EQ(building_sample_at(START_X_PLAY, START_Z), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(START_X_DEMO, START_Z), OPEN_GROUND);
}

TEST_F(TownOnTheLand, EveryPartRestsOnTheGroundOrOnAPartBelowIt)
{
    std::vector<Bounds> boxes;
    for (int p = 0; p < SCENERY_PARTS; ++p)
        boxes.push_back(bounds(p));
    constexpr float TOUCH = 0.01f;
    int on_ground = 0;
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const Bounds& u = boxes[size_t(p)];
        bool carried = false;
        for (int o = 0; o < SCENERY_PARTS && !carried; ++o) {
            const Bounds& v = boxes[size_t(o)];
            carried = o != p && v.low.y < u.low.y - TOUCH && u.low.x <= v.high.x + TOUCH &&
                      v.low.x <= u.high.x + TOUCH && u.low.y <= v.high.y + TOUCH && u.low.z <= v.high.z + TOUCH &&
                      v.low.z <= u.high.z + TOUCH;
        }
        if (carried)
            continue;
        ++on_ground;
        // Its lowest point, and for a part standing upright its whole base,
        // at or a little below the ground: nothing floats, nothing is buried.
        const SceneryPart& part = scenery_parts[p];
        const bool level_base = part.kind != SceneryKind::sphere && std::fabs(part.matrix[4]) < 1e-5f &&
                                std::fabs(part.matrix[6]) < 1e-5f;
        std::vector<Vec3> base;
        for (int q = scenery_first_quad[p]; q < scenery_first_quad[p + 1]; ++q)
            for (const Vec3& v : scenery_quads[q])
                if (v.y <= u.low.y + 1e-3f)
                    base.push_back(v);
        if (level_base) {
            for (float s = -1.0f; s <= 1.0f; s += 0.125f)
                for (float t = -1.0f; t <= 1.0f; t += 0.125f)
                    if (part.kind == SceneryKind::box || s * s + t * t <= 1.0f)
                        base.push_back(scenery_point(part, {s, -1.0f, t}));
        }
        float lowest_ground = 1e30f;
        for (const Vec3& v : base) {
            const float ground = terrain_height_at(v.x, v.z);
            lowest_ground = std::min(lowest_ground, ground);
            EXPECT_LE(u.low.y, ground + 0.05f) << "part " << p << " floats at " << v.x << ", " << v.z;
        }
        EXPECT_GE(u.low.y, lowest_ground - 1.0f) << "part " << p << " is buried";
    }
    EXPECT_GE(on_ground, 62) << "at least one part of every object on the ground";
}

TEST(Banner, KeysLieUnderTheIndicatorRectangles)
{
    const std::string path = std::string(TEST_BUILD_DIR) + "/height.dat";
    DATAFILE* data = load_game_data(path.c_str());
    ASSERT_NE(data, nullptr);
    BITMAP* banner = static_cast<BITMAP*>(data[BANNER_BITMAP].dat);
    EXPECT_EQ(banner->w, 527);
    EXPECT_EQ(banner->h, 150);

    use_fake_screen(800, 600);
    init_input_indicator_rects();
    use_no_screen();
    const auto colour = [banner](int x, int y) { return getpixel(banner, x, y); };
    // Back from the 800-pixel picture to the banner's own scale.
    const auto on_banner = [](float x) { return int(std::lround(x * 527.0 / 800.0)); };
    for (const ScreenRect& r : input_indicator_rects) {
        const int x1 = on_banner(r.x1), y1 = int(r.y1), x2 = on_banner(r.x2) - 1, y2 = int(r.y2) - 1;
        const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        const int edge = colour(x1, my), outside = colour(x1 - 1, my);
        EXPECT_NE(edge, outside) << "key at " << x1 << ", " << y1;
        // The key's outline runs along all four sides of the rectangle, and
        // the board shows just outside it.
        EXPECT_EQ(colour(x2, my), edge) << x1 << ", " << y1;
        EXPECT_EQ(colour(mx, y1), edge) << x1 << ", " << y1;
        EXPECT_EQ(colour(mx, y2), edge) << x1 << ", " << y1;
        EXPECT_EQ(colour(x2 + 1, my), outside) << x1 << ", " << y1;
        EXPECT_EQ(colour(mx, y1 - 1), outside) << x1 << ", " << y1;
        EXPECT_EQ(colour(mx, y2 + 1), outside) << x1 << ", " << y1;
        EXPECT_NE(colour(x1 + 2, y1 + 2), edge) << "the key's face inside its outline";
    }
    unload_datafile(data);
}

} // namespace
