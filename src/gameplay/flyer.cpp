// The Flyer's flight. It turns by the quadrants of its heading and of the
// bearing to the player, twice as fast towards growing heading as towards
// falling heading, speeds up while turning and slows while heading straight
// at the player. Every step is a sine, a cosine or an atan2, never a
// division, so no position or angle can become a NaN.
#include "gameplay/flyer.h"

#include <cmath>

#include <allegro.h>

#include "game/game_state.h"
#include "gameplay/bombs.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "maths/increments.h"
#include "maths/quadrant_turn.h"
#include "models/animation.h"

namespace {

constexpr double TAKE_OFF_CLOCK_STEP = 0.5; // animation clock per tick: airborne after 201 ticks
constexpr float TAKE_OFF_SPEED = 1.0f;
constexpr float LEVEL_PITCH = 90.0f;       // pitch 0 points straight up, 90 is level
constexpr double TAKE_OFF_TILT = 0.5;      // degrees per tick: level after 180 ticks

constexpr float LOW_MARGIN = 40.0f;        // climbs when less than this above the ground
constexpr float HIGH_MARGIN = 80.0f;       // sinks when more than this above it
constexpr double PITCH_STEP = 0.1;
constexpr float LOWEST_PITCH = 86.0f;      // nose up as far as it goes
constexpr float HIGHEST_PITCH = 93.0f;     // nose down as far as it goes

constexpr float CRUISE_SPEED = 3.5f;       // heading at the player it slows to about this
constexpr float TOP_SPEED = 9.0f;          // turning it speeds up to about this
constexpr double SPEED_STEP = 0.1;
// A degree a tick within the player's quadrant; twice as fast towards growing
// heading as towards falling heading, or round to the opposite quadrant.
constexpr QuadrantTurnRates TURNS = {.within = 1.0, .next = 1.6, .previous = 0.8, .opposite = 0.8};

constexpr double CRASH_TILT = 0.5;         // degrees per tick the nose goes down
constexpr float CRASH_PITCH_LIMIT = 180.0f;

double horizontal_distance_to_player()
{
    const double dx = double(player_position.x) - double(game.flyer_pos.x);
    const double dz = double(player_position.z) - double(game.flyer_pos.z);
    return std::sqrt(dx * dx + dz * dz);
}

// (sin p sin h, cos p, sin p cos h) of the pitch p and heading h.
void aim_flyer()
{
    const double p = radians(double(game.flyer_pitch));
    const double h = radians(double(game.flyer_heading));
    game.flyer_dir = {float(std::sin(p) * std::sin(h)), float(std::cos(p)), float(std::sin(p) * std::cos(h))};
}

void move_flyer()
{
    const double speed = double(game.flyer_speed);
    add_to(game.flyer_pos.x, speed * double(game.flyer_dir.x));
    add_to(game.flyer_pos.y, speed * double(game.flyer_dir.y));
    add_to(game.flyer_pos.z, speed * double(game.flyer_dir.z));
}

// Between 40 and 80 above the ground; within that band it sinks while heading
// at the player and climbs while turning. The quadrants are the last tick's.
void hold_altitude(float ground)
{
    bool marked = false;
    if (game.flyer_pos.y - LOW_MARGIN < ground) {
        add_to(game.flyer_pitch, -PITCH_STEP);
        marked = true;
    }
    if (ground + HIGH_MARGIN < game.flyer_pos.y) {
        add_to(game.flyer_pitch, PITCH_STEP);
        marked = true;
    }
    if (!marked)
        add_to(game.flyer_pitch, game.flyer_heading_quadrant == game.flyer_target_quadrant ? PITCH_STEP : -PITCH_STEP);
    if (game.flyer_pitch < LOWEST_PITCH)
        game.flyer_pitch = LOWEST_PITCH;
    if (game.flyer_pitch > HIGHEST_PITCH)
        game.flyer_pitch = HIGHEST_PITCH;
}

// Within the player's quadrant it steers by a degree a tick with no dead
// band, so it weaves about the bearing; in any other quadrant it takes the
// turn by the quadrants' order.
void turn_towards_player()
{
    const int from = game.flyer_heading_quadrant;
    const int to = game.flyer_target_quadrant;
    float& h = game.flyer_heading;
    add_to(h, quadrant_turn(from, to, double(h), double(game.flyer_target_bearing), TURNS));
    if (from == to) {
        if (game.flyer_speed > CRUISE_SPEED)
            add_to(game.flyer_speed, -SPEED_STEP);
    } else if (game.flyer_speed < TOP_SPEED) {
        add_to(game.flyer_speed, SPEED_STEP);
    }
}

} // namespace

void take_off_flyer()
{
    if (live_key_held(KEY_6) && (key_shifts & KB_SHIFT_FLAG) != 0)
        game.flyer_taking_off = 1;
    // On the ground it wakes when the player comes near or hits it.
    if (game.flyer_flying == 0 &&
        (horizontal_distance_to_player() < double(FLYER_WAKE_DISTANCE) || game.flyer_health < game.flyer_max_health))
        game.flyer_taking_off = 1;
    if (game.flyer_taking_off != 1)
        return;
    add_to(flyer_anim_clock, TAKE_OFF_CLOCK_STEP);
    game.flyer_speed = TAKE_OFF_SPEED;
    if (game.flyer_pitch < LEVEL_PITCH)
        add_to(game.flyer_pitch, TAKE_OFF_TILT);
    aim_flyer();
    move_flyer();
}

void fly_flyer()
{
    // The ground under the position before this tick's move.
    const float ground = terrain_height_at(game.flyer_pos.x, game.flyer_pos.z);
    if (game.flyer_heading < 0.0f)
        add_to(game.flyer_heading, 360.0);
    if (game.flyer_heading > 360.0f)
        add_to(game.flyer_heading, -360.0);
    // At health exactly 0 it neither holds its altitude nor crashes.
    if (game.flyer_health > 0.0f)
        hold_altitude(ground);
    game.flyer_model_yaw = float(binary_angle(game.flyer_heading));
    aim_flyer();
    bearing_and_quadrants(player_position.x, player_position.z, game.flyer_pos.x, game.flyer_pos.z,
                          game.flyer_heading, game.flyer_target_bearing, game.flyer_heading_quadrant,
                          game.flyer_target_quadrant);
    turn_towards_player();
    move_flyer();
    // Shot down: the pitch is no longer clamped and the nose goes down; it is
    // gone once under the ground it was over at the start of the tick.
    if (game.flyer_health < 0.0f) {
        if (game.flyer_pitch < CRASH_PITCH_LIMIT)
            add_to(game.flyer_pitch, CRASH_TILT);
        if (ground > game.flyer_pos.y)
            game.flyer_alive = 0;
    }
    // A crashing Flyer still bombs.
    if (horizontal_distance_to_player() < double(FLYER_BOMB_RUN_DISTANCE) && game.bomb_run_active == 0)
        start_bomb_run();
}
