// The models' data: the Carrier's parts and the keyframe poses and durations
// of the player's walking machine, the Walker and the Flyer. Each table is
// filled once at start-up by its model's initialiser and read-only afterwards.
#pragma once

#include <array>

#include "models/part_record.h"

// Every animated model has three keys per gait set.
constexpr int KEYS_PER_SET = 3;
constexpr int PLAYER_GAIT_SETS = 1;
constexpr int WALKER_GAIT_SETS = 2;
constexpr int FLYER_GAIT_SETS = 1;

// Index of (set, key, part) in a keyframe table of `parts` parts per key.
constexpr int key_index(int set, int key, int part, int parts)
{
    return (set * KEYS_PER_SET + key) * parts + part;
}

template <int SETS, int PARTS>
using KeyTable = std::array<PartRecord, SETS * KEYS_PER_SET * PARTS>;

// Length of the step from key (set, key) to the next, at index set * 3 + key,
// in units of the model's animation clock. None is 0.
template <int SETS>
using DurationTable = std::array<int, SETS * KEYS_PER_SET>;

extern KeyTable<PLAYER_GAIT_SETS, PLAYER_BOX_PARTS> PLAYER_KEYS;
extern DurationTable<PLAYER_GAIT_SETS> PLAYER_KEY_DURATIONS;

// Gait set 0 while the Walker is near the player, set 1 otherwise; key 0 is
// the same rest pose in both. The durations serve all three tables.
extern KeyTable<WALKER_GAIT_SETS, WALKER_BOX_PARTS> WALKER_BOX_KEYS;
extern KeyTable<WALKER_GAIT_SETS, WALKER_SPHERE_PARTS> WALKER_SPHERE_KEYS;
extern KeyTable<WALKER_GAIT_SETS, WALKER_CYLINDER_PARTS> WALKER_CYLINDER_KEYS;
extern DurationTable<WALKER_GAIT_SETS> WALKER_KEY_DURATIONS;

// Key 0 on the ground, key 1 in flight; key 2 differs from key 1 only in the
// rotor, sphere part 5.
constexpr int FLYER_ROTOR_PART = 5;
extern KeyTable<FLYER_GAIT_SETS, FLYER_SPHERE_PARTS> FLYER_SPHERE_KEYS;
extern KeyTable<FLYER_GAIT_SETS, FLYER_CYLINDER_PARTS> FLYER_CYLINDER_KEYS;
extern DurationTable<FLYER_GAIT_SETS> FLYER_KEY_DURATIONS;

// The Carrier's live tables: static after start-up.
extern PartTable<CARRIER_BOX_PARTS> CARRIER_BOXES;
extern PartTable<CARRIER_SPHERE_PARTS> CARRIER_SPHERES;

// Fill PLAYER_KEYS and its durations, and seed the player's live table with
// the rest pose so the machine shows before its first step.
void init_player_model();
void init_walker_model();
void init_flyer_model();
void init_carrier_model();
