// The static scenery: the town's buildings, trees and tanks as 195 coloured
// unit primitives in world coordinates, read once at start-up from the text
// file beside the executable and drawn in full every frame.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "models/meshes.h"

// The scenery list beside the executable, one part per line.
inline constexpr const char* SCENERY_FILE_NAME = "scenery.txt";

constexpr int SCENERY_PARTS = 195;
// Room for the largest expansion: every part of the largest mesh.
constexpr int SCENERY_QUAD_CAPACITY = SCENERY_PARTS * std::max({BOX_QUADS, CYLINDER_QUADS, SPHERE_QUADS});
constexpr int SCENERY_MATRIX_NUMBERS = 12;

enum class SceneryKind : std::uint8_t { box, cylinder, sphere };

// One part, as one line of the file: kind, red, green, blue, then the 3 x 4
// matrix row by row. A unit-mesh vertex (x, y, z) lands on the world point
// (m0 x + m1 y + m2 z + m3, m4 x + m5 y + m6 z + m7, m8 x + m9 y + m10 z + m11).
struct SceneryPart {
    SceneryKind kind;
    std::uint8_t red, green, blue;
    std::array<float, SCENERY_MATRIX_NUMBERS> matrix;
};

// The loaded list, in drawing order, and its quads in world coordinates:
// part p owns scenery_quads[scenery_first_quad[p] .. scenery_first_quad[p + 1]).
// Written only by a load_scenery that succeeds.
extern std::array<SceneryPart, SCENERY_PARTS> scenery_parts;
extern std::array<int, SCENERY_PARTS + 1> scenery_first_quad;
extern std::array<Quad, SCENERY_QUAD_CAPACITY> scenery_quads;
extern int scenery_part_count; // 0 until a file has loaded, then SCENERY_PARTS

// Reads the scenery file at path and expands it into scenery_quads. On any
// fault (missing file, a line that is not "kind red green blue" and twelve
// finite numbers, a kind other than box, cylinder or sphere, a colour outside
// 0..255, more or fewer than SCENERY_PARTS records) it returns false, keeps
// what was loaded before (nothing, at start-up) and leaves the reason in
// scenery_error_message(). Blank lines and lines starting with '#' are skipped.
bool load_scenery(const char* path);

// After a failed load_scenery, the message for the player, naming the file
// and the offending line: "Error loading PATH!\nline N: REASON\n\n".
const char* scenery_error_message();

// Emits every part's colour (glColor3ub) and then its quads' vertices
// (glVertex3f), in list order, and nothing else. The caller opens and closes
// the GL_QUADS batch.
void draw_scenery();

// Quads in a part's unit mesh: 6 for a box, 30 for a cylinder or a sphere.
int scenery_mesh_quads(SceneryKind kind);

// The world point of a unit-mesh vertex.
Vec3 scenery_point(const SceneryPart& part, Vec3 local);

// A part whose matrix turns the mesh inside out (negative determinant); its
// quads are drawn in reverse vertex order to keep them facing outward.
bool scenery_part_mirrored(const SceneryPart& part);

// Which parts the building map holds: boxes and every cylinder wider than a
// post. Spheres (tree crowns) and cylinders under 2 units of radius (trunks,
// posts, thin pipes) stay passable.
bool scenery_part_blocks(const SceneryPart& part);
