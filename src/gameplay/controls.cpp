// Every key acts while held, once per tick, except the jump (on the press) and
// the close view (on press and release). Bounds are tested before the step,
// so a value may end up to one step beyond its bound.
#include "gameplay/controls.h"

#include <cmath>

#include <allegro.h>

#include "display/picture.h"
#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "input/bound_keys.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "maths/increments.h"

namespace {

constexpr int VIEWPORT_STEP = 8;
constexpr int VIEWPORT_MIN = 16;
constexpr int FOV_MAX_BEFORE_STEP = 95;
constexpr int FOV_MIN = 16;

void view_size_keys(bool shift)
{
    if (live_control_held(Control::viewport_width)) {
        if (shift) {
            if (game.viewport_width < picture_width())
                game.viewport_width += VIEWPORT_STEP;
        } else if (game.viewport_width > VIEWPORT_MIN) {
            game.viewport_width -= VIEWPORT_STEP;
        }
    }
    if (live_control_held(Control::viewport_height)) {
        if (shift) {
            if (game.viewport_height < picture_height())
                game.viewport_height += VIEWPORT_STEP;
        } else if (game.viewport_height > VIEWPORT_MIN) {
            game.viewport_height -= VIEWPORT_STEP;
        }
    }
}

// Direct handling of the Walker: tilt, turn, push along its direction.
void walker_keys(bool shift)
{
    const double tilt = shift ? 0.5 : -0.5;
    if (live_key_held(KEY_1))
        add_to(game.walker_pitch, tilt);
    if (live_key_held(KEY_2))
        add_to(game.walker_model_yaw, tilt);
    if (live_key_held(KEY_3))
        add_to(game.walker_roll, tilt);

    // Twice its direction when chasing, a fifth of it when wandering.
    const auto push = [](float component) {
        return game.walker_mode == 0 ? double(component) * 2.0 : double(component) / 5.0;
    };
    const Vec3 dir = game.walker_dir;
    if (live_key_held(KEY_I)) {
        add_to(game.walker_pos.x, push(dir.x));
        add_to(game.walker_pos.y, push(dir.y));
        add_to(game.walker_pos.z, push(dir.z));
    }
    if (live_key_held(KEY_K)) {
        add_to(game.walker_pos.x, -push(dir.x));
        add_to(game.walker_pos.y, -push(dir.y));
        add_to(game.walker_pos.z, -push(dir.z));
    }

    if (game.walker_heading > 360.0f)
        game.walker_heading = 0.0f;
    if (game.walker_heading < -360.0f)
        game.walker_heading = 0.0f;
    if (live_key_held(KEY_J)) {
        add_to(game.walker_heading, 1.0);
        if (game.walker_heading > 360.0f)
            game.walker_heading = 0.0f;
    }
    if (live_key_held(KEY_L)) {
        add_to(game.walker_heading, -1.0);
        if (game.walker_heading < -360.0f)
            game.walker_heading = 0.0f;
    }
}

void jump_key()
{
    const bool down = action_held(Action::jump);
    if (down && game.jump_key_latch == 0)
        game.jump_active = 1;
    game.jump_key_latch = down ? 1 : 0;
}

// Turning, or side-stepping one unit per tick while a target is locked.
void turn_keys()
{
    const double side = radians(double(game.player_heading) + 90.0);
    if (action_held(Action::turn_left)) {
        if (game.target_lock == 0) {
            add_to(game.player_heading, 1.0);
        } else {
            add_to(player_proposed_xz.x, std::sin(side));
            add_to(player_proposed_xz.z, std::cos(side));
        }
    }
    if (action_held(Action::turn_right)) {
        if (game.target_lock == 0) {
            add_to(game.player_heading, -1.0);
        } else {
            add_to(player_proposed_xz.x, -std::sin(side));
            add_to(player_proposed_xz.z, -std::cos(side));
        }
    }
    if (game.player_heading > 360.0f)
        game.player_heading = 0.0f;
    if (game.player_heading < 0.0f)
        game.player_heading = 360.0f;
}

void minimap_and_health_keys(bool shift)
{
    if (live_control_held(Control::minimap_zoom)) {
        if (shift) {
            if (game.minimap_zoom < 10.0f)
                add_to(game.minimap_zoom, 0.05);
        } else if (game.minimap_zoom > 1.0f) {
            add_to(game.minimap_zoom, -0.05);
        }
    }
    if (live_key_held(KEY_5)) {
        add_to(game.health_setting, shift ? 0.5 : -0.5);
        game.player_health = int(game.health_setting);
    }
}

// Coarse pitch in the chase view and under a lock, fine pitch when aiming freely.
void pitch_keys()
{
    const bool coarse = game.view_mode == 0 || game.target_lock != 0;
    if (action_held(Action::view_up)) {
        if (coarse) {
            if (game.look_pitch < 400.0f)
                add_to(game.look_pitch, 0.25);
        } else if (game.look_pitch < 40.0f) {
            add_to(game.look_pitch, 0.025);
        }
    }
    if (action_held(Action::view_down)) {
        if (coarse) {
            if (game.look_pitch > -20.0f)
                add_to(game.look_pitch, -0.25);
        } else if (game.look_pitch > -2.0f) {
            add_to(game.look_pitch, -0.025);
        }
    }
}

void lens_keys(bool shift)
{
    if (action_held(Action::narrow_view)) {
        if (shift) {
            if (game.fov_degrees <= FOV_MAX_BEFORE_STEP)
                game.fov_degrees += 1;
        } else if (game.fov_degrees > FOV_MIN) {
            game.fov_degrees -= 1;
        }
    }
    if (live_control_held(Control::aspect)) {
        if (shift) {
            add_to(game.aspect_scale, 0.05);
            if (game.aspect_scale > 2.0f)
                game.aspect_scale = 2.0f;
        } else {
            add_to(game.aspect_scale, -0.05);
            if (game.aspect_scale < 0.1f)
                game.aspect_scale = 0.1f;
        }
    }
}

// X held: close view. Released: back to the chase view, any lock ended.
void close_view_key()
{
    if (action_held(Action::close_view)) {
        if (game.view_mode == 0)
            game.look_pitch = 0.0f;
        game.view_mode = 1;
    } else if (game.view_mode == 1) {
        game.look_pitch = 0.0f;
        game.lock_timer_ms = 0;
        game.view_mode = 0;
        game.target_lock = 0;
        game.lock_timing = 0;
    }
}

} // namespace

void apply_controls()
{
    const bool shift = (key_shifts & KB_SHIFT_FLAG) != 0;

    view_size_keys(shift);
    walker_keys(shift);
    if (action_held(Action::forward)) {
        add_to(player_proposed_xz.x, player_step.x);
        add_to(player_proposed_xz.z, player_step.z);
    }
    if (action_held(Action::back)) {
        add_to(player_proposed_xz.x, -double(player_step.x));
        add_to(player_proposed_xz.z, -double(player_step.z));
    }
    // Hold to charge a shot, let go to launch it.
    if (action_held(Action::fire))
        charge_projectile();
    else
        release_fire();
    jump_key();
    turn_keys();
    minimap_and_health_keys(shift);
    pitch_keys();
    lens_keys(shift);
    close_view_key();
}
