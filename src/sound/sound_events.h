// What the game did in a tick, read from outside it: a small snapshot of the
// game state after each tick is compared with the one before, and every
// change worth hearing becomes a cue, told apart by the rules' record of what
// each hit was. Nothing here writes to the game.
#pragma once

#include <array>
#include <cstdint>

#include "gameplay/bombs.h"
#include "gameplay/projectiles.h"
#include "maths/vectors.h"
#include "sound/effects.h"

// What a tick left behind that sound listens to.
struct SoundSnapshot {
    // Per projectile slot: bit 0 in_use, bit 1 in_flight, bit 2 exploded.
    std::array<std::uint8_t, PROJECTILE_SLOTS> shots;
    // Per bomb: bit 0 released, bit 1 landed.
    std::array<std::uint8_t, BOMB_COUNT> bombs;
    int jump_active;
    int walker_alive, walker_anim_key, walker_hit_flag;
    int flyer_hit_flag;
    int player_hit_flag;
    int target_lock, lock_timing;
    VecXZ carrier; // where the Carrier stands
};

// One sound to start: at a place in the world, or at the ear itself
// (placed false) for what the player's own machine and the sight say.
struct SoundCue {
    Effect effect;
    bool placed;
    Vec3 where;
    float loudness; // 0..1 of the effect's own level
    float pitch;    // playback speed, 1 as made
};

constexpr int CUE_SLOTS = 32;

struct SoundCues {
    std::array<SoundCue, CUE_SLOTS> cue;
    int count;
};

// Counters kept between ticks for the sounds that repeat while a state lasts.
struct CueMemory {
    int locked_ticks;  // ticks the current lock has lasted
    int timing_ticks;  // ticks a candidate has been held without a lock
};

// The pip of a held lock every this many ticks, of a candidate being timed
// more often.
constexpr int LOCK_HELD_EVERY = 40;
constexpr int LOCK_TIMING_EVERY = 12;

SoundSnapshot take_sound_snapshot();

// The cues of the changes from before to after (at most CUE_SLOTS; the rest
// are dropped), placed where the game's records say the things are now.
void find_sound_cues(const SoundSnapshot& before, const SoundSnapshot& after, CueMemory& memory,
                     SoundCues& cues);

// The sounds that last while their source does, as the game is now.
struct LastingSound {
    bool on;
    Vec3 where;
    float loudness;
    float pitch;
};

// Fills every lasting slot (laid out by EFFECTS) from the game's state as it
// is after the tick; the Carrier rumbles while it moves from one snapshot to
// the next.
void find_lasting_sounds(const SoundSnapshot& before, const SoundSnapshot& after,
                         std::array<LastingSound, LASTING_SLOTS>& lasting);
