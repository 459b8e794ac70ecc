// What the clouds of points share: the shots' balls and bursts and the bombs'
// falls and fires are scattered by the same random draws round the same
// counter. Their colours only look alike and are each cloud's own.
#pragma once

#include "maths/angles.h"

// A draw of the clouds' random numbers: 0..n-1. They are the game's own
// (rand) while it plays; while the clouds are held still, a private sequence
// that each frame starts afresh.
int random_below(int n);

// Held while the game is paused: every frame then scatters the same points,
// so the still picture stays still, and the game's own random numbers are
// left as they were.
void hold_clouds_still(bool held);

// Once a frame, before its clouds are drawn.
void start_cloud_frame();

// A cloud's counter runs 0..100 round a full turn; in radians.
inline double counter_angle(double counter)
{
    return radians(counter * 360.0 / 100.0);
}
