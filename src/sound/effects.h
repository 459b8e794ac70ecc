// The game's sound effects, each made from code at start-up: what they are,
// how long they last, and the synthesis of each into plain samples.
#pragma once

#include <span>

enum class Effect {
    charge,        // loop: a soft tone whose pitch follows the shot's charge
    fire,          // a shot leaves the gun: a falling thump
    burst,         // a shot bursts: filtered noise over a low thump
    hit_walker,    // a clang on the Walker's hull
    hit_flyer,     // a lighter clank on the Flyer
    hit_carrier,   // a deep gong from the Carrier
    walker_step,   // one footfall of the Walker
    flyer_engine,  // loop: the rotor's beat over a low drone
    bomb_fall,     // a whistle falling in pitch
    bomb_blast,    // a bomb bursts: a long, deep explosion
    jump,          // the player's legs push off: a rising servo
    landing,       // the player's feet come down: a clunk
    carrier_rumble, // loop: the Carrier's low rumble
    lock_found,    // two rising notes: a target is locked
    lock_held,     // a soft pip while a target is held
    shoved,        // the Walker barges into the player
    hurt,          // the player loses health: two falling notes
    menu_move,     // the menu's choice moves
    menu_confirm,  // the menu's choice is confirmed
};
constexpr int EFFECT_COUNT = int(Effect::menu_confirm) + 1;

// Frames of the effect's sample at SOUND_RATE; for a loop, one turn of it.
int effect_frames(Effect effect);

// True for the effects played in a loop while their source lasts.
bool effect_loops(Effect effect);

// Frames synthesise_effect needs: the sample's, and for a loop the extra
// frames blended into its start so that it joins without a click.
int effect_work_frames(Effect effect);

// Writes the effect into work (effect_work_frames long), in -1..1 with its
// loudest sample at a level fit for it; the sample is the first
// effect_frames of it. The same effect comes out the same every time.
void synthesise_effect(Effect effect, std::span<float> work);

// The effect's name, for the tests and the benchmark.
const char* effect_name(Effect effect);
