// The game started for a benchmark from the build folder, its logic ticks
// left to the benchmark to run and its flips never held for the screen.
#pragma once

#include <string>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "display/vsync.h"
#include "game/timers.h"
#include "input/tick_actions.h"

inline bool start_bench_game()
{
    const std::string game_path = std::string(BENCH_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return false;
    remove_int(tick_callback);
    use_vsync(false); // frames as fast as they come, to be timed
    return true;
}

// One logic tick with its actions read as the game reads them.
inline void bench_tick()
{
    logic_step(read_tick_actions(game_tick_source()));
}
