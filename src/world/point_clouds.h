// What the clouds of points share: the shots' balls and bursts and the bombs'
// falls and fires are scattered by the same random draws round the same
// counter. Their colours only look alike and are each cloud's own.
#pragma once

#include <cstdlib>

#include "maths/angles.h"

// A draw from the game's random numbers: 0..n-1.
inline int random_below(int n)
{
    return std::rand() % n;
}

// A cloud's counter runs 0..100 round a full turn; in radians.
inline double counter_angle(double counter)
{
    return radians(counter * 360.0 / 100.0);
}
