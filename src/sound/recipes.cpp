// The recipe of each effect. They are meant to be heard thousands of times an
// hour: soft attacks where nothing strikes, no harsh square waves, the noise
// filtered well below the top of the band, and the loudest peaks kept for
// the explosions. Loops hold whole periods of their tones, so that only their
// noise needs blending across the join.
#include "sound/recipes.h"

#include <array>
#include <cstdint>
#include <initializer_list>

#include "sound/synth.h"

namespace {

double seconds_at(int n)
{
    return double(n) / SOUND_RATE;
}

// Struck metal: partials that each ring down at their own rate, over a click.
struct Partial {
    double hz;
    float amplitude;
    double decay; // seconds per 1/e
};

constexpr int MOST_PARTIALS = 4;

void ring(std::span<float> out, std::initializer_list<Partial> partials, std::uint32_t seed)
{
    Noise noise{seed};
    Strike click(0.0005, 0.004);
    std::array<Strike, MOST_PARTIALS> rings = {
        Strike(0.001, 1.0), Strike(0.001, 1.0), Strike(0.001, 1.0), Strike(0.001, 1.0)};
    std::array<Oscillator, MOST_PARTIALS> tones = {};
    int k = 0;
    for (const Partial& p : partials)
        rings[std::size_t(k++)] = Strike(0.001, p.decay);
    for (std::size_t n = 0; n < out.size(); ++n) {
        float s = noise.next() * 0.5f * click.next();
        k = 0;
        for (const Partial& p : partials) {
            s += p.amplitude * tones[std::size_t(k)].next(p.hz) * rings[std::size_t(k)].next();
            ++k;
        }
        out[n] = s;
    }
}

// Two notes one after the other, the first ringing on under the second;
// overtone is the share of the second harmonic (or of the third, when `odd`).
void two_notes(std::span<float> out, double first_hz, double second_hz, double first_seconds, float overtone,
               bool odd)
{
    const int split = frames_of(first_seconds);
    const double harmonic = odd ? 3.0 : 2.0;
    Strike first(0.006, 0.05), second(0.006, 0.11);
    Oscillator first_tone, first_overtone, second_tone, second_overtone;
    for (std::size_t n = 0; n < out.size(); ++n) {
        float s = (first_tone.next(first_hz) + overtone * first_overtone.next(harmonic * first_hz)) * first.next();
        if (int(n) >= split)
            s += (second_tone.next(second_hz) + overtone * second_overtone.next(harmonic * second_hz)) *
                 second.next();
        out[n] = s;
    }
}

// A single soft tone swelling in and out.
void pip(std::span<float> out, double hz)
{
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] = sine_turns(hz * seconds_at(int(n))) * swell(int(n), int(out.size()));
}

// A struck body falling in pitch, with a short puff of low-passed noise.
struct Thump {
    double from_hz, to_hz, glide_s;     // the body's fall in pitch
    double body_attack, body_decay;     // seconds
    std::uint32_t seed;
    double noise_hz;                    // the noise's low-pass
    float noise_gain;
    double noise_attack, noise_decay;   // seconds
};

void thump(std::span<float> out, const Thump& t)
{
    Oscillator body;
    Glide fall(t.from_hz, t.to_hz, t.glide_s);
    Strike body_level(t.body_attack, t.body_decay), puff_level(t.noise_attack, t.noise_decay);
    Noise noise{t.seed};
    LowPass puff;
    puff.tune(t.noise_hz);
    for (float& s : out)
        s = body.next(fall.next()) * body_level.next() + t.noise_gain * puff.next(noise.next()) * puff_level.next();
}

// Noise darkening as it dies, twice filtered, over a falling thump.
void explosion(std::span<float> out, std::uint32_t seed, double bright_hz, double dark_hz, double decay,
               double thump_hz, float thump, bool crackle)
{
    Noise noise{seed};
    Noise crackle_noise{seed * 7u + 1u};
    LowPass first, second;
    BandPass crack;
    crack.tune(2400.0, 0.7f);
    Oscillator sub;
    Glide darkening(bright_hz, dark_hz, seconds_at(int(out.size())) * 0.8);
    Glide sinking(thump_hz, thump_hz * 0.65, 0.5);
    Strike roar(0.002, decay), thump_level(0.004, decay * 0.7), crackling(0.01, 0.25);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double cutoff = darkening.next();
        if (n % 16 == 0) {
            first.tune(cutoff);
            second.tune(cutoff);
        }
        float s = 3.0f * second.next(first.next(noise.next())) * roar.next();
        s += thump * sub.next(sinking.next()) * thump_level.next();
        const float crack_level = crackling.next();
        if (crackle) {
            const float spark = crackle_noise.next() > 0.93f ? crackle_noise.next() : 0.0f;
            s += 0.6f * crack.next(spark) * crack_level;
        }
        out[n] = s;
    }
}

} // namespace

void make_charge(std::span<float> out)
{
    const int frames = int(out.size());
    for (int n = 0; n < frames; ++n) {
        const double turns = n / 100.0;
        const float tone = sine_turns(turns) + 0.35f * sine_turns(2.0 * turns) + 0.12f * sine_turns(3.0 * turns);
        out[std::size_t(n)] = tone * (0.85f + 0.15f * sine_turns(double(n) / frames));
    }
}

void make_fire(std::span<float> out)
{
    thump(out, {320.0, 70.0, 0.3, 0.003, 0.09, 0x5eed0001u, 1500.0, 1.5f, 0.001, 0.03});
}

void make_burst(std::span<float> out)
{
    explosion(out, 0x5eed0003u, 2800.0, 250.0, 0.22, 58.0, 0.6f, false);
}

