// Building map queries. The map is datafile object 2, read in place.
#include "gameplay/building_map.h"

#include "game/resources.h"
#include "gameplay/player.h"

namespace {

constexpr float STEP_OVER = 2.0f; // a mover passes over tops this far above its feet

bool blocks(int sample, float y)
{
    return sample != OPEN_GROUND && float(sample) > y + STEP_OVER;
}

} // namespace

int building_sample_at(float x, float z)
{
    BITMAP* map = game_bitmap(BUILDING_MAP_BITMAP);
    // Pixel = world position halved, truncated toward zero. Tested as floats
    // first, so that no position (not even NaN) converts out of range.
    const float column = x * 0.5f;
    const float row = z * 0.5f;
    if (!(column > -1.0f && column < float(map->w) && row > -1.0f && row < float(map->h)))
        return OPEN_GROUND;
    return getr(getpixel(map, int(column), int(row)));
}

int building_height_at(float x, float z)
{
    const int sample = building_sample_at(x, z);
    return sample == OPEN_GROUND ? 0 : sample;
}

MoveResult building_move_test(float new_x, float new_z)
{
    const Vec3 at = player_position;
    bool x_blocked = blocks(building_sample_at(new_x, at.z), at.y);
    bool z_blocked = blocks(building_sample_at(at.x, new_z), at.y);
    if (!x_blocked && !z_blocked && blocks(building_sample_at(new_x, new_z), at.y)) {
        x_blocked = true;
        z_blocked = true;
    }
    if (x_blocked && z_blocked)
        return MOVE_BLOCKED;
    if (z_blocked)
        return MOVE_X_ONLY;
    if (x_blocked)
        return MOVE_Z_ONLY;
    return MOVE_FREE;
}
