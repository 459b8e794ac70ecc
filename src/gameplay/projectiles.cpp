// The player's gun. A shot is charged in a slot while the fire key is held,
// launched along the heading when it is let go, flies straight without
// gravity, and turns into an explosion that grows with the charge it carries.
#include "gameplay/projectiles.h"

#include <cmath>

#include "game/game_state.h"
#include "gameplay/building_map.h"
#include "gameplay/hit_record.h"
#include "gameplay/hit_test.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "maths/angles.h"

std::array<Projectile, PROJECTILE_SLOTS> projectiles{};

namespace {

constexpr float MUZZLE_HEIGHT = 10.0f; // the gun sits 10 units above the feet
constexpr double LAUNCH_SPEED = 3.0;
constexpr double CHASE_AIM_DISTANCE = 35.0; // look_pitch is a height at this distance ahead
constexpr double CLOSE_AIM_DISTANCE = 5.0;

constexpr int SUB_STEPS = 10;           // tests per tick, so nothing slips through a thin face
constexpr double SUB_STEP_DIVISOR = 5.0; // a sub-step moves velocity / 5, a tick 2 x velocity
constexpr double RANGE_UNIT = 10.0;
constexpr double RANGE = 60.0; // in tens of units: freed 600 units from the launch point

constexpr float EXPLOSION_START = 1.0f;
constexpr double EXPLOSION_GROWTH = 0.2;   // per tick
constexpr double EXPLOSION_PER_CHARGE = 50.0; // final radius: about 33 at full charge

// Boxes around the actors: a shot is tested against an actor's faces only
// inside its box, so the box decides what a shot can hit (all bounds strict).
// The Carrier's box stands square to the world, 27 either side of its centre
// and 20 to 60 high. The top box of its hull (62 to 69 high) lies above it
// and is never hit; its bow and stern, up to 44 from its centre, reach past it,
// so a shot there flies through; its spheres are never tested at all.
constexpr float CARRIER_HALF_WIDTH = 27.0f;
constexpr float CARRIER_LOW = 20.0f; // world heights, not relative to the Carrier
constexpr float CARRIER_HIGH = 60.0f;
constexpr float WALKER_HALF_WIDTH = 5.0f;
constexpr float WALKER_HALF_HEIGHT = 10.0f;
constexpr float FLYER_HALF_WIDTH = 30.0f;
constexpr float FLYER_HALF_HEIGHT = 40.0f;

constexpr float CARRIER_HIT_THRESHOLD = 2.0f;
constexpr float WALKER_HIT_THRESHOLD = 5.0f;
constexpr float FLYER_HIT_THRESHOLD = 10.0f;
constexpr float WALKER_TOUCH_THRESHOLD = 3.0f;
constexpr float WALKER_TOUCH_HEIGHT = 10.0f; // the touch probe is this far above the player's feet

constexpr double WALKER_DAMAGE_PER_POWER = 15.0;
constexpr double FLYER_DAMAGE_PER_POWER = 10.0;

bool slot_free(const Projectile& p)
{
    return p.in_use == 0 && p.in_flight == 0;
}

void free_slot(Projectile& p)
{
    p.in_use = 0;
    p.in_flight = 0;
    p.exploded = 0;
}

void explode(int slot, Struck struck)
{
    projectiles[slot].exploded = 1;
    projectiles[slot].explosion_radius = EXPLOSION_START;
    hit_record.shot_struck[slot] = struck;
}

// The first free slot from fire_slot on, wrapping; -1 when all are busy.
int find_free_slot()
{
    for (int i = 0; i < PROJECTILE_SLOTS; ++i) {
        const int slot = (game.fire_slot + i) % PROJECTILE_SLOTS;
        if (slot_free(projectiles[slot]))
            return slot;
    }
    return -1;
}

// Elevation of the shot in degrees: towards a locked target, else towards
// the point look_pitch units up at the view's aiming distance.
double launch_elevation()
{
    if (game.target_lock != 0) {
        const double dx = double(target_point.x) - double(player_position.x);
        const double dz = double(target_point.z) - double(player_position.z);
        const double dy = double(target_point.y) - double(player_position.y) - double(MUZZLE_HEIGHT);
        return degrees(std::atan2(dy, std::sqrt(dx * dx + dz * dz)));
    }
    const double ahead = game.view_mode == 1 ? CLOSE_AIM_DISTANCE : CHASE_AIM_DISTANCE;
    return degrees(std::atan2(double(game.look_pitch), ahead));
}

bool within(float value, float centre, float half)
{
    return std::abs(value - centre) < half;
}

// What a shot at (x, y, z) hits, if anything; a hit on an actor costs it
// power x 15 (Walker) or power x 10 (Flyer) of health and sets its hit flag.
Struck shot_hit(float x, float y, float z, float power)
{
    // The Carrier stops a shot but takes no damage.
    if (within(x, game.carrier_x, CARRIER_HALF_WIDTH) && CARRIER_LOW < y && y < CARRIER_HIGH &&
        within(z, game.carrier_z, CARRIER_HALF_WIDTH) &&
        carrier_face_test(HIT_QUERY, CARRIER_HIT_THRESHOLD, x, y, z) == 1)
        return Struck::carrier;

    // While its hit flag is set the Walker is immune and the shot flies on.
    const Vec3 w = game.walker_pos;
    if (game.walker_alive == 1 && within(x, w.x, WALKER_HALF_WIDTH) && within(y, w.y, WALKER_HALF_HEIGHT) &&
        within(z, w.z, WALKER_HALF_WIDTH) && game.walker_hit_flag == 0 &&
        walker_face_test(HIT_QUERY, WALKER_HIT_THRESHOLD, x, y, z) == 1) {
        game.walker_hit_flag = 1;
        add_to(game.walker_health, -double(power) * WALKER_DAMAGE_PER_POWER);
        game.walker_hit_time = game.game_clock.load();
        return Struck::walker;
    }

    const Vec3 f = game.flyer_pos;
    if (game.flyer_alive == 1 && within(x, f.x, FLYER_HALF_WIDTH) && within(y, f.y, FLYER_HALF_HEIGHT) &&
        within(z, f.z, FLYER_HALF_WIDTH) && game.flyer_hit_flag == 0 &&
        flyer_face_test(HIT_QUERY, FLYER_HIT_THRESHOLD, x, y, z) == 1) {
        game.flyer_hit_flag = 1;
        add_to(game.flyer_health, -double(power) * FLYER_DAMAGE_PER_POWER);
        game.flyer_hit_time = game.game_clock.load();
        return Struck::flyer;
    }
    return Struck::nothing;
}

} // namespace

