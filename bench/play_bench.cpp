// CPU per second of play: the showcase played at its real speed on the
// game's own 60 Hz timer for 20 s, through the game's own loop, first with
// its frames following the ticks and then unlimited; the process's CPU time
// (every thread: the game's, Mesa's drawing threads, Allegro's timer thread)
// per second of play, against 60 times the median CPU cost of one round of
// a tick and a frame, the showcase played on the driven clock in the same
// run. Sound is off (sound_bench times it). With a file name as argument,
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
    void end_of_round() override
    {
        const double now = cpu_ms();
        round_cpu_ms.push_back(now - last_);
        last_ = now;
    }
    bool should_end() override { return ticks >= TICKS; }

    int ticks = 0;
    int frames = 0;
    std::vector<double> round_cpu_ms;

private:
    double last_ = cpu_ms();
};

struct RealSpeed {
    double cpu_per_second_ms; // CPU milliseconds per second of play
    double frames_per_second;
    double rounds_per_second; // of the loop, each a frame or a sleep
};

RealSpeed play_at_real_speed(bool frames_follow_ticks)
{
    settings.frames_follow_ticks = frames_follow_ticks;
    PlayHooks hooks;
    hooks.round_cpu_ms.reserve(TICKS * 100);
    game.pending_ticks.store(0);
    install_int_ex(tick_callback, BPS_TO_TIMER(60));
    const double cpu_start = cpu_ms(), wall_start = wall_ms();
    run_loop(LoopScene::game, LoopClock::timers, FrameEnd::flip, hooks);
    const double seconds = (wall_ms() - wall_start) / 1e3;
    const double cpu = cpu_ms() - cpu_start;
    remove_int(tick_callback);
    return {cpu / seconds, hooks.frames / seconds, double(hooks.round_cpu_ms.size()) / seconds};
}

struct RoundCost {
    double median_ms, mean_ms;
};

// The CPU cost of a round of one tick and one frame, played as fast as they
// come on the driven clock, as the timedemo plays.
RoundCost round_cpu_ms()
{
    drive_the_clock_by_hand();
    PlayHooks hooks;
    hooks.round_cpu_ms.reserve(TICKS);
    run_loop(LoopScene::game, LoopClock::driven, FrameEnd::flip, hooks);
    std::vector<double>& rounds = hooks.round_cpu_ms;
    std::sort(rounds.begin(), rounds.end());
    double sum = 0.0;
    for (const double ms : rounds)
        sum += ms;
    return {rounds[rounds.size() / 2], sum / double(rounds.size())};
}

} // namespace

int main(int argc, char** argv)
{
    if (!start_bench_game() || !start_showcase())
        return 1;
    const RealSpeed paced = play_at_real_speed(true);
    start_showcase();
    const RealSpeed unlimited = play_at_real_speed(false);
    start_showcase();
    const RoundCost round = round_cpu_ms();
    const double round_ms = round.median_ms;
    shut_down();

    const double paced_ratio = paced.cpu_per_second_ms / (60.0 * round_ms);
    const double unlimited_ratio = unlimited.cpu_per_second_ms / (60.0 * round_ms);
    std::printf("\nCPU per second of play: the showcase at its real speed for %d s, every thread of the process\n",
                TICKS / 60);
    std::printf("  one tick and frame (median of %d on the driven clock): %7.3f ms of CPU (mean %.3f)\n", TICKS,
                round_ms, round.mean_ms);
    std::printf("  frames following the ticks: %6.1f frames a second (%.0f rounds of the loop), %6.1f ms of CPU a "
                "second: %.3f x 60 (target within %.2f)\n",
                paced.frames_per_second, paced.rounds_per_second, paced.cpu_per_second_ms, paced_ratio, TARGET);
    std::printf("  unlimited:                  %6.1f frames a second (%.0f rounds of the loop), %6.1f ms of CPU a "
                "second: %.3f x 60\n",
                unlimited.frames_per_second, unlimited.rounds_per_second, unlimited.cpu_per_second_ms,
                unlimited_ratio);

    if (argc > 1) {
        if (std::FILE* summary = std::fopen(argv[1], "a")) {
            std::fprintf(summary,
                         "CPU per second of play, the showcase at real speed / 60 x one tick and frame\t"
                         "%.2f (%.0f frames a second; unlimited %.2f, %.0f frames a second)\twithin %.2f\t%s\n",
                         paced_ratio, paced.frames_per_second, unlimited_ratio, unlimited.frames_per_second, TARGET,
                         paced_ratio <= TARGET ? "yes" : "NO");
            std::fclose(summary);
        }
    }
    return 0;
}
END_OF_MAIN()
