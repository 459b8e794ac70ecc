// A tick's actions are read once, before it, from the one source it is given.
#include "input/tick_actions.h"

#include <allegro.h>

#include "game/game_state.h"
#include "input/bound_keys.h"
#include "input/demo.h"

ActionBytes tick_actions = {};

bool action_held(Action action)
{
    return pressed(tick_actions[std::size_t(action_slot(action))]);
}

bool live_key_held(int allegro_key)
{
    return game.demo_mode == 0 && key[allegro_key] != 0;
}

TickSource game_tick_source()
{
    return game.demo_mode == 1 ? TickSource::recording : TickSource::devices;
}

ActionBytes read_tick_actions(TickSource source)
{
    poll_keyboard();
    return source == TickSource::recording ? read_demo_record() : bound_device_actions();
}
