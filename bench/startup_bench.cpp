// Time from process start to the first drawn frame, through the game's own
// start-up and the start of its sound (as the game starts it after start-up),
// split by step, with the game's own code inside the steps (the datafile
// check, the colour tables, the effects' synthesis) measured again on its own.
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
#include "game/datafile_check.h"
#include "sound/sound.h"
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
    const Clock::time_point sound_start = Clock::now();
    const bool sound_on = start_sound();
    const double sound_ms = ms_since(sound_start);
    const SoundStartSplit sound_split = sound_start_split;
    place_player_for_mode();
    const Clock::time_point frame = Clock::now();
    draw_frame();
    glFinish();
    const double draw_ms = ms_since(frame);
    const double first_frame_ms = ms_since(start);
    const StartupSplit split = startup_split;

    // The game's own code within the steps, measured again on its own.
    const Clock::time_point check = Clock::now();
    const bool sound = datafile_is_sound((std::string(BENCH_BUILD_DIR) + "/height.dat").c_str());
    const double check_ms = ms_since(check);
    PALETTE palette;
    build_startup_palette(palette);
    static RGB_MAP rgb;
    static COLOR_MAP light;
    const Clock::time_point tables = Clock::now();
    create_rgb_table(&rgb, palette, null_progress);
    rgb_map = &rgb;
    create_light_table(&light, palette, 0, 0, 0, null_progress);
    const double colour_tables_ms = ms_since(tables);
    shut_down();
    const double own_ms = check_ms + split.tables_ms + split.rest_ms + sound_split.synthesis_ms;
    const double total_ms = age_at_main + first_frame_ms;

    std::printf("\nstart-up to the first drawn frame, by step\n");
    std::printf("  process start to main:      %8.1f ms (10 ms resolution)\n", age_at_main);
    std::printf("  display and OpenGL context: %8.1f ms  Allegro's X11 and GLX drivers, Mesa\n", split.display_ms);
    std::printf("  datafile:                   %8.1f ms  the game's check %.1f ms%s, the rest the library's loader\n",
                split.datafile_ms, check_ms, sound ? "" : " (REFUSED the file)");
    std::printf("  font and textures:          %8.1f ms  AllegroGL's font and two textures; Mesa's first mipmaps "
                "compile its code\n",
                split.font_textures_ms);
    std::printf("  tables:                     %8.1f ms  the game's: colour tables %.1f ms, model and hit tables\n",
                split.tables_ms, colour_tables_ms);
    std::printf("  the rest:                   %8.1f ms  the game's: GL state, terrain, scenery, timers, fog, demo\n",
                split.rest_ms);
    std::printf("  sound:                      %8.1f ms  the device %.1f ms%s, the effects made %.1f ms (the game's), "
                "the voices %.1f ms\n",
                sound_ms, sound_split.device_ms, sound_on ? "" : " (NONE: no sound device)", sound_split.synthesis_ms,
                sound_split.voices_ms);
    std::printf("  first frame:                %8.1f ms\n", draw_ms);
    std::printf("  total:                      %8.1f ms\n", total_ms);
    std::printf("  the game's own code:        %8.1f ms  (the check, the tables, the rest, the effects; measured again "
                "on their own where marked)\n",
                own_ms);
    std::printf("  start-up steps together:    %8.1f ms, and the sound's %.1f ms\n", start_up_ms, sound_ms);
    if (argc > 1) {
        if (std::FILE* summary = std::fopen(argv[1], "a")) {
            std::fprintf(summary,
                         "start-up to the first drawn frame: display and OpenGL context, datafile, font and textures, "
                         "tables, the rest, sound, first frame\t%.0f ms: %.0f, %.0f, %.0f, %.1f, %.1f, %.1f, %.0f; the "
                         "game's own code %.1f ms\t(none: figure only)\t-\n",
                         total_ms, split.display_ms, split.datafile_ms, split.font_textures_ms, split.tables_ms,
                         split.rest_ms, sound_ms, draw_ms, own_ms);
            std::fprintf(summary,
                         "start-up of sound: the device, the effects made, the voices\t%.1f ms: %.1f, %.1f, %.1f\tunder "
                         "20 ms\t%s\n",
                         sound_ms, sound_split.device_ms, sound_split.synthesis_ms, sound_split.voices_ms,
                         sound_ms < 20.0 ? "yes" : "NO");
            std::fclose(summary);
        }
    }
    return 0;
}
