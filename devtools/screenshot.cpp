// Development aid: starts the game's world as "make run" would, runs a number
// of logic ticks with the given keys held, and saves the composed frame as a
// BMP file. Usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "devtools/frame_picture.h"
#include "game/timers.h"
#include "world/frame.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]]\n");
        return 2;
    }
    const std::string game_path = std::string(DEVTOOLS_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return 1;
    remove_int(tick_callback);
    place_player_for_mode();
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int i = 0; i < ticks; ++i) {
        for (int a = 3; a < argc; ++a)
            key[std::atoi(argv[a])] = 1;
        logic_step(read_tick_actions(game_tick_source()));
    }
    compose_frame();

    const bool saved = save_frame_picture(argv[1]);
    shut_down();
    return saved ? 0 : 1;
}
END_OF_MAIN()
