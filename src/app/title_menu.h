// The title menu: PLAY, DEMO, OPTIONS or QUIT over a fly-over of the world
// that keeps the Carrier in view, run with the same tick-and-draw pattern as
// the game. The options screen opens over the same fly-over.
#pragma once

#include "app/key_presses.h"
#include "world/hud.h"

struct FlyoverPoint {
    float x, z;
};

// The entries, top to bottom; PLAY and DEMO are game.demo_mode's values.
constexpr int MENU_PLAY = 0;
constexpr int MENU_DEMO = 1;
constexpr int MENU_OPTIONS = 2;
constexpr int MENU_QUIT = 3;

// The menu's and the fly-over's state; every run of the menu starts afresh.
struct TitleMenu {
    int selection = MENU_PLAY;
    int done = 0;      // set when Enter confirms PLAY or DEMO, or the menu quits
    int quit = 0;      // set by QUIT or Escape: the game ends with the menu
    KeyPresses keys;   // the menu's keys as the last step found them
    float heading = 0.0f; // degrees, 0 along +z, 90 along +x
    FlyoverPoint target = {0.0f, 0.0f};
    float bearing = 0.0f;
    int heading_quadrant = 0;
    int bearing_quadrant = 0;
    float speed = 10.0f;
    float speed_goal = 10.0f;
};

constexpr float FLYOVER_CLEARANCE = 20.0f;   // the camera keeps this far above the ground
constexpr float FLYOVER_CLIMB = 1.0f;        // units per tick while too low
constexpr double FLYOVER_DRIFT = 0.005;      // times (rand % 100 - 50)
constexpr float FLYOVER_AIM_TOLERANCE = 1.0f; // degrees within which it flies straight
constexpr float FLYOVER_TURN = 0.5f;         // degrees per tick
constexpr double FLYOVER_FAST_TURN = 1.6;     // toward the next-numbered quadrant
constexpr double FLYOVER_TRAVEL = 1.2;       // times the speed factor, per tick
constexpr float FLYOVER_ARRIVAL = 200.0f;    // a target this close is reached
constexpr float FLYOVER_MIN_LEG = 700.0f;    // a new target lies at least this far away
constexpr int FLYOVER_TARGET_SPAN = 2000;
constexpr int FLYOVER_TARGET_MIN = 200;
constexpr double FLYOVER_EASING = 0.01;      // speed change per tick

// The menu the loop runs.
extern TitleMenu title_menu;

constexpr ByteColour MENU_CHOSEN_COLOUR = {16, 128, 64};
constexpr ByteColour MENU_OTHER_COLOUR = {128, 196, 225};

// One menu tick: the camera's height, steering, travel and target, the
// Carrier's step, then the menu keys, or the options screen's while it is
// open. Up held chooses the entry above, Down the one below; from PLAY, Down
// held chooses DEMO even with Up held too. Enter held on PLAY or DEMO
// confirms it into game.demo_mode; a press of Enter opens OPTIONS or takes
// QUIT, as a press of Escape quits.
void step_title_menu(TitleMenu& menu);

// The choice the menu's sounds hear: the menu's entry, or the options
// screen's moves while it is open.
int menu_choice_heard(const TitleMenu& menu);

// The menu as a player who chooses DEMO sees it: `ticks` menu steps with Down
// held and Enter pressed in the last, then every key let go. The Carrier ends
// where that much time in the menu leaves it. Zero steps leave everything as
// it is. For the tools and tests that play the demo as a player starts it.
void step_title_menu_choosing_demo(int ticks);

// One menu frame in the back buffer: the world seen from the fly-over camera
// looking at the Carrier, and the four entries or the options screen.
void compose_title_menu(const TitleMenu& menu);

// Runs the menu until the user confirms or quits; demo_mode then holds the
// choice, and title_menu.quit says whether the game is to end.
void run_title_menu();
