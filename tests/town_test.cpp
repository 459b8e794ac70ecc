// The generated scenery list, read back through the game's loader: the counts,
// colours, orientations, extent and objects that the town must have.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "world/scenery.h"

namespace {

struct Box3 {
    Vec3 low, high;
};

using Colour = std::tuple<int, int, int>;

class Town : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string path = std::string(TEST_BUILD_DIR) + "/scenery.txt";
        ASSERT_TRUE(load_scenery(path.c_str())) << scenery_error_message();
    }

    static Box3 bounds(int part)
    {
        Box3 b{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
        for (int q = scenery_first_quad[part]; q < scenery_first_quad[part + 1]; ++q) {
            for (const Vec3& v : scenery_quads[q]) {
                b.low = {std::min(b.low.x, v.x), std::min(b.low.y, v.y), std::min(b.low.z, v.z)};
                b.high = {std::max(b.high.x, v.x), std::max(b.high.y, v.y), std::max(b.high.z, v.z)};
            }
        }
        return b;
    }

    static double determinant(const SceneryPart& p)
    {
        const auto& m = p.matrix;
        return double(m[0]) * (double(m[5]) * m[10] - double(m[6]) * m[9]) -
               double(m[1]) * (double(m[4]) * m[10] - double(m[6]) * m[8]) +
               double(m[2]) * (double(m[4]) * m[9] - double(m[5]) * m[8]);
    }

    // Upright: the mesh's y axis stays vertical and its x and z stay level.
    static bool upright(const SceneryPart& p)
    {
        const auto& m = p.matrix;
        return std::fabs(m[1]) < 1e-5f && std::fabs(m[9]) < 1e-5f && std::fabs(m[4]) < 1e-5f &&
               std::fabs(m[6]) < 1e-5f;
    }
};

TEST_F(Town, KindsQuadsAndPoleTriangles)
{
    std::map<SceneryKind, int> kinds;
    for (const SceneryPart& p : scenery_parts)
        ++kinds[p.kind];
    EXPECT_EQ(kinds[SceneryKind::box], 85);
    EXPECT_EQ(kinds[SceneryKind::cylinder], 82);
    EXPECT_EQ(kinds[SceneryKind::sphere], 28);

    const int quads = scenery_first_quad[SCENERY_PARTS];
    EXPECT_EQ(quads, 3810);
    EXPECT_EQ(4 * quads, 15240) << "vertices";
    int triangles = 0;
    for (int q = 0; q < quads; ++q) {
        const Quad& quad = scenery_quads[q];
        bool repeated = false;
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                repeated |= quad[a].x == quad[b].x && quad[a].y == quad[b].y && quad[a].z == quad[b].z;
        triangles += repeated;
    }
    EXPECT_EQ(triangles, 336);
}

TEST_F(Town, UprightAndTiltedPartsPerKind)
{
    // Per kind: upright, tilted.
    std::map<SceneryKind, std::pair<int, int>> count;
    for (const SceneryPart& p : scenery_parts)
        (upright(p) ? count[p.kind].first : count[p.kind].second) += 1;
    EXPECT_EQ(count[SceneryKind::box], std::make_pair(59, 26));
    EXPECT_EQ(count[SceneryKind::cylinder], std::make_pair(64, 18));
    EXPECT_EQ(count[SceneryKind::sphere], std::make_pair(26, 2));
}

TEST_F(Town, EveryColourOfTheTownWithItsCountPerKind)
{
    const std::map<std::pair<SceneryKind, Colour>, int> expected = {
        {{SceneryKind::cylinder, {102, 31, 0}}, 33}, {{SceneryKind::box, {102, 31, 0}}, 1},
        {{SceneryKind::cylinder, {21, 21, 21}}, 30}, {{SceneryKind::box, {87, 87, 87}}, 27},
        {{SceneryKind::box, {102, 128, 84}}, 16},    {{SceneryKind::cylinder, {102, 128, 84}}, 6},
        {{SceneryKind::sphere, {0, 171, 0}}, 20},    {{SceneryKind::cylinder, {0, 94, 84}}, 12},
        {{SceneryKind::box, {0, 94, 84}}, 1},        {{SceneryKind::box, {153, 128, 0}}, 12},
        {{SceneryKind::box, {51, 0, 0}}, 8},         {{SceneryKind::box, {0, 171, 171}}, 8},
        {{SceneryKind::sphere, {255, 255, 84}}, 6},  {{SceneryKind::box, {153, 31, 0}}, 5},
        {{SceneryKind::box, {51, 31, 0}}, 3},        {{SceneryKind::box, {156, 107, 61}}, 3},
        {{SceneryKind::box, {0, 94, 171}}, 1},       {{SceneryKind::sphere, {102, 222, 84}}, 1},
        {{SceneryKind::cylinder, {255, 191, 84}}, 1}, {{SceneryKind::sphere, {12, 252, 204}}, 1},
    };
    std::map<std::pair<SceneryKind, Colour>, int> found;
    for (const SceneryPart& p : scenery_parts)
        ++found[{p.kind, {p.red, p.green, p.blue}}];
    EXPECT_EQ(found, expected);
}

