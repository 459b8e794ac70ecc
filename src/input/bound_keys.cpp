// Bound keys and the gamepad fill the same recorded actions the default keys
// did, so a recording plays the same whatever the bindings.
#include "input/bound_keys.h"

#include <atomic>

#include <allegro.h>

#include "game/game_state.h"
#include "input/gamepad.h"

namespace {

// Whether each control's keys were down at its last control_presses call.
std::array<bool, CONTROL_COUNT> was_down = {};

// Allegro's X11 driver reports the Pause key as a toggle: one press reports
// it down, the next up, and its release is never reported. So each report is
// a press, counted here as it comes; key[KEY_PAUSE] would show only every
// second one.
std::atomic<int> pause_key_reports{0};
std::array<int, CONTROL_COUNT> pause_reports_seen = {};
void (*earlier_key_watch)(int) = nullptr;

// Runs on Allegro's input thread for every key press and release.
void count_pause_key(int scancode)
{
    if ((scancode & 0x7F) == KEY_PAUSE)
        pause_key_reports.fetch_add(1);
    if (earlier_key_watch != nullptr)
        earlier_key_watch(scancode);
}

} // namespace

bool bound_key_down(Control control)
{
    for (const int k : settings.keys[std::size_t(control)])
        if (k != 0 && key[k] != 0)
            return true;
    return false;
}

bool live_control_held(Control control)
{
    return game.demo_mode == 0 && bound_key_down(control);
}

ActionBytes bound_device_actions()
{
    poll_gamepad();
    ActionBytes bytes = {};
    for (const ActionEntry& entry : ACTIONS)
        if (bound_key_down(control_of(entry.action)) || gamepad_holds(entry.action))
            bytes[std::size_t(action_slot(entry.action))] = INPUT_PRESSED;
    return bytes;
}

void count_pause_key_presses()
{
    if (keyboard_lowlevel_callback == count_pause_key)
        return;
    earlier_key_watch = keyboard_lowlevel_callback;
    keyboard_lowlevel_callback = count_pause_key;
}

int control_presses(Control control)
{
    const std::size_t c = std::size_t(control);
    bool down = false;
    bool pause_key_bound = false;
    for (const int k : settings.keys[c]) {
        if (k == KEY_PAUSE)
            pause_key_bound = true;
        else if (k != 0 && key[k] != 0)
            down = true;
    }
    int presses = down && !was_down[c] ? 1 : 0;
    was_down[c] = down;
    const int reports = pause_key_reports.load();
    if (pause_key_bound)
        presses += reports - pause_reports_seen[c];
    pause_reports_seen[c] = reports;
    return presses;
}

bool control_pressed(Control control)
{
    return control_presses(control) > 0;
}
