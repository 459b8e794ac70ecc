// The sound device: Allegro's own digital sound through ALSA (and through it
// PulseAudio or PipeWire on a desktop), mixing on Allegro's sound thread.
#pragma once

// The mixer's buffer in ALSA: three fragments of 384 frames, 1,152 frames or
// 52 ms at 22,050 Hz: a sound is heard at most that long after it starts
// (a sound server adds its own). Allegro's sound thread wakes every 10 ms and writes
// at most one fragment, so a fragment must hold well over 10 ms for the
// thread to catch up after it was kept from the CPU: 384 frames (17 ms) fill
// 1.7 times as fast as they play. The README's Sound section says more.
constexpr int MIXER_FRAGMENT_FRAMES = 384;
constexpr int MIXER_FRAGMENTS = 3;

// Opens the device with `voices` mixer voices at `rate` samples a second.
// The driver's complaints while it looks for a card are kept off standard
// error; on failure allegro_error says why. False when there is no device.
bool open_sound_device(int voices, int rate);

// Closes the device opened above, its complaints kept off standard error too.
void close_sound_device();
