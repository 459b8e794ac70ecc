// The game's timers are removed after start-up: the loop's driven clock moves
// the game's time instead, one tick a round.
#include "recording/driven_demo.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include <allegro.h>

#include "app/startup.h"
#include "app/title_menu.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "input/demo.h"
#include "input/demo_file_check.h"

int start_up_quietly(const char* executable)
{
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (saved >= 0 && sink != nullptr)
        dup2(fileno(sink), STDOUT_FILENO);
    const int status = start_up(executable);
    std::fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    if (sink != nullptr)
        std::fclose(sink);
    return status;
}

std::string start_up_fault(int status)
{
    if (status == EXIT_NO_GRAPHICS)
        return "the game could not start: no X display, or no OpenGL graphics mode";
    if (status == EXIT_NO_DATAFILE)
        return "the game could not start: its height.dat or scenery.txt is missing or unusable";
    return "the game could not start (status " + std::to_string(status) + ")";
}

std::string start_driven_demo(const char* executable, const char* recording, unsigned seed, int menu_ticks,
                              std::string* note)
{
    std::FILE* stream = std::fopen(recording, "rb");
    if (stream == nullptr)
        return std::string(recording) + ": " + std::strerror(errno);
    const DemoFileCheck check = check_demo_file(fileno(stream));
    if (check.verdict == DemoFileVerdict::unusable) {
        std::fclose(stream);
        return std::string(recording) + ": " + check.fault + ", not a recording";
    }
    if (note != nullptr)
        *note = check.fault;
    if (const int status = start_up_quietly(executable); status != EXIT_NORMAL) {
        std::fclose(stream);
        return start_up_fault(status);
    }
    drive_the_clock_by_hand();
    use_demo_stream(stream);
    std::srand(seed);
    step_title_menu_choosing_demo(menu_ticks);
    game.demo_mode = 1;
    place_player_for_mode();
    return {};
}
