// Frames are timed end to end: from the end of one flip to the end of the
// next, so the figure holds the tick, the drawing, the flip and the loop.
#include "recording/timedemo.h"

#include <chrono>

#include "app/main_loop.h"
#include "display/vsync.h"
#include "input/demo.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimedemoHooks : public LoopHooks {
public:
    explicit TimedemoHooks(std::vector<double>& frame_ms) : frame_ms_(frame_ms) {}

    bool after_round() override
    {
        const Clock::time_point now = Clock::now();
        frame_ms_.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
        return false;
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
    use_vsync(false); // a benchmark: as many frames as the machine can draw
    run_loop({.clock = LoopClock::driven, .input = {.source = TickSource::recording}}, hooks);
}
