// Start, stop and the step after each tick. Everything sound holds during play
// is made here at start-up: the samples, the voices and the records below.
#include "sound/sound.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include <allegro.h>

#include "game/game_state.h"
#include "gameplay/player.h"
#include "platform/sound_device.h"
#include "settings/settings.h"
#include "sound/effects.h"
#include "sound/sound_events.h"
#include "sound/synth.h"
#include "sound/voices.h"

SoundStartSplit sound_start_split;

namespace {

bool sound_on = false;
std::array<SAMPLE*, EFFECT_COUNT> samples = {};

// What the tick step keeps from one call to the next.
SoundSnapshot last_snapshot;
bool have_snapshot = false;
CueMemory cue_memory;
SoundCues cues;
StartPlan plan;
std::array<LastingSound, LASTING_SLOTS> lasting;
int menu_selection_heard = 0;
int menu_done_heard = 0;

double ms_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool switched_off()
{
    const char* value = std::getenv("IRONSTEP_NOSOUND");
    return !settings.sound || (value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0);
}

// Allegro's 16-bit samples are unsigned: silence is 0x8000.
SAMPLE* sample_of(const float* work, int frames)
{
    SAMPLE* sample = create_sample(16, 0, SOUND_RATE, frames);
    if (sample == nullptr)
        return nullptr;
    auto* data = static_cast<std::uint16_t*>(sample->data);
    for (int i = 0; i < frames; ++i)
        data[i] = std::uint16_t(std::lround(32767.0f * work[i]) + 0x8000);
    return sample;
}

bool make_samples()
{
    int longest = 0;
    for (int e = 0; e < EFFECT_COUNT; ++e)
        longest = std::max(longest, effect_work_frames(Effect(e)));
    std::vector<float> work(std::size_t(longest), 0.0f);
    for (int e = 0; e < EFFECT_COUNT; ++e) {
        const Effect effect = Effect(e);
        const std::span<float> span(work.data(), std::size_t(effect_work_frames(effect)));
        synthesise_effect(effect, span);
        samples[std::size_t(e)] = sample_of(work.data(), effect_frames(effect));
        if (samples[std::size_t(e)] == nullptr)
            return false;
    }
    return true;
}

void destroy_samples()
{
    for (SAMPLE*& sample : samples) {
        if (sample != nullptr)
            destroy_sample(sample);
        sample = nullptr;
    }
}

Listener listener()
{
    return {camera_eye, game.player_heading};
}

} // namespace

bool start_sound()
{
    sound_start_split = {};
    if (sound_on || switched_off())
        return sound_on;
    auto clock = std::chrono::steady_clock::now();
    const bool device = open_sound_device(VOICES_NEEDED, SOUND_RATE);
    sound_start_split.device_ms = ms_since(clock);
    if (!device) {
        std::fprintf(stderr, "ironstep: no sound device (%s); playing on without sound\n", allegro_error);
        return false;
    }
    clock = std::chrono::steady_clock::now();
    const bool made = make_samples();
    sound_start_split.synthesis_ms = ms_since(clock);
    clock = std::chrono::steady_clock::now();
    const bool voiced = made && open_voices(samples);
    sound_start_split.voices_ms = ms_since(clock);
    if (!voiced) {
        std::fprintf(stderr, "ironstep: the sound mixer could not be set up; playing on without sound\n");
        destroy_samples();
        close_sound_device();
        return false;
    }
    have_snapshot = false;
    cue_memory = {};
    menu_selection_heard = 0;
    menu_done_heard = 0;
    sound_on = true;
    return true;
}

void stop_sound()
{
    if (!sound_on)
        return;
    sound_on = false;
    close_voices();
    close_sound_device();
    destroy_samples();
}

void sound_after_tick()
{
    if (!sound_on)
        return;
    const SoundSnapshot now = take_sound_snapshot();
    if (!have_snapshot) {
        last_snapshot = now;
        have_snapshot = true;
    }
    const Listener ear = listener();
    find_sound_cues(last_snapshot, now, cue_memory, cues);
    plan_starts(cues, ear, settings.volume, plan);
    play_starts(plan);
    find_lasting_sounds(last_snapshot, now, lasting);
    steer_lasting(lasting, ear, settings.volume);
    last_snapshot = now;
}

void hold_sounds(bool held)
{
    if (sound_on)
        hold_lasting_voices(held);
}

void sound_after_menu_step(int selection, int done)
{
    if (!sound_on)
        return;
    cues.count = 0;
    if (done != 0 && menu_done_heard == 0)
        cues.cue[std::size_t(cues.count++)] = {Effect::menu_confirm, false, {}, 1.0f, 1.0f};
    else if (selection != menu_selection_heard)
        cues.cue[std::size_t(cues.count++)] = {Effect::menu_move, false, {}, 1.0f, 1.0f};
    menu_selection_heard = selection;
    menu_done_heard = done;
    plan_starts(cues, listener(), settings.volume, plan);
    play_starts(plan);
}
