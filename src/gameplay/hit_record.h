// What the rules decide about a hit that the game's state does not keep: what
// each shot burst on, and what hurt the player. The rules write it as they
// decide; sound reads it when the state shows the burst or the hurt. No rule
// reads it, so it changes no tick.
#pragma once

#include <array>
#include <cstdint>

#include "gameplay/projectiles.h"

// What a shot burst on: the ground (or a house) or an actor; nothing before it bursts.
enum class Struck : std::uint8_t { nothing, ground, carrier, walker, flyer };

enum class Hurt : std::uint8_t { walker, bomb };

struct HitRecord {
    std::array<Struck, PROJECTILE_SLOTS> shot_struck; // per slot, set as its shot bursts
    Hurt player_hurt_by;                              // set as the player's hit flag is set
};

extern HitRecord hit_record;
