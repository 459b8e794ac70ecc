// The Walker's behaviour, one tick at a time. A dying Walker still steers, is
// still hit and still shoves the player until its roll has passed 90 degrees.
#include "gameplay/walker.h"

#include <cmath>
#include <cstdlib>

#include <allegro.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "maths/increments.h"
#include "maths/quadrant_turn.h"

namespace {

constexpr double CHASE_ACCELERATION = 0.04; // per tick while close
constexpr double CHASE_DECELERATION = 0.15; // per tick while farther than 145
constexpr double CHASE_TURN_BRAKE = 0.005;  // per tick of a turn across quadrants
constexpr float GOAL_REACH = 35.0f;         // a wander goal within +-35 on both axes is reached
constexpr double NO_TURN_WINDOW = 1.0;      // degrees either side of the heading
// Slowly within one quadrant, faster into a neighbouring one, by one degree
// a tick round to the opposite one.
constexpr QuadrantTurnRates TURNS = {.within = 0.6, .next = 1.6, .previous = 1.6, .opposite = 1.0};
constexpr double DEATH_ROLL_STEP = 1.0;     // degrees of roll and of pitch per tick
constexpr float DEATH_ROLL_END = 90.0f;     // past this roll the Walker is gone
constexpr double WANDER_PHASE_FACTOR = 5.0; // the slow wander steps animate five times faster

double sin_degrees(double angle)
{
    return std::sin(radians(angle));
}

// Five draws of rand, in this order: the speed, then for each axis a length
// and an angle. The offset is taken from the old goal, not from the Walker,
// and through a sine, so it spans -129..129.
void pick_wander_goal()
{
    game.walker_mode = WALKER_WANDERING;
    game.walker_speed = float(double(std::rand() % 50) * 0.01 + 0.15);
    const int r1 = std::rand();
    const int a1 = std::rand() % 360;
    add_to(game.walker_goal_x, sin_degrees(a1) * double(r1 % 100 + 30));
    const int r2 = std::rand();
    const int a2 = std::rand() % 360;
    add_to(game.walker_goal_z, sin_degrees(a2) * double(r2 % 100 + 30));
    if (game.walker_goal_x < WALKER_GOAL_MIN_X)
        game.walker_goal_x = WALKER_GOAL_MIN_X;
    if (game.walker_goal_x > WALKER_GOAL_MAX_X)
        game.walker_goal_x = WALKER_GOAL_MAX_X;
    if (game.walker_goal_z < WALKER_GOAL_MIN_Z)
        game.walker_goal_z = WALKER_GOAL_MIN_Z;
    if (game.walker_goal_z > WALKER_GOAL_MAX_Z)
        game.walker_goal_z = WALKER_GOAL_MAX_Z;
}

// Within chase range the goal is the player itself; close by the Walker
// speeds up, farther off it slows down, but never below 0.75.
void chase(double distance)
{
    game.walker_mode = WALKER_CHASING;
    if (distance < WALKER_CLOSE_RANGE && game.walker_speed < WALKER_TOP_SPEED)
        add_to(game.walker_speed, CHASE_ACCELERATION);
    else if (distance > WALKER_CLOSE_RANGE && game.walker_speed > WALKER_MIN_CHASE_SPEED)
        add_to(game.walker_speed, -CHASE_DECELERATION);
    if (game.walker_speed < WALKER_MIN_CHASE_SPEED)
        game.walker_speed = WALKER_MIN_CHASE_SPEED;
    game.walker_goal_x = player_position.x;
    game.walker_goal_z = player_position.z;
}

// Out of range the Walker keeps its goal until it is near it, or until it
// has just lost the player; then it picks a new one.
void wander(double distance)
{
    const bool near_goal = std::fabs(game.walker_pos.x - game.walker_goal_x) < GOAL_REACH &&
                           std::fabs(game.walker_pos.z - game.walker_goal_z) < GOAL_REACH;
    const bool lost_player = game.walker_mode == WALKER_CHASING && distance > WALKER_CHASE_RANGE;
    if ((near_goal && game.walker_mode == WALKER_WANDERING) || lost_player)
        pick_wander_goal();
}

// Turns towards the goal by the quadrants of the heading and of the bearing.
// A chase slows down while it turns across quadrants.
void turn_towards_goal()
{
    // Standing on the goal there is no direction to it (the bearing would
    // read 0, as if the goal lay along +z), so the Walker does not turn.
    if (game.walker_pos.x == game.walker_goal_x && game.walker_pos.z == game.walker_goal_z)
        return;
    bearing_and_quadrants(game.walker_goal_x, game.walker_goal_z, game.walker_pos.x, game.walker_pos.z,
                          game.walker_heading, game.walker_goal_bearing, game.walker_heading_quadrant,
                          game.walker_goal_quadrant);
    const float b = game.walker_goal_bearing;
    float& h = game.walker_heading;
    const int hq = game.walker_heading_quadrant;
    const int gq = game.walker_goal_quadrant;

    if (double(h) - NO_TURN_WINDOW < double(b) && double(b) < double(h) + NO_TURN_WINDOW)
        return;
    if (hq != gq && game.walker_mode == WALKER_CHASING)
        add_to(game.walker_speed, -CHASE_TURN_BRAKE);
    add_to(h, quadrant_turn(hq, gq, double(h), double(b), TURNS));
}

// A living Walker steps along its direction (the height is set again from
// the terrain next tick); a dead one rolls and pitches over until it is gone.
void move_or_die()
{
    if (game.walker_health > 0.0f) {
        const double speed = game.walker_speed;
        add_to(game.walker_pos.x, speed * double(game.walker_dir.x));
        add_to(game.walker_pos.y, speed * double(game.walker_dir.y));
        add_to(game.walker_pos.z, speed * double(game.walker_dir.z));
        return;
    }
    add_to(game.walker_roll, DEATH_ROLL_STEP);
    add_to(game.walker_pitch, DEATH_ROLL_STEP);
    if (game.walker_roll > DEATH_ROLL_END)
        game.walker_alive = 0;
}

} // namespace

void update_walker_frame()
{
    if (game.walker_heading < 0.0f)
        game.walker_heading += 360.0f;
    if (game.walker_heading > 360.0f)
        game.walker_heading -= 360.0f;
    game.walker_pos.y = terrain_height_at(game.walker_pos.x, game.walker_pos.z);
    const double h = radians(double(game.walker_heading));
    const double p = radians(double(game.walker_pitch));
    game.walker_model_yaw = float(binary_angle(game.walker_heading));
    game.walker_dir = {float(std::cos(p) * std::sin(h)), float(-std::sin(p)), float(std::cos(p) * std::cos(h))};
}

void steer_walker()
{
    const double distance = std::hypot(double(player_position.x) - double(game.walker_pos.x),
                                       double(player_position.z) - double(game.walker_pos.z));
    if (distance < WALKER_CHASE_RANGE)
        chase(distance);
    else
        wander(distance);
    turn_towards_goal();
    move_or_die();
}

void advance_walker_phase()
{
    if (live_key_held(KEY_6))
        game.walker_mode = (key_shifts & KB_SHIFT_FLAG) ? WALKER_CHASING : WALKER_WANDERING;
    const double rate = game.walker_mode == WALKER_WANDERING ? WANDER_PHASE_FACTOR : 1.0;
    add_to(game.walker_walk_phase, double(game.walker_speed) * rate);
}
