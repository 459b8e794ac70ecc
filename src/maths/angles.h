// Angle conversions. Headings are degrees (0 along +z, 90 along +x); Allegro's
// rotations take binary degrees, 256 to the full turn.
#pragma once

#include <numbers>

inline double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

inline double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

// Degrees to Allegro's binary degrees, in double precision.
inline double binary_angle(double degrees)
{
    return degrees * 256.0 / 360.0;
}
