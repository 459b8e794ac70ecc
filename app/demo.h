// Demo playback state: the input record of the current tick.
#pragma once

#include <array>
#include <cstdint>

constexpr int DEMO_LAST_RECORD = 2499;
constexpr int INPUT_RECORD_SIZE = 10;
constexpr std::uint8_t INPUT_PRESSED = 0xFF;

// One byte per recorded key (up, down, left, right, left shift, Z, X, page up,
// page down, F); 0 released, non-zero pressed. Stays all 0 in play mode.
extern std::array<std::uint8_t, INPUT_RECORD_SIZE> input_record;
