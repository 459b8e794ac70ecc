// The three unit primitives every part and scenery piece is drawn from (box,
// open cylinder, sphere), and the six-face tables that stand in for them in
// hit testing. Every quad is wound counter-clockwise seen from outside.
#pragma once

#include <array>

#include "maths/vectors.h"

using Quad = std::array<Vec3, 4>;

// Six quads; a quad's index is its face number.
using FaceTable = std::array<Quad, 6>;

constexpr int BOX_QUADS = 6;
constexpr int CYLINDER_QUADS = 30; // 12 degrees each
constexpr int SPHERE_QUADS = 30;   // 5 latitude bands of 6 segments

// Box faces in order: z = +1, x = -1, z = -1, x = +1, y = +1, y = -1.
extern const std::array<Quad, BOX_QUADS> BOX_MESH;
// Open tube of radius 1 about the y axis, y = -1..1, no caps. A rim point at
// angle a is (sin a, y, -cos a); quad k spans 12k..12(k + 1) degrees.
extern const std::array<Quad, CYLINDER_QUADS> CYLINDER_MESH;
// Unit sphere, bands from the top pole down; the quads of the two polar bands
// repeat the pole and draw as triangles.
extern const std::array<Quad, SPHERE_QUADS> SPHERE_MESH;

// Emit the mesh's vertices with glVertex3f and nothing else: the caller has
// opened GL_QUADS, set the matrix and the colour, and closes the batch.
void draw_box_mesh();
void draw_sphere_mesh();
void draw_cylinder_mesh();

// Hit-test proxies, filled once at start-up and read-only afterwards.
// BOX_FACES: the box mesh, vertex for vertex.
extern FaceTable BOX_FACES;
// SPHERE_PROXY_FACES: a triangular double pyramid, each triangle a quad with
// one vertex twice. The three lower faces repeat their middle vertex and span
// no plane, so they are never touched.
extern FaceTable SPHERE_PROXY_FACES;
// CYLINDER_PROXY_FACES: the first six quads of the cylinder (0..72 degrees).
extern FaceTable CYLINDER_PROXY_FACES;

void init_box_faces();
void init_sphere_proxy_faces();
void init_cylinder_proxy_faces();
