// The keyboard controls, applied once per logic tick.
#pragma once

#include "input/tick_actions.h"

// Turns the tick's actions (tick_actions), with the keyboard's Shift and the
// keys no recording keeps, into changes of the game state.
void apply_controls();
