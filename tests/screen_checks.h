// What the whole-game tests look for in a screen capture: colours, the HUD's
// frame, the demo's banner and its key lights.
#pragma once

#include <cstdlib>

#include "app/title_menu.h"
#include "tests/process_runner.h"
#include "world/hud.h"

using Rgb = ScreenCapture::Rgb;

inline constexpr Rgb CHOSEN_GREEN = {MENU_CHOSEN_COLOUR.red, MENU_CHOSEN_COLOUR.green, MENU_CHOSEN_COLOUR.blue};
inline constexpr Rgb UNCHOSEN_BLUE = {MENU_OTHER_COLOUR.red, MENU_OTHER_COLOUR.green, MENU_OTHER_COLOUR.blue};
inline constexpr int PLAY_ROWS[2] = {20, 75};
inline constexpr int DEMO_ROWS[2] = {115, 170};
inline constexpr int OPTIONS_ROWS[2] = {210, 265};
inline constexpr int QUIT_ROWS[2] = {305, 360};

inline int difference(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

inline bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Pixels within 20 of the colour in rows [y0, y1).
// The world above the health pie and the minimap, clear of the frame rate.
inline bool in_world_view(int x, int y)
{
    return x >= 100 && x < 790 && y >= 10 && y < 390;
}

// Share of the world view whose colour changed markedly between two captures.
inline double changed_share(const ScreenCapture& a, const ScreenCapture& b)
{
    int changed = 0, all = 0;
    for (int y = 0; y < a.height; y += 2)
        for (int x = 0; x < a.width; x += 2)
            if (in_world_view(x, y)) {
                ++all;
                changed += difference(a.at(x, y), b.at(x, y)) > 60;
            }
    return double(changed) / all;
}

inline int count_near(const ScreenCapture& c, Rgb colour, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < c.width; ++x)
            n += near(c.at(x, y), colour, 20);
    return n;
}

// The menu shows the entry in the given rows chosen.
inline bool shows_chosen(const ScreenCapture& c, const int (&rows)[2])
{
    return count_near(c, CHOSEN_GREEN, rows[0], rows[1]) > 150;
}

// The viewport frame's blue on the screen's left, right and bottom edges
// (the demo's banner covers the top one).
inline bool shows_hud_frame(const ScreenCapture& c)
{
    const Rgb blue = {FRAME_COLOUR.red, FRAME_COLOUR.green, FRAME_COLOUR.blue};
    return near(c.at(1, 300), blue, 3) && near(c.at(798, 300), blue, 3) && near(c.at(400, 598), blue, 3);
}

// The demo's banner ends at row 150: a seam across the whole screen there.
inline bool shows_banner(const ScreenCapture& c)
{
    int seam = 0;
    for (int x = 0; x < c.width; ++x)
        seam += difference(c.at(x, 144), c.at(x, 156)) > 20;
    return seam > c.width * 9 / 10;
}

inline double brightness(const ScreenCapture& c, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb p = c.at(x, y);
            sum += p.r + p.g + p.b;
        }
    return sum / ((x1 - x0) * (y1 - y0));
}

// The demo banner's indicators of the Up and Down keys.
inline double up_key_light(const ScreenCapture& c)
{
    return brightness(c, 585, 106, 608, 121);
}

inline double down_key_light(const ScreenCapture& c)
{
    return brightness(c, 585, 130, 608, 145);
}

// The banner lights Up's key and not Down's: the showcase is walking.
inline bool lights_up_not_down(const ScreenCapture& c)
{
    return shows_banner(c) && up_key_light(c) > down_key_light(c) + 20.0;
}
