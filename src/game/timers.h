// The two timer callbacks. They run on Allegro's timer thread from start-up on
// and touch only the atomic fields of the game state and the counters below.
#pragma once

#include <atomic>
#include <cstdint>

// The pulse wave runs from 0 up to this and back, one unit a millisecond.
constexpr float PULSE_TOP = 500.0f;

extern std::atomic<int> frame_counter; // frames drawn since the last frames-per-second latch
extern std::atomic<int> fps_value;     // frames drawn during the last 1000 milliseconds
extern std::atomic<int> ms_countdown;  // milliseconds until the next latch
// Milliseconds the clock has run. game_clock is derived from this count, so the
// clock keeps its average rate however long the game runs.
extern std::atomic<std::int64_t> clock_ms_elapsed;

// Set while the game is paused: the millisecond clock stands still.
extern std::atomic<bool> clock_held;

// When tick_callback last ran, on steady_clock_us: the loop sleeps until the
// next tick is due.
extern std::atomic<std::int64_t> last_tick_us;
std::int64_t steady_clock_us(); // microseconds of the monotonic clock

// Ticks run on the driven clock since it was last restarted.
extern int driven_ticks;

// The driven clock: the game's millisecond clock moved on by hand, one logic
// tick at a time, 16 or 17 milliseconds so that every three ticks make 50 (as
// the timers make them), for programs that play the game at their own pace.
void advance_driven_clock();

// Removes the two timer callbacks, so that only the driven clock moves the
// game's time, and starts counting driven ticks from zero.
void drive_the_clock_by_hand();

// 60 Hz: counts one pending logic tick, and notes when.
void tick_callback();

// Every millisecond: game clock, frame-rate latch, pulse wave and lock-on timer.
void clock_callback();