void make_hit_walker(std::span<float> out)
{
    ring(out, {{392.0, 1.0f, 0.25}, {940.0, 0.55f, 0.15}, {1570.0, 0.35f, 0.1}, {2230.0, 0.2f, 0.07}}, 4u);
}

void make_hit_flyer(std::span<float> out)
{
    ring(out, {{660.0, 1.0f, 0.16}, {1480.0, 0.5f, 0.1}, {2390.0, 0.3f, 0.06}}, 5u);
}

void make_hit_carrier(std::span<float> out)
{
    ring(out, {{150.0, 1.0f, 0.45}, {377.0, 0.6f, 0.3}, {610.0, 0.4f, 0.2}, {980.0, 0.2f, 0.12}}, 6u);
}

void make_walker_step(std::span<float> out)
{
    thump(out, {95.0, 55.0, 0.15, 0.004, 0.07, 0x5eed0007u, 400.0, 3.0f, 0.001, 0.02});
}

// A low drone beaten by the rotor 15 times a second, with air noise on the
// beats and a faint turbine whine.
void make_flyer_engine(std::span<float> out)
{
    Noise noise{0x5eed0008u};
    BandPass air;
    air.tune(500.0, 1.0f);
    for (std::size_t n = 0; n < out.size(); ++n) {
        const int i = int(n);
        const double drone = i / 200.0;
        const float beat = 0.5f + 0.5f * sine_turns(i / 1470.0 + 0.25);
        const float rotor = 0.4f + 0.6f * beat * beat * beat;
        const float tone = sine_turns(drone) + 0.5f * sine_turns(2.0 * drone) + 0.25f * sine_turns(3.0 * drone);
        out[n] = rotor * (tone + 1.2f * air.next(noise.next())) + 0.06f * sine_turns(i / 20.0);
    }
}

void make_bomb_fall(std::span<float> out)
{
    Oscillator whistle;
    const double span = seconds_at(int(out.size()));
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = seconds_at(int(n));
        const double hz = 1500.0 - 900.0 * t / span + 8.0 * sine_turns(6.0 * t);
        const double in = t < 0.15 ? t / 0.15 : 1.0;
        const double out_fade = span - t < 0.05 ? (span - t) / 0.05 : 1.0;
        out[n] = whistle.next(hz) * float(in * out_fade * (0.6 + 0.4 * t / span));
    }
}

void make_bomb_blast(std::span<float> out)
{
    explosion(out, 0x5eed000au, 1800.0, 120.0, 0.4, 48.0, 0.8f, true);
}

void make_jump(std::span<float> out)
{
    Oscillator servo;
    Glide rise(180.0, 420.0, 0.37);
    Strike servo_level(0.02, 0.12), hiss_level(0.005, 0.08);
    Noise noise{0x5eed000bu};
    BandPass hiss;
    hiss.tune(2500.0, 0.8f);
    for (float& s : out)
        s = servo.next(rise.next()) * servo_level.next() + 0.5f * hiss.next(noise.next()) * hiss_level.next();
}

void make_landing(std::span<float> out)
{
    Oscillator body, knock;
    Glide fall(85.0, 60.0, 0.2);
    Strike body_level(0.002, 0.08), knock_level(0.001, 0.04), grit_level(0.0005, 0.015);
    Noise noise{0x5eed000cu};
    LowPass grit;
    grit.tune(800.0);
    for (float& s : out)
        s = body.next(fall.next()) * body_level.next() + 0.3f * knock.next(240.0) * knock_level.next() +
            1.5f * grit.next(noise.next()) * grit_level.next();
}

// Deep noise under a 44.1 Hz hum that swells three times a second, with the
// treads' clatter six times a second.
void make_carrier_rumble(std::span<float> out)
{
    Noise noise{0x5eed000du};
    LowPass deep;
    deep.tune(180.0);
    BandPass clatter;
    clatter.tune(900.0, 0.8f);
    float brown = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const int i = int(n);
        const float white = noise.next();
        brown = 0.98f * brown + 0.1f * white;
        const float swell_3hz = 0.75f + 0.25f * sine_turns(i / 7350.0);
        const float tread = 0.5f + 0.5f * sine_turns(i / 3675.0);
        const float tread_8 = (tread * tread) * (tread * tread) * (tread * tread) * (tread * tread);
        out[n] = 1.5f * deep.next(brown) + 0.6f * swell_3hz * sine_turns(i / 500.0) +
                 0.3f * tread_8 * clatter.next(white);
    }
}

void make_lock_found(std::span<float> out)
{
    two_notes(out, 1318.5, 1760.0, 0.1, 0.15f, false);
}

void make_lock_held(std::span<float> out)
{
    pip(out, 880.0);
}

void make_shoved(std::span<float> out)
{
    ring(out, {{220.0, 1.0f, 0.18}, {510.0, 0.6f, 0.1}, {830.0, 0.35f, 0.06}}, 0x5eed0010u);
    Noise noise{0x5eed0011u};
    Strike thud_level(0.001, 0.05);
    LowPass thud;
    thud.tune(1200.0);
    for (float& s : out)
        s += 2.0f * thud.next(noise.next()) * thud_level.next();
}

void make_hurt(std::span<float> out)
{
    two_notes(out, 587.3, 440.0, 0.15, 0.2f, true);
}

void make_menu_move(std::span<float> out)
{
    pip(out, 1046.5);
}

void make_menu_confirm(std::span<float> out)
{
    two_notes(out, 523.25, 784.0, 0.1, 0.15f, false);
}