void reset_projectiles()
{
    projectiles.fill(Projectile{});
    hit_record.shot_struck.fill(Struck::nothing);
}

void charge_projectile()
{
    game.fire_held = 1;
    if (game.fire_charging == 0) {
        // With every slot busy nothing starts; the next tick with the key down
        // searches again, from the same fire_slot.
        const int slot = find_free_slot();
        if (slot < 0)
            return;
        game.fire_slot = slot;
        projectiles[slot].charge = CHARGE_START;
    }
    Projectile& p = projectiles[game.fire_slot];
    game.fire_charging = 1;
    p.in_use = 1;
    // The first tick charges too: one tick gives 0.06.
    if (p.charge < CHARGE_LIMIT && p.in_flight == 0)
        add_to(p.charge, CHARGE_STEP);
}

void release_fire()
{
    game.fire_held = 0;
    Projectile& p = projectiles[game.fire_slot];
    if (p.in_use != 1 || p.in_flight != 0)
        return;
    p.in_flight = 1;
    game.fire_charging = 0;
    p.launch_point = {player_position.x, player_position.y + MUZZLE_HEIGHT, player_position.z};
    p.position = p.launch_point;
    // The horizontal direction is always the heading; a lock turns the heading itself.
    const double e = radians(launch_elevation());
    const double level = std::cos(e) * LAUNCH_SPEED;
    p.velocity = {float(level * double(player_step.x)), float(std::sin(e) * LAUNCH_SPEED),
                  float(level * double(player_step.z))};
}

void update_projectile(int slot)
{
    Projectile& p = projectiles[slot];
    for (int step = 0; step < SUB_STEPS; ++step) {
        if (p.exploded == 0) {
            add_to(p.position.x, double(p.velocity.x) / SUB_STEP_DIVISOR);
            add_to(p.position.y, double(p.velocity.y) / SUB_STEP_DIVISOR);
            add_to(p.position.z, double(p.velocity.z) / SUB_STEP_DIVISOR);
        }
        const double dx = (double(p.launch_point.x) - double(p.position.x)) / RANGE_UNIT;
        const double dy = (double(p.launch_point.y) - double(p.position.y)) / RANGE_UNIT;
        const double dz = (double(p.launch_point.z) - double(p.position.z)) / RANGE_UNIT;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) > RANGE) {
            free_slot(p);
            return;
        }
        const Vec3 at = p.position;
        // The terrain is asked only when the building top is below the shot.
        const bool struck =
            float(building_height_at(at.x, at.z)) >= at.y || terrain_height_at(at.x, at.z) >= at.y;
        if (struck && p.exploded == 0)
            explode(slot, Struck::ground);
        if (p.exploded == 0)
            if (const Struck hit = shot_hit(at.x, at.y, at.z, p.charge); hit != Struck::nothing)
                explode(slot, hit);
    }
    if (p.exploded == 1) {
        add_to(p.explosion_radius, EXPLOSION_GROWTH);
        if (double(p.charge) * EXPLOSION_PER_CHARGE < double(p.explosion_radius))
            free_slot(p);
    }
}

int dispatch_hit(int mode, float x, float y, float z, float power)
{
    if (mode == HIT_QUERY)
        return shot_hit(x, y, z, power) != Struck::nothing ? 1 : 0;
    // The touch response shoves and hurts the player; its answer is not needed.
    const Vec3 w = game.walker_pos;
    if (game.walker_alive == 1 && within(x, w.x, WALKER_HALF_WIDTH) && within(y, w.y, WALKER_HALF_HEIGHT) &&
        within(z, w.z, WALKER_HALF_WIDTH))
        walker_face_test(HIT_TOUCH, WALKER_TOUCH_THRESHOLD, x, y + WALKER_TOUCH_HEIGHT, z);
    return 0;
}
