// The overlays drawn over the 3D scene in screen pixels: the viewport frame,
// the gunsight, the health pie, the minimap, the demo banner and the frame
// rate.
#pragma once

// Colours that the HUD draws and that its tests and benchmark look for or
// draw again: bytes 0..255, and tints 0..1 with their alpha.
struct ByteColour {
    int red, green, blue;
};
struct Tint {
    float red, green, blue, alpha;
};

constexpr ByteColour FRAME_COLOUR = {64, 128, 196};
constexpr ByteColour FPS_TEXT_COLOUR = {200, 100, 50};
constexpr Tint HEALTH_LEFT_TINT = {0.5f, 0.5f, 0.15f, 0.25f};
constexpr Tint HEALTH_LOST_TINT = {0.5f, 0.0f, 0.15f, 0.45f};
constexpr Tint MINIMAP_TINT = {0.88f, 0.76f, 0.51f, 0.2f};
constexpr Tint BANNER_TINT = {0.35f, 0.55f, 0.8f, 0.6f};

// The text's small perspective view, in which the game writes with its font.
constexpr double TEXT_FOV = 48.0;
constexpr double TEXT_NEAR = 1.0;
constexpr double TEXT_FAR = 120.0;

// Loads the text's projection, with the camera's aspect, and leaves the
// model-view matrix current.
void load_text_projection();

// Text over the finished picture: the whole picture as the viewport, no depth
// test, blending by alpha and the text's projection; the end puts back the
// state the next frame expects.
void begin_text_overlay();
void end_text_overlay();

// The viewport's frame line, one pixel inside the 3D viewport's edge.
void draw_viewport_frame();

// Draws every overlay and leaves the GL state the next frame expects: depth
// test on, blending one, zero, smooth shading, no texture bound.
void draw_hud();

// The player's health as a translucent pie in the bottom-left corner.
void draw_health_disk();

// The building map around the player, tinted, in the bottom-right corner.
void draw_minimap();

// The demo banner across the top, with the keys the demo presses lit.
void draw_demo_banner();
