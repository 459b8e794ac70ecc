// The loudness is an inverse-distance law with a reference distance, so it
// stays finite at the ear; the balance is the sine of the bearing relative to
// the facing, so a source straight ahead or behind sounds from the middle.
#include "sound/placement.h"

#include <algorithm>
#include <cmath>

#include "maths/angles.h"

Placement place_sound(const Listener& listener, const Vec3& where)
{
    const double dx = double(where.x) - listener.at.x;
    const double dy = double(where.y) - listener.at.y;
    const double dz = double(where.z) - listener.at.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(distance < HEARING_RANGE))
        return {0.0f, 0.0f};
    double gain = HALF_LOUDNESS_DISTANCE / (HALF_LOUDNESS_DISTANCE + distance);
    gain *= std::min(1.0, (HEARING_RANGE - distance) / FADE_OUT_STRETCH);
    const double ground = std::sqrt(dx * dx + dz * dz);
    if (ground <= 0.0)
        return {float(gain), 0.0f};
    // Positive to the left: sin(bearing - heading), with the bearing's sine
    // and cosine dx / ground and dz / ground.
    const double h = radians(listener.heading);
    const double left = (dx * std::cos(h) - dz * std::sin(h)) / ground;
    const double width = std::clamp((distance - CENTRE_DISTANCE) / CENTRE_DISTANCE, 0.0, 1.0) * WIDEST_BALANCE;
    return {float(gain), float(-left * width)};
}

int pan_of(float balance)
{
    return std::clamp(int(std::lround(127.5 + 127.5 * double(balance))), 0, 255);
}
