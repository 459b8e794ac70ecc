// The live part tables of the animated models and the model frames.
#include "models/part_record.h"

#include "game/game_state.h"
#include "game/player_place.h"
#include "maths/angles.h"

PartTable<PLAYER_BOX_PARTS> player_boxes{};
PartTable<WALKER_BOX_PARTS> walker_boxes{};
PartTable<WALKER_SPHERE_PARTS> walker_spheres{};
PartTable<WALKER_CYLINDER_PARTS> walker_cylinders{};
PartTable<FLYER_SPHERE_PARTS> flyer_spheres{};
PartTable<FLYER_CYLINDER_PARTS> flyer_cylinders{};

ModelFrame player_frame()
{
    return {player_position, 0.0f, game.player_model_yaw, 0.0f};
}

ModelFrame walker_frame()
{
    return {game.walker_pos, float(binary_angle(game.walker_pitch)), game.walker_model_yaw,
            float(binary_angle(game.walker_roll))};
}

ModelFrame flyer_frame()
{
    return {game.flyer_pos, float(binary_angle(game.flyer_pitch)), game.flyer_model_yaw,
            float(binary_angle(game.flyer_roll))};
}

ModelFrame carrier_frame()
{
    return {{game.carrier_x, CARRIER_BASE_HEIGHT, game.carrier_z}, 0.0f, game.carrier_heading - 64.0f, 0.0f};
}
