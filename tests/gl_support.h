// Reading back what a frame drew, and keeping the shared game state intact.
#pragma once

#include <ostream>
#include <tuple>
#include <vector>

struct Pixel {
    int r, g, b;
};

// The pixel at screen (x, y), y counted from the top, of the frame as composed.
Pixel composed_pixel(int x, int y);

// The pixel of the start-up clear colour (0.4, 0.5, 0.7).
Pixel clear_colour_pixel();

bool close_to(Pixel a, Pixel b, int tolerance = 2);

inline std::ostream& operator<<(std::ostream& out, Pixel p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

// Where pixels of one colour lie on the screen: how many, and their mean.
struct Patch {
    int count;
    double x, y;
};

// The whole 800 x 600 picture as composed, row 0 at the top.
struct Picture {
    std::vector<unsigned char> rgb;
    Pixel at(int x, int y) const;
    int count(Pixel colour, int tolerance = 0) const;
    Patch patch(Pixel colour) const;
};

Picture read_screen();

// Where a world point lands on the screen under the current matrices and
// viewport, with y counted from the top.
struct ScreenPoint {
    double x, y, depth;
};

ScreenPoint project(double x, double y, double z);

// Holds copies of the given fields and writes them back when it goes out of
// scope, so that a test leaves the shared game state as it found it.
template <class... T>
class Restorer {
public:
    explicit Restorer(T&... fields) : fields_(fields...), values_(fields...) {}
    ~Restorer() { fields_ = values_; }
    Restorer(const Restorer&) = delete;
    Restorer& operator=(const Restorer&) = delete;

private:
    std::tuple<T&...> fields_;
    std::tuple<T...> values_;
};
