// Authoring aid for the demo script: plays a compiled recording through the
// real game, one logic tick per 60th of a second of a clock driven here (so
// the lock-on dwell and the hit timers run as in the game), and prints what
// the player, the Walker and the Carrier do. Only the frames that change the
// game are drawn (the close view's, where the lock-on is decided), and those
// saved as pictures at chosen ticks.
//
// Usage: demo_trace [-m MENU_TICKS] RECORDING [EVERY [SEED [TICK PICTURE.bmp]...]]
//   -m first runs the title menu's own step MENU_TICKS times, as a player who
//   chooses DEMO (Enter in the last step), so the Carrier has travelled as far
//   as that time in the menu takes it (default 0: fresh from start-up);
//   prints a line every EVERY ticks (default 60) and whenever the player
//   lands, takes off, boards or leaves the Carrier, fires, hits the Walker or
//   gains or loses a lock; SEED seeds the random numbers (default 1), before
//   the menu draws its own.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "app/title_menu.h"
#include "devtools/frame_picture.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "recording/demo_script_compiler.h"
#include "recording/driven_demo.h"

namespace {

struct Watched {
    int jump_active, riding, fire_charging, target_lock, view_mode;
    float walker_health;
    int player_health, walker_mode;
};

Watched watch()
{
    return {game.jump_active, game.carrier_riding, game.fire_charging, game.target_lock, game.view_mode,
            game.walker_health, game.player_health, game.walker_mode};
}

bool changed(const Watched& a, const Watched& b)
{
    return a.jump_active != b.jump_active || a.riding != b.riding || a.fire_charging != b.fire_charging ||
           a.target_lock != b.target_lock || a.view_mode != b.view_mode || a.walker_health != b.walker_health ||
           a.player_health != b.player_health || a.walker_mode != b.walker_mode;
}

void print_line(int tick)
{
    std::string keys;
    for (int i = 0; i < INPUT_RECORD_SIZE; ++i)
        if (pressed(tick_actions[std::size_t(i)]))
            keys += std::string(keys.empty() ? "" : ",") + ACTIONS[i].script_word;
    std::printf("%4d %-14s player %7.1f %5.1f %7.1f hd %5.1f hp %3d jump %d ride %d view %d lock %d charge %d | "
                "walker %7.1f %7.1f hp %4.1f mode %d | carrier %7.1f %7.1f wp %2d\n",
                tick, keys.empty() ? "-" : keys.c_str(), player_position.x, player_position.y, player_position.z,
                game.player_heading, game.player_health, game.jump_active, game.carrier_riding, game.view_mode,
                game.target_lock, game.fire_charging, game.walker_pos.x, game.walker_pos.z, game.walker_health,
                game.walker_mode, game.carrier_x, game.carrier_z, game.carrier_waypoint);
}

bool picture_due(int argc, char** argv, int pictures, int tick)
{
    for (int a = pictures; a + 1 < argc; a += 2)
        if (std::atoi(argv[a]) == tick)
            return true;
    return false;
}

// Only the close view's frames change the game (the lock-on), so only those
// and the pictures asked for are drawn; each round's lines follow its frame.
class TraceHooks : public LoopHooks {
public:
    TraceHooks(int argc, char** argv, int pictures, int every)
        : argc_(argc), argv_(argv), pictures_(pictures), every_(every), before_(watch())
    {
    }

    bool frame_wanted() override
    {
        return game.view_mode == 1 || picture_due(argc_, argv_, pictures_, driven_ticks);
    }

    bool after_round() override
    {
        const int tick = driven_ticks;
        const Watched now = watch();
        if (tick % every_ == 0 || changed(before_, now))
            print_line(tick);
        before_ = now;
        for (int i = 0; i < PROJECTILE_SLOTS; ++i)
            if (projectiles[i].exploded == 1 && projectiles[i].explosion_radius < 1.3f)
                std::printf("%4d shot %d bursts at %.1f %.1f %.1f\n", tick, i, projectiles[i].position.x,
                            projectiles[i].position.y, projectiles[i].position.z);
        for (int a = pictures_; a + 1 < argc_; a += 2)
            if (std::atoi(argv_[a]) == tick && !save_frame_picture(argv_[a + 1]))
                std::fprintf(stderr, "demo_trace: cannot save %s\n", argv_[a + 1]);
        return false;
    }

private:
    int argc_;
    char** argv_;
    int pictures_, every_;
    Watched before_;
};

} // namespace

int main(int argc, char** argv)
{
    static const char* const USAGE =
        "usage: demo_trace [-m MENU_TICKS] RECORDING [EVERY [SEED [TICK PICTURE.bmp]...]]\n";
    int menu_ticks = 0;
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "-m") {
        char* end = nullptr;
        const long n = std::strtol(argv[2], &end, 10);
        if (*argv[2] == '\0' || *end != '\0' || n < 0 || n > 1000000) {
            std::fprintf(stderr, "%s", USAGE);
            return 2;
        }
        menu_ticks = int(n);
        first = 3;
    }
    if (argc <= first || std::string(argv[first]).starts_with("-")) {
        std::fprintf(stderr, "%s", USAGE);
        return 2;
    }
    const char* const recording = argv[first];
    const int every = argc > first + 1 ? std::max(1, std::atoi(argv[first + 1])) : 60;
    const unsigned seed = argc > first + 2 ? unsigned(std::atoi(argv[first + 2])) : 1u;
    const int pictures = first + 3;
    const std::string game_path = std::string(DEVTOOLS_BUILD_DIR) + "/ironstep";
    if (const std::string fault = start_driven_demo(game_path.c_str(), recording, seed, menu_ticks); !fault.empty()) {
        std::fprintf(stderr, "demo_trace: %s\n", fault.c_str());
        return 1;
    }
    std::printf("after %d menu ticks: carrier %.1f %.1f wp %d\n", menu_ticks, game.carrier_x, game.carrier_z,
                game.carrier_waypoint);

    TraceHooks hooks(argc, argv, pictures, every);
    run_loop({.clock = LoopClock::driven, .frame_end = FrameEnd::compose, .input = {.source = TickSource::recording}},
             hooks);
    shut_down();
    return 0;
}
END_OF_MAIN()
