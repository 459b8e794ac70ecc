#include "input/tick_actions.h"

#include <allegro.h>

#include "game/game_state.h"
#include "input/bound_keys.h"

ActionBytes tick_actions = {};

bool action_held(Action action)
{
    return tick_actions[std::size_t(action_slot(action))] != 0;
}

bool live_key_held(int allegro_key)
{
    return game.demo_mode == 0 && key[allegro_key] != 0;
}

ActionBytes live_actions()
{
    return bound_live_actions();
}

void fill_tick_actions()
{
    tick_actions = game.demo_mode == 1 ? input_record : live_actions();
}
