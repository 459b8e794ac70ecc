// The one loop of every program: the ticks that are due, then a frame (on
// the timers only once a tick has run, else a sleep), until the scene ends.
// The game, the recorder, the timedemo, the trace tool, the picture makers
// and the tests all run it, each passing in what differs.
#pragma once

#include "input/tick_actions.h"

// What the loop runs: the title menu's step and frame (until Enter), or the
// game's logic step and frame (until Escape or the end of the demo).
enum class LoopScene { title_menu, game };

// Which clock makes ticks due.
enum class LoopClock {
    timers, // the 60 Hz callback counts pending ticks; all run before a frame, one frame a tick
    driven, // one tick a round, the millisecond clock driven by hand (advance_driven_clock)
};

// How a drawn frame ends.
enum class FrameEnd {
    flip,    // shown on the screen
    compose, // left in the back buffer, for a program that reads it back
};

// Where the game's ticks take their actions, and where those are kept.
struct TickInput {
    TickSource source = TickSource::devices;
    // When given, each tick's actions are appended to it after the tick, exactly
    // as the tick was given them; once it is full no more ticks run.
    ActionLog* kept = nullptr;
};

// The player's own keys beside the ticks' actions, on in the programs that
// want them (the game and the recorder).
struct PlayerKeys {
    bool pause = false;      // the pause keys and the window losing its focus hold the ticks
    bool screenshot = false; // the screenshot key saves the composed picture
    bool options = false;    // Enter in the pause opens the options screen (the game's alone)
};

// How a program runs the loop.
struct LoopPlan {
    LoopScene scene = LoopScene::game;
    LoopClock clock = LoopClock::timers;
    FrameEnd frame_end = FrameEnd::flip;
    TickInput input = {}; // read by the game's ticks; the title menu reads its own keys
    PlayerKeys player_keys = {};
};

// What a program watches or adds around the scene's own ticks and frames;
// the game adds nothing. Each step may be left as it is.
class LoopHooks {
public:
    virtual ~LoopHooks() = default;
    // Before each tick; false holds back this round's ticks.
    virtual bool before_tick() { return true; }
    virtual void after_tick() {}
    // Whether this round draws a frame.
    virtual bool frame_wanted() { return true; }
    // Over the composed frame, before it ends.
    virtual void over_frame() {}
    // Once a round, after its frame (or where it would have been); true ends
    // the loop there, as the scene's own end does.
    virtual bool after_round() { return false; }
};

// Runs the scene as planned until it ends, tested after each round.
void run_loop(const LoopPlan& plan, LoopHooks& hooks);

// The game's own loop: the logic on the timers, its actions from the demo's
// recording or the devices as the menu chose, every frame shown, pause and
// the screenshot key on, until Escape or the end of the demo.
void run_main_loop();

// One logic tick on the given actions. A tick of the demo (game.demo_mode)
// moves the demo on to its next record, wherever its actions came from.
void logic_step(const ActionBytes& actions);

// Tested after each frame: Escape is down (but not while the options screen
// holds it), the demo has read its last
// record (DEMO_LAST_RECORD; while catching up a few more may have been read),
// or a stop signal or the window's close button asked the program to end.
bool game_should_end();

// Clears each hit flag once the clock has passed its time of hit plus its span.
void expire_hit_timers();

// Commits the player's proposed move axis by axis as the building map allows,
// then restarts the proposal from the committed position.
void commit_player_move();

// The last answer of the building test, 0..3.
extern int building_move_result;
