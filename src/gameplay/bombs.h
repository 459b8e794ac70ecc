// The Flyer's bombs: a run of six released a quarter of a second apart, each
// falling from where the Flyer was, then burning where it met the ground or
// the player.
#pragma once

#include <array>

#include "maths/vectors.h"

// One bomb of a run, in the game's 32-bit fields.
struct Bomb {
    Vec3 velocity;     // units per tick
    Vec3 position;     // world position
    int released;      // the bomb has left the Flyer
    int landed;        // it met the ground or the player and burns
    float fire_radius; // 5 at release; +0.25 a tick once landed, up to 30
};
static_assert(sizeof(Bomb) == 9 * 4);

constexpr int BOMB_COUNT = 6;
constexpr float FIRE_RADIUS_END = 30.0f; // a fire this big has burnt out and is not drawn

extern std::array<Bomb, BOMB_COUNT> bombs;

// Every field of every bomb to zero: no run.
void reset_bombs();

// Called by the Flyer when it passes near the player and no run is active:
// the run starts and bomb 0 leaves the Flyer at once.
void start_bomb_run();

// Once per tick while a run is active, after the Flyer: releases the bombs
// that are due, lets the falling ones fall and the fires grow, and ends the
// run once the last bomb's fire has burnt out.
void update_bombs();
