// Keyframe interpolation over all twelve fields of every part record.
#include "models/animation.h"

#include <span>

#include "game/game_state.h"
#include "models/model_data.h"

int flyer_anim_key = 0;
float flyer_anim_clock = 0.0f;

namespace {

constexpr double WALK_CLOCK_STEP = 0.6;
// Degrees the rotor turns per tick in flight.
constexpr double FLYER_ROTOR_STEP = 53.3;

// Live record = key k + (key n - key k) * c / d, field by field.
void write_pose(std::span<PartRecord> live, std::span<const PartRecord> keys, int set, int key, float clock,
                int duration)
{
    const int parts = int(live.size());
    const int next = (key + 1) % KEYS_PER_SET;
    for (int part = 0; part < parts; ++part) {
        const PartRecord& from = keys[key_index(set, key, part, parts)];
        const PartRecord& to = keys[key_index(set, next, part, parts)];
        for (float PartRecord::*field : PART_FIELD_MEMBERS)
            live[part].*field = from.*field + (to.*field - from.*field) * clock / float(duration);
    }
}

// Moves the key on once the clock has passed the key's duration (strictly),
// or back once the clock is negative. Only one step happens per call and the
// clock beyond the duration is dropped. Returns true when a cycle ended.
bool step_key(int& key, float& clock, std::span<const int> durations, int set)
{
    bool cycle_ended = false;
    if (float(durations[set * KEYS_PER_SET + key]) < clock) {
        clock = 0.0f;
        key += 1;
        if (key == KEYS_PER_SET) {
            key = 0;
            cycle_ended = true;
        }
    }
    if (clock < 0.0f) {
        key = key == 0 ? KEYS_PER_SET - 1 : key - 1;
        clock = float(durations[set * KEYS_PER_SET + key]);
    }
    return cycle_ended;
}

void animate_grounded_flyer()
{
    if (float(FLYER_KEY_DURATIONS[flyer_anim_key]) < flyer_anim_clock) {
        flyer_anim_clock = 0.0f;
        const bool leaving_ground = flyer_anim_key == 0;
        flyer_anim_key = (flyer_anim_key + 1) % KEYS_PER_SET;
        if (leaving_ground) {
            game.flyer_flying = 1;
            game.flyer_taking_off = 0;
        }
    }
    if (flyer_anim_clock < 0.0f) {
        if (flyer_anim_key > 0)
            flyer_anim_key -= 1;
        flyer_anim_clock = float(FLYER_KEY_DURATIONS[flyer_anim_key]);
    }
    const int duration = FLYER_KEY_DURATIONS[flyer_anim_key];
    write_pose(flyer_spheres, FLYER_SPHERE_KEYS, 0, flyer_anim_key, flyer_anim_clock, duration);
    write_pose(flyer_cylinders, FLYER_CYLINDER_KEYS, 0, flyer_anim_key, flyer_anim_clock, duration);
    // The landing gear never turns, whatever its keys hold.
    for (PartRecord& part : flyer_cylinders)
        part.rot_x = part.rot_y = part.rot_z = 0.0f;
}

// In flight the key-1 pose stays as it is; only the clock is kept in range
// and the rotor turns.
void animate_airborne_flyer()
{
    flyer_anim_key = 1;
    if (float(FLYER_KEY_DURATIONS[1]) < flyer_anim_clock)
        flyer_anim_clock = 0.0f;
    if (flyer_anim_clock < 0.0f)
        flyer_anim_clock = float(FLYER_KEY_DURATIONS[1]);
    float& rotor = flyer_spheres[FLYER_ROTOR_PART].rot_y;
    rotor = float(double(rotor) + FLYER_ROTOR_STEP);
    if (rotor > 360.0f)
        rotor -= 360.0f;
}

} // namespace

void advance_walk_clock()
{
    game.walk_anim_clock = float(double(game.walk_anim_clock) + WALK_CLOCK_STEP);
}

void animate_player()
{
    if (step_key(game.walk_anim_key, game.walk_anim_clock, PLAYER_KEY_DURATIONS, 0))
        game.walk_anim_active = 0;
    write_pose(player_boxes, PLAYER_KEYS, 0, game.walk_anim_key, game.walk_anim_clock,
               PLAYER_KEY_DURATIONS[game.walk_anim_key]);
}

void animate_walker()
{
    const int set = game.walker_mode;
    step_key(game.walker_anim_key, game.walker_walk_phase, WALKER_KEY_DURATIONS, set);
    const int key = game.walker_anim_key;
    const float clock = game.walker_walk_phase;
    const int duration = WALKER_KEY_DURATIONS[set * KEYS_PER_SET + key];
    write_pose(walker_boxes, WALKER_BOX_KEYS, set, key, clock, duration);
    write_pose(walker_spheres, WALKER_SPHERE_KEYS, set, key, clock, duration);
    write_pose(walker_cylinders, WALKER_CYLINDER_KEYS, set, key, clock, duration);
}

void animate_flyer()
{
    if (game.flyer_flying == 0)
        animate_grounded_flyer();
    else
        animate_airborne_flyer();
}
