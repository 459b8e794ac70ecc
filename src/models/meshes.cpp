// The unit meshes, built at compile time. Coordinates that come from sine and
// cosine are rounded to six decimals before they are stored as floats.
#include "models/meshes.h"

#include <algorithm>

#include <allegro.h>
#include <alleggl.h>

FaceTable BOX_FACES{};
FaceTable SPHERE_PROXY_FACES{};
FaceTable CYLINDER_PROXY_FACES{};

namespace {

constexpr double PI = 3.14159265358979323846;

// Sine of a whole number of degrees by its Taylor series, after folding the
// angle into 0..90, where twenty terms are far below the six-decimal rounding.
constexpr double sine_of_degrees(int degrees)
{
    int d = degrees % 360;
    if (d < 0)
        d += 360;
    double sign = 1.0;
    if (d >= 180) {
        d -= 180;
        sign = -1.0;
    }
    if (d > 90)
        d = 180 - d;
    const double x = d * PI / 180.0;
    double term = x;
    double sum = x;
    for (int n = 1; n < 20; ++n) {
        term *= -x * x / double((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sign * sum;
}

constexpr double cosine_of_degrees(int degrees)
{
    return sine_of_degrees(degrees + 90);
}

// Nearest multiple of 0.000001, halves away from zero.
constexpr float six_decimals(double value)
{
    const double scaled = value * 1e6;
    const long long whole = scaled >= 0.0 ? static_cast<long long>(scaled + 0.5)
                                          : -static_cast<long long>(-scaled + 0.5);
    return float(double(whole) / 1e6);
}

constexpr std::array<Quad, CYLINDER_QUADS> make_cylinder()
{
    std::array<Quad, CYLINDER_QUADS> mesh{};
    for (int k = 0; k < CYLINDER_QUADS; ++k) {
        const int a0 = 12 * k;
        const int a1 = 12 * (k + 1);
        const float x0 = six_decimals(sine_of_degrees(a0));
        const float z0 = -six_decimals(cosine_of_degrees(a0));
        const float x1 = six_decimals(sine_of_degrees(a1));
        const float z1 = -six_decimals(cosine_of_degrees(a1));
        mesh[k] = {{{x1, 1.0f, z1}, {x1, -1.0f, z1}, {x0, -1.0f, z0}, {x0, 1.0f, z0}}};
    }
    return mesh;
}

// Point at polar angle p from +y and longitude t.
constexpr Vec3 sphere_point(int p, int t)
{
    return {six_decimals(sine_of_degrees(p) * sine_of_degrees(t)), six_decimals(cosine_of_degrees(p)),
            six_decimals(sine_of_degrees(p) * cosine_of_degrees(t))};
}

constexpr std::array<Quad, SPHERE_QUADS> make_sphere()
{
    std::array<Quad, SPHERE_QUADS> mesh{};
    for (int band = 0; band < 5; ++band) {
        const int p0 = 36 * band;
        const int p1 = 36 * (band + 1);
        for (int segment = 0; segment < 6; ++segment) {
            const int t0 = 60 * segment;
            const int t1 = 60 * (segment + 1);
            mesh[band * 6 + segment] = {
                {sphere_point(p0, t0), sphere_point(p1, t0), sphere_point(p1, t1), sphere_point(p0, t1)}};
        }
    }
    return mesh;
}

void emit(const Quad* quads, int count)
{
    for (int q = 0; q < count; ++q)
        for (const Vec3& v : quads[q])
            glVertex3f(v.x, v.y, v.z);
}

constexpr Vec3 TOP = {0.0f, 1.0f, 0.0f};
constexpr Vec3 BOTTOM = {0.0f, -1.0f, 0.0f};
constexpr Vec3 E1 = {0.866025f, 0.0f, 0.5f};
constexpr Vec3 E2 = {0.0f, 0.0f, -1.0f};
constexpr Vec3 E3 = {-0.866025f, 0.0f, 0.5f};

constexpr FaceTable SPHERE_PROXY = {{
    {TOP, E1, E2, TOP},
    {TOP, E3, E1, TOP},
    {TOP, E2, E3, TOP},
    {E1, BOTTOM, BOTTOM, E2},
    {E3, BOTTOM, BOTTOM, E1},
    {E2, BOTTOM, BOTTOM, E3},
}};

} // namespace

constexpr std::array<Quad, BOX_QUADS> BOX_MESH = {{
    {{{1, -1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}}},         // 0: z = +1
    {{{-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}}},     // 1: x = -1
    {{{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}},     // 2: z = -1
    {{{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},         // 3: x = +1
    {{{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}}},         // 4: y = +1
    {{{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}}},     // 5: y = -1
}};
constexpr std::array<Quad, CYLINDER_QUADS> CYLINDER_MESH = make_cylinder();
constexpr std::array<Quad, SPHERE_QUADS> SPHERE_MESH = make_sphere();

void draw_box_mesh()
{
    emit(BOX_MESH.data(), BOX_QUADS);
}

void draw_sphere_mesh()
{
    emit(SPHERE_MESH.data(), SPHERE_QUADS);
}

void draw_cylinder_mesh()
{
    emit(CYLINDER_MESH.data(), CYLINDER_QUADS);
}

void init_box_faces()
{
    std::copy(BOX_MESH.begin(), BOX_MESH.end(), BOX_FACES.begin());
}

void init_sphere_proxy_faces()
{
    SPHERE_PROXY_FACES = SPHERE_PROXY;
}

void init_cylinder_proxy_faces()
{
    std::copy(CYLINDER_MESH.begin(), CYLINDER_MESH.begin() + 6, CYLINDER_PROXY_FACES.begin());
}
