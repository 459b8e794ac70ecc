// Lock-on in the close view: OpenGL itself says where the Walker and the Flyer
// land on the screen; the nearest one held near the centre long enough is
// locked, and a translucent sphere pulsing red to blue marks it.
#pragma once

#include <array>

constexpr float LOCK_WINDOW = 100.0f;    // pixels from the screen centre
constexpr int LOCK_DWELL_MS = 750;       // a candidate must be held this long, and then some
constexpr float NO_MARKER = 100000.0f;   // nearest distance when no actor was seen
constexpr int FEEDBACK_FLOATS = 1024;
constexpr int MARKER_TABLE_FLOATS = 297; // three per pass-through id: x offset, y offset, depth

// Pass-through ids, which are also the values of target_lock.
constexpr int WALKER_MARKER_ID = 1;
constexpr int FLYER_MARKER_ID = 2;

using MarkerTable = std::array<float, MARKER_TABLE_FLOATS>;

// Where each actor landed in the last search: at 3 x id, the pixels from the
// screen centre to the actor (centre minus window position) and its depth.
extern MarkerTable marker_offsets;

struct MarkerScan {
    float nearest; // pixels from the centre to the nearest actor seen, NO_MARKER if none
    int lock;      // the id to lock on to, 0 for none
};

// Reads the first n values of a feedback buffer (n < 0, an overflow, counts
// as 0), clears `offsets` and fills in every actor's record found whole.
// An actor within LOCK_WINDOW that is the nearest so far becomes the lock
// when `dwell_passed`.
MarkerScan scan_marker_feedback(const float* values, int n, int screen_w, int screen_h, bool dwell_passed,
                                MarkerTable& offsets);

// Once per frame in the close view, with the frame's camera loaded: without a
// lock, searches the screen for the actors; with one, keeps target_point on
// the locked actor and draws its marker.
void update_target_markers();

// The marker sphere at (x, y, z): alpha 0.2, red and blue swinging with
// pulse_value, green the share of health left. Leaves blending one, zero.
void draw_lock_marker(float x, float y, float z, float radius, float health, float full_health);
