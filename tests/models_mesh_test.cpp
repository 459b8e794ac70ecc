// The unit meshes and the hit-test face tables: winding, planes, rounding.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>

#include <gtest/gtest.h>

#include "models/meshes.h"

namespace {

struct Named {
    const char* name;
    std::span<const Quad> quads;
};

Vec3 newell_normal(const Quad& q)
{
    // Newell's sum is well defined for the proxy triangles that repeat a vertex.
    Vec3 n = {0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        const Vec3& a = q[i];
        const Vec3& b = q[(i + 1) % 4];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

Vec3 centroid(const Quad& q)
{
    return {(q[0].x + q[1].x + q[2].x + q[3].x) / 4, (q[0].y + q[1].y + q[2].y + q[3].y) / 4,
            (q[0].z + q[1].z + q[2].z + q[3].z) / 4};
}

// The value a mesh coordinate should hold: sine or cosine rounded to six decimals.
float six_decimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::strtof(text, nullptr);
}

double radians(double degrees)
{
    return degrees * M_PI / 180.0;
}

class MeshTest : public testing::Test {
protected:
    void SetUp() override
    {
        init_box_faces();
        init_sphere_proxy_faces();
        init_cylinder_proxy_faces();
    }
};

TEST_F(MeshTest, EveryQuadFacesAwayFromTheCentreWhenWoundCounterClockwise)
{
    const Named lists[] = {{"box", BOX_MESH},
                           {"cylinder", CYLINDER_MESH},
                           {"sphere", SPHERE_MESH},
                           {"BOX_FACES", BOX_FACES},
                           {"SPHERE_PROXY_FACES", SPHERE_PROXY_FACES},
                           {"CYLINDER_PROXY_FACES", CYLINDER_PROXY_FACES}};
    for (const Named& list : lists) {
        for (std::size_t i = 0; i < list.quads.size(); ++i) {
            const Vec3 n = newell_normal(list.quads[i]);
            const Vec3 c = centroid(list.quads[i]);
            EXPECT_GT(n.x * c.x + n.y * c.y + n.z * c.z, 0.0f) << list.name << " quad " << i;
        }
    }
}

TEST_F(MeshTest, BoxFacesAreTheBoxMeshVertexForVertexOnTheirPlanes)
{
    // Face number -> the axis it is flat on and its side.
    const int axis[6] = {2, 0, 2, 0, 1, 1};
    const float side[6] = {1, -1, -1, 1, 1, -1};
    for (int f = 0; f < 6; ++f) {
        for (int v = 0; v < 4; ++v) {
            const Vec3& m = BOX_MESH[f][v];
            const Vec3& t = BOX_FACES[f][v];
            EXPECT_TRUE(m.x == t.x && m.y == t.y && m.z == t.z) << "face " << f << " vertex " << v;
            const float coords[3] = {m.x, m.y, m.z};
            EXPECT_EQ(coords[axis[f]], side[f]) << "face " << f;
            EXPECT_EQ(std::fabs(coords[(axis[f] + 1) % 3]), 1.0f);
            EXPECT_EQ(std::fabs(coords[(axis[f] + 2) % 3]), 1.0f);
        }
    }
}

TEST_F(MeshTest, CylinderRimPointsAreSixDecimalSinesFromMinusZTowardsPlusX)
{
    for (int k = 0; k < CYLINDER_QUADS; ++k) {
        const Quad& q = CYLINDER_MESH[k];
        const double a0 = radians(12.0 * k);
        const double a1 = radians(12.0 * (k + 1));
        EXPECT_EQ(q[0].x, six_decimals(std::sin(a1))) << k;
        EXPECT_EQ(q[0].z, -six_decimals(std::cos(a1))) << k;
        EXPECT_EQ(q[3].x, six_decimals(std::sin(a0))) << k;
        EXPECT_EQ(q[3].z, -six_decimals(std::cos(a0))) << k;
        EXPECT_EQ(q[0].y, 1.0f);
        EXPECT_EQ(q[1].y, -1.0f);
        EXPECT_EQ(q[2].y, -1.0f);
        EXPECT_EQ(q[3].y, 1.0f);
        EXPECT_TRUE(q[1].x == q[0].x && q[1].z == q[0].z && q[2].x == q[3].x && q[2].z == q[3].z) << k;
    }
    EXPECT_EQ(CYLINDER_MESH[1][3].x, 0.207912f);
    EXPECT_EQ(CYLINDER_MESH[1][3].z, -0.978148f);
    // The tube closes: its last edge is its first.
    EXPECT_EQ(CYLINDER_MESH[29][0].x, 0.0f);
    EXPECT_EQ(CYLINDER_MESH[29][0].z, CYLINDER_MESH[0][3].z);
}

TEST_F(MeshTest, SphereLiesOnTheUnitSphereInBandsFromTheTopPole)
{
    for (int q = 0; q < SPHERE_QUADS; ++q) {
        for (const Vec3& v : SPHERE_MESH[q]) {
            const double r = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
            EXPECT_NEAR(r, 1.0, 2e-6) << "quad " << q;
        }
    }
    const float rings[6] = {1.0f, 0.809017f, 0.309017f, -0.309017f, -0.809017f, -1.0f};
    for (int band = 0; band < 5; ++band) {
        for (int s = 0; s < 6; ++s) {
            const Quad& q = SPHERE_MESH[band * 6 + s];
            EXPECT_EQ(q[0].y, rings[band]);
            EXPECT_EQ(q[3].y, rings[band]);
            EXPECT_EQ(q[1].y, rings[band + 1]);
            EXPECT_EQ(q[2].y, rings[band + 1]);
            // Segment s runs from longitude 60 s, which for s = 0 lies on +z.
            if (band == 1 && s == 0) {
                EXPECT_TRUE(q[0].x == 0.0f && q[0].z == 0.587785f);
            }
            if (band == 1 && s == 1) {
                EXPECT_EQ(q[0].x, 0.509037f);
            }
        }
    }
    // The polar bands draw as triangles: the pole appears twice.
    EXPECT_TRUE(SPHERE_MESH[0][0].y == 1.0f && SPHERE_MESH[0][3].y == 1.0f);
    EXPECT_TRUE(SPHERE_MESH[29][1].y == -1.0f && SPHERE_MESH[29][2].y == -1.0f);
}

TEST_F(MeshTest, ProxyTablesHoldTheFirstSixTubeQuadsAndADoublePyramid)
{
    for (int f = 0; f < 6; ++f)
        for (int v = 0; v < 4; ++v) {
            const Vec3& a = CYLINDER_PROXY_FACES[f][v];
            const Vec3& b = CYLINDER_MESH[f][v];
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << f << " " << v;
        }
    for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(SPHERE_PROXY_FACES[f][0].y, 1.0f) << "upper face " << f << " starts at the top apex";
        EXPECT_EQ(SPHERE_PROXY_FACES[f][3].y, 1.0f);
    }
    for (int f = 3; f < 6; ++f) {
        const Quad& q = SPHERE_PROXY_FACES[f];
        EXPECT_TRUE(q[1].y == -1.0f && q[2].y == -1.0f) << "lower face " << f << " repeats its middle vertex";
    }
    for (const Quad& q : SPHERE_PROXY_FACES)
        for (const Vec3& v : q)
            EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1.0f, 1e-6f);
}

} // namespace
