// The pause state. Allegro's display-switch callback runs on its own thread,
// so it only raises an atomic flag the loop reads.
#include "app/pause.h"

#include <atomic>

#include <allegro.h>
#include <alleggl.h>

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

bool pause_holds_ticks()
{
    in_play.store(true);
    poll_keyboard();
    const bool was_paused = paused;
    if (control_presses(Control::pause) % 2 == 1)
        paused = !paused;
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

void draw_pause_overlay()
{
    if (!paused)
        return;
    begin_text_overlay();
    allegro_gl_printf(hud_font, -1.4f, 0.0f, -10.0f, makecol(255, 255, 255), "PAUSED");
    end_text_overlay();
}
