// The demo's banner as the recorder shows it: the caption under the game's
// name reads "recording" rather than "demo playback".
#pragma once

#include <alleggl.h>

// Makes the recorder's banner from the datafile's picture and puts it in
// banner_texture for the frames to draw; returns the demo's own texture.
GLuint use_recording_banner();

// Deletes the recorder's banner and puts the demo's back.
void restore_demo_banner(GLuint demo_banner);
