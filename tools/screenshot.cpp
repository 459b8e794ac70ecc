// Development aid: starts the game's world as "make run" would, runs a number
// of logic ticks with the given keys held, and saves the composed frame as a
// BMP file. Usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "app/timers.h"
#include "world/frame.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.bmp [TICKS [KEY_CODE...]]\n");
        return 2;
    }
    const std::string game_path = std::string(SCREENSHOT_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return 1;
    remove_int(tick_callback);
    place_player_for_mode();
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int i = 0; i < ticks; ++i) {
        for (int a = 3; a < argc; ++a)
            key[std::atoi(argv[a])] = 1;
        logic_step();
    }
    compose_frame();
    glFinish();

    std::vector<unsigned char> rgb(size_t(SCREEN_W) * SCREEN_H * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_W, SCREEN_H, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    BITMAP* shot = create_bitmap_ex(24, SCREEN_W, SCREEN_H);
    for (int y = 0; y < SCREEN_H; ++y)
        for (int x = 0; x < SCREEN_W; ++x) {
            const unsigned char* p = &rgb[(size_t(SCREEN_H - 1 - y) * SCREEN_W + x) * 3];
            putpixel(shot, x, y, makecol24(p[0], p[1], p[2]));
        }
    PALETTE palette;
    get_palette(palette);
    const int saved = save_bmp(argv[1], shot, palette);
    destroy_bitmap(shot);
    shut_down();
    return saved == 0 ? 0 : 1;
}
END_OF_MAIN()
