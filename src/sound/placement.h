// Where a sound seems to come from: left-right balance from its bearing to
// the listener, loudness falling with its distance.
#pragma once

#include "maths/vectors.h"

// The ear: the camera's eye, facing along the player's heading (degrees,
// 0 along +z, 90 along +x, the left hand at heading + 90).
struct Listener {
    Vec3 at;
    float heading;
};

// gain 0..1 of the sound's own loudness; balance -1 all left .. +1 all right.
struct Placement {
    float gain;
    float balance;
};

// Half loudness at this distance, in world units; nothing is heard beyond
// the fog's far end, and the last stretch before it fades to silence.
constexpr float HALF_LOUDNESS_DISTANCE = 80.0f;
constexpr float HEARING_RANGE = 1400.0f;
constexpr float FADE_OUT_STRETCH = 400.0f;
// Sources nearer than this are heard from both sides alike, growing to their
// full balance by twice the distance; no source is heard from one side only.
constexpr float CENTRE_DISTANCE = 10.0f;
constexpr float WIDEST_BALANCE = 0.85f;

Placement place_sound(const Listener& listener, const Vec3& where);

// Allegro's pan, 0 left .. 255 right, of a balance.
int pan_of(float balance);
