// Resources that start-up acquires and every later subsystem reads.
#pragma once

#include <cstdio>

#include <allegro.h>
#include <alleggl.h>

// Object indices of "height.dat".
enum GameDataObject {
    TERRAIN_HEIGHT_BITMAP = 0,
    TERRAIN_COLOUR_BITMAP = 1,
    BUILDING_MAP_BITMAP = 2,
    BANNER_BITMAP = 3,
    GAME_DATA_OBJECTS = 4,
};

extern DATAFILE* game_data;
extern FONT* hud_font;
extern GLuint minimap_texture;
extern GLuint banner_texture;
extern FILE* demo_file;

// The bitmap at one index of game_data.
BITMAP* game_bitmap(GameDataObject index);
