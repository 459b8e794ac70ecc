// The voices are Allegro's; Allegro mixes them on its own sound thread, so the
// game's thread only starts, stops and steers them, a few calls a tick.
#include "sound/voices.h"

#include <algorithm>
#include <cmath>

#include <allegro.h>

#include "sound/synth.h"

namespace {

struct ShortVoice {
    int voice = -1;
    int volume = 0;     // as started
    int frames = 1;     // the sample's length
};

struct LastingVoice {
    int voice = -1;
    bool on = false;       // the source was there last tick
    float fade = 0.0f;     // 0 silent .. 1 full
    bool sounding = false; // started and not stopped since
    int volume = -1, pan = -1, frequency = -1; // as last set
    bool held = false;     // stopped by a pause, to go on after it
};

std::array<SAMPLE*, EFFECT_COUNT> effect_samples = {};
std::array<ShortVoice, SHORT_VOICES> short_voices;
std::array<LastingVoice, LASTING_SLOTS> lasting_voices;
bool voices_open = false;

// A lasting sound fades in over 6 ticks (0.1 s) and out over 15 (0.25 s); a
// bomb's whistle stops within 3 ticks of the bomb's landing.
constexpr float FADE_IN_PER_TICK = 1.0f / 6.0f;
constexpr float FADE_OUT_PER_TICK = 1.0f / 15.0f;
constexpr float WHISTLE_FADE_OUT_PER_TICK = 1.0f / 3.0f;
constexpr int VOLUME_RAMP_MS = 17; // one tick: each change glides instead of stepping

int volume_of(float gain, float loudness, int master_volume)
{
    return std::clamp(int(std::lround(255.0 * double(gain) * double(loudness) * master_volume / 100.0)), 0, 255);
}

int frequency_of(float pitch)
{
    return int(std::lround(double(SOUND_RATE) * double(pitch)));
}

// What a short voice still sounds like: its volume times the share left.
int heard_now(const ShortVoice& v)
{
    const int position = voice_get_position(v.voice);
    if (position < 0)
        return -1;
    return int(double(v.volume) * (1.0 - double(position) / double(v.frames)));
}

void start_short(const Start& s)
{
    int chosen = -1;
    int quietest = s.volume;
    for (int i = 0; i < SHORT_VOICES; ++i) {
        const int heard = heard_now(short_voices[std::size_t(i)]);
        if (heard < quietest) {
            quietest = heard;
            chosen = i;
        }
    }
    if (chosen < 0)
        return;
    ShortVoice& v = short_voices[std::size_t(chosen)];
    const SAMPLE* sample = effect_samples[std::size_t(s.effect)];
    reallocate_voice(v.voice, sample);
    voice_set_playmode(v.voice, PLAYMODE_PLAY);
    voice_set_volume(v.voice, s.volume);
    voice_set_pan(v.voice, s.pan);
    voice_set_frequency(v.voice, frequency_of(s.pitch));
    voice_start(v.voice);
    v.volume = s.volume;
    v.frames = effect_frames(s.effect);
}

// Steady sounds change by a step or two from tick to tick; smaller changes
// than this are left for the next, so most ticks call the mixer not at all.
constexpr int SMALLEST_CHANGE = 2;

bool changed(int now, int before)
{
    return now > before + SMALLEST_CHANGE - 1 || now < before - SMALLEST_CHANGE + 1 || (now == 0) != (before == 0);
}

void steer(LastingVoice& v, const LastingSound& source, Effect effect, const Listener& listener, int master_volume)
{
    // A loop plays whenever its source is there; a bomb's whistle only from
    // the bomb's release, from the top, and once.
    const bool whistle = !effect_loops(effect);
    const bool appeared = source.on && !v.on;
    v.on = source.on;
    const float fade_out = whistle ? WHISTLE_FADE_OUT_PER_TICK : FADE_OUT_PER_TICK;
    v.fade = source.on ? std::min(1.0f, v.fade + FADE_IN_PER_TICK) : std::max(0.0f, v.fade - fade_out);
    if (v.fade <= 0.0f) {
        if (v.sounding)
            voice_stop(v.voice);
        v.sounding = false;
        return;
    }
    const Placement p = place_sound(listener, source.where);
    const int volume = volume_of(p.gain * v.fade, source.loudness, master_volume);
    const int pan = pan_of(p.balance);
    const int frequency = frequency_of(source.pitch);
    if (appeared && (whistle || !v.sounding)) {
        if (whistle) {
            voice_stop(v.voice);
            voice_set_position(v.voice, 0);
        }
        voice_set_volume(v.voice, volume);
        voice_set_pan(v.voice, pan);
        voice_set_frequency(v.voice, frequency);
        voice_start(v.voice);
        v = {v.voice, true, v.fade, true, volume, pan, frequency};
        return;
    }
    if (changed(volume, v.volume)) {
        voice_ramp_volume(v.voice, VOLUME_RAMP_MS, volume);
        v.volume = volume;
    }
    if (changed(pan, v.pan)) {
        voice_set_pan(v.voice, pan);
        v.pan = pan;
    }
    if (frequency != v.frequency) {
        voice_set_frequency(v.voice, frequency);
        v.frequency = frequency;
    }
}

} // namespace

