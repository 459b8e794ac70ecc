// The one loop of every program: the ticks that are due, then a frame (on
// the timers only once a tick has run, else a sleep), until the scene ends.
// The game, the recorder, the timedemo, the trace tool, the picture makers
// and the tests all run it, each passing in what differs.
#pragma once

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

// What a program adds around the scene's own ticks and frames; the game adds
// nothing. Each step may be left as it is.
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
    // Once a round, after its frame (or where it would have been).
    virtual void end_of_round() {}
    // Tested after each round, beside the scene's own end.
    virtual bool should_end() { return false; }
};

// Runs the scene on the clock until it ends, tested after each round.
void run_loop(LoopScene scene, LoopClock clock, FrameEnd frame_end, LoopHooks& hooks);

// The game's own loop: the logic on the timers, every frame shown, until
// Escape or the end of the demo.
void run_main_loop();

// One logic tick.
void logic_step();

// Tested after each frame: Escape is down, the demo has read its last
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
