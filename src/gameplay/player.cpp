// The player's locomotion. Horizontal moves are only proposed elsewhere and
// committed by the building test; this decides height, heading and camera.
#include "gameplay/player.h"

#include <cmath>

#include <allegro.h>

#include "game/game_state.h"
#include "gameplay/building_map.h"
#include "gameplay/terrain.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "maths/increments.h"

namespace {

constexpr float STEP_UP = 4.0f;       // tops this far above the feet are stepped onto
constexpr float JUMP_LANDING = 2.0f;  // a top this close below the feet catches a jump
constexpr float SINK_PER_TICK = 0.5f; // the machine sinks, it does not fall
constexpr float LOCK_TURN_STEP = 3.0f;
constexpr float JUMP_PHASE_START = 15.0f;
constexpr float JUMP_PHASE_TOP = 90.0f;
constexpr float JUMP_PHASE_END = 180.0f;

void set_quadrant(float angle, int& quadrant)
{
    if (angle < 90.0f)
        quadrant = 1;
    else if (angle < 180.0f)
        quadrant = 2;
    else if (angle < 270.0f)
        quadrant = 3;
    else if (angle > 270.0f && angle < 360.0f)
        quadrant = 4;
}

// Sinks half a unit a tick above the ground, rises at once below it.
void follow_ground(float& y, float x, float z)
{
    if (terrain_height_at(x, z) < y)
        y -= SINK_PER_TICK;
    const float ground = terrain_height_at(x, z);
    if (ground > y)
        y = ground;
}

void turn_towards_lock()
{
    float bearing = 0.0f;
    bearing_and_quadrants(target_point.x, target_point.z, player_position.x, player_position.z, game.player_heading,
                          bearing, player_heading_quadrant, player_bearing_quadrant);
    const bool opposite = std::abs(player_heading_quadrant - player_bearing_quadrant) == 2;
    if (opposite || game.lock_turn_progress != 0.0f) {
        // A half turn, always towards growing heading.
        game.player_heading += LOCK_TURN_STEP;
        game.lock_turn_progress += LOCK_TURN_STEP;
        if (game.lock_turn_progress > 180.0f)
            game.lock_turn_progress = 0.0f;
    } else {
        game.player_heading = bearing;
    }
}

} // namespace

void end_jump()
{
    game.jump_active = 0;
    game.jump_phase = JUMP_PHASE_START;
    game.jump_speed = 0.0f;
}

void bearing_and_quadrants(float to_x, float to_z, float from_x, float from_z, float heading, float& bearing,
                           int& heading_quadrant, int& bearing_quadrant)
{
    const double dx = double(to_x) - double(from_x);
    const double dz = double(to_z) - double(from_z);
    double angle = degrees(std::atan2(dx, dz));
    if (dx < 0.0)
        angle += 360.0;
    bearing = float(angle);
    if (bearing == -1.0f || heading == -1.0f)
        return;
    set_quadrant(bearing, bearing_quadrant);
    set_quadrant(heading, heading_quadrant);
}

void update_player()
{
    if (game.target_lock != 0)
        turn_towards_lock();

    const double heading = radians(double(game.player_heading));
    // The model is built facing -z: half a turn (128 binary degrees) faces it
    // along the heading, and the game turns it 2.5 more (3.5 degrees), so the
    // machine is drawn, and a shot held at its gun, a little askew.
    game.player_model_yaw = float(binary_angle(game.player_heading) + 130.5);
    player_step = {float(std::sin(heading)), float(std::cos(heading))};

    const double behind = game.view_mode == 0 ? CHASE_CAMERA_DISTANCE : CLOSE_CAMERA_DISTANCE;
    camera_eye.x = float(double(player_position.x) - std::sin(heading) * behind);
    camera_eye.z = float(double(player_position.z) - std::cos(heading) * behind);

    // While riding, the Carrier carries the player's height.
    if (game.carrier_riding == 1)
        return;

    bool on_ground = true;
    if (game.jump_active == 0) {
        const int top = building_sample_at(player_position.x, player_position.z);
        if (float(top) <= player_position.y + STEP_UP) {
            on_ground = false;
            player_position.y = float(top);
        }
    }

    if (!on_ground || game.jump_active == 1) {
        if (camera_eye.y < player_position.y + 20.0f && game.jump_active == 1)
            add_to(camera_eye.y, double(game.jump_speed) * 1.1);
        if (camera_eye.y > player_position.y && game.jump_active == 0)
            camera_eye.y -= SINK_PER_TICK;
        return;
    }

    follow_ground(player_position.y, player_position.x, player_position.z);
    follow_ground(camera_eye.y, camera_eye.x, camera_eye.z);
}

void advance_jump_phase()
{
    if (game.jump_phase < JUMP_PHASE_END)
        add_to(game.jump_phase, 1.15);
    // Releasing the key ends the rise at once.
    if (!action_held(Action::jump) && game.jump_phase < JUMP_PHASE_TOP)
        game.jump_phase = JUMP_PHASE_TOP;
}

void update_jump()
{
    // Each landing test reads the speed anew: a landing resets it to 0.
    game.jump_speed = float(std::cos(radians(double(game.jump_phase))) * 0.95);

    if (player_position.y + game.jump_speed <= terrain_height_at(player_position.x, player_position.z) &&
        game.jump_speed < 0.0f)
        end_jump();

    const int top = building_sample_at(player_position.x, player_position.z);
    if (float(top) <= player_position.y + JUMP_LANDING && float(top) >= player_position.y + game.jump_speed &&
        top != OPEN_GROUND)
        end_jump();

    if (game.carrier_riding == 1 && game.jump_speed < 0.0f)
        end_jump();

    if (game.jump_active == 1)
        player_position.y += game.jump_speed;
}
