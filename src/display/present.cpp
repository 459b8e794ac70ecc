// The scaling pass. On the fast path the frame was composed in a framebuffer
// object whose colour is a texture: the pass draws that texture as one quad
// through a fragment program. The fallback is plain OpenGL: the picture is
// copied from the back buffer's bottom-left corner into a texture and drawn
// back over the window, the frames composed under a scissor of the
// picture's size so that clearing them costs no more than at 800 x 600.
// Either way black goes round the picture, and the pass saves and restores
// every other piece of state it touches.
#include "display/present.h"

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"
#include "display/screen_fit.h"
#include "display/window_mode.h"
#include "platform/x11_window.h"

namespace {

// The fallback's texture: the smallest power of two that holds the
// picture's 800 and 600. The fast path's is the picture's own size.
constexpr int TEXTURE_SIZE = 1024;

// Where the quad's corners sample the texture, as fractions of its size.
struct TextureWindow {
    float u0, v0, u1, v1;
};

// At a whole multiple the corners are the picture's own. A smooth scaling
// puts them on the centres of its corner texels instead, so that the filter
// never reaches past the picture into the rest of the texture: that costs
// the edge pixels half their width, and spares three more copies a frame.
TextureWindow texture_window(bool smooth, int texture_w, int texture_h)
{
    const float inset = smooth ? 0.5f : 0.0f;
    return {inset / float(texture_w), inset / float(texture_h), (float(PICTURE_WIDTH) - inset) / float(texture_w),
            (float(PICTURE_HEIGHT) - inset) / float(texture_h)};
}

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
// buffer may hold anything (and on the fallback the frame was composed in
// its corner).
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

// The textured quad in window pixels, from the texture bound.
void draw_picture_quad(const PictureRect& r, const TextureWindow& t, int window_w, int window_h)
{
    glViewport(0, 0, window_w, window_h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, window_w, 0.0, window_h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
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
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// What the quad needs, whichever pass draws it.
void begin_pass(bool smooth)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT |
                 GL_SCISSOR_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture_offscreen() ? picture_texture_name() : picture_texture);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

// The framebuffer object's texture straight onto the window, through the
// fragment program: no copy, no projective lookup.
void fast_pass(const PictureRect& r, bool smooth, int window_w, int window_h)
{
    draw_to_window();
    begin_pass(smooth);
    black_out_bars(r, window_w, window_h);
    glEnable(GL_FRAGMENT_PROGRAM_ARB);
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, scaling_program_name());
    TextureWindow t = texture_window(smooth, PICTURE_WIDTH, PICTURE_HEIGHT);
    if (picture_upside_down())
        t = {t.u0, 1.0f - t.v0, t.u1, 1.0f - t.v1};
    draw_picture_quad(r, t, window_w, window_h);
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, 0);
    glPopAttrib();
    draw_to_picture();
}

void fallback_pass(const PictureRect& r, bool smooth, int window_w, int window_h)
{
    if (picture_texture == 0)
        make_picture_texture();
    begin_pass(smooth);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    black_out_bars(r, window_w, window_h);
    draw_picture_quad(r, texture_window(smooth, TEXTURE_SIZE, TEXTURE_SIZE), window_w, window_h);
    glPopAttrib();
    // The next frame is composed within the picture's corner only.
    glScissor(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    glEnable(GL_SCISSOR_TEST);
}

} // namespace

void scale_picture_to_window()
{
    int window_w, window_h;
    read_window_size(window_w, window_h);
    // A window of the picture's size shows it as it is; one too small for it
    // shows what it holds of it, as a picture that cannot be scaled. The
    // fallback has nothing to do there: the picture is on the window already.
    const bool as_it_is = (window_w == PICTURE_WIDTH && window_h == PICTURE_HEIGHT) || window_w < PICTURE_WIDTH ||
                          window_h < PICTURE_HEIGHT;
    if (as_it_is && !picture_offscreen())
        return;
    const PictureRect r =
        as_it_is ? PictureRect{0, 0, PICTURE_WIDTH, PICTURE_HEIGHT} : fit_picture(window_w, window_h, picture_scaling());
    // At a whole multiple every pixel becomes a square block, sharper than a blend.
    const bool smooth =
        r.w % PICTURE_WIDTH != 0 || r.h % PICTURE_HEIGHT != 0 || r.w / PICTURE_WIDTH != r.h / PICTURE_HEIGHT;
    if (picture_offscreen())
        fast_pass(r, smooth, window_w, window_h);
    else
        fallback_pass(r, smooth, window_w, window_h);
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
