// The sine table and the whole-sound steps of the building blocks.
#include "sound/synth.h"

#include <algorithm>
#include <array>

namespace {

constexpr int SINE_STEPS = 4096;

// One turn of the sine and one step beyond it, for the interpolation.
std::array<float, SINE_STEPS + 1> make_sine_table()
{
    std::array<float, SINE_STEPS + 1> table{};
    for (int i = 0; i <= SINE_STEPS; ++i)
        table[std::size_t(i)] = float(std::sin(2.0 * std::numbers::pi * i / SINE_STEPS));
    return table;
}

const std::array<float, SINE_STEPS + 1> SINE_TABLE = make_sine_table();

} // namespace

float sine_turns(double turns)
{
    return sine_of_fraction(turns - std::floor(turns));
}

float sine_of_fraction(double turns)
{
    const double at = turns * SINE_STEPS;
    const int i = std::min(int(at), SINE_STEPS - 1);
    const float f = float(at - i);
    return SINE_TABLE[std::size_t(i)] + f * (SINE_TABLE[std::size_t(i) + 1] - SINE_TABLE[std::size_t(i)]);
}

void join_loop(std::span<float> out, int fade)
{
    const std::size_t loop = out.size() - std::size_t(fade);
    for (int i = 0; i < fade; ++i) {
        const float w = float(i) / float(fade);
        out[std::size_t(i)] = w * out[std::size_t(i)] + (1.0f - w) * out[loop + std::size_t(i)];
    }
}

void set_peak(std::span<float> out, float peak)
{
    float loudest = 0.0f;
    for (float s : out)
        loudest = std::max(loudest, std::fabs(s));
    if (loudest <= 0.0f)
        return;
    const float k = peak / loudest;
    for (float& s : out)
        s *= k;
}
