// The small vector types of the world: a point or direction in space, and a
// point or step on the ground (x and z).
#pragma once

struct Vec3 {
    float x, y, z;
};

struct VecXZ {
    float x, z;
};
