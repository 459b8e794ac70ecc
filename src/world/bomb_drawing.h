// Bombs as clouds of opaque points scattered anew every frame: a dark cloud
// while one falls, an orange fire that grows once it has landed.
#pragma once

// Draws bomb `index` at its position. Called outside any glBegin/glEnd pair;
// leaves the matrix stack as it found it.
void draw_bomb(int index);
