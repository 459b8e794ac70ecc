// The one loop and the script of one logic tick. When the logic falls behind,
// it catches up fully before the next frame is drawn.
#include "app/main_loop.h"

#include <allegro.h>

#include "app/frame_pacing.h"
#include "app/pause.h"
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

void logic_step()
{
    if (game.demo_mode == 1)
        read_demo_record();
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
    return key[KEY_ESC] || game.demo_index > DEMO_LAST_RECORD || stop_requested();
}

namespace {

// The sounds follow each tick, heard from what the tick left behind.
void run_tick(LoopScene scene)
{
    if (scene == LoopScene::game) {
        logic_step();
        sound_after_tick();
    } else {
        step_title_menu(title_menu);
        sound_after_menu_step(title_menu.selection, title_menu.done);
    }
}

// One tick a round on the driven clock; every pending tick on the timers.
// Returns the ticks run.
int run_due_ticks(LoopScene scene, LoopClock clock, LoopHooks& hooks)
{
    if (clock == LoopClock::driven) {
        advance_driven_clock();
        if (hooks.before_tick()) {
            run_tick(scene);
            hooks.after_tick();
            return 1;
        }
        return 0;
    }
    int ran = 0;
    while (game.pending_ticks.load() > 0 && hooks.before_tick()) {
        run_tick(scene);
        hooks.after_tick();
        game.pending_ticks.fetch_sub(1);
        ++ran;
    }
    return ran;
}

void draw_round_frame(LoopScene scene, FrameEnd frame_end, LoopHooks& hooks, bool players_loop)
{
    frame_counter.fetch_add(1);
    if (scene == LoopScene::game)
        compose_frame();
    else
        compose_title_menu(title_menu);
    hooks.over_frame();
    if (players_loop)
        draw_player_overlays();
    if (frame_end == FrameEnd::flip)
        show_frame();
}

bool scene_ended(LoopScene scene)
{
    return scene == LoopScene::game ? game_should_end() : title_menu.done != 0 || stop_requested();
}

} // namespace

void run_loop(LoopScene scene, LoopClock clock, FrameEnd frame_end, LoopHooks& hooks)
{
    // Pause and the screenshot key are the player's, in the game on its timers.
    const bool players_loop = scene == LoopScene::game && clock == LoopClock::timers;
    // On the timers a frame follows a tick (frame_pacing.h); the driven clock
    // runs a tick every round.
    FramePacing pacing{clock == LoopClock::driven || !settings.frames_follow_ticks};
    for (;;) {
        const bool paused = players_loop && pause_holds_ticks();
        const int ticks = paused ? 0 : run_due_ticks(scene, clock, hooks);
        if (frame_due(pacing, ticks, paused) && hooks.frame_wanted())
            draw_round_frame(scene, frame_end, hooks, players_loop);
        hooks.end_of_round();
        if (scene_ended(scene) || hooks.should_end())
            return;
    }
}

void run_main_loop()
{
    LoopHooks none;
    run_loop(LoopScene::game, LoopClock::timers, FrameEnd::flip, none);
}
