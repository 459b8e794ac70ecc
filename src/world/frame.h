// Composing and presenting one frame of the running game (or of the menu).
#pragma once

// Draws the whole frame and puts it on the window (display/present.h).
void draw_frame();

// The terrain and the town's scenery, in the camera set up.
void draw_land_and_town();

// Draws the whole frame into the back buffer without presenting it.
void compose_frame();

// Shows the composed back buffer on the screen.
void show_frame();
