// Development aid: starts the game's world as "make run" would, runs a number
// of logic ticks with the given keys held, and saves the composed frame as a
// BMP file. Usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]]
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <allegro.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "devtools/frame_picture.h"
#include "game/timers.h"
#include "world/frame.h"

namespace {

// A whole number from low to high, or false.
bool read_number(const char* text, long low, long high, int& number)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < low || value > high)
        return false;
    number = int(value);
    return true;
}

constexpr long MOST_TICKS = 1000000;

} // namespace

int main(int argc, char** argv)
{
    // Allegro's key codes run from 1 to KEY_MAX - 1; key[] holds KEY_MAX.
    int ticks = 1;
    int keys[KEY_MAX];
    bool usable = argc >= 2 && (argc < 3 || read_number(argv[2], 0, MOST_TICKS, ticks)) && argc - 3 < KEY_MAX;
    for (int a = 3; usable && a < argc; ++a)
        usable = read_number(argv[a], 1, KEY_MAX - 1, keys[a - 3]);
    if (!usable) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]] (ticks 0 to %ld, key codes 1 to %d)\n",
                     MOST_TICKS, KEY_MAX - 1);
        return 2;
    }
    const std::string game_path = std::string(DEVTOOLS_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return 1;
    remove_int(tick_callback);
    place_player_for_mode();
    for (int i = 0; i < ticks; ++i) {
        for (int a = 3; a < argc; ++a)
            key[keys[a - 3]] = 1;
        logic_step(read_tick_actions(game_tick_source()));
    }
    compose_frame();

    const bool saved = save_frame_picture(argv[1]);
    shut_down();
    return saved ? 0 : 1;
}
END_OF_MAIN()
