// Small numeric helpers shared across the game.
#pragma once

#include <numbers>

// Fractional increments are computed in double precision and stored as float.
inline void add_to(float& value, double increment)
{
    value = float(double(value) + increment);
}

inline double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

inline double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}
