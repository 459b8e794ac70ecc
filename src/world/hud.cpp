// The HUD works in the picture's pixels, y downward, origin top-left. Every polygon
// is wound counter-clockwise as seen on the screen so that it stays
// front-facing under the back-face culling that is on for the whole run.
#include "world/hud.h"

#include <algorithm>
#include <cmath>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "display/picture.h"
#include "game/banner.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "game/timers.h"
#include "gameplay/lock_on.h"
#include "gameplay/player.h"
#include "input/tick_actions.h"
#include "maths/angles.h"
#include "world/camera.h"

namespace {

// 0.325 rather than the usual 0.375 puts the integer lines on the pixels the
// HUD was laid out for.
constexpr double PIXEL_OFFSET = 0.325;

constexpr int SIGHT_HALF_WIDTH = 50;
constexpr double SIGHT_HALF_HEIGHT = 50.0 / 1.33;
constexpr int SIGHT_GREEN = 128;
constexpr int SIGHT_BLUE = 16;

constexpr float DISK_RADIUS = 100.0f;
constexpr float DISK_CENTRE_X = 150.0f;
constexpr int DISK_CENTRE_ABOVE_BOTTOM = 100;
constexpr int DISK_SLICES = 100;
constexpr int FULL_HEALTH = 100;

constexpr int MINIMAP_SIZE = 200;
constexpr double WORLD_SIZE = 2500.0;   // world units across the building map
constexpr double MINIMAP_SPAN = 1250.0; // half the world, divided by the zoom

// The frame rate's text is scaled down by 10 in the text projection.
constexpr float TEXT_SCALE = 0.1f;

// Orange as a target marker nears the screen centre, dark green when none is
// in sight. Without a graphics mode R is 0 and the sight stays dark green.
int sight_red()
{
    const float d = game.nearest_marker_distance;
    if (d == NO_MARKER)
        return 0;
    const int sw = picture_width();
    const int sh = picture_height();
    const double r = std::sqrt(double((sw / 2) * sw / 2 + (sh / 2) * sh / 2));
    if (r <= 0.0 || d >= r)
        return 0;
    return std::clamp(int(std::trunc(255.0 * (r - d) / r)), 0, 255);
}

void set_tint(const Tint& t)
{
    glColor4f(t.red, t.green, t.blue, t.alpha);
}

void draw_gunsight(int red)
{
    const int cx = picture_width() / 2;
    const int cy = picture_height() / 2;
    glColor3ub(GLubyte(red), SIGHT_GREEN, SIGHT_BLUE);
    glBegin(GL_LINES);
    glVertex2i(cx - SIGHT_HALF_WIDTH, cy);
    glVertex2i(cx + SIGHT_HALF_WIDTH, cy);
    glVertex2i(cx, int(picture_height() / 2 - SIGHT_HALF_HEIGHT));
    glVertex2i(cx, int(picture_height() / 2 + SIGHT_HALF_HEIGHT));
    glEnd();
}

} // namespace

void draw_viewport_frame()
{
    const int x0 = (picture_width() - game.viewport_width) / 2;
    const int x1 = (picture_width() + game.viewport_width) / 2;
    const int y0 = (picture_height() - game.viewport_height) / 2;
    const int y1 = (picture_height() + game.viewport_height) / 2;
    glColor3ub(GLubyte(FRAME_COLOUR.red), GLubyte(FRAME_COLOUR.green), GLubyte(FRAME_COLOUR.blue));
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_LINE_LOOP);
    glVertex2i(x0, y0);
    glVertex2i(x1 - 1, y0);
    glVertex2i(x1 - 1, y1 - 1);
    glVertex2i(x0, y1 - 1);
    glEnd();
}

void draw_health_disk()
{
    // The player never dies, so health can fall below 0: that shows as an empty pie.
    const int shown = std::clamp(game.player_health, 0, FULL_HEALTH);
    const float cy = float(picture_height() - DISK_CENTRE_ABOVE_BOTTOM);
    // Flat shading gives each triangle the colour of its last rim vertex.
    glShadeModel(GL_FLAT);
    glBegin(GL_TRIANGLE_FAN);
    set_tint(HEALTH_LEFT_TINT);
    glVertex2f(DISK_CENTRE_X, cy);
    for (int i = 0; i <= DISK_SLICES; ++i) {
        // Whole degrees, so the slices are uneven by up to one degree.
        const double a = radians(double((i * 360) / DISK_SLICES));
        glVertex2f(float(DISK_CENTRE_X - DISK_RADIUS * std::sin(a)), float(cy - DISK_RADIUS * std::cos(a)));
        if (i == shown)
            set_tint(HEALTH_LOST_TINT);
    }
    glEnd();
    glShadeModel(GL_SMOOTH);
}

