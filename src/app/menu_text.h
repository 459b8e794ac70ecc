// Writing the menus' words in their font, placed in pixels of the 800 x 600
// picture rather than in the text's perspective view, and the shade laid
// under the options screen's words.
#pragma once

#include "world/hud.h"

// The size of the title menu's own entries, in pixels, and of the options
// screen's small lines.
constexpr float MENU_TEXT_SIZE = 34.0f;
constexpr float OPTIONS_SMALL_TEXT = 14.0f;

// The colour of what the options screen says of a change.
constexpr ByteColour OPTIONS_WORD_COLOUR = {255, 255, 160};

// Text whose letters are `size` pixels tall, the top of its first letter at
// (x, y) pixels from the picture's top left. Between begin_text_overlay and
// end_text_overlay.
void draw_menu_text(float x, float y, float size, const ByteColour& colour, const char* text);

// Darkens the whole picture by `share` (0..1), so that words stand out from
// the fly-over or the game behind them.
void shade_picture(float share);
