// Face-by-face hit testing of the Carrier, the Walker and the Flyer. Each
// tested part stands in as a six-face proxy (box, sphere or cylinder table) placed
// in the world with Allegro's float matrices; a probe point hits a face when
// it lies in front of it, nearer than a threshold, and within its outline.
#pragma once

#include "maths/vectors.h"
#include "models/meshes.h"

// Mode 0 asks whether any face is hit (1 or 0) and stops at the first one.
// Mode 1 runs the model's touch response on every face touched, returns 0.
constexpr int HIT_QUERY = 0;
constexpr int HIT_TOUCH = 1;

// The Carrier's ten boxes only: its nine spheres are drawn but never
// tested. A shot is tested only inside the box round the Carrier in
// gameplay/projectiles.cpp, which leaves out its top box, its bow and its
// stern; the player touches every box.
// Mode 1 sets carrier_riding, riding_part and riding_face afresh, pushes the
// player out of the parts it touches (and down from an underside, ending a
// jump), and carries it by 1.25 x carrier_dir while it touches any face.
int carrier_face_test(int mode, float threshold, float x, float y, float z);

// Mode 1 shoves the player along the Walker's direction: box and sphere faces
// also hurt it once per hit period, cylinder faces push on every call.
int walker_face_test(int mode, float threshold, float x, float y, float z);

// Projectiles only: mode 0.
int flyer_face_test(int mode, float threshold, float x, float y, float z);

// The face under test: unit normal (zero for a face that spans no plane) and
// the probe's signed distance from its plane, positive in front.
extern Vec3 face_normal;
extern float face_distance;

// Sets face_normal and face_distance from the first three vertices of quad.
void face_plane(const Quad& quad, const Vec3& probe);

// Even-odd crossing test of probe against the polygon, projected onto the
// coordinate plane that drops face_normal's largest component (ties: x, y, z).
// 1 inside, 0 outside.
int point_in_face(const Vec3* polygon, int count, const Vec3& probe);
