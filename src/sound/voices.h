// The mixer's voices, all taken when sound starts: a small pool for the
// short sounds, so that a hundred bursts cannot pile up past full scale, and
// one voice for each lasting sound, which fades in and out with its source.
#pragma once

#include <array>

#include "sound/effects.h"
#include "sound/placement.h"
#include "sound/sound_events.h"

struct SAMPLE;

constexpr int SHORT_VOICES = 12;
constexpr int VOICES_NEEDED = SHORT_VOICES + LASTING_SLOTS;

// One short sound to start this tick, as loud and as placed as it will play.
struct Start {
    Effect effect;
    int volume; // 0..255
    int pan;    // 0 left .. 255 right
    float pitch;
};

struct StartPlan {
    std::array<Start, EFFECT_COUNT> start;
    int count;
};

// Turns a tick's cues into at most one start per effect, the loudest of its
// kind (a hundred bursts in a tick are one burst); sounds placed out of
// hearing are left out. master_volume is 0..100.
void plan_starts(const SoundCues& cues, const Listener& listener, int master_volume, StartPlan& plan);

// Takes the mixer's voices for the samples, one per effect; false, with
// nothing taken, when the mixer has too few.
bool open_voices(const std::array<SAMPLE*, EFFECT_COUNT>& samples);

// Stops and gives back every voice.
void close_voices();

// Starts the planned sounds in the pool: on a free voice, else on the one
// heard least now if it is quieter than the newcomer, else not at all.
void play_starts(const StartPlan& plan);

// Moves every lasting sound's voice toward its source: fading in when the
// source appears, out when it goes, and following its place and pitch.
void steer_lasting(const std::array<LastingSound, LASTING_SLOTS>& lasting, const Listener& listener,
                   int master_volume);

// Holds every lasting sound that plays where it is (held true), or lets it
// go on from there (false). The short ones are left to end by themselves.
void hold_lasting_voices(bool held);
