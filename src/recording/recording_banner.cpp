// The caption is rewritten on a copy of the datafile's picture, in the
// caption's own colours read from the picture, so nothing else changes.
#include "recording/recording_banner.h"

#include <allegro.h>

#include "game/banner.h"
#include "game/resources.h"

namespace {

constexpr const char* RECORDING_CAPTION = "recording";

} // namespace

GLuint use_recording_banner()
{
    const GLuint demo_banner = banner_texture;
    BITMAP* const picture = game_bitmap(BANNER_BITMAP);
    BITMAP* const copy = create_bitmap_ex(bitmap_color_depth(picture), picture->w, picture->h);
    if (copy == nullptr)
        return demo_banner;
    blit(picture, copy, 0, 0, 0, 0, picture->w, picture->h);
    const int x0 = BANNER_CAPTION_X, y0 = BANNER_CAPTION_Y;
    const int x1 = x0 + text_length(font, BANNER_CAPTION) - 1, y1 = y0 + text_height(font) - 1;
    // Left of the caption lies the banner's background; the caption's ink is
    // the one other colour inside its box.
    const int background = getpixel(copy, x0 - 1, y0);
    int ink = background;
    for (int y = y0; y <= y1 && ink == background; ++y)
        for (int x = x0; x <= x1 && ink == background; ++x)
            ink = getpixel(copy, x, y);
    rectfill(copy, x0, y0, x1, y1, background);
    textout_ex(copy, font, RECORDING_CAPTION, x0, y0, ink, -1);
    banner_texture = allegro_gl_make_texture(copy);
    glBindTexture(GL_TEXTURE_2D, 0);
    destroy_bitmap(copy);
    if (banner_texture == 0)
        banner_texture = demo_banner;
    return demo_banner;
}

void restore_demo_banner(GLuint demo_banner)
{
    if (banner_texture != demo_banner)
        glDeleteTextures(1, &banner_texture);
    banner_texture = demo_banner;
}
