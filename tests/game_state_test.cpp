// The game record's start values, and where start-up puts the player for
// each mode.
#include <concepts>
#include <memory>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "game/game_state.h"
#include "gameplay/player.h"
#include "tests/test_support.h"

namespace {

// One field of the record: its type must be the one the game gives it, and its start value exact.
void int_field(const char* name, const std::same_as<int> auto& field, int start)
{
    EXPECT_EQ(field, start) << name;
}
void float_field(const char* name, const std::same_as<float> auto& field, float start)
{
    EXPECT_EQ(field, start) << name;
}
void shared_int(const char* name, const std::same_as<SharedInt> auto& field, int start)
{
    EXPECT_EQ(field.load(), start) << name;
}
void shared_float(const char* name, const std::same_as<SharedFloat> auto& field, float start)
{
    EXPECT_EQ(field.load(), start) << name;
}
void vec3_field(const char* name, const std::same_as<Vec3> auto& field, float x, float y, float z)
{
    EXPECT_TRUE(field.x == x && field.y == y && field.z == z) << name;
}

TEST(GameState, AFreshRecordHoldsEveryStartValue)
{
    const auto fresh = std::make_unique<GameState>();
    const GameState& g = *fresh;
    int_field("demo_mode", g.demo_mode, 0);                     int_field("demo_index", g.demo_index, 0);
    float_field("player_model_yaw", g.player_model_yaw, 0.0f);  float_field("health_setting", g.health_setting, 100.0f);
    float_field("player_heading", g.player_heading, 180.0f);    float_field("look_pitch", g.look_pitch, 0.0f);
    float_field("walk_anim_clock", g.walk_anim_clock, 0.0f);    int_field("walk_anim_key", g.walk_anim_key, 0);
    int_field("viewport_width", g.viewport_width, 800);         int_field("viewport_height", g.viewport_height, 600);
    int_field("fov_degrees", g.fov_degrees, 48);                float_field("aspect_scale", g.aspect_scale, 1.0f);
    int_field("walk_anim_active", g.walk_anim_active, 0);       int_field("jump_active", g.jump_active, 0);
    float_field("carrier_heading_trim", g.carrier_heading_trim, 0.0f);
    int_field("fire_charging", g.fire_charging, 0);             int_field("fire_slot", g.fire_slot, 0);
    int_field("fire_held", g.fire_held, 0);                     float_field("carrier_x", g.carrier_x, 620.0f);
    float_field("carrier_z", g.carrier_z, 2336.0f);             float_field("carrier_heading", g.carrier_heading, 0.0f);
    float_field("carrier_leg_angle", g.carrier_leg_angle, 0.0f);
    int_field("carrier_waypoint", g.carrier_waypoint, 16);      int_field("carrier_riding", g.carrier_riding, 0);
    int_field("riding_part", g.riding_part, 99);                int_field("riding_face", g.riding_face, 99);
    EXPECT_TRUE(g.carrier_dir.x == 0.0f && g.carrier_dir.z == 0.0f) << "carrier_dir";
    int_field("flyer_flying", g.flyer_flying, 0);               int_field("flyer_taking_off", g.flyer_taking_off, 0);
    int_field("jump_key_latch", g.jump_key_latch, 0);           float_field("jump_phase", g.jump_phase, 15.0f);
    float_field("jump_speed", g.jump_speed, 0.0f);              float_field("minimap_zoom", g.minimap_zoom, 2.0f);
    float_field("walker_walk_phase", g.walker_walk_phase, 0.0f);
    int_field("walker_anim_key", g.walker_anim_key, 0);         int_field("walker_mode", g.walker_mode, 1);
    vec3_field("flyer_dir", g.flyer_dir, 0.0f, 0.0f, 0.0f);
    vec3_field("flyer_pos", g.flyer_pos, 1600.0f, 70.0f, 1181.0f);
    float_field("flyer_pitch", g.flyer_pitch, 0.0f);            float_field("flyer_model_yaw", g.flyer_model_yaw, 0.0f);
    float_field("flyer_roll", g.flyer_roll, 0.0f);              float_field("flyer_heading", g.flyer_heading, 0.0f);
    float_field("flyer_speed", g.flyer_speed, 4.0f);
    int_field("flyer_heading_quadrant", g.flyer_heading_quadrant, 0);
    int_field("flyer_target_quadrant", g.flyer_target_quadrant, 0);
    float_field("flyer_target_bearing", g.flyer_target_bearing, 0.0f);
    int_field("flyer_hit_flag", g.flyer_hit_flag, 0);           float_field("flyer_hit_time", g.flyer_hit_time, 0.0f);
    float_field("flyer_hit_span", g.flyer_hit_span, 20.0f);     float_field("flyer_health", g.flyer_health, 40.0f);
    float_field("flyer_max_health", g.flyer_max_health, 40.0f);
    int_field("flyer_alive", g.flyer_alive, 1);
    vec3_field("walker_dir", g.walker_dir, 0.0f, 0.0f, 0.0f);
    vec3_field("walker_pos", g.walker_pos, 1745.0f, 16.0f, 1181.0f);
    float_field("walker_pitch", g.walker_pitch, 0.0f);
    float_field("walker_model_yaw", g.walker_model_yaw, 0.0f);  float_field("walker_roll", g.walker_roll, 0.0f);
    float_field("walker_heading", g.walker_heading, 0.0f);      float_field("walker_speed", g.walker_speed, 4.0f);
    float_field("walker_goal_x", g.walker_goal_x, 1745.0f);     float_field("walker_goal_z", g.walker_goal_z, 1181.0f);
    int_field("walker_heading_quadrant", g.walker_heading_quadrant, 0);
    int_field("walker_goal_quadrant", g.walker_goal_quadrant, 0);
    float_field("walker_goal_bearing", g.walker_goal_bearing, 0.0f);
    int_field("walker_hit_flag", g.walker_hit_flag, 0);         float_field("walker_hit_time", g.walker_hit_time, 0.0f);
    float_field("walker_hit_span", g.walker_hit_span, 1.0f);    float_field("walker_health", g.walker_health, 50.0f);
    float_field("walker_max_health", g.walker_max_health, 50.0f);
    int_field("walker_alive", g.walker_alive, 1);               int_field("bomb_run_active", g.bomb_run_active, 0);
    float_field("bomb_interval", g.bomb_interval, 2.5f);        float_field("bomb_run_start", g.bomb_run_start, 0.0f);
    int_field("view_mode", g.view_mode, 0);                     int_field("target_lock", g.target_lock, 0);
    float_field("lock_turn_progress", g.lock_turn_progress, 0.0f);
    int_field("player_health", g.player_health, 100);           int_field("player_hit_flag", g.player_hit_flag, 0);
    float_field("player_hit_time", g.player_hit_time, 0.0f);
    float_field("player_hit_span", g.player_hit_span, 20.0f);
    float_field("nearest_marker_distance", g.nearest_marker_distance, 0.0f);
    shared_int("pending_ticks", g.pending_ticks, 0);            shared_float("pulse_value", g.pulse_value, 0.0f);
    shared_int("pulse_falling", g.pulse_falling, 0);            shared_float("game_clock", g.game_clock, 0.0f);
    shared_int("lock_timer_ms", g.lock_timer_ms, 0);            shared_int("lock_timing", g.lock_timing, 0);
}

TEST(GameState, PlacementPutsThePlayerAtItsModesStartAndDropsTheCountedTicks)
{
    for (const int demo : {0, 1}) {
        reset_game_state();
        game.demo_mode = demo;
        game.pending_ticks = 7;
        player_position = {5.0f, 42.5f, 6.0f};
        player_proposed_xz = {8.0f, 9.0f};
        camera_eye = {300.0f, 3.0f, 400.0f};
        place_player_for_mode();
        EXPECT_EQ(player_position.x, demo == 1 ? 1520.0f : 1820.0f) << demo;
        EXPECT_EQ(player_position.z, 1236.0f) << demo;
        EXPECT_EQ(player_position.y, 42.5f) << "the height is left to the terrain";
        EXPECT_EQ(player_proposed_xz.x, player_position.x);
        EXPECT_EQ(player_proposed_xz.z, 1236.0f);
        EXPECT_EQ(camera_eye.y, 42.5f) << "the eye starts at the height of the feet";
        EXPECT_EQ(camera_eye.x, 300.0f);
        EXPECT_EQ(camera_eye.z, 400.0f);
        EXPECT_EQ(game.pending_ticks.load(), 0);
        EXPECT_EQ(game.demo_index, 1);
        EXPECT_EQ(game.demo_mode, demo);
    }
    reset_game_state();
}

} // namespace
