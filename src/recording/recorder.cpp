// The game's loop keeps each tick's actions after the tick, exactly as the
// tick was given them: what the game plays is what is recorded, and what
// DEMO will play back.
#include "recording/recorder.h"

#include <cmath>
#include <numbers>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "display/picture.h"
#include "display/present.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "world/frame.h"

namespace {

constexpr int MARK_X = 268;       // screen pixels, between the health pie and the minimap
constexpr int MARK_Y = 572;
constexpr float MARK_RADIUS = 9.0f;
constexpr int MARK_SLICES = 24;
// The HUD's font was made 16 times smaller than its 8-pixel glyphs.
constexpr int MARK_TEXT_HEIGHT = 16;
constexpr float MARK_TEXT_SCALE = 16.0f * MARK_TEXT_HEIGHT / 8.0f;

void draw_dot()
{
    glColor4f(0.9f, 0.05f, 0.05f, 1.0f);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(float(MARK_X), float(MARK_Y));
    for (int i = MARK_SLICES; i >= 0; --i) {
        const double a = 2.0 * std::numbers::pi * i / MARK_SLICES;
        glVertex2f(float(MARK_X + MARK_RADIUS * std::cos(a)), float(MARK_Y + MARK_RADIUS * std::sin(a)));
    }
    glEnd();
}

} // namespace

void draw_recording_mark(int ticks_left)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, picture_width(), 0.0, picture_height()); // y upward, as the font is drawn
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, picture_width(), picture_height());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTranslatef(0.0f, float(picture_height()), 0.0f);
    glScalef(1.0f, -1.0f, 1.0f); // screen pixels, y downward, for the dot
    draw_dot();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D); // the font's glyphs are textures
    glTranslatef(float(MARK_X + 2 * MARK_RADIUS), float(picture_height() - MARK_Y), 0.0f);
    glScalef(MARK_TEXT_SCALE, MARK_TEXT_SCALE, 1.0f);
    allegro_gl_printf(hud_font, 0.0f, 0.0f, 0.0f, makecol(230, 20, 20), "REC %4d ticks left", ticks_left);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

namespace {

class RecorderHooks : public LoopHooks {
public:
    explicit RecorderHooks(const ActionLog& log) : log_(log) {}

    void over_frame() override { draw_recording_mark(log_.room - log_.count); }

private:
    const ActionLog& log_;
};

} // namespace

void run_recorder(Recording& recording)
{
    // Record 0 is never played: the ticks fill records 1 to the last, and
    // past the demo's length no tick runs.
    recording.records.assign(DEMO_LAST_RECORD + 1, ActionBytes{});
    ActionLog log = {recording.records.data() + 1, DEMO_LAST_RECORD};
    game.demo_mode = 1;
    place_player_for_mode();
    RecorderHooks hooks(log);
    run_loop({.input = {.source = TickSource::devices, .kept = &log},
              .player_keys = {.pause = true, .screenshot = true}},
             hooks);
    recording.ticks = log.count;
}
