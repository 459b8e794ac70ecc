// The game's sound. It listens to the game from outside: after every logic
// tick it compares what it sees with the tick before and plays what changed,
// placed where it happened. Nothing in the game depends on it: no rule, no
// tick and no recording reads anything it writes.
#pragma once

// Milliseconds the last start_sound took, for the start-up benchmark.
struct SoundStartSplit {
    double device_ms = 0.0;    // opening the sound device through Allegro
    double synthesis_ms = 0.0; // making every effect
    double voices_ms = 0.0;    // taking the mixer's voices
};
extern SoundStartSplit sound_start_split;

// Called once Allegro is installed: opens the sound device and makes the
// effects, unless sound is switched off (settings.sound is false, or the
// environment has IRONSTEP_NOSOUND set to anything but "" or "0"). The
// effects play at settings.volume (0..100) of their own loudness. Without a
// device the game plays on silently after one line on standard error; the
// driver's own complaints are not shown. True when sound plays.
bool start_sound();

// Stops every sound and closes the device; nothing when none was opened.
void stop_sound();

// After every logic tick: the changes since the last call become sounds, and
// the lasting sounds follow their sources. The first call only looks.
void sound_after_tick();

// While the game is paused its looping sounds (the Carrier's rumble, the
// Flyer's engine, the charge, the bombs' whistles) are held, and go on from
// where they were when it goes on.
void hold_sounds(bool held);

// After every title-menu step: the choice moving and being confirmed.
void sound_after_menu_step(int selection, int done);
