// CPU per second of play: the showcase played at its real speed on the
// game's own 60 Hz timer for 20 s, through the game's own loop, its frames
// following the ticks; the process's CPU time (every thread: the game's,
// Mesa's drawing threads, Allegro's timer and input threads) per second of
// play, against 60 times the median CPU cost of one round of a tick and a
// frame, the showcase played on the driven clock as the timedemo plays it.
// The two alternate in blocks of 5 s, so that whatever else the machine
// does falls on both alike; then 20 s unlimited, beside them. Sound is off
// (sound_bench times it). With a file name as argument,
// the headline figure is also written there as a row of
// "what<TAB>figure<TAB>target<TAB>met".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "bench/bench_game.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "input/demo.h"
#include "settings/settings.h"

namespace {

constexpr int TICKS = 1200; // 20 s of play
constexpr int BLOCKS = 4;
constexpr double TARGET = 1.25;

double cpu_ms()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double wall_ms()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The showcase from its start, as DEMO plays it.
bool start_showcase()
{
    use_demo_stream(std::fopen(BENCH_BUILD_DIR "/vesk", "rb"));
    if (demo_file == nullptr)
        return false;
    std::srand(1);
    game.demo_mode = 1;
    place_player_for_mode();
    return true;
}

// Counts the ticks and the frames of a run, and each round's CPU time.
class PlayHooks : public LoopHooks {
public:
    void after_tick() override { ++ticks; }
    void over_frame() override { ++frames; }
    bool after_round() override
    {
        const double now = cpu_ms();
        round_cpu_ms.push_back(now - last_);
        last_ = now;
        return ticks >= ticks_wanted;
    }

    int ticks_wanted = TICKS;
    int ticks = 0;
    int frames = 0;
    std::vector<double> round_cpu_ms;

private:
    double last_ = cpu_ms();
};

// Totals of play at real speed.
struct RealSpeed {
    double cpu_ms = 0.0, seconds = 0.0;
    int frames = 0, rounds = 0; // rounds of the loop, each a frame or a sleep
};

// The game's timers, as start-up installs them, for ticks of the showcase.
void play_at_real_speed(bool frames_follow_ticks, int ticks, RealSpeed& totals)
{
    settings.frames_follow_ticks = frames_follow_ticks;
    PlayHooks hooks;
    hooks.ticks_wanted = ticks;
    hooks.round_cpu_ms.reserve(std::size_t(ticks) * 100);
    game.pending_ticks.store(0);
    install_int(clock_callback, 1);
    install_int_ex(tick_callback, BPS_TO_TIMER(60));
    const double cpu_start = cpu_ms(), wall_start = wall_ms();
    run_loop({.input = {.source = TickSource::recording}, .player_keys = {.pause = true, .screenshot = true}}, hooks);
    totals.seconds += (wall_ms() - wall_start) / 1e3;
    totals.cpu_ms += cpu_ms() - cpu_start;
    totals.frames += hooks.frames;
    totals.rounds += int(hooks.round_cpu_ms.size());
}

// The CPU cost of rounds of one tick and one frame, played as fast as they
// come on the driven clock, as the timedemo plays.
void play_driven(int ticks, std::vector<double>& round_cpu_ms)
{
    drive_the_clock_by_hand();
    PlayHooks hooks;
    hooks.ticks_wanted = ticks;
    hooks.round_cpu_ms.reserve(std::size_t(ticks));
    run_loop({.clock = LoopClock::driven, .input = {.source = TickSource::recording}}, hooks);
    round_cpu_ms.insert(round_cpu_ms.end(), hooks.round_cpu_ms.begin(), hooks.round_cpu_ms.end());
}

} // namespace

int main(int argc, char** argv)
{
    if (!start_bench_game() || !start_showcase())
        return 1;
    RealSpeed paced, unlimited;
    std::vector<double> rounds;
    for (int block = 0; block < BLOCKS; ++block) {
        play_at_real_speed(true, TICKS / BLOCKS, paced);
        play_driven(TICKS / BLOCKS, rounds);
    }
    start_showcase();
    play_at_real_speed(false, TICKS, unlimited);
    shut_down();

    std::sort(rounds.begin(), rounds.end());
    const double round_ms = rounds[rounds.size() / 2];
    double sum = 0.0;
    for (const double ms : rounds)
        sum += ms;
    const double paced_ratio = paced.cpu_ms / paced.seconds / (60.0 * round_ms);
    const double unlimited_ratio = unlimited.cpu_ms / unlimited.seconds / (60.0 * round_ms);
    std::printf("\nCPU per second of play: the showcase at its real speed for %d s, every thread of the process\n",
                TICKS / 60);
    std::printf("  one tick and frame (median of %zu on the driven clock): %7.3f ms of CPU (mean %.3f)\n",
                rounds.size(), round_ms, sum / double(rounds.size()));
    const auto print = [](const char* what, const RealSpeed& r, double ratio) {
        std::printf("  %-27s %6.1f frames a second (%.0f rounds of the loop), %6.1f ms of CPU a second: %.3f x 60",
                    what, r.frames / r.seconds, r.rounds / r.seconds, r.cpu_ms / r.seconds, ratio);
    };
    print("frames following the ticks:", paced, paced_ratio);
    std::printf(" (target within %.2f)\n", TARGET);
    print("unlimited:", unlimited, unlimited_ratio);
    std::printf("\n");

    if (argc > 1) {
        if (std::FILE* summary = std::fopen(argv[1], "a")) {
            std::fprintf(summary,
                         "CPU per second of play, the showcase at real speed / 60 x one tick and frame\t"
                         "%.2f (%.0f frames a second; unlimited %.2f, %.0f frames a second)\twithin %.2f\t%s\n",
                         paced_ratio, paced.frames / paced.seconds, unlimited_ratio,
                         unlimited.frames / unlimited.seconds, TARGET,
                         paced_ratio <= TARGET ? "yes" : "NO");
            std::fclose(summary);
        }
    }
    return 0;
}
END_OF_MAIN()
