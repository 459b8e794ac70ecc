// The demo banner picture (datafile object 3): the game's name and a keyboard
// whose keys lie under the HUD's lights of the recorded actions.
#pragma once

#include <allegro.h>

// The picture's size in its own pixels. The HUD stretches it across the
// screen's width and draws it at its own height.
constexpr int BANNER_WIDTH = 527;
constexpr int BANNER_HEIGHT = 150;

// The caption beside the name, in the library's 8-pixel font, at its top left
// corner in the picture's pixels; the recorder writes its own over it.
constexpr const char* BANNER_CAPTION = "demo playback";
constexpr int BANNER_CAPTION_X = 230;
constexpr int BANNER_CAPTION_Y = 14;

void draw_banner(BITMAP* banner);
