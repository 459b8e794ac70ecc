// The pause state. Allegro's display-switch callback runs on its own thread,
// so it only raises an atomic flag the loop reads.
#include "app/pause.h"

#include <atomic>

#include <allegro.h>
#include <alleggl.h>

#include "app/menu_text.h"
#include "app/options_screen.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "input/bound_keys.h"
#include "sound/sound.h"
#include "world/hud.h"
#include "world/point_clouds.h"

namespace {

bool paused = false;
bool world_held = false; // the sounds and the clouds' points, as paused says
bool enter_was_down = false;
std::atomic<bool> focus_lost{false};
// Set once the game's loop runs: the focus lost in the title menu pauses nothing.
std::atomic<bool> in_play{false};

// While paused the loop redraws the still picture at about this pace,
// leaving the processor to others.
constexpr int PAUSED_ROUND_MS = 20;

void on_switch_out()
{
    if (in_play.load())
        focus_lost.store(true);
}

} // namespace

void watch_pause()
{
    if (set_display_switch_mode(SWITCH_BACKGROUND) == 0)
        set_display_switch_callback(SWITCH_OUT, on_switch_out);
    count_pause_key_presses();
}

bool pause_holds_ticks(bool options_reachable)
{
    in_play.store(true);
    poll_keyboard();
    const bool was_paused = paused;
    // Keys go to the options screen while it is open: the pause key may be
    // the one being bound.
    const bool pause_pressed = control_presses(Control::pause) % 2 == 1;
    const bool enter_pressed = key[KEY_ENTER] != 0 && !enter_was_down;
    enter_was_down = key[KEY_ENTER] != 0;
    if (options_screen_open()) {
        step_options_screen();
        sound_after_menu_step(options_screen_choice_heard(), 0);
    } else if (pause_pressed) {
        paused = !paused;
    } else if (paused && enter_pressed && options_reachable) {
        open_options_screen();
    }
    if (focus_lost.exchange(false))
        paused = true;
    clock_held.store(paused);
    if (world_held != paused) {
        hold_sounds(paused);
        hold_clouds_still(paused);
        world_held = paused;
    }
    // Ticks that fell due while paused, to the round that resumes, are never run.
    if (paused || was_paused)
        game.pending_ticks.store(0);
    if (!paused)
        return false;
    rest(PAUSED_ROUND_MS);
    return true;
}

void draw_pause_overlay(bool options_reachable)
{
    if (!paused)
        return;
    if (options_screen_open()) {
        draw_options_screen();
        return;
    }
    begin_text_overlay();
    allegro_gl_printf(hud_font, -1.4f, 0.0f, -10.0f, makecol(255, 255, 255), "PAUSED");
    if (options_reachable)
        draw_menu_text(316.0f, 372.0f, OPTIONS_SMALL_TEXT, {255, 255, 255}, "Enter: options");
    end_text_overlay();
    draw_options_notice();
}