void plan_starts(const SoundCues& cues, const Listener& listener, int master_volume, StartPlan& plan)
{
    plan.count = 0;
    for (int c = 0; c < cues.count; ++c) {
        const SoundCue& cue = cues.cue[std::size_t(c)];
        const Placement p = cue.placed ? place_sound(listener, cue.where) : Placement{1.0f, 0.0f};
        const Start s = {cue.effect, volume_of(p.gain, cue.loudness, master_volume), pan_of(p.balance), cue.pitch};
        if (s.volume == 0)
            continue;
        Start* same = std::find_if(plan.start.begin(), plan.start.begin() + plan.count,
                                   [&s](const Start& other) { return other.effect == s.effect; });
        if (same == plan.start.begin() + plan.count)
            plan.start[std::size_t(plan.count++)] = s;
        else if (s.volume > same->volume)
            *same = s;
    }
}

bool open_voices(const std::array<SAMPLE*, EFFECT_COUNT>& samples)
{
    effect_samples = samples;
    int taken = 0;
    for (ShortVoice& v : short_voices)
        taken += (v = {allocate_voice(samples[0]), 0, 1}).voice >= 0;
    for (int slot = 0; slot < LASTING_SLOTS; ++slot) {
        LastingVoice& v = lasting_voices[std::size_t(slot)];
        const Effect effect = lasting_effect(slot);
        v = {};
        v.voice = allocate_voice(samples[std::size_t(effect)]);
        taken += v.voice >= 0;
        if (v.voice >= 0)
            voice_set_playmode(v.voice, effect_loops(effect) ? PLAYMODE_LOOP : PLAYMODE_PLAY);
    }
    voices_open = true;
    if (taken == VOICES_NEEDED)
        return true;
    close_voices();
    return false;
}

void close_voices()
{
    if (!voices_open)
        return;
    for (ShortVoice& v : short_voices)
        if (v.voice >= 0)
            deallocate_voice(v.voice);
    for (LastingVoice& v : lasting_voices)
        if (v.voice >= 0)
            deallocate_voice(v.voice);
    short_voices = {};
    lasting_voices = {};
    voices_open = false;
}

void play_starts(const StartPlan& plan)
{
    for (int i = 0; i < plan.count; ++i)
        start_short(plan.start[std::size_t(i)]);
}

void hold_lasting_voices(bool held)
{
    // A whistle that has played to its end has no position, and stays ended.
    for (LastingVoice& v : lasting_voices) {
        if (held && v.sounding && voice_get_position(v.voice) >= 0) {
            voice_stop(v.voice);
            v.held = true;
        } else if (!held && v.held) {
            voice_start(v.voice);
            v.held = false;
        }
    }
}

void steer_lasting(const std::array<LastingSound, LASTING_SLOTS>& lasting, const Listener& listener,
                   int master_volume)
{
    for (int slot = 0; slot < LASTING_SLOTS; ++slot)
        steer(lasting_voices[std::size_t(slot)], lasting[std::size_t(slot)], lasting_effect(slot), listener,
              master_volume);
}
