// Renders one of the README's pictures through the real game: fixed random
// numbers, a clock driven here (16 or 17 milliseconds a tick, so the lock-on
// dwell, the pulse and the hit timers run as in the game), one logic tick and
// one frame per 60th of a second with keys held as a player would, and the
// chosen frame saved as a BMP file.
//
// Usage: readme_pictures SCENE OUTPUT.bmp [TICKS]
//   SCENE: title_menu, options_screen, chase_view, close_view_sight,
//          close_view_lock, explosion, demo_banner or full_screen (the chase
//          view as the whole screen shows it, on a display larger than the
//          picture); TICKS replaces the scene's own wait
//   before the picture (to look for a better moment). The program fails when
//   the scene does not show what it should (no lock, no burst, no lit key).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>

#include "app/main_loop.h"
#include "app/options_screen.h"
#include "app/options_screen_state.h"
#include "app/startup.h"
#include "app/title_menu.h"
#include "devtools/frame_picture.h"
#include "display/picture.h"
#include "display/present.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "input/demo.h"
#include "platform/x11_window.h"
#include "world/frame.h"

namespace {

void hold(std::initializer_list<int> keys)
{
    for (int k : keys)
        key[k] = 1;
}

void release(std::initializer_list<int> keys)
{
    for (int k : keys)
        key[k] = 0;
}

// A number of ticks of a scene, each followed by a frame (the lock-on search
// runs in the frame); or of the menu, with one frame at the end.
class SceneHooks : public LoopHooks {
public:
    SceneHooks(int ticks, bool every_frame) : ticks_(ticks), every_frame_(every_frame) {}

