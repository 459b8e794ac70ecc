// The timedemo's figures: what a run of timed frames comes to.
#pragma once

#include <string>
#include <vector>

struct TimedemoFigures {
    int frames = 0;
    double seconds = 0.0;         // all frames together
    double average_fps = 0.0;     // frames / seconds
    double one_percent_low = 0.0; // frames per second over the slowest 1 % of frames (rounded up, at least one)
    double slowest_ms = 0.0;      // the slowest frame
};

TimedemoFigures summarise_frame_times(const std::vector<double>& frame_ms);

// "FRAMES frames in S s: A frames per second on average, 1 % low L, slowest frame M ms"
std::string describe_timedemo(const TimedemoFigures& figures);

// A comment line of the figures ("# frames F, seconds S, average_fps A,
// one_percent_low L, slowest_ms M"), "tick,milliseconds", then one row per
// frame, tick 1 first.
std::string frame_times_csv(const std::vector<double>& frame_ms);
