// The player's gun: a fixed table of projectile slots, charging, launching,
// flight with its hits, and the hit dispatcher that also lets the Walker shove
// the player.
#pragma once

#include <array>

#include "maths/increments.h"
#include "maths/vectors.h"

// One slot of the gun's table, in the game's 32-bit fields.
struct Projectile {
    int in_use;             // 1 from the first tick of charging until the slot is freed
    int in_flight;          // 1 from the launch until the slot is freed
    int exploded;           // 1 from the hit until the slot is freed
    Vec3 position;          // current position
    Vec3 velocity;          // launch velocity; a sub-step moves by velocity / 5, a tick by 2 x velocity
    Vec3 launch_point;      // where it was launched; the range is measured from here
    float explosion_radius; // 1 at the hit, then +0.2 per tick
    float charge;           // 0.05 at the start of charging, +0.01 per tick, up to FULL_CHARGE
};
static_assert(sizeof(Projectile) == 14 * 4);

constexpr int PROJECTILE_SLOTS = 100;

// A charge starts at CHARGE_START and grows by CHARGE_STEP a tick (the first
// tick too) while it is below CHARGE_LIMIT.
constexpr float CHARGE_START = 0.05f;
constexpr double CHARGE_STEP = 0.01;
constexpr float CHARGE_LIMIT = 0.65f;

// Where a held charge stops: 61 steps, just under 0.66 (0.65999967).
constexpr float full_charge()
{
    float charge = CHARGE_START;
    while (charge < CHARGE_LIMIT)
        add_to(charge, CHARGE_STEP);
    return charge;
}
constexpr float FULL_CHARGE = full_charge();

extern std::array<Projectile, PROJECTILE_SLOTS> projectiles;

// Every field of every slot to zero: all slots free, none struck anything.
void reset_projectiles();

// Every tick with the fire key down: a new charge takes a free slot, then the
// charge grows by 0.01 a tick up to FULL_CHARGE. With every slot busy nothing
// starts and nothing is written; the next tick with the key down tries again.
void charge_projectile();

// Every tick with the fire key up: launches the slot being charged, along the
// heading at the aimed elevation.
void release_fire();

// Once per tick for a slot in flight: ten sub-steps of movement and tests,
// then the explosion grows; the slot is freed 600 units from its launch point
// or when its explosion has run its course.
void update_projectile(int slot);

// Mode HIT_QUERY (0): 1 when (x, y, z) hits the Carrier, the Walker or the
// Flyer; a hit on an actor costs it power x 15 (Walker) or power x 10 (Flyer)
// of health and sets its hit flag. Mode HIT_TOUCH (1): the point is the
// player's feet and the Walker may shove the player; the result is 0.
int dispatch_hit(int mode, float x, float y, float z, float power);
