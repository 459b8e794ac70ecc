// The demo banner picture (datafile object 3, 527 x 150): the game's name and
// a keyboard whose keys lie under the HUD's ten input indicators.
#pragma once

#include <allegro.h>

// The caption beside the name, in the library's 8-pixel font, at its top left
// corner in the picture's pixels; the recorder writes its own over it.
constexpr const char* BANNER_CAPTION = "demo playback";
constexpr int BANNER_CAPTION_X = 230;
constexpr int BANNER_CAPTION_Y = 14;

void draw_banner(BITMAP* banner);
