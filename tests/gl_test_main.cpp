// Drawing tests: the game's own start-up opens the 800 x 600 OpenGL mode on
// the test display (Mesa's software renderer under Xvfb), then the tests draw
// and read the pixels back. The tick timer is removed so that the tests decide
// how many ticks are pending.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "game/timers.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const std::string game = std::string(TEST_BUILD_DIR) + "/ironstep";
    const int status = start_up(game.c_str());
    if (status != EXIT_NORMAL) {
        std::fprintf(stderr, "start-up failed with status %d\n", status);
        return 1;
    }
    remove_int(tick_callback);
    place_player_for_mode();
    const int result = RUN_ALL_TESTS();
    shut_down();
    return result;
}
