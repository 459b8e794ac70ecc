// The overlays drawn over the 3D scene in screen pixels: the viewport frame,
// the gunsight, the health pie, the minimap, the demo banner and the frame
// rate.
#pragma once

// Draws every overlay and leaves the GL state the next frame expects: depth
// test on, blending one, zero, smooth shading, no texture bound.
void draw_hud();

// The player's health as a translucent pie in the bottom-left corner.
void draw_health_disk();

// The building map around the player, tinted, in the bottom-right corner.
void draw_minimap();

// The demo banner across the top, with the keys the demo presses lit.
void draw_demo_banner();
