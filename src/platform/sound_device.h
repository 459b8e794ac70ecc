// The sound device: Allegro's own digital sound through ALSA (and through it
// PulseAudio or PipeWire on a desktop), mixing on Allegro's sound thread.
#pragma once

// Opens the device with `voices` mixer voices at `rate` samples a second.
// The driver's complaints while it looks for a card are kept off standard
// error; on failure allegro_error says why. False when there is no device.
bool open_sound_device(int voices, int rate);

// Closes the device opened above, its complaints kept off standard error too.
void close_sound_device();
