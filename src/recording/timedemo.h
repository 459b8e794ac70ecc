// The timedemo: a recording played one logic tick per drawn frame, as fast as
// the frames come, timing each frame.
#pragma once

#include <vector>

#include "recording/timedemo_figures.h"

// Plays the demo stream the driven demo opened, from its first record to its
// last (or until Escape), one tick and one frame at a time; frame_ms receives
// each frame's milliseconds: its tick, its drawing and its flip.
void play_timedemo(std::vector<double>& frame_ms);