    void after_tick() override { ++done_; }
    bool frame_wanted() override { return every_frame_ || done_ == ticks_; }
    bool after_round() override { return done_ >= ticks_; }

private:
    int ticks_;
    bool every_frame_;
    int done_ = 0;
};

// The keys are held on the keyboard the ticks read, as a player holds them.
void play(int ticks, std::initializer_list<int> keys = {})
{
    if (ticks <= 0)
        return;
    SceneHooks hooks(ticks, true);
    hold(keys);
    run_loop({.clock = LoopClock::driven, .frame_end = FrameEnd::compose, .input = {.source = game_tick_source()}},
             hooks);
    release(keys);
}

// The turn key that brings the player's heading toward the Walker, or 0 when
// the heading is within a degree of it.
int turn_toward_walker()
{
    const double want = std::atan2(double(game.walker_pos.x - player_position.x),
                                   double(game.walker_pos.z - player_position.z)) * 180.0 / M_PI;
    double off = std::fmod(want - double(game.player_heading) + 720.0, 360.0);
    if (off > 180.0)
        off -= 360.0;
    if (std::fabs(off) <= 1.0)
        return 0;
    return off > 0.0 ? KEY_LEFT : KEY_RIGHT;
}

// Turns on the spot until the player faces the Walker.
void face_walker()
{
    for (int i = 0; i < 400 && turn_toward_walker() != 0; ++i)
        play(1, {turn_toward_walker()});
}

// Holds X (the close view) and keeps the Walker in the sight for the given
// ticks, or until the lock when `ticks` is 0.
void track_walker(int ticks)
{
    for (int i = 0; i < (ticks > 0 ? ticks : 600) && (ticks > 0 || game.target_lock == 0); ++i) {
        const int turn = game.target_lock == 0 ? turn_toward_walker() : 0;
        if (turn != 0)
            play(1, {KEY_X, turn});
        else
            play(1, {KEY_X});
    }
}

// Ticks before the picture: the scene's own, or the one given on the command line.
int wait_ticks = -1;

int ticks_or(int tuned)
{
    return wait_ticks >= 0 ? wait_ticks : tuned;
}

// The menu over the fly-over 46 seconds in: the Carrier close, the town behind it.
void title_menu_scene()
{
    title_menu = TitleMenu{};
    SceneHooks hooks(ticks_or(2760), false);
    if (ticks_or(2760) > 0)
        run_loop({.scene = LoopScene::title_menu, .clock = LoopClock::driven, .frame_end = FrameEnd::compose}, hooks);
    else
        compose_title_menu(title_menu);
}

// The options screen's keys over the fly-over 10 seconds in, JUMP chosen
// and waiting for its new key.
void options_screen_scene()
{
    title_menu = TitleMenu{};
    open_options_screen();
    options_screen.page = int(OptionsPage::keys);
    options_screen.row = int(control_of(Action::jump));
    options_screen.waiting = Waiting::key;
    SceneHooks hooks(ticks_or(600), false);
    run_loop({.scene = LoopScene::title_menu, .clock = LoopClock::driven, .frame_end = FrameEnd::compose}, hooks);
}

// The player turning to the houses across the square and walking on, the
// Walker wandering on the left, in the chase view.
void chase_view_scene()
{
    play(150, {KEY_RIGHT});
    play(ticks_or(40), {KEY_UP});
}

// The close view on the Walker: the gunsight turning orange as it nears the
// centre, then (held on past three quarters of a second) the lock marker.
void close_view_scene(bool locked)
{
    face_walker();
    track_walker(locked ? 0 : ticks_or(20));
    if (locked)
        track_walker(ticks_or(10));
}

// A fully charged shot fired at a house across the square, its burst a
// little grown against the wall, seen from behind the player.
void explosion_scene()
{
    play(150, {KEY_RIGHT});
    play(62, {KEY_Z});
    for (int i = 0; i < 120 && projectiles[0].exploded == 0; ++i)
        play(1);
    play(ticks_or(25));
}

// The demo some seconds in, with the keys it presses lit on the banner.
bool demo_banner_scene(const std::string& build_dir)
{
    use_demo_stream(std::fopen((build_dir + "/vesk").c_str(), "rb"));
    if (demo_file == nullptr)
        return false;
    game.demo_mode = 1;
    place_player_for_mode();
    play(ticks_or(185));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: readme_pictures SCENE OUTPUT.bmp [TICKS]\n");
        return 2;
    }
    const std::string scene = argv[1];
    wait_ticks = argc > 3 ? std::atoi(argv[3]) : -1;
    const std::string build_dir = DEVTOOLS_BUILD_DIR;
    if (start_up((build_dir + "/ironstep").c_str()) != EXIT_NORMAL)
        return 1;
    // This program keeps the time itself and presses the keys: without a
    // keyboard driver, polling leaves the key array as set here.
    drive_the_clock_by_hand();
    remove_keyboard();
    std::srand(1);
    // The clock starts here from zero, whatever ran during start-up: the
    // game clock, the pulse of the lock marker and the frame-rate count.
    clock_ms_elapsed.store(0);
    game.game_clock.store(0.0f);
    game.pulse_value.store(0.0f);
    game.pulse_falling.store(0);
    ms_countdown.store(1000);
    frame_counter.store(0);
    bool known = true;
    bool shown = true;
    if (scene == "title_menu") {
        title_menu_scene();
    } else if (scene == "options_screen") {
        options_screen_scene();
        shown = options_screen_open();
    } else if (scene == "demo_banner") {
        known = demo_banner_scene(build_dir);
    } else {
        place_player_for_mode();
        if (scene == "chase_view" || scene == "full_screen") {
            chase_view_scene();
        } else if (scene == "close_view_sight") {
            close_view_scene(false);
            shown = game.view_mode == 1 && game.target_lock == 0 && game.nearest_marker_distance < 100.0f;
        } else if (scene == "close_view_lock") {
            close_view_scene(true);
            shown = game.view_mode == 1 && game.target_lock == 1;
        } else if (scene == "explosion") {
            explosion_scene();
            shown = projectiles[0].exploded == 1;
        } else {
            known = false;
        }
    }
    if (scene == "demo_banner")
        shown = std::count_if(tick_actions.begin(), tick_actions.end(), pressed) > 0;
    std::printf("%s: tick %d, player %.0f %.0f %.0f heading %.0f, view %d lock %d nearest %.0f, walker %.0f %.0f "
                "hp %.1f\n",
                scene.c_str(), driven_ticks, player_position.x, player_position.y, player_position.z,
                game.player_heading, game.view_mode, game.target_lock, double(game.nearest_marker_distance),
                game.walker_pos.x, game.walker_pos.z, game.walker_health);
    if (scene == "full_screen") {
        scale_picture_to_window();
        int w, h;
        read_window_size(w, h);
        shown = w > PICTURE_WIDTH || h > PICTURE_HEIGHT;
    }
    // The banner's lit keys and the burst's points are too small to see at half size.
    // So are the options screen's smaller words.
    const int shrink = scene == "demo_banner" || scene == "explosion" || scene == "options_screen" ? 1 : 2;
    const bool saved = known && shown &&
                       (scene == "full_screen" ? save_window_picture(argv[2], shrink) : save_frame_picture(argv[2], shrink));
    shut_down();
    if (!known)
        std::fprintf(stderr, "readme_pictures: unknown scene %s\n", scene.c_str());
    else if (!shown)
        std::fprintf(stderr, "readme_pictures: the %s scene does not show what it should\n", scene.c_str());
    return saved ? 0 : 1;
}
END_OF_MAIN()
