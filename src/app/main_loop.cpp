// The one loop and the script of one logic tick. When the logic falls behind,
// it catches up fully before the next frame is drawn.
#include "app/main_loop.h"

#include <allegro.h>

#include "app/options_screen.h"
#include "app/frame_pacing.h"
#include "app/pause.h"
#include "app/screenshot.h"
#include "app/title_menu.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/bombs.h"
#include "gameplay/building_map.h"
#include "gameplay/carrier.h"
#include "gameplay/controls.h"
#include "gameplay/flyer.h"
#include "gameplay/hit_test.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/walker.h"
#include "input/demo.h"
#include "input/gamepad.h"
#include "input/tick_actions.h"
#include "models/animation.h"
#include "platform/signals.h"
#include "settings/settings.h"
#include "sound/sound.h"
#include "world/frame.h"

int building_move_result = MOVE_FREE;

namespace {

constexpr float CARRIER_TOUCH_THRESHOLD = 2.0f;

void expire(int& flag, float hit_time, float span)
{
    if (game.game_clock.load() > hit_time + span)
        flag = 0;
}

bool walk_keys_down()
{
    return action_held(Action::forward) || action_held(Action::back);
}

// The Carrier's faces push the player out of its parts and carry a rider.
void touch_carrier()
{
    carrier_face_test(HIT_TOUCH, CARRIER_TOUCH_THRESHOLD, player_position.x, player_position.y, player_position.z);
}

} // namespace

void expire_hit_timers()
{
    expire(game.player_hit_flag, game.player_hit_time, game.player_hit_span);
    expire(game.walker_hit_flag, game.walker_hit_time, game.walker_hit_span);
    expire(game.flyer_hit_flag, game.flyer_hit_time, game.flyer_hit_span);
}

void commit_player_move()
{
    building_move_result = building_move_test(player_proposed_xz.x, player_proposed_xz.z);
    if (building_move_result != MOVE_BLOCKED) {
        if (walk_keys_down())
            game.walk_anim_active = 1;
        if (building_move_result == MOVE_X_ONLY || building_move_result == MOVE_FREE)
            player_position.x = player_proposed_xz.x;
        if (building_move_result == MOVE_Z_ONLY || building_move_result == MOVE_FREE)
            player_position.z = player_proposed_xz.z;
    }
    player_proposed_xz = {player_position.x, player_position.z};
}

void logic_step(const ActionBytes& actions)
{
    tick_actions = actions;
    if (game.demo_mode == 1)
        game.demo_index += 1;
    apply_controls();
    if (game.walk_anim_active == 1) {
        advance_walk_clock();
        animate_player();
    }
    if (game.jump_active == 1) {
        advance_jump_phase();
        update_jump();
    }
    // The Walker shoves the player on contact.
    dispatch_hit(HIT_TOUCH, player_position.x, player_position.y, player_position.z, 0.0f);
    touch_carrier();
    step_carrier();
    touch_carrier(); // again after the Carrier's step, from the position as it is then
    // The Flyer takes no step in a demo, so it stays where it starts.
    if (game.demo_mode == 0 && game.flyer_alive == 1) {
        if (game.flyer_flying == 1)
            fly_flyer();
        take_off_flyer();
        animate_flyer();
    }
    // A run goes on dropping its bombs after the Flyer is gone.
    if (game.bomb_run_active == 1)
        update_bombs();
    // Every shot in flight, in slot order.
    for (int k = 0; k < PROJECTILE_SLOTS; ++k)
        if (projectiles[k].in_flight == 1)
            update_projectile(k);
    // A Walker that dies in this tick still finishes the tick's steps.
    if (game.walker_alive == 1) {
        update_walker_frame();
        steer_walker();
        advance_walker_phase();
        animate_walker();
    }
    update_player();
    expire_hit_timers();
    commit_player_move();
}

bool game_should_end()
{
    // Asked every round, so that it sees Escape let go after the options screen.
    const bool escape_held_by_options = options_screen_holds_escape();
    return (key[KEY_ESC] && !escape_held_by_options) || game.demo_index > DEMO_LAST_RECORD || stop_requested();
}

namespace {

// The sounds follow each tick, heard from what the tick left behind; the
// tick's actions are kept after it.
void run_tick(const LoopPlan& plan)
{
    if (plan.scene == LoopScene::game) {
        const ActionBytes actions = read_tick_actions(plan.input.source);
        logic_step(actions);
        sound_after_tick();
        if (plan.input.kept != nullptr)
            plan.input.kept->append(actions);
    } else {
        step_title_menu(title_menu);
        sound_after_menu_step(menu_choice_heard(title_menu), title_menu.done);
    }
}

// A full log of the ticks' actions takes no more ticks.
bool tick_may_run(const LoopPlan& plan, LoopHooks& hooks)
{
    const ActionLog* kept = plan.input.kept;
    return (kept == nullptr || !kept->full()) && hooks.before_tick();
}

// One tick a round on the driven clock; every pending tick on the timers.
// Returns the ticks run.
int run_due_ticks(const LoopPlan& plan, LoopHooks& hooks)
{
    if (plan.clock == LoopClock::driven) {
        advance_driven_clock();
        if (tick_may_run(plan, hooks)) {
            run_tick(plan);
            hooks.after_tick();
            return 1;
        }
        return 0;
    }
    int ran = 0;
    while (game.pending_ticks.load() > 0 && tick_may_run(plan, hooks)) {
        run_tick(plan);
        hooks.after_tick();
        game.pending_ticks.fetch_sub(1);
        ++ran;
    }
    return ran;
}

// The screenshot is taken of the composed picture before anything of the
// player's keys is drawn over it.
void draw_round_frame(const LoopPlan& plan, LoopHooks& hooks)
{
    frame_counter.fetch_add(1);
    if (plan.scene == LoopScene::game)
        compose_frame();
    else
        compose_title_menu(title_menu);
    hooks.over_frame();
    if (plan.player_keys.screenshot)
        take_screenshot_if_asked();
    if (plan.player_keys.pause)
        draw_pause_overlay(plan.player_keys.options);
    if (plan.player_keys.screenshot)
        draw_screenshot_message();
    if (plan.frame_end == FrameEnd::flip)
        show_frame();
}

bool scene_ended(LoopScene scene)
{
    return scene == LoopScene::game ? game_should_end() : title_menu.done != 0 || stop_requested();
}

} // namespace

void run_loop(const LoopPlan& plan, LoopHooks& hooks)
{
    // On the timers a frame follows a tick (frame_pacing.h); the driven clock
    // runs a tick every round.
    FramePacing pacing;
    for (;;) {
        // Each round, since the options screen may change it.
        pacing.unlimited = plan.clock == LoopClock::driven || !settings.frames_follow_ticks;
        // A pad plugged in or pulled out is taken between frames, never within a tick.
        if (plan.clock == LoopClock::timers)
            follow_gamepad_plugging();
        const bool paused = plan.player_keys.pause && pause_holds_ticks(plan.player_keys.options);
        const int ticks = paused ? 0 : run_due_ticks(plan, hooks);
        if (frame_due(pacing, ticks, paused) && hooks.frame_wanted())
            draw_round_frame(plan, hooks);
        const bool hooks_end = hooks.after_round();
        if (scene_ended(plan.scene) || hooks_end)
            return;
    }
}

void run_main_loop()
{
    LoopHooks none;
    run_loop({.input = {.source = game_tick_source()}, .player_keys = {.pause = true, .screenshot = true, .options = true}},
             none);
}
