// The record of the game's state: one global, statically initialised with
// the game's defaults. The game never resets it (there is no restart and no
// second level); the tests start it afresh between cases.
#pragma once

#include <atomic>

#include "maths/vectors.h"

// Fields written or read by the timer thread are lock-free atomics of their width.
using SharedInt = std::atomic<int>;
using SharedFloat = std::atomic<float>;
static_assert(SharedInt::is_always_lock_free && SharedFloat::is_always_lock_free);

// Angles are degrees unless marked "binary", which counts 256 per full turn.
struct GameState {
    int demo_mode = 0;                 // 0 play, 1 demo; chosen in the title menu
    int demo_index = 0;                // number of the next demo record; start-up sets 1
    float player_model_yaw = 0.0f;     // binary; yaw handed to the player's model
    float health_setting = 100.0f;     // value that KEY_5 moves and copies into player_health
    float player_heading = 180.0f;     // 0 along +z, 90 along +x
    float look_pitch = 0.0f;           // height offset of the look-at point, aim of a shot
    float walk_anim_clock = 0.0f;      // player's walk-cycle clock
    int walk_anim_key = 0;             // player's current key 0..2
    int viewport_width = 800;          // 3D viewport width in pixels
    int viewport_height = 600;         // 3D viewport height in pixels
    int fov_degrees = 48;              // vertical field of view
    float aspect_scale = 1.0f;         // factor on the aspect ratio 1.333333
    int walk_anim_active = 0;          // the player's walk cycle runs
    int jump_active = 0;               // a jump is in progress
    float carrier_heading_trim = 0.0f; // binary; added to the Carrier's heading every step
    int fire_charging = 0;             // a shot is being charged
    int fire_slot = 0;                 // projectile slot being charged or last launched
    int fire_held = 0;                 // fire key down in this tick
    float carrier_x = 620.0f;          // Carrier position x
    float carrier_z = 2336.0f;         // Carrier position z
    float carrier_heading = 0.0f;      // binary; Carrier model heading
    float carrier_leg_angle = 0.0f;    // eased angle of the current route leg
    int carrier_waypoint = 16;         // waypoint being approached
    int carrier_riding = 0;            // the player touches the Carrier
    int riding_part = 99;              // Carrier box last touched, 99 none
    int riding_face = 99;              // face last touched, 99 none
    VecXZ carrier_dir = {0.0f, 0.0f};  // direction of the Carrier's last step
    int flyer_flying = 0;              // the Flyer is airborne
    int flyer_taking_off = 0;          // the Flyer is taking off
    int jump_key_latch = 0;            // the jump action was held in the previous tick
    float jump_phase = 15.0f;          // position on the jump arc, 15..180
    float jump_speed = 0.0f;           // vertical speed of the jump, units per tick
    float minimap_zoom = 2.0f;         // minimap magnification, about 1..10
    float walker_walk_phase = 0.0f;    // Walker animation clock
    int walker_anim_key = 0;           // Walker's current key 0..2
    int walker_mode = 1;               // 0 chase, 1 wander
    Vec3 flyer_dir = {0.0f, 0.0f, 0.0f};         // Flyer unit direction
    Vec3 flyer_pos = {1600.0f, 70.0f, 1181.0f};  // Flyer position
    float flyer_pitch = 0.0f;          // 0 straight up, 90 level
    float flyer_model_yaw = 0.0f;      // binary; from flyer_heading
    float flyer_roll = 0.0f;           // the Flyer never rolls, so this stays 0
    float flyer_heading = 0.0f;        // Flyer heading
    float flyer_speed = 4.0f;          // Flyer speed per tick
    int flyer_heading_quadrant = 0;    // quadrant of the Flyer's heading
    int flyer_target_quadrant = 0;     // quadrant of the bearing to the player
    float flyer_target_bearing = 0.0f; // bearing from the Flyer to the player
    int flyer_hit_flag = 0;            // the Flyer was hit recently
    float flyer_hit_time = 0.0f;       // game_clock at that hit
    float flyer_hit_span = 20.0f;      // clock units the flag lasts (2 s)
    float flyer_health = 40.0f;        // Flyer health
    float flyer_max_health = 40.0f;    // Flyer full health
    int flyer_alive = 1;               // the Flyer exists
    Vec3 walker_dir = {0.0f, 0.0f, 0.0f};        // Walker unit direction
    Vec3 walker_pos = {1745.0f, 16.0f, 1181.0f}; // Walker position
    float walker_pitch = 0.0f;         // Walker rotation about x
    float walker_model_yaw = 0.0f;     // binary; from walker_heading
    float walker_roll = 0.0f;          // Walker rotation about z
    float walker_heading = 0.0f;       // Walker heading
    float walker_speed = 4.0f;         // Walker step per tick
    float walker_goal_x = 1745.0f;     // Walker steering goal x
    float walker_goal_z = 1181.0f;     // Walker steering goal z
    int walker_heading_quadrant = 0;   // quadrant of the Walker's heading
    int walker_goal_quadrant = 0;      // quadrant of the bearing to the goal
    float walker_goal_bearing = 0.0f;  // bearing from the Walker to its goal
    int walker_hit_flag = 0;           // the Walker was hit recently
    float walker_hit_time = 0.0f;      // game_clock at that hit
    float walker_hit_span = 1.0f;      // clock units the flag lasts (0.1 s)
    float walker_health = 50.0f;       // Walker health
    float walker_max_health = 50.0f;   // Walker full health
    int walker_alive = 1;              // the Walker exists
    int bomb_run_active = 0;           // a bomb run is in progress
    float bomb_interval = 2.5f;        // clock units between bomb releases
    float bomb_run_start = 0.0f;       // game_clock when the run started
    int view_mode = 0;                 // 0 chase view, 1 close view
    int target_lock = 0;               // 0 none, else the locked actor
    float lock_turn_progress = 0.0f;   // degrees turned in a lock-on half turn
    int player_health = 100;           // player's health, percent
    int player_hit_flag = 0;           // the player was hit recently
    float player_hit_time = 0.0f;      // game_clock at that hit
    float player_hit_span = 20.0f;     // clock units the flag lasts (2 s)
    float nearest_marker_distance = 0.0f; // screen distance of the nearest actor from the centre
    SharedInt pending_ticks{0};        // logic ticks counted by the 60 Hz timer, not yet run
    SharedFloat pulse_value{0.0f};     // triangle wave 0..500, one unit per millisecond
    SharedInt pulse_falling{0};        // 1 while pulse_value counts down
    SharedFloat game_clock{0.0f};      // +0.01 per millisecond, 10 per second
    SharedInt lock_timer_ms{0};        // milliseconds with lock_timing set
    SharedInt lock_timing{0};          // a lock-on candidate is being timed
};

extern GameState game;
