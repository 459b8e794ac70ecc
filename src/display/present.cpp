// The scaling pass is plain OpenGL: the picture is copied
// from the back buffer's bottom-left corner into a texture and drawn back as
// one quad over the window, black around it. The frames are composed under a
// scissor of the picture's size, so that clearing them costs no more than at
// 800 x 600. The pass saves and restores every other piece of state it
// touches.
#include "display/present.h"

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/screen_fit.h"
#include "display/window_mode.h"
#include "platform/x11_window.h"

namespace {

// The smallest power of two that holds the picture's 800 and 600.
constexpr int TEXTURE_SIZE = 1024;

// Where the quad's corners sample the texture. At a whole multiple they are
// the picture's own corners. A smooth scaling puts them on the centres of
// its corner texels instead, so that the filter never reaches past the
// picture into the rest of the texture: that costs the edge pixels half
// their width, and spares three more copies a frame.
struct TextureWindow {
    float u0, v0, u1, v1;
};

constexpr TextureWindow WHOLE_PICTURE = {0.0f, 0.0f, float(PICTURE_WIDTH) / TEXTURE_SIZE,
                                         float(PICTURE_HEIGHT) / TEXTURE_SIZE};
constexpr TextureWindow TEXEL_CENTRES = {0.5f / TEXTURE_SIZE, 0.5f / TEXTURE_SIZE,
                                         (PICTURE_WIDTH - 0.5f) / TEXTURE_SIZE,
                                         (PICTURE_HEIGHT - 0.5f) / TEXTURE_SIZE};

GLuint picture_texture = 0;

// BGRA texels, as the window's own pixels are laid out. The unsized GL_RGBA
// lets the driver keep them in that order (a sized GL_RGBA8 makes Mesa store
// them as RGBA), so that the copy needs no swizzle.
void make_picture_texture()
{
    glGenTextures(1, &picture_texture);
    glBindTexture(GL_TEXTURE_2D, picture_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TEXTURE_SIZE, TEXTURE_SIZE, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void clear_black(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    glScissor(x, y, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Black on every side of the picture, every frame: after a flip the back
// buffer may hold anything, and the frame was composed in its corner.
void black_out_bars(const PictureRect& r, int window_w, int window_h)
{
    const int right = r.x + r.w, top = r.y + r.h;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    clear_black(0, 0, r.x, window_h);
    clear_black(right, 0, window_w - right, window_h);
    clear_black(r.x, 0, r.w, r.y);
    clear_black(r.x, top, r.w, window_h - top);
    glDisable(GL_SCISSOR_TEST);
}

void draw_picture_quad(const PictureRect& r, const TextureWindow& t)
{
    const int x1 = r.x + r.w, y1 = r.y + r.h;
    glBegin(GL_QUADS);
    glTexCoord2f(t.u0, t.v0);
    glVertex2i(r.x, r.y);
    glTexCoord2f(t.u1, t.v0);
    glVertex2i(x1, r.y);
    glTexCoord2f(t.u1, t.v1);
    glVertex2i(x1, y1);
    glTexCoord2f(t.u0, t.v1);
    glVertex2i(r.x, y1);
    glEnd();
}

} // namespace

void scale_picture_to_window()
{
    int window_w, window_h;
    read_window_size(window_w, window_h);
    // A window of the picture's size shows it as it is; one too small for it
    // shows what it holds of it, as a picture that cannot be scaled.
    if ((window_w == PICTURE_WIDTH && window_h == PICTURE_HEIGHT) || window_w < PICTURE_WIDTH ||
        window_h < PICTURE_HEIGHT)
        return;
    const PictureRect r = fit_picture(window_w, window_h, picture_scaling());
    // At a whole multiple every pixel becomes a square block, sharper than a blend.
    const bool smooth =
        r.w % PICTURE_WIDTH != 0 || r.h % PICTURE_HEIGHT != 0 || r.w / PICTURE_WIDTH != r.h / PICTURE_HEIGHT;

    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT |
                 GL_SCISSOR_BIT);
    if (picture_texture == 0)
        make_picture_texture();
    glBindTexture(GL_TEXTURE_2D, picture_texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    black_out_bars(r, window_w, window_h);

    glViewport(0, 0, window_w, window_h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, window_w, 0.0, window_h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    draw_picture_quad(r, smooth ? TEXEL_CENTRES : WHOLE_PICTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    // The next frame is composed within the picture's corner only.
    glScissor(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    glEnable(GL_SCISSOR_TEST);
}

void present_frame()
{
    scale_picture_to_window();
    glFlush();
    allegro_gl_flip();
    // After the flip, so the next frame is the first drawn at the new size.
    if (take_full_screen_toggle())
        toggle_full_screen();
}
