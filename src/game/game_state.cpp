// The game's one state record. Constant-initialised, so it holds its defaults
// before any code runs, timer thread included.
#include "game/game_state.h"

constinit GameState game;
