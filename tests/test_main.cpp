// Logic tests run Allegro without a system driver: no display, no keyboard,
// no timers. Tests set key[], key_shifts and the clock fields themselves.
#include <cerrno>
#include <cstdlib>

#include <allegro.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
