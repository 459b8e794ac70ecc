// A damaged datafile would crash the library's loader, and one that loads but
// lacks a bitmap or holds one too small would crash the game later, at the
// first terrain or texture read; both are refused here like a missing one.
#include "game/game_data.h"

#include "game/datafile_check.h"
#include "game/resources.h"

bool game_data_is_usable(const DATAFILE* data)
{
    if (data == nullptr)
        return false;
    for (int i = 0; i < GAME_DATA_OBJECTS; ++i) {
        if (data[i].type != DAT_BITMAP || data[i].dat == nullptr)
            return false;
        const auto* bitmap = static_cast<const BITMAP*>(data[i].dat);
        if (bitmap->w < 1 || bitmap->h < 1)
            return false;
        const bool terrain = i == TERRAIN_HEIGHT_BITMAP || i == TERRAIN_COLOUR_BITMAP;
        if (terrain && (bitmap->w < TERRAIN_BITMAP_MIN_SIZE || bitmap->h < TERRAIN_BITMAP_MIN_SIZE))
            return false;
    }
    return true;
}

DATAFILE* load_game_data(const char* path)
{
    if (!datafile_is_sound(path))
        return nullptr;
    DATAFILE* data = load_datafile(path);
    if (data != nullptr && !game_data_is_usable(data)) {
        unload_datafile(data);
        data = nullptr;
    }
    return data;
}
