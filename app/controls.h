// The keyboard controls, applied once per logic tick.
#pragma once

#include <array>

#include "app/demo.h"

// The keys of the demo input record, in record byte order (Allegro key codes).
extern const std::array<int, INPUT_RECORD_SIZE> RECORDED_KEYS;

// Polls the keyboard and turns the keys held in this tick into changes of the
// game state. In demo mode the recorded input replaces the live keys first
// (all but Escape; Shift always comes from the live keyboard).
void apply_controls();
