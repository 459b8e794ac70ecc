// The building blocks the effects are made of: noise, a sine oscillator,
// filters and envelopes, all on plain floats at the game's sample rate.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>

// Samples per second of every effect, and of the mixer that plays them.
constexpr int SOUND_RATE = 22050;

// Frames in `seconds` of sound.
constexpr int frames_of(double seconds)
{
    return int(seconds * SOUND_RATE + 0.5);
}

// White noise in -1..1 from a seeded generator of its own, so the game's
// rand() sequence is never touched and every effect comes out the same.
struct Noise {
    std::uint32_t state;
    float next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return float(state >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }
};

// The sine of a phase given in turns, from a table with linear interpolation
// (far cheaper than std::sin, and clean to about -100 dB).
float sine_turns(double turns);

// The same for a phase already in 0..1.
float sine_of_fraction(double turns);

// A sine whose frequency may change from sample to sample.
struct Oscillator {
    double turns = 0.0; // 0..1
    float next(double hz)
    {
        const float s = sine_of_fraction(turns);
        turns += hz / SOUND_RATE;
        if (turns >= 1.0)
            turns -= 1.0;
        return s;
    }
};

// One-pole low-pass: a gentle slope above the cutoff. Tuning costs an
// exponential, so a gliding cutoff is retuned every few samples.
struct LowPass {
    float a = 1.0f, y = 0.0f;
    void tune(double cutoff_hz) { a = float(1.0 - std::exp(-2.0 * std::numbers::pi * cutoff_hz / SOUND_RATE)); }
    float next(float x)
    {
        y += a * (x - y);
        return y;
    }
};

// State-variable band-pass around a centre; damping is 1 / Q.
struct BandPass {
    float f = 0.0f, damping = 1.0f, low = 0.0f, band = 0.0f;
    void tune(double centre_hz, float new_damping)
    {
        f = float(2.0 * std::sin(std::numbers::pi * centre_hz / SOUND_RATE));
        damping = new_damping;
    }
    float next(float x)
    {
        low += f * band;
        const float high = x - low - damping * band;
        band += f * high;
        return band;
    }
};

// A value gliding from `from` toward `to`, 1 % of the way left after
// `seconds`; one sample a call.
struct Glide {
    double to, gap, factor;
    Glide(double from, double to_value, double seconds)
        : to(to_value), gap(from - to_value), factor(std::exp(-4.6 / (seconds * SOUND_RATE)))
    {
    }
    double next()
    {
        const double value = to + gap;
        gap *= factor;
        return value;
    }
};

// A rise over `attack` seconds, then a fall of 1/e every `decay` seconds;
// one sample a call.
struct Strike {
    int attack_frames;
    double factor;
    double level = 1.0;
    int n = 0;
    Strike(double attack, double decay)
        : attack_frames(frames_of(attack) > 0 ? frames_of(attack) : 1), factor(std::exp(-1.0 / (decay * SOUND_RATE)))
    {
    }
    float next()
    {
        if (n < attack_frames)
            return float(n++) / float(attack_frames);
        const double value = level;
        level *= factor;
        return float(value);
    }
};

// A smooth swell and fade over the whole of `frames` (a Hann window).
inline float swell(int n, int frames)
{
    return float(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / frames));
}

// Blends the last `fade` frames of a sound made `fade` frames longer than its
// loop into its start, so that the loop joins without a click; the loop is
// the first out.size() - fade frames.
void join_loop(std::span<float> out, int fade);

// Scales the sound so that its loudest sample is `peak`.
void set_peak(std::span<float> out, float peak);
