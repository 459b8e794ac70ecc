// Turning a heading towards a bearing by their quadrants, numbered 1..4 as
// bearing_and_quadrants numbers them: the one rule the Walker, the Flyer and
// the title menu's fly-over steer by, each at its own rates.
#pragma once

// Degrees a tick.
struct QuadrantTurnRates {
    double within;   // heading and bearing in one quadrant: towards the bearing
    double next;     // into the next-numbered quadrant: towards growing heading
    double previous; // into the one before: towards falling heading
    double opposite; // into the opposite one, the way round chosen against the bearing
};

// The signed turn for this tick, 0 when the quadrants are none of these.
// Angle is the type the caller compares the heading and bearing in (float or
// double): heading +- 180 is rounded in it, and the choice of the way round
// follows that rounding.
template <typename Angle>
double quadrant_turn(int heading_quadrant, int bearing_quadrant, Angle heading, Angle bearing,
                     const QuadrantTurnRates& rates)
{
    const int h = heading_quadrant;
    const int b = bearing_quadrant;
    if (h == b)
        return bearing > heading ? rates.within : -rates.within;
    if (b == h + 1 || (h == 4 && b == 1))
        return rates.next;
    if (b == h - 1 || (h == 1 && b == 4))
        return -rates.previous;
    if ((h == 1 && b == 3) || (h == 2 && b == 4))
        return heading + Angle(180) < bearing ? -rates.opposite : rates.opposite;
    if ((h == 3 && b == 1) || (h == 4 && b == 2))
        return heading - Angle(180) < bearing ? -rates.opposite : rates.opposite;
    return 0.0;
}
