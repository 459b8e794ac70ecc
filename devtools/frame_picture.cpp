#include "devtools/frame_picture.h"

#include <cstddef>
#include <vector>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"
#include "display/picture_target.h"
#include "platform/x11_window.h"

namespace {

// w x h pixels read bottom row first, as OpenGL reads them.
bool save_pixels(const char* path, const std::vector<unsigned char>& rgb, int w, int h, int shrink)
{
    const int f = shrink < 1 ? 1 : shrink;
    BITMAP* shot = create_bitmap_ex(24, w / f, h / f);
    if (shot == nullptr)
        return false;
    const int n = f * f;
    for (int y = 0; y < h / f; ++y)
        for (int x = 0; x < w / f; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < f; ++dy)
                for (int dx = 0; dx < f; ++dx) {
                    // GL rows run bottom-up.
                    const unsigned char* p = &rgb[(std::size_t(h - 1 - (f * y + dy)) * w + f * x + dx) * 3];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c];
                }
            putpixel(shot, x, y, makecol24((sum[0] + n / 2) / n, (sum[1] + n / 2) / n, (sum[2] + n / 2) / n));
        }
    PALETTE palette;
    get_palette(palette);
    const bool saved = save_bmp(path, shot, palette) == 0;
    destroy_bitmap(shot);
    return saved;
}

} // namespace

bool save_frame_picture(const char* path, int shrink)
{
    std::vector<unsigned char> rgb(std::size_t(picture_width()) * picture_height() * 3);
    glFinish();
    read_picture_pixels(0, 0, picture_width(), picture_height(), rgb.data());
    return save_pixels(path, rgb, picture_width(), picture_height(), shrink);
}

bool save_window_picture(const char* path, int shrink)
{
    int w, h;
    read_window_size(w, h);
    std::vector<unsigned char> rgb(std::size_t(w) * h * 3);
    glFinish();
    read_window_pixels(w, h, rgb.data());
    return save_pixels(path, rgb, w, h, shrink);
}