TEST_F(Town, SpheresAloneAreMirroredAndEveryQuadFacesOutward)
{
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const SceneryPart& part = scenery_parts[p];
        EXPECT_EQ(determinant(part) < 0.0, part.kind == SceneryKind::sphere) << "part " << p;
        // Counter-clockwise seen from outside: the normal points away from the centre.
        const Vec3 c = scenery_point(part, {0, 0, 0});
        for (int q = scenery_first_quad[p]; q < scenery_first_quad[p + 1]; ++q) {
            const Quad& v = scenery_quads[q];
            const int third = (v[1].x == v[2].x && v[1].y == v[2].y && v[1].z == v[2].z) ? 3 : 2;
            const double ax = v[1].x - v[0].x, ay = v[1].y - v[0].y, az = v[1].z - v[0].z;
            const double bx = v[third].x - v[0].x, by = v[third].y - v[0].y, bz = v[third].z - v[0].z;
            const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
            const double outward = nx * ((v[0].x + v[2].x) / 2 - c.x) + ny * ((v[0].y + v[2].y) / 2 - c.y) +
                                   nz * ((v[0].z + v[2].z) / 2 - c.z);
            ASSERT_GT(outward, 0.0) << "part " << p << " quad " << q - scenery_first_quad[p];
        }
    }
}

TEST_F(Town, ExtentOfTheWholeTown)
{
    Box3 all{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const Box3 b = bounds(p);
        all.low = {std::min(all.low.x, b.low.x), std::min(all.low.y, b.low.y), std::min(all.low.z, b.low.z)};
        all.high = {std::max(all.high.x, b.high.x), std::max(all.high.y, b.high.y), std::max(all.high.z, b.high.z)};
    }
    constexpr float TOLERANCE = 0.05f;
    EXPECT_NEAR(all.low.x, 262.7f, TOLERANCE);
    EXPECT_NEAR(all.high.x, 2498.1f, TOLERANCE);
    EXPECT_NEAR(all.low.y, 24.8f, TOLERANCE);
    EXPECT_NEAR(all.high.y, 109.3f, TOLERANCE);
    EXPECT_NEAR(all.low.z, 133.5f, TOLERANCE);
    EXPECT_NEAR(all.high.z, 2193.2f, TOLERANCE);
}

TEST_F(Town, PartsWhoseBoundsTouchFormTheSixtyTwoObjects)
{
    std::vector<Box3> boxes;
    for (int p = 0; p < SCENERY_PARTS; ++p)
        boxes.push_back(bounds(p));
    std::vector<int> group(SCENERY_PARTS);
    for (int p = 0; p < SCENERY_PARTS; ++p)
        group[p] = p;
    const auto root = [&group](int p) {
        while (group[p] != p)
            p = group[p];
        return p;
    };
    constexpr float TOUCH = 0.01f;
    for (int a = 0; a < SCENERY_PARTS; ++a) {
        for (int b = a + 1; b < SCENERY_PARTS; ++b) {
            const Box3 &u = boxes[a], &v = boxes[b];
            if (u.low.x <= v.high.x + TOUCH && v.low.x <= u.high.x + TOUCH && u.low.y <= v.high.y + TOUCH &&
                v.low.y <= u.high.y + TOUCH && u.low.z <= v.high.z + TOUCH && v.low.z <= u.high.z + TOUCH)
                group[root(a)] = root(b);
        }
    }
    // Each object as its count of boxes, cylinders and spheres.
    std::map<int, std::tuple<int, int, int>> objects;
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        auto& [boxes_in, cylinders_in, spheres_in] = objects[root(p)];
        const SceneryKind kind = scenery_parts[p].kind;
        (kind == SceneryKind::box ? boxes_in : kind == SceneryKind::cylinder ? cylinders_in : spheres_in) += 1;
    }
    std::map<std::tuple<int, int, int>, int> mix;
    for (const auto& [id, parts] : objects)
        ++mix[parts];
    const std::map<std::tuple<int, int, int>, int> expected = {
        {{0, 1, 1}, 25},  // trees
        {{3, 0, 0}, 16},  // houses
        {{0, 2, 0}, 5},   // log piles and pipe sections
        {{1, 0, 0}, 4},   // granaries
        {{5, 14, 0}, 3},  // works
        {{2, 1, 0}, 3},   // carts
        {{4, 0, 0}, 3},   // halls
        {{0, 1, 2}, 1},   // the fountain
        {{0, 1, 0}, 1},   // a stump
        {{0, 0, 1}, 1},   // a bush
    };
    EXPECT_EQ(objects.size(), 62u);
    EXPECT_EQ(mix, expected);
}

} // namespace
