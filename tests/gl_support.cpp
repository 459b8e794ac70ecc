#include "tests/gl_support.h"

#include <cstdlib>

#include <allegro.h>
#include <alleggl.h>

Pixel composed_pixel(int x, int y)
{
    unsigned char rgb[3] = {0, 0, 0};
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, SCREEN_H - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
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
