// The game's rule for fractional increments.
#pragma once

// Fractional increments are computed in double precision and stored as float.
constexpr void add_to(float& value, double increment)
{
    value = float(double(value) + increment);
}
