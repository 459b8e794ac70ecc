// Demo playback.
#include "app/demo.h"

std::array<std::uint8_t, INPUT_RECORD_SIZE> input_record = {};
