// One frame per tick: on the game's timers a frame is drawn only once a tick
// has run since the last one, and until the next tick is due the game
// sleeps. Drawing more would show the same world again.
#pragma once

#include <cstdint>

constexpr std::int64_t TICK_US = 1'000'000 / 60;
// A tick a little late is waited for in naps this long, never in a spin.
constexpr std::int64_t NAP_US = 500;

// What a round of the loop does about its frame.
struct FrameStep {
    bool draw;
    std::int64_t sleep_us; // when not drawing, before the next round
};

// Draws when unlimited or once a tick has run since the last frame; else
// sleeps until the tick after last_tick_us is due, at least a nap and at
// most a tick. The times are microseconds of one clock.
FrameStep pace_frame(bool unlimited, int ticks_since_frame, std::int64_t now_us, std::int64_t last_tick_us);

struct FramePacing {
    bool unlimited = false;
    int ticks_since_frame = 1; // a loop's first frame is drawn at once
};

// Once a round, after its ticks: true when this round's frame is due (a
// paused round's always is, the pause resting by itself), else sleeps as
// pace_frame says and returns false.
bool frame_due(FramePacing& pacing, int ticks_run, bool paused);
