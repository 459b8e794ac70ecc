// The game camera: projection and view for the chase and close views.
#pragma once

constexpr double NEAR_PLANE = 1.0;
constexpr double FAR_PLANE = 1340.0;
constexpr double ASPECT_BASE = 1.333333; // this rounded decimal, not 4/3
constexpr float CHASE_EYE_HEIGHT = 14.0f;
constexpr float CLOSE_EYE_HEIGHT = 10.0f;
constexpr float LOOK_AT_HEIGHT = 12.0f;

struct ViewportOrigin {
    int x, y;
};

// Where the centred 3D viewport of the current size starts on the picture.
ViewportOrigin viewport_origin();

// Loads the projection and modelview matrices for the current view: the
// chase view looks from camera_eye at the player, the close view looks level
// from just behind the player's head, or at target_point under a lock.
void setup_camera();
