#include "display/screen_fit.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "display/picture.h"

namespace {

constexpr int LARGEST_SIDE = 16384; // pixels, beyond any screen made

// The whole of text as a number in 1..largest, else 0.
int whole_number(const char* first, const char* last, int largest)
{
    int n = 0;
    const auto [end, error] = std::from_chars(first, last, n);
    if (error != std::errc() || end != last || n < 1 || n > largest)
        return 0;
    return n;
}

} // namespace

PictureRect fit_picture(int window_w, int window_h, Scaling scaling)
{
    int w, h;
    if (scaling == Scaling::whole) {
        const int k = std::max(1, std::min(window_w / PICTURE_WIDTH, window_h / PICTURE_HEIGHT));
        w = PICTURE_WIDTH * k;
        h = PICTURE_HEIGHT * k;
    } else if (long(window_w) * PICTURE_HEIGHT <= long(window_h) * PICTURE_WIDTH) {
        w = window_w; // bars above and below, or none
        h = int((long(window_w) * PICTURE_HEIGHT + PICTURE_WIDTH / 2) / PICTURE_WIDTH);
    } else {
        h = window_h; // bars left and right
        w = int((long(window_h) * PICTURE_WIDTH + PICTURE_HEIGHT / 2) / PICTURE_HEIGHT);
    }
    return {(window_w - w) / 2, (window_h - h) / 2, w, h};
}

DisplayChoice read_display_choice(const char* window, const char* scaling, std::string& complaint)
{
    DisplayChoice choice;
    complaint.clear();
    const auto complain = [&complaint](const std::string& text) {
        complaint += (complaint.empty() ? "" : "; ") + text;
    };
    if (scaling != nullptr && *scaling != '\0' && std::strcmp(scaling, "smooth") != 0) {
        if (std::strcmp(scaling, "whole") == 0)
            choice.scaling = Scaling::whole;
        else
            complain("IRONSTEP_SCALING is neither smooth nor whole: scaling smoothly");
    }
    if (window == nullptr || *window == '\0')
        return choice;
    choice.windowed = true;
    if (std::strcmp(window, "fit") == 0)
        return choice;
    const char* end = window + std::strlen(window);
    const char* by = std::strchr(window, 'x');
    if (by == nullptr) {
        choice.window_scale = whole_number(window, end, SCALE_MAX);
    } else {
        const int w = whole_number(window, by, LARGEST_SIDE);
        const int h = whole_number(by + 1, end, LARGEST_SIDE);
        if (w >= PICTURE_WIDTH && h >= PICTURE_HEIGHT)
            choice.window_size = {w, h};
    }
    if (choice.window_scale == 0 && choice.window_size.w == 0)
        complain("IRONSTEP_WINDOW is not fit, a scale from 1 to " + std::to_string(SCALE_MAX) +
                 " or a size of at least 800x600: the largest window that fits");
    return choice;
}

int largest_scale_that_fits(int desktop_w, int desktop_h)
{
    return std::max(1, std::min(desktop_w / PICTURE_WIDTH, desktop_h / PICTURE_HEIGHT));
}

WindowSize window_size_for(const DisplayChoice& choice, int desktop_w, int desktop_h)
{
    if (choice.window_size.w != 0)
        return choice.window_size;
    const int fits = largest_scale_that_fits(desktop_w, desktop_h);
    const int k = choice.window_scale == 0 ? fits : std::min(choice.window_scale, fits);
    return {PICTURE_WIDTH * k, PICTURE_HEIGHT * k};
}
