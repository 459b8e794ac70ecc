// The decision between a frame and a sleep, and the loop's round of it.
#include "app/frame_pacing.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "game/timers.h"

FrameStep pace_frame(bool unlimited, int ticks_since_frame, std::int64_t now_us, std::int64_t last_tick_us)
{
    if (unlimited || ticks_since_frame > 0)
        return {true, 0};
    return {false, std::clamp(last_tick_us + TICK_US - now_us, NAP_US, TICK_US)};
}

bool frame_due(FramePacing& pacing, int ticks_run, bool paused)
{
    pacing.ticks_since_frame += ticks_run;
    const FrameStep step =
        pace_frame(pacing.unlimited || paused, pacing.ticks_since_frame, steady_clock_us(), last_tick_us.load());
    if (step.draw) {
        // Drawn or not (a program may skip it), the next frame waits for a tick.
        pacing.ticks_since_frame = 0;
        return true;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(step.sleep_us));
    return false;
}
