// The datafile check over any bytes as "height.dat", followed by the game's
// own load path for what it accepts: the library's loader, the check of the
// four bitmaps, and the terrain and building map reads start-up and play make.
// A file the check accepts must never crash any of them.
#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <allegro.h>

#include "fuzz/fuzz_support.h"
#include "game/datafile_check.h"
#include "game/game_data.h"
#include "game/resources.h"
#include "gameplay/building_map.h"
#include "gameplay/terrain.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    set_color_depth(32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = input_as_file(data, size);
    if (!datafile_is_sound(path))
        return 0;
    // Accepted: the library loads it, and the game refuses what it cannot use.
    game_data = load_game_data(path);
    if (game_data == nullptr)
        return 0;
    load_terrain();
    const BITMAP* map = game_bitmap(BUILDING_MAP_BITMAP);
    for (int x = -2; x <= 2 * map->w + 2; x += std::max(1, map->w / 8))
        for (int z = -2; z <= 2 * map->h + 2; z += std::max(1, map->h / 8))
            static_cast<void>(building_sample_at(float(x), float(z)));
    unload_datafile(game_data);
    game_data = nullptr;
    return 0;
}