void draw_minimap()
{
    glBindTexture(GL_TEXTURE_2D, minimap_texture);
    set_tint(MINIMAP_TINT);
    const double h = MINIMAP_SPAN / game.minimap_zoom;
    const double x = player_position.x;
    const double z = player_position.z;
    // Bitmap rows are uploaded bottom-up, so world z runs upward on the map.
    const float u_left = float((x - h) / WORLD_SIZE);
    const float u_right = float((x + h) / WORLD_SIZE);
    const float v_top = float((WORLD_SIZE - z - h) / WORLD_SIZE);
    const float v_bottom = float((WORLD_SIZE - z + h) / WORLD_SIZE);
    const int left = picture_width() - MINIMAP_SIZE;
    const int top = picture_height() - MINIMAP_SIZE;
    glBegin(GL_QUADS);
    glTexCoord2f(u_left, v_top);
    glVertex2i(left, top);
    glTexCoord2f(u_left, v_bottom);
    glVertex2i(left, picture_height());
    glTexCoord2f(u_right, v_bottom);
    glVertex2i(picture_width(), picture_height());
    glTexCoord2f(u_right, v_top);
    glVertex2i(picture_width(), top);
    glEnd();
    // Nothing after the map, in this frame or the next, is drawn textured.
    glBindTexture(GL_TEXTURE_2D, 0);
}

void draw_demo_banner()
{
    glBindTexture(GL_TEXTURE_2D, banner_texture);
    set_tint(BANNER_TINT);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(0, 0);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(0, BANNER_HEIGHT);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(picture_width(), BANNER_HEIGHT);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(picture_width(), 0);
    glEnd();

    glBindTexture(GL_TEXTURE_2D, 0);
    glBegin(GL_QUADS);
    for (int i = 0; i < ACTION_COUNT; ++i) {
        if (!pressed(tick_actions[std::size_t(i)]))
            continue;
        const ScreenRect& r = input_indicator_rects[i];
        glColor4f(0.55f, 0.75f, 1.0f, 0.4f);
        glVertex2f(r.x1, r.y1);
        glColor4f(0.15f, 0.35f, 0.6f, 0.25f);
        glVertex2f(r.x1, r.y2);
        glVertex2f(r.x2, r.y2);
        // The green above 1 is clamped by the GL.
        glColor4f(0.65f, 1.05f, 1.0f, 0.55f);
        glVertex2f(r.x2, r.y1);
    }
    glEnd();
}

void begin_text_overlay()
{
    glViewport(0, 0, picture_width(), picture_height());
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    load_text_projection();
}

void end_text_overlay()
{
    glBlendFunc(GL_ONE, GL_ZERO);
    glEnable(GL_DEPTH_TEST);
}

void load_text_projection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(TEXT_FOV, ASPECT_BASE, TEXT_NEAR, TEXT_FAR);
    glMatrixMode(GL_MODELVIEW);
}

void draw_hud()
{
    glViewport(0, 0, picture_width(), picture_height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(-PIXEL_OFFSET, picture_width() - PIXEL_OFFSET, picture_height() - PIXEL_OFFSET, -PIXEL_OFFSET);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    draw_viewport_frame();
    // Worked out every frame, drawn only when looking out of the cockpit unlocked.
    const int red = sight_red();
    if (game.view_mode == 1 && game.target_lock == 0)
        draw_gunsight(red);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    draw_health_disk();
    draw_minimap();
    if (game.demo_mode == 1)
        draw_demo_banner();

    load_text_projection();
    glScalef(TEXT_SCALE, TEXT_SCALE, TEXT_SCALE);
    allegro_gl_printf(hud_font, -20.0f, 2.6f, -34.0f, makecol(FPS_TEXT_COLOUR.red, FPS_TEXT_COLOUR.green, FPS_TEXT_COLOUR.blue), "FPS:  %d ", fps_value.load());

    // The world is drawn opaque, with the depth test.
    glBlendFunc(GL_ONE, GL_ZERO);
    glScalef(1.0f / TEXT_SCALE, 1.0f / TEXT_SCALE, 1.0f / TEXT_SCALE);
    glEnable(GL_DEPTH_TEST);
}
