// The font's letters are half a unit square (8 of its pixels at 16 a unit);
// in the text's view, the depth at which they are `size` pixels tall follows
// from the view's angle, and x and y from where that depth's edges lie.
#include "app/menu_text.h"

#include <cmath>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "game/resources.h"
#include "maths/angles.h"
#include "world/camera.h"

namespace {

constexpr double LETTER_UNITS = 0.5;

} // namespace

void draw_menu_text(float x, float y, float size, const ByteColour& colour, const char* text)
{
    const double half_height = std::tan(radians(TEXT_FOV / 2.0)); // per unit of depth
    const double depth = LETTER_UNITS * PICTURE_HEIGHT / (2.0 * half_height * size);
    const double across = (double(x) - PICTURE_WIDTH / 2.0) / (PICTURE_WIDTH / 2.0) * depth * half_height * ASPECT_BASE;
    const double up = (PICTURE_HEIGHT / 2.0 - double(y)) / (PICTURE_HEIGHT / 2.0) * depth * half_height;
    allegro_gl_printf(hud_font, float(across), float(up), float(-depth), makecol(colour.red, colour.green, colour.blue),
                      "%s", text);
}

void shade_picture(float share)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, share);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
