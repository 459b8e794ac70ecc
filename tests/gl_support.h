// Reading back what a frame drew.
#pragma once

#include <array>

struct Pixel {
    int r, g, b;
};

// The pixel at screen (x, y), y counted from the top, of the frame composed
// in the back buffer.
Pixel composed_pixel(int x, int y);

// The pixel of the start-up clear colour (0.4, 0.5, 0.7).
Pixel clear_colour_pixel();

bool close_to(Pixel a, Pixel b, int tolerance = 2);

#include <ostream>
inline std::ostream& operator<<(std::ostream& out, Pixel p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}
