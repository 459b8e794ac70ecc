// The demo banner picture (datafile object 3, 527 x 150): the game's name and
// a keyboard whose keys lie under the HUD's ten input indicators.
#pragma once

#include <allegro.h>

void draw_banner(BITMAP* banner);
