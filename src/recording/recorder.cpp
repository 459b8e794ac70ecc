// Each tick's actions reach the game through its own demo reader: the
// recorder writes the record into a pipe just before the tick, and the tick
// reads it from the pipe as it reads a recording that cannot seek. What the game plays
// is therefore exactly what is recorded, and what DEMO will play back.
#include "recording/recorder.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include <unistd.h>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "display/picture.h"
#include "display/present.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/timers.h"
#include "gameplay/controls.h"
#include "input/demo.h"
#include "world/frame.h"

namespace {

constexpr int MARK_X = 268;       // screen pixels, between the health pie and the minimap
constexpr int MARK_Y = 572;
constexpr float MARK_RADIUS = 9.0f;
constexpr int MARK_SLICES = 24;
// The HUD's font was made 16 times smaller than its 8-pixel glyphs.
constexpr int MARK_TEXT_HEIGHT = 16;
constexpr float MARK_TEXT_SCALE = 16.0f * MARK_TEXT_HEIGHT / 8.0f;

bool write_record(int fd, const DemoRecord& record)
{
    return write(fd, record.data(), record.size()) == ssize_t(record.size());
}

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

// Each tick's live actions are written into the pipe just before the tick
// reads them, so a read never waits and the pipe never holds more than two
// records; past the demo's length no tick runs.
class RecorderHooks : public LoopHooks {
public:
    RecorderHooks(Recording& recording, int pipe_end) : recording_(recording), pipe_end_(pipe_end) {}

    bool before_tick() override
    {
        if (!fed || game.demo_index > DEMO_LAST_RECORD)
            return false;
        poll_keyboard();
        DemoRecord& record = recording_.records[std::size_t(game.demo_index)];
        record = live_actions();
        fed = write_record(pipe_end_, record);
        if (fed)
            recording_.ticks = game.demo_index;
        return fed;
    }
    void over_frame() override { draw_recording_mark(DEMO_LAST_RECORD - recording_.ticks); }
    bool should_end() override { return !fed; }

    bool fed = true;

private:
    Recording& recording_;
    int pipe_end_;
};

} // namespace

bool run_recorder(Recording& recording)
{
    recording.records.assign(DEMO_LAST_RECORD + 1, DemoRecord{});
    recording.ticks = 0;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0)
        return false;
    std::FILE* stream = fdopen(pipe_ends[0], "rb");
    if (stream == nullptr) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return false;
    }
    use_demo_stream(stream);
    game.demo_mode = 1;
    place_player_for_mode();
    // Record 0 is never played; the reader passes over it to record 1.
    RecorderHooks hooks(recording, pipe_ends[1]);
    hooks.fed = write_record(pipe_ends[1], recording.records[0]);
    if (hooks.fed)
        run_loop(LoopScene::game, LoopClock::timers, FrameEnd::flip, hooks);
    close(pipe_ends[1]);
    return hooks.fed;
}
