// What sound costs the game: frames and ticks of a busy scene (the Walker
// chasing, the Flyer bombing, the Carrier on its route) timed with sound off
// and on, in alternating blocks so that whatever else the machine does falls
// on both alike. With sound on, Allegro's sound thread mixes the sounds the
// ticks start into the default ALSA device (make bench points it at the null
// device), and each tick is followed by the step that hears it. With a file
// name as argument, the headline ratios are also written there as rows of
// "what<TAB>figure<TAB>target<TAB>met".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "bench/bench_game.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "sound/sound.h"
#include "world/frame.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int BLOCKS = 40;
constexpr int FRAMES_PER_BLOCK = 20;
constexpr double TICK_MS = 100.0 / 6.0; // game clock units are tenths of a second; a tick is 1/60 s

double ms_between(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Times {
    std::vector<double> frame_ms, tick_ms, hearing_ms;
    double other_threads_cpu_ms = 0.0; // CPU time of every thread but this one
    double wall_ms = 0.0;
};

double cpu_ms(clockid_t clock)
{
    timespec t;
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// One frame of play: a tick (heard, when sound is on) and the drawing.
void play_frame(bool sound, Times& t)
{
    game.game_clock = game.game_clock + float(TICK_MS / 100.0);
    const Clock::time_point start = Clock::now();
    bench_tick();
    const Clock::time_point ticked = Clock::now();
    if (sound)
        sound_after_tick();
    const Clock::time_point heard = Clock::now();
    frame_counter.fetch_add(1);
    compose_frame();
    glFinish();
    const Clock::time_point drawn = Clock::now();
    t.tick_ms.push_back(ms_between(start, heard));
    t.frame_ms.push_back(ms_between(start, drawn));
    if (sound)
        t.hearing_ms.push_back(ms_between(ticked, heard));
}

void summary_row(std::FILE* out, const char* what, double ratio)
{
    if (out != nullptr)
        std::fprintf(out, "%s\t%.3f\twithin 1.02\t%s\n", what, ratio, ratio <= 1.02 ? "yes" : "NO");
}

} // namespace

int main(int argc, char** argv)
{
    if (!start_bench_game())
        return 1;
    remove_int(clock_callback);
    // Between the Walker's range and the Flyer's pad: both come for the player.
    game.demo_mode = 0;
    place_player_for_mode();
    player_position = {1700.0f, terrain_height_at(1700.0f, 1200.0f), 1200.0f};
    player_proposed_xz = {player_position.x, player_position.z};
    for (int i = 0; i < 600; ++i) {
        game.game_clock = game.game_clock + float(TICK_MS / 100.0);
        bench_tick();
    }
    if (!start_sound()) {
        std::fprintf(stderr, "sound_bench: no sound device: nothing to compare\n");
        shut_down();
        return 1;
    }
    stop_sound();

    // The other threads are Mesa's drawing threads, and with sound on
    // Allegro's sound thread: the difference between the two is the mixing.
    Times off, on;
    for (int block = 0; block < BLOCKS; ++block) {
        const bool sound = block % 2 == 1;
        Times& t = sound ? on : off;
        if (sound)
            start_sound();
        const double others = cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - cpu_ms(CLOCK_THREAD_CPUTIME_ID);
        const Clock::time_point start = Clock::now();
        for (int f = 0; f < FRAMES_PER_BLOCK; ++f)
            play_frame(sound, t);
        t.wall_ms += ms_between(start, Clock::now());
        t.other_threads_cpu_ms += cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - cpu_ms(CLOCK_THREAD_CPUTIME_ID) - others;
        if (sound)
            stop_sound();
    }
    const bool hunting = game.flyer_flying == 1 && game.walker_alive == 1;
    shut_down();

    const double frame_off = median(off.frame_ms), frame_on = median(on.frame_ms);
    const double tick_off = median(off.tick_ms), tick_on = median(on.tick_ms);
    const double hearing = median(on.hearing_ms);
    std::printf("\nsound: frames and ticks of play with the Walker %s and the Flyer %s (median of %d each)\n",
                hunting ? "chasing" : "about", hunting ? "airborne" : "about", BLOCKS / 2 * FRAMES_PER_BLOCK);
    std::printf("  frame (tick and drawing), sound off:  %8.3f ms\n", frame_off);
    std::printf("  frame (tick and drawing), sound on:   %8.3f ms\n", frame_on);
    std::printf("  ratio:                                %8.3f (target within 1.02)\n", frame_on / frame_off);
    std::printf("  tick, sound off:                      %8.4f ms\n", tick_off);
    std::printf("  tick and its hearing, sound on:       %8.4f ms\n", tick_on);
    std::printf("  ratio:                                %8.3f\n", tick_on / tick_off);
    std::printf("  the hearing alone (sound_after_tick): %8.4f ms a tick\n", hearing);
    const double mixing = on.other_threads_cpu_ms / on.wall_ms - off.other_threads_cpu_ms / off.wall_ms;
    std::printf("  the sound thread's mixing:            %8.1f %% of a core (the other threads' CPU, on less off)\n",
                100.0 * mixing);
    std::printf("  start-up of sound: the device %.1f ms, the effects made %.1f ms\n", sound_start_split.device_ms,
                sound_start_split.synthesis_ms);

    std::FILE* summary = argc > 1 ? std::fopen(argv[1], "a") : nullptr;
    summary_row(summary, "frame of play with sound on / off", frame_on / frame_off);
    if (summary != nullptr) {
        std::fprintf(summary, "tick with its hearing / tick, sound off\t%.3f (%.4f ms against %.4f ms)\t(none: figure only)\t-\n",
                     tick_on / tick_off, tick_on, tick_off);
        std::fclose(summary);
    }
    return 0;
}
