// Bringing the game up and down again.
#pragma once

#include <allegro.h>

#include "display/screen_fit.h"

// Exit statuses of the game.
constexpr int EXIT_NORMAL = 0;
constexpr int EXIT_NO_GRAPHICS = 1;
constexpr int EXIT_NO_DATAFILE = 12;

// The whole game: start-up, title menu, main loop, shutdown. The data is read
// from beside the running program; the result is the exit status.
int run_game();

// Start-up up to the title menu: libraries, colour tables, display, datafile,
// OpenGL state, font, textures, tables, timers and the demo file. The data is
// read from the folder of executable, or of the running program when it is
// nullptr (tests and tools name the game they stand beside). Returns
// EXIT_NORMAL when the game can go on, else the exit status to end with.
int start_up(const char* executable);

// Milliseconds the steps of the last start_up took, for the start-up
// benchmark; measuring them changes nothing start-up does.
struct StartupSplit {
    double display_ms = 0.0;       // Allegro and its drivers, the display and the OpenGL context
    double datafile_ms = 0.0;      // reading and checking height.dat
    double font_textures_ms = 0.0; // the font's glyph textures, the minimap and banner textures
    double tables_ms = 0.0;        // the two colour tables and the model and hit tables
    double rest_ms = 0.0;          // GL state, terrain, scenery, timers, fog, the demo file
};
extern StartupSplit startup_split;

// The display the player asked for: IRONSTEP_WINDOW and IRONSTEP_SCALING;
// above them a window or a scale the settings ask for; above all, --window
// or --fullscreen. A scale asked for with full screen is the window's that
// F11 opens. The scaling is the setting's unless IRONSTEP_SCALING is set. A
// value the variables do not take is said on standard error.
DisplayChoice display_choice();

// Places the player at the start point of the chosen mode and drops the ticks
// counted so far.
void place_player_for_mode();

// Releases what start-up acquired.
void shut_down();

// The palette from which the two colour tables are built: 0 black, 1..63 the
// desktop palette, then ramps of red, green and grey.
void build_startup_palette(PALETTE palette);

// Progress callback of the two colour tables: fills the bar with one star for
// every four positions reported so far, 64 stars at position 255.
void report_table_progress(int pos);

