// The building map drawn from the loaded scenery, and the Carrier's route that
// both the land and the map keep clear.
#pragma once

#include <allegro.h>

// Fills the 1250 x 1250 map: red 255 (open ground) everywhere, the Carrier's
// route tinted as a road for the minimap, then every part that blocks
// (scenery_part_blocks) at the height of its drawn top over each pixel's
// centre, rounded to whole units.
void draw_building_map(BITMAP* map);
