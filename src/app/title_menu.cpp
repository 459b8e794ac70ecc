// The title menu. The fly-over camera heads for random targets, turning a
// little each tick, and looks at the Carrier, which travels its route as in
// the game; it flies on while the options screen is open over it.
#include "app/title_menu.h"

#include <cmath>
#include <cstdlib>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "app/main_loop.h"
#include "app/options_screen.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "gameplay/carrier.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "maths/angles.h"
#include "maths/increments.h"
#include "maths/quadrant_turn.h"
#include "models/model_drawing.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/scenery.h"
#include "world/terrain_drawing.h"

TitleMenu title_menu;

namespace {

// The next-numbered quadrant is the fast turn; the fly-over compares its
// angles in single precision.
constexpr QuadrantTurnRates FLYOVER_TURNS = {
    .within = FLYOVER_TURN, .next = FLYOVER_FAST_TURN, .previous = FLYOVER_TURN, .opposite = FLYOVER_TURN};

void steer(TitleMenu& m)
{
    if (m.heading - FLYOVER_AIM_TOLERANCE < m.bearing && m.bearing < m.heading + FLYOVER_AIM_TOLERANCE)
        return;
    add_to(m.heading, quadrant_turn(m.heading_quadrant, m.bearing_quadrant, m.heading, m.bearing, FLYOVER_TURNS));
}

float distance_to_target(const TitleMenu& m)
{
    return std::hypot(m.target.x - camera_eye.x, m.target.z - camera_eye.z);
}

void draw_menu_entry(float y, bool selected, const char* marked, const char* plain)
{
    const ByteColour& c = selected ? MENU_CHOSEN_COLOUR : MENU_OTHER_COLOUR;
    const int colour = makecol(c.red, c.green, c.blue);
    allegro_gl_printf(hud_font, -2.0f, y, -10.0f, colour, "%s", selected ? marked : plain);
}

// Up and Down move the choice one entry a press, but PLAY and DEMO keep the
// choice as it always was between them: Down held on PLAY chooses DEMO, so
// Down wins over Up held with it.
void choose_entry(TitleMenu& m)
{
    if (key_pressed(m.keys, KEY_UP) && m.selection > MENU_PLAY)
        --m.selection;
    if (key[KEY_DOWN]) {
        if (m.selection == MENU_PLAY)
            m.selection = MENU_DEMO;
        else if (key_pressed(m.keys, KEY_DOWN) && m.selection < MENU_QUIT)
            ++m.selection;
    }
}

void take_menu_keys(TitleMenu& m)
{
    if (key_pressed(m.keys, KEY_ESC)) {
        m.quit = 1;
        m.done = 1;
        return;
    }
    choose_entry(m);
    if (!key[KEY_ENTER])
        return;
    if (m.selection == MENU_PLAY || m.selection == MENU_DEMO) {
        game.demo_mode = m.selection;
        m.done = 1;
    } else if (key_pressed(m.keys, KEY_ENTER)) {
        if (m.selection == MENU_OPTIONS) {
            open_options_screen();
        } else {
            m.quit = 1;
            m.done = 1;
        }
    }
}

} // namespace

void compose_title_menu(const TitleMenu& m)
{
    const ViewportOrigin origin = viewport_origin();
    glViewport(origin.x, origin.y, game.viewport_width, game.viewport_height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The game camera looks from camera_eye at the player; here it looks at the Carrier.
    player_position.x = game.carrier_x;
    player_position.z = game.carrier_z;
    setup_camera();
    // The terrain is drawn in a window round the player: put it under the camera.
    player_position.x = camera_eye.x;
    player_position.z = camera_eye.z;
    draw_land_and_town();
    draw_carrier_model();

    if (options_screen_open()) {
        draw_options_screen();
        return;
    }
    draw_options_notice();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    load_text_projection();
    draw_menu_entry(4.0f, m.selection == MENU_PLAY, "->PLAY", "  PLAY");
    draw_menu_entry(2.6f, m.selection == MENU_DEMO, "->DEMO", "  DEMO");
    draw_menu_entry(1.2f, m.selection == MENU_OPTIONS, "->OPTIONS", "  OPTIONS");
    draw_menu_entry(-0.2f, m.selection == MENU_QUIT, "->QUIT", "  QUIT");
    glBlendFunc(GL_ONE, GL_ZERO);
    glEnable(GL_DEPTH_TEST);
}

void step_title_menu(TitleMenu& m)
{
    if (camera_eye.y - FLYOVER_CLEARANCE < terrain_height_at(camera_eye.x, camera_eye.z))
        add_to(camera_eye.y, FLYOVER_CLIMB);
    else
        add_to(camera_eye.y, (std::rand() % 100 - 50) * FLYOVER_DRIFT);

    bearing_and_quadrants(m.target.x, m.target.z, camera_eye.x, camera_eye.z, m.heading, m.bearing,
                          m.heading_quadrant, m.bearing_quadrant);
    steer(m);

    add_to(camera_eye.x, std::sin(radians(m.heading)) * m.speed * FLYOVER_TRAVEL);
    add_to(camera_eye.z, std::cos(radians(m.heading)) * m.speed * FLYOVER_TRAVEL);

    if (m.heading < 0.0f)
        add_to(m.heading, 360.0);
    if (m.heading > 360.0f)
        add_to(m.heading, -360.0);

    if (distance_to_target(m) < FLYOVER_ARRIVAL) {
        do {
            m.target.x = float(std::rand() % FLYOVER_TARGET_SPAN + FLYOVER_TARGET_MIN);
            m.target.z = float(std::rand() % FLYOVER_TARGET_SPAN + FLYOVER_TARGET_MIN);
        } while (distance_to_target(m) < FLYOVER_MIN_LEG);
        m.speed_goal = float(std::rand() % 4 + 2);
    }

    if (m.speed + 1.0f < m.speed_goal)
        add_to(m.speed, FLYOVER_EASING);
    if (m.speed - 1.0f > m.speed_goal)
        add_to(m.speed, -FLYOVER_EASING);

    step_carrier();

    read_key_presses(m.keys);
    if (options_screen_open())
        step_options_screen();
    else
        take_menu_keys(m);
}

int menu_choice_heard(const TitleMenu& m)
{
    return options_screen_open() ? options_screen_choice_heard() : m.selection;
}

void step_title_menu_choosing_demo(int ticks)
{
    TitleMenu menu;
    key[KEY_DOWN] = 1;
    for (int tick = 1; tick <= ticks; ++tick) {
        key[KEY_ENTER] = tick == ticks ? 1 : 0;
        step_title_menu(menu);
    }
    key[KEY_DOWN] = 0;
    key[KEY_ENTER] = 0;
}

void run_title_menu()
{
    title_menu = TitleMenu{};
    LoopHooks none;
    // The screenshot key works in the menu as in play.
    run_loop({.scene = LoopScene::title_menu, .player_keys = {.screenshot = true}}, none);
}
