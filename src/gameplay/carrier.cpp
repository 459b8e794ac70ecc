// The Carrier's route step. Its direction is divided by |dx| + |dz|, not by
// the Euclidean length, so it is slower on diagonal legs: the route's timings,
// and the demo's ride, rest on that pace.
#include "gameplay/carrier.h"

#include <cmath>

#include <allegro.h>

#include "game/game_state.h"
#include "game/startup_tables.h"
#include "gameplay/player.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "maths/increments.h"

namespace {

// The acute angle in degrees between the leg (dx, dz) and the x axis, eased
// towards at 0.75 degrees a tick; it rests within one degree of its target.
// A leg along z has angle 90; at the waypoint itself (dx = dz = 0) there is no
// leg, and the angle stays as it is.
void ease_leg_angle(float dx, float dz)
{
    if (dx == 0.0f && dz == 0.0f)
        return;
    const double target = dx == 0.0f ? 90.0 : degrees(std::atan(std::fabs(double(dz / dx))));
    if (target + 1.0 < double(game.carrier_leg_angle))
        add_to(game.carrier_leg_angle, -double(CARRIER_LEG_EASING));
    if (target - 1.0 > double(game.carrier_leg_angle))
        add_to(game.carrier_leg_angle, double(CARRIER_LEG_EASING));
}

// The model heading in binary degrees from the eased angle and the leg's
// quarter: along +x 256, along +z 192, along -x 128, along -z 64.
float route_heading(float dx, float dz)
{
    const double a = binary_angle(double(game.carrier_leg_angle));
    if (dx >= 0.0f && dz >= 0.0f)
        return float(256.0 - a);
    if (dx < 0.0f && dz >= 0.0f)
        return float(a + 128.0);
    if (dx < 0.0f)
        return float(128.0 - a);
    return float(a);
}

} // namespace

void step_carrier()
{
    const float previous_heading = game.carrier_heading;
    const VecXZ waypoint = carrier_waypoints[game.carrier_waypoint];
    const float dx = waypoint.x - game.carrier_x;
    const float dz = waypoint.z - game.carrier_z;

    if (dx > CARRIER_REACH || dz > CARRIER_REACH || dx < -CARRIER_REACH || dz < -CARRIER_REACH) {
        const float m = std::fabs(dx) + std::fabs(dz);
        game.carrier_dir = {dx / m, dz / m};
        const double speed = game.carrier_riding == 1 ? CARRIER_RIDDEN_SPEED : CARRIER_SPEED;
        add_to(game.carrier_x, speed * double(game.carrier_dir.x));
        add_to(game.carrier_z, speed * double(game.carrier_dir.z));
    } else {
        // Reached: the next waypoint is taken, and the Carrier pauses a tick.
        game.carrier_waypoint = (game.carrier_waypoint + 1) % CARRIER_WAYPOINT_COUNT;
    }

    ease_leg_angle(dx, dz);
    game.carrier_heading = route_heading(dx, dz);
    if (live_key_held(KEY_7))
        add_to(game.carrier_heading_trim, 1.0);
    if (live_key_held(KEY_8))
        add_to(game.carrier_heading_trim, -1.0);
    add_to(game.carrier_heading, double(game.carrier_heading_trim));

    // The rider turns with the Carrier; a switch between heading formulas at
    // a sign change turns it once too, like any other change.
    if (game.carrier_riding == 1) {
        if (double(game.carrier_heading) > double(previous_heading) + 0.1)
            add_to(game.player_heading, double(CARRIER_RIDER_TURN));
        if (double(game.carrier_heading) < double(previous_heading) - 0.1)
            add_to(game.player_heading, -double(CARRIER_RIDER_TURN));
    }
}
