// Time from process start to the first drawn frame, through the game's own
// start-up, with the share of the two colour tables measured on their own.
// With a file name as argument, the total is also written there as a row of
// "what<TAB>figure<TAB>target<TAB>met" for the summary of "make bench".
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include <allegro.h>
#include <alleggl.h>

#include "app/startup.h"
#include "world/frame.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds this process has existed, from the kernel's start time.
double process_age_ms()
{
    std::ifstream stat("/proc/self/stat");
    std::string field;
    unsigned long long start_ticks = 0;
    for (int i = 1; i <= 22 && stat >> field; ++i)
        if (i == 22)
            start_ticks = std::stoull(field);
    std::ifstream uptime_file("/proc/uptime");
    double uptime_s = 0.0;
    uptime_file >> uptime_s;
    return (uptime_s - double(start_ticks) / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

void null_progress(int) {}

} // namespace

int main(int argc, char** argv)
{
    const double age_at_main = process_age_ms();
    const Clock::time_point start = Clock::now();
    const std::string game = std::string(BENCH_BUILD_DIR) + "/ironstep";
    if (start_up(game.c_str()) != EXIT_NORMAL) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    const double start_up_ms = ms_since(start);
    place_player_for_mode();
    draw_frame();
    glFinish();
    const double first_frame_ms = ms_since(start);

    PALETTE palette;
    build_startup_palette(palette);
    static RGB_MAP rgb;
    static COLOR_MAP light;
    const Clock::time_point tables = Clock::now();
    create_rgb_table(&rgb, palette, null_progress);
    rgb_map = &rgb;
    create_light_table(&light, palette, 0, 0, 0, null_progress);
    const double tables_ms = ms_since(tables);
    shut_down();

    std::printf("\nstart-up to first drawn frame\n");
    std::printf("  process start to main:      %8.1f ms (10 ms resolution)\n", age_at_main);
    std::printf("  start-up steps:             %8.1f ms\n", start_up_ms);
    std::printf("  first frame drawn:          %8.1f ms after main\n", first_frame_ms);
    std::printf("  total:                      %8.1f ms\n", age_at_main + first_frame_ms);
    std::printf("  the two colour tables:      %8.1f ms (measured again on their own)\n", tables_ms);
    if (argc > 1) {
        if (std::FILE* summary = std::fopen(argv[1], "a")) {
            std::fprintf(summary, "start-up to the first drawn frame\t%.0f ms\t(none: figure only)\t-\n",
                         age_at_main + first_frame_ms);
            std::fclose(summary);
        }
    }
    return 0;
}
