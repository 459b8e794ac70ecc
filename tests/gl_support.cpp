#include "tests/gl_support.h"

#include <cstdlib>

#include <GL/glu.h>
#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"

Pixel composed_pixel(int x, int y)
{
    unsigned char rgb[3] = {0, 0, 0};
    glFinish();
    read_picture_pixels(x, PICTURE_HEIGHT - 1 - y, 1, 1, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

Pixel clear_colour_pixel()
{
    return {102, 128, 179};
}

bool close_to(Pixel a, Pixel b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Pixel Picture::at(int x, int y) const
{
    const unsigned char* p = &rgb[((PICTURE_HEIGHT - 1 - y) * PICTURE_WIDTH + x) * 3];
    return {p[0], p[1], p[2]};
}

int Picture::count(Pixel colour, int tolerance) const
{
    int n = 0;
    for (int y = 0; y < PICTURE_HEIGHT; ++y)
        for (int x = 0; x < PICTURE_WIDTH; ++x)
            n += close_to(at(x, y), colour, tolerance);
    return n;
}

Patch Picture::patch(Pixel colour) const
{
    Patch p{0, 0.0, 0.0};
    for (int y = 0; y < PICTURE_HEIGHT; ++y) {
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            if (close_to(at(x, y), colour, 0)) {
                ++p.count;
                p.x += x;
                p.y += y;
            }
        }
    }
    if (p.count > 0) {
        p.x /= p.count;
        p.y /= p.count;
    }
    return p;
}

Picture read_screen()
{
    Picture s{std::vector<unsigned char>(PICTURE_WIDTH * PICTURE_HEIGHT * 3)};
    glFinish();
    read_picture_pixels(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, s.rgb.data());
    return s;
}

ScreenPoint project(double x, double y, double z)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    ScreenPoint p{};
    gluProject(x, y, z, model, projection, viewport, &p.x, &p.y, &p.depth);
    p.y = PICTURE_HEIGHT - p.y;
    return p;
}
