// The fixed-rate main loop: one logic step per pending 60 Hz tick, one frame
// whenever no tick is pending.
#pragma once

// Runs until Escape or the end of the demo, tested after each frame.
void run_main_loop();

// One logic tick.
void logic_step();

// Runs every pending tick: the logic catches up fully before a frame.
void run_pending_ticks();

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
