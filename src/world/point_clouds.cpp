// The held sequence is a plain linear congruential one: it only has to look
// scattered and come out the same every frame.
#include "world/point_clouds.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uint32_t HELD_SEED = 12345;

bool held_still = false;
std::uint32_t held_state = HELD_SEED;

int held_random()
{
    held_state = held_state * 1103515245u + 12345u;
    return int(held_state >> 1); // 0..2^31-1, as rand's range
}

} // namespace

int random_below(int n)
{
    return (held_still ? held_random() : std::rand()) % n;
}

void hold_clouds_still(bool held)
{
    held_still = held;
}

void start_cloud_frame()
{
    held_state = HELD_SEED;
}
