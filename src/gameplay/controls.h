// The keyboard controls, applied once per logic tick.
#pragma once

#include "input/tick_actions.h"

// Polls the keyboard, fills the tick's actions and turns them, with the live
// Shift and the keys no recording keeps, into changes of the game state.
void apply_controls();
