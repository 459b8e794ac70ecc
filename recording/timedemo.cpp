// Frames are timed end to end: from the end of one flip to the end of the
// next, so the figure holds the tick, the drawing, the flip and the loop.
#include "recording/timedemo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/demo.h"
#include "app/main_loop.h"
#include "app/timers.h"
#include "recording/driven_demo.h"
#include "world/frame.h"

void play_timedemo(std::vector<double>& frame_ms)
{
    using Clock = std::chrono::steady_clock;
    frame_ms.clear();
    frame_ms.reserve(DEMO_LAST_RECORD); // nothing is allocated while frames are timed
    Clock::time_point last = Clock::now();
    for (int tick = 1;; ++tick) {
        advance_clock_one_tick(tick);
        logic_step();
        frame_counter.fetch_add(1);
        draw_frame();
        const Clock::time_point now = Clock::now();
        frame_ms.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
        if (game_should_end())
            return;
    }
}

TimedemoFigures summarise_frame_times(const std::vector<double>& frame_ms)
{
    TimedemoFigures f;
    f.frames = int(frame_ms.size());
    if (f.frames == 0)
        return f;
    double total_ms = 0.0;
    for (double ms : frame_ms)
        total_ms += ms;
    f.seconds = total_ms / 1000.0;
    f.average_fps = f.frames / f.seconds;
    std::vector<double> slowest = frame_ms;
    std::sort(slowest.begin(), slowest.end(), std::greater<>());
    const int low_count = (f.frames + 99) / 100;
    double low_ms = 0.0;
    for (int i = 0; i < low_count; ++i)
        low_ms += slowest[std::size_t(i)];
    f.one_percent_low = 1000.0 * low_count / low_ms;
    f.slowest_ms = slowest[0];
    return f;
}

std::string describe_timedemo(const TimedemoFigures& f)
{
    char text[200];
    std::snprintf(text, sizeof text,
                  "%d frames in %.2f s: %.2f frames per second on average, 1 %% low %.2f, slowest frame %.2f ms",
                  f.frames, f.seconds, f.average_fps, f.one_percent_low, f.slowest_ms);
    return text;
}

std::string frame_times_csv(const std::vector<double>& frame_ms)
{
    std::string csv = "tick,milliseconds\n";
    char row[48];
    for (std::size_t i = 0; i < frame_ms.size(); ++i) {
        std::snprintf(row, sizeof row, "%zu,%.3f\n", i + 1, frame_ms[i]);
        csv += row;
    }
    return csv;
}
