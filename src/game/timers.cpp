// Timer callbacks: arithmetic on atomics only (and a read of the clock),
// never a lock, never a call that could block, since the clock callback runs
// a thousand times a second.
#include "game/timers.h"

#include <chrono>

#include <allegro.h>

#include "game/game_state.h"

std::atomic<int> frame_counter{0};
std::atomic<int> fps_value{0};
std::atomic<int> ms_countdown{0};
std::atomic<std::int64_t> clock_ms_elapsed{0};
int driven_ticks = 0;
std::atomic<bool> clock_held{false};
std::atomic<std::int64_t> last_tick_us{0};

static_assert(std::atomic<std::int64_t>::is_always_lock_free);

std::int64_t steady_clock_us()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void tick_callback()
{
    game.pending_ticks.fetch_add(1);
    last_tick_us.store(steady_clock_us());
}

void clock_callback()
{
    if (clock_held.load())
        return; // paused: the game's time stands still
    ms_countdown.fetch_sub(1);

    // 0.01 per millisecond. Adding 0.01 to a float would drift and, past about
    // 262,144 units (7.3 hours), stop altogether; scaling the integer count does not.
    const std::int64_t ms = clock_ms_elapsed.fetch_add(1) + 1;
    game.game_clock.store(float(double(ms) * 0.01));

    if (game.lock_timing.load() == 1)
        game.lock_timer_ms.fetch_add(1);
    else
        game.lock_timer_ms.store(0);

    float pulse = game.pulse_value.load();
    if (pulse >= PULSE_TOP)
        game.pulse_falling.store(1);
    if (pulse <= 0.0f)
        game.pulse_falling.store(0);
    pulse += game.pulse_falling.load() == 1 ? -1.0f : 1.0f;
    game.pulse_value.store(pulse);

    if (ms_countdown.load() < 0) {
        fps_value.store(frame_counter.exchange(0));
        ms_countdown.store(999);
    }
}

void advance_driven_clock()
{
    ++driven_ticks;
    const int ms = driven_ticks % 3 == 0 ? 16 : 17;
    for (int i = 0; i < ms; ++i)
        clock_callback();
}

void drive_the_clock_by_hand()
{
    remove_int(tick_callback);
    remove_int(clock_callback);
    driven_ticks = 0;
}
