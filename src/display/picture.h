// The game's own picture: every frame is composed at 800 x 600 in the bottom
// left of the window, whatever the screen, and then scaled to fit it. The HUD,
// the viewport keys, the lock-on search and the banner work in these pixels.
#pragma once

#include <allegro.h>

constexpr int PICTURE_WIDTH = 800;
constexpr int PICTURE_HEIGHT = 600;
// The depth buffer's bits the picture is composed with, in the window or in
// a framebuffer object of its own.
constexpr int PICTURE_DEPTH_BITS = 16;

// The picture's size as the game's rules read it: 800 x 600 once a graphics
// mode is set, 0 x 0 before, as the screen's own size read then.
inline int picture_width()
{
    return gfx_driver != nullptr ? PICTURE_WIDTH : 0;
}

inline int picture_height()
{
    return gfx_driver != nullptr ? PICTURE_HEIGHT : 0;
}
