// The timedemo's figures, from the frame times alone.
#include "recording/timedemo_figures.h"

#include <algorithm>
#include <cstdio>
#include <functional>

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
    const TimedemoFigures f = summarise_frame_times(frame_ms);
    char figures[200];
    std::snprintf(figures, sizeof figures,
                  "# frames %d, seconds %.3f, average_fps %.3f, one_percent_low %.3f, slowest_ms %.3f\n", f.frames,
                  f.seconds, f.average_fps, f.one_percent_low, f.slowest_ms);
    std::string csv = figures;
    csv += "tick,milliseconds\n";
    char row[48];
    for (std::size_t i = 0; i < frame_ms.size(); ++i) {
        std::snprintf(row, sizeof row, "%zu,%.3f\n", i + 1, frame_ms[i]);
        csv += row;
    }
    return csv;
}
