// Projectiles as clouds of translucent points scattered anew every frame: a
// ball that grows and reddens with the charge, or a burst once exploded.
#pragma once

// Draws one projectile slot, held at the gun, in flight or exploded. Called
// outside any glBegin/glEnd pair; leaves the matrix stack as it found it and
// the blending function at one, zero.
void draw_projectile(int slot);
