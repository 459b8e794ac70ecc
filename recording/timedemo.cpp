// Frames are timed end to end: from the end of one flip to the end of the
// next, so the figure holds the tick, the drawing, the flip and the loop.
#include "recording/timedemo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/demo.h"
#include "app/main_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimedemoHooks : public LoopHooks {
public:
    explicit TimedemoHooks(std::vector<double>& frame_ms) : frame_ms_(frame_ms) {}

    void end_of_round() override
    {
        const Clock::time_point now = Clock::now();
        frame_ms_.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }

private:
    std::vector<double>& frame_ms_;
    Clock::time_point last_ = Clock::now();
};

} // namespace

void play_timedemo(std::vector<double>& frame_ms)
{
    frame_ms.clear();
    frame_ms.reserve(DEMO_LAST_RECORD); // nothing is allocated while frames are timed
    TimedemoHooks hooks(frame_ms);
    run_loop(LoopScene::game, LoopClock::driven, FrameEnd::flip, hooks);
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
