// Composing and presenting one frame of the running game.
#pragma once

// Draws the whole frame and puts it on the window (display/present.h).
void draw_frame();

// Draws the whole frame into the back buffer without presenting it.
void compose_frame();
