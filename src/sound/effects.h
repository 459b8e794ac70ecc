// The game's sound effects, named once: each row of EFFECTS says what the
// effect is called, its length and loudness, its recipe, whether it loops and
// how many lasting voices it has. A new effect is an entry in Effect, a row
// here, and a recipe in sound/recipes.cpp if it is a new sound.
#pragma once

#include <array>
#include <span>

#include "gameplay/bombs.h"
#include "sound/recipes.h"
#include "sound/synth.h"

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
    count
};
constexpr int EFFECT_COUNT = int(Effect::count);

struct EffectEntry {
    Effect effect;    // its place in the table
    const char* name; // for the tests and the benchmark
    int frames;       // the sample at SOUND_RATE; for a loop one turn of it
    int join_frames;  // a loop's extra frames, made and blended into its start so that it joins without a click
    float peak;       // loudest sample, full scale 1
    // Writes frames + join_frames; named in the row, so that a search for the
    // recipe finds its effect.
    void (*recipe)(std::span<float> out);
    bool loops;       // played over and over while its source lasts
    // Voices of its own, one for each source that lasts (the sources come and
    // go, and the voice fades with them); 0 for a short sound, played on the
    // pool's voices.
    int lasting_slots;
};

// Tones that must fit a loop are chosen as SOUND_RATE / whole frames:
// 220.5 Hz is 100 frames a period, 110.25 Hz 200, 44.1 Hz 500.
// {effect, name, frames, join_frames, peak, recipe, loops, lasting_slots}
inline constexpr std::array<EffectEntry, EFFECT_COUNT> EFFECTS = {{
    {Effect::charge, "charge", 4400, 0, 0.30f, make_charge, true, 1}, // 44 periods of 220.5 Hz
    {Effect::fire, "fire", frames_of(0.35), 0, 0.55f, make_fire, false, 0},
    {Effect::burst, "burst", frames_of(1.0), 0, 0.60f, make_burst, false, 0},
    {Effect::hit_walker, "hit_walker", frames_of(0.7), 0, 0.50f, make_hit_walker, false, 0},
    {Effect::hit_flyer, "hit_flyer", frames_of(0.5), 0, 0.45f, make_hit_flyer, false, 0},
    {Effect::hit_carrier, "hit_carrier", frames_of(1.1), 0, 0.55f, make_hit_carrier, false, 0},
    {Effect::walker_step, "walker_step", frames_of(0.25), 0, 0.60f, make_walker_step, false, 0},
    // 0.4 s: six rotor beats of 15 Hz
    {Effect::flyer_engine, "flyer_engine", 8820, 1102, 0.35f, make_flyer_engine, true, 1},
    // Each bomb of a run whistles as it falls.
    {Effect::bomb_fall, "bomb_fall", frames_of(1.5), 0, 0.30f, make_bomb_fall, false, BOMB_COUNT},
    {Effect::bomb_blast, "bomb_blast", frames_of(1.7), 0, 0.70f, make_bomb_blast, false, 0},
    {Effect::jump, "jump", frames_of(0.35), 0, 0.40f, make_jump, false, 0},
    {Effect::landing, "landing", frames_of(0.3), 0, 0.55f, make_landing, false, 0},
    // 1 s: three tread swells
    {Effect::carrier_rumble, "carrier_rumble", SOUND_RATE, SOUND_RATE / 10, 0.45f, make_carrier_rumble, true, 1},
    {Effect::lock_found, "lock_found", frames_of(0.36), 0, 0.35f, make_lock_found, false, 0},
    {Effect::lock_held, "lock_held", frames_of(0.08), 0, 0.20f, make_lock_held, false, 0},
    {Effect::shoved, "shoved", frames_of(0.45), 0, 0.55f, make_shoved, false, 0},
    {Effect::hurt, "hurt", frames_of(0.34), 0, 0.30f, make_hurt, false, 0},
    {Effect::menu_move, "menu_move", frames_of(0.06), 0, 0.25f, make_menu_move, false, 0},
    {Effect::menu_confirm, "menu_confirm", frames_of(0.3), 0, 0.30f, make_menu_confirm, false, 0},
}};

constexpr bool effects_in_enum_order()
{
    for (int i = 0; i < EFFECT_COUNT; ++i)
        if (EFFECTS[std::size_t(i)].effect != Effect(i))
            return false;
    return true;
}
static_assert(effects_in_enum_order(), "a row's place is its effect's value");

// The short sounds' pool plays each sample once: a loop needs a voice of its own.
constexpr bool loops_last()
{
    for (const EffectEntry& e : EFFECTS)
        if (e.loops && e.lasting_slots == 0)
            return false;
    return true;
}
static_assert(loops_last(), "every loop has a lasting slot");

constexpr const EffectEntry& effect_entry(Effect effect)
{
    return EFFECTS[std::size_t(effect)];
}

// Frames of the effect's sample at SOUND_RATE; for a loop, one turn of it.
constexpr int effect_frames(Effect effect)
{
    return effect_entry(effect).frames;
}

// Frames synthesise_effect needs: the sample's and a loop's join.
constexpr int effect_work_frames(Effect effect)
{
    return effect_entry(effect).frames + effect_entry(effect).join_frames;
}

constexpr bool effect_loops(Effect effect)
{
    return effect_entry(effect).loops;
}

constexpr const char* effect_name(Effect effect)
{
    return effect_entry(effect).name;
}

// The lasting slots lie in the table's order, each effect's together.
constexpr int first_lasting_slot(Effect effect)
{
    int slot = 0;
    for (int i = 0; i < int(effect); ++i)
        slot += EFFECTS[std::size_t(i)].lasting_slots;
    return slot;
}
constexpr int LASTING_SLOTS = first_lasting_slot(Effect::count);

// The effect a lasting slot plays.
constexpr Effect lasting_effect(int slot)
{
    int e = 0;
    while (slot >= first_lasting_slot(Effect(e + 1)))
        ++e;
    return Effect(e);
}

// Writes the effect into work (effect_work_frames long), in -1..1 with its
// loudest sample at its peak; the sample is the first effect_frames of it.
// The same effect comes out the same every time.
void synthesise_effect(Effect effect, std::span<float> work);
