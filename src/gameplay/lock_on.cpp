// The lock-on search sends each actor's position through the frame's camera in
// feedback mode, tagged with a pass-through id, and reads back its window
// coordinates. It runs in the frame and changes game state there (the lock,
// the aim point, the nearest marker's distance), as the title menu's frame
// (the player's position, to aim its camera) and the player's drawing (the
// arm's pose) also do.
#include "gameplay/lock_on.h"

#include <cmath>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "game/game_state.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "models/meshes.h"

MarkerTable marker_offsets = {};

namespace {

// A visible actor leaves six values: the pass-through token, its id, the point
// token and the window x, y, z. A clipped one leaves only the first two.
constexpr int RECORD_FLOATS = 6;
constexpr int ID_AT = 1;
constexpr int AFTER_ID_AT = 2;
constexpr int WINDOW_X_AT = 3;
constexpr int WINDOW_Y_AT = 4;
constexpr int WINDOW_Z_AT = 5;

constexpr float WALKER_MARKER_RADIUS = 25.0f;
constexpr float FLYER_MARKER_RADIUS = 85.0f;
constexpr float WALKER_AIM_RAISE = 7.0f; // shots aim above the feet, at the body
constexpr float FLYER_AIM_RAISE = 5.0f;
constexpr float MARKER_ALPHA = 0.2f;

std::array<GLfloat, FEEDBACK_FLOATS> feedback_buffer;

bool is_token(float value, GLenum token)
{
    return int(value) == int(token);
}

void send_actor_point(int id, const Vec3& at)
{
    glPassThrough(GLfloat(id));
    glBegin(GL_POINTS);
    glVertex3f(at.x, at.y, at.z);
    glEnd();
}

void search_for_targets()
{
    glFeedbackBuffer(FEEDBACK_FLOATS, GL_3D, feedback_buffer.data());
    glRenderMode(GL_FEEDBACK);
    if (game.walker_alive == 1)
        send_actor_point(WALKER_MARKER_ID, game.walker_pos);
    if (game.flyer_alive == 1)
        send_actor_point(FLYER_MARKER_ID, game.flyer_pos);
    const int n = glRenderMode(GL_RENDER);

    const bool dwell_passed = game.lock_timer_ms.load() > LOCK_DWELL_MS;
    const MarkerScan scan =
        scan_marker_feedback(feedback_buffer.data(), n, picture_width(), picture_height(), dwell_passed, marker_offsets);
    if (scan.lock != 0)
        game.target_lock = scan.lock;
    game.nearest_marker_distance = scan.nearest;
    // While this stays 1 the millisecond clock counts lock_timer_ms up.
    game.lock_timing.store(scan.nearest < LOCK_WINDOW ? 1 : 0);
}

} // namespace

MarkerScan scan_marker_feedback(const float* values, int n, int screen_w, int screen_h, bool dwell_passed,
                                MarkerTable& offsets)
{
    offsets.fill(0.0f);
    MarkerScan scan{NO_MARKER, 0};
    const float centre_x = float(screen_w / 2);
    const float centre_y = float(screen_h / 2);
    // Value by value: a matched record does not skip ahead, so its own values
    // are read again as candidates for the token.
    for (int i = 0; i < n; ++i) {
        if (!is_token(values[i], GL_PASS_THROUGH_TOKEN))
            continue;
        // Only a record whose every value was written, and which is not the
        // bare id of a clipped actor, carries a position.
        if (i + RECORD_FLOATS > n || is_token(values[i + AFTER_ID_AT], GL_PASS_THROUGH_TOKEN))
            continue;
        const int id = int(values[i + ID_AT]);
        if (id != WALKER_MARKER_ID && id != FLYER_MARKER_ID)
            continue;
        const float offset_x = centre_x - values[i + WINDOW_X_AT];
        const float offset_y = centre_y - values[i + WINDOW_Y_AT];
        offsets[3 * id] = offset_x;
        offsets[3 * id + 1] = offset_y;
        offsets[3 * id + 2] = values[i + WINDOW_Z_AT];
        const float distance = std::sqrt(offset_x * offset_x + offset_y * offset_y);
        if (distance < scan.nearest) {
            scan.nearest = distance;
            if (distance < LOCK_WINDOW && dwell_passed)
                scan.lock = id;
        }
    }
    return scan;
}

void update_target_markers()
{
    if (game.target_lock == 0)
        search_for_targets();

    // The marker stays on its actor, even one already gone, until the close
    // view is left; only the aim point is raised.
    if (game.target_lock == WALKER_MARKER_ID) {
        const Vec3 at = game.walker_pos;
        target_point = {at.x, at.y + WALKER_AIM_RAISE, at.z};
        draw_lock_marker(at.x, at.y, at.z, WALKER_MARKER_RADIUS, game.walker_health, game.walker_max_health);
    } else if (game.target_lock == FLYER_MARKER_ID) {
        const Vec3 at = game.flyer_pos;
        target_point = {at.x, at.y + FLYER_AIM_RAISE, at.z};
        draw_lock_marker(at.x, at.y, at.z, FLYER_MARKER_RADIUS, game.flyer_health, game.flyer_max_health);
    }
}

void draw_lock_marker(float x, float y, float z, float radius, float health, float full_health)
{
    const float pulse = game.pulse_value.load();
    glPushMatrix();
    glTranslatef(x, y, z);
    glScalef(radius, radius, radius);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    // Health below zero gives a negative green, which OpenGL clamps to 0.
    glColor4f((PULSE_TOP - pulse) / PULSE_TOP, health / full_health, pulse / PULSE_TOP, MARKER_ALPHA);
    draw_sphere_mesh();
    glEnd();
    glPopMatrix();
    glBlendFunc(GL_ONE, GL_ZERO);
}
