// Sound without a device: every effect's synthesis measured (length, level,
// main frequency or sweep, the joins of the loops), the cues that real logic
// ticks give for a burst, the Walker's footfalls and a lock, and where a cue
// is placed and how many starts a crowded tick makes.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "app/startup_tables.h"
#include "gameplay/player.h"
#include "models/model_data.h"
#include "sound/effects.h"
#include "sound/placement.h"
#include "sound/sound_events.h"
#include "sound/synth.h"
#include "sound/voices.h"
#include "tests/test_support.h"

namespace {

std::vector<float> made(Effect e)
{
    std::vector<float> work(std::size_t(effect_work_frames(e)));
    synthesise_effect(e, work);
    work.resize(std::size_t(effect_frames(e)));
    return work;
}

// Energy at one frequency over frames [from, to): the Goertzel recurrence.
double power_at(const std::vector<float>& s, int from, int to, double hz)
{
    const double c = 2.0 * std::cos(2.0 * std::numbers::pi * hz / SOUND_RATE);
    double s1 = 0.0, s2 = 0.0;
    for (int n = from; n < to; ++n) {
        const double s0 = s[std::size_t(n)] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - c * s1 * s2;
}

// The frequency from 30 to 3000 Hz with the most energy in the stretch (its
// first quarter of a second at most): on a 4 Hz grid, then to 1 Hz.
double main_frequency(const std::vector<float>& s, double from_seconds, double to_seconds)
{
    const int from = frames_of(from_seconds);
    const int to = std::min({int(s.size()), frames_of(to_seconds), from + frames_of(0.25)});
    const auto loudest = [&](double low, double high, double step) {
        double best_hz = low, best_power = -1.0;
        for (double hz = low; hz <= high; hz += step)
            if (const double p = power_at(s, from, to, hz); p > best_power) {
                best_power = p;
                best_hz = hz;
            }
        return best_hz;
    };
    const double coarse = loudest(30.0, 3000.0, 4.0);
    return loudest(coarse - 4.0, coarse + 4.0, 1.0);
}

// Where the main frequency lies, in the whole sound or in two stretches of it.
struct Stretch {
    double from_s = 0.0, to_s = 0.0; // seconds; none when to_s is 0
    double low_hz = 0.0, high_hz = 0.0;
};
struct Expected {
    Effect effect;
    double seconds; // its length
    Stretch first;
    Stretch second = {};
};

const Expected EXPECTED[] = {
    {Effect::charge, 0.1995, {0.0, 0.2, 218, 223}},
    {Effect::fire, 0.35, {0.0, 0.03, 220, 340}, {0.12, 0.35, 60, 130}},      // a falling thump
    {Effect::burst, 1.0, {0.0, 1.0, 30, 70}},                                // its low thump carries
    {Effect::hit_walker, 0.7, {0.0, 0.7, 388, 396}},
    {Effect::hit_flyer, 0.5, {0.0, 0.5, 656, 664}},
    {Effect::hit_carrier, 1.1, {0.0, 1.1, 146, 154}},
    {Effect::walker_step, 0.25, {0.0, 0.25, 50, 100}},
    {Effect::flyer_engine, 0.4, {0.0, 0.4, 108, 113}},
    {Effect::bomb_fall, 1.5, {0.0, 0.3, 1300, 1510}, {1.2, 1.5, 590, 800}},  // a falling whistle
    {Effect::bomb_blast, 1.7, {0.0, 1.7, 30, 60}},
    {Effect::jump, 0.35, {0.0, 0.04, 170, 260}, {0.2, 0.35, 380, 430}},      // a rising servo
    {Effect::landing, 0.3, {0.0, 0.3, 55, 90}},
    {Effect::carrier_rumble, 1.0, {0.0, 1.0, 30, 60}},
    {Effect::lock_found, 0.36, {0.0, 0.1, 1312, 1324}, {0.14, 0.36, 1752, 1768}},
    {Effect::lock_held, 0.08, {0.0, 0.08, 866, 894}},
    {Effect::shoved, 0.45, {0.0, 0.45, 216, 224}},
    {Effect::hurt, 0.34, {0.0, 0.15, 580, 594}, {0.19, 0.34, 434, 446}},
    {Effect::menu_move, 0.06, {0.0, 0.06, 1020, 1070}},
    {Effect::menu_confirm, 0.3, {0.0, 0.1, 516, 530}, {0.14, 0.3, 776, 792}},
};

TEST(SoundSynthesis, EveryEffectHasItsLengthLevelAndPitchAndTheLoopsJoinSmoothly)
{
    ASSERT_EQ(std::size(EXPECTED), std::size_t(EFFECT_COUNT));
    for (const Expected& x : EXPECTED) {
        SCOPED_TRACE(effect_name(x.effect));
        const std::vector<float> s = made(x.effect);
        EXPECT_NEAR(double(s.size()), x.seconds * SOUND_RATE, 2.0);
        float peak = 0.0f;
        double energy = 0.0;
        for (float v : s) {
            ASSERT_TRUE(std::isfinite(v));
            peak = std::max(peak, std::fabs(v));
            energy += double(v) * v;
        }
        // Loud enough to hear, never clipping alone, and the loudest kept for the blasts.
        EXPECT_GE(peak, 0.19f);
        EXPECT_LE(peak, x.effect == Effect::bomb_blast ? 0.71f : 0.61f);
        EXPECT_GT(std::sqrt(energy / double(s.size())), 0.03);
        for (const Stretch& stretch : {x.first, x.second}) {
            if (stretch.to_s == 0.0)
                continue;
            const double hz = main_frequency(s, stretch.from_s, stretch.to_s);
            EXPECT_GE(hz, stretch.low_hz) << "from " << stretch.from_s << " s";
            EXPECT_LE(hz, stretch.high_hz) << "from " << stretch.from_s << " s";
        }
        if (effect_loops(x.effect)) {
            float largest_step = 0.0f;
            for (std::size_t i = 1; i < s.size(); ++i)
                largest_step = std::max(largest_step, std::fabs(s[i] - s[i - 1]));
            EXPECT_LE(std::fabs(s.front() - s.back()), largest_step) << "the join steps no more than the sound";
        }
    }
}

// The cues of whole logic ticks, as sound hears them after each tick.
class SoundCueTest : public testing::Test {
protected:
    void SetUp() override
    {
        start_fresh_game();
        set_flat_terrain(20.0f);
        init_model_tables();
        park_carrier();
        game.flyer_alive = 0;
        game.game_clock = 100.0f;
    }
    void TearDown() override
    {
        init_carrier_waypoints();
        release_all_keys();
        use_no_screen();
    }

    static void stand_at(float x, float z, float heading)
    {
        game.player_heading = heading;
        player_position = {x, 20.0f, z};
        player_proposed_xz = {x, z};
        update_player();
    }

    // n ticks; every cue heard, with its tick. As in the game, each tick is
    // compared with the last one heard, so what changes between ticks (the
    // frame's lock-on search) is heard after the next tick.
    struct Heard {
        int tick;
        SoundCue cue;
    };
    std::vector<Heard> ticks(int n)
    {
        std::vector<Heard> heard;
        if (tick == 0)
            last = take_sound_snapshot();
        for (int t = 1; t <= n; ++t) {
            logic_step();
            const SoundSnapshot now = take_sound_snapshot();
            SoundCues cues;
            find_sound_cues(last, now, memory, cues);
            last = now;
            ++tick;
            for (int c = 0; c < cues.count; ++c)
                heard.push_back({tick, cues.cue[std::size_t(c)]});
        }
        return heard;
    }
    static std::vector<Heard> only(const std::vector<Heard>& heard, Effect e)
    {
        std::vector<Heard> some;
        std::copy_if(heard.begin(), heard.end(), std::back_inserter(some),
                     [e](const Heard& h) { return h.cue.effect == e; });
        return some;
    }

    int tick = 0;
    SoundSnapshot last = {};
    CueMemory memory = {};
    FakeGameData data;
};

TEST_F(SoundCueTest, AShotIsHeardLeavingAndBurstingWhereItStrikesHeavierWithMoreCharge)
{
    stand_at(1000.0f, 1000.0f, 0.0f);
    game.walker_alive = 0;
    game.look_pitch = -20.0f; // into the ground ahead
    key[KEY_Z] = 1;
    std::vector<Heard> heard = ticks(1);
    key[KEY_Z] = 0;
    const std::vector<Heard> light = ticks(20);
    key[KEY_Z] = 1;
    ticks(61);
    key[KEY_Z] = 0;
    const std::vector<Heard> heavy = ticks(20);

    ASSERT_EQ(only(light, Effect::fire).size(), 1u);
    ASSERT_EQ(only(light, Effect::burst).size(), 1u);
    const SoundCue light_burst = only(light, Effect::burst)[0].cue;
    const SoundCue heavy_burst = only(heavy, Effect::burst).at(0).cue;
    const Projectile& shot = projectiles[0];
    EXPECT_TRUE(light_burst.placed);
    EXPECT_FLOAT_EQ(light_burst.where.z, shot.position.z) << "where the shot struck";
    EXPECT_NEAR(light_burst.where.y, 20.0f, 0.6f) << "on the ground";
    EXPECT_GT(heavy_burst.loudness, light_burst.loudness);
    EXPECT_LT(heavy_burst.pitch, light_burst.pitch);
    EXPECT_TRUE(only(light, Effect::hit_walker).empty() && only(light, Effect::hit_carrier).empty());
}

TEST_F(SoundCueTest, TheWalkerIsHeardOnceAGaitCycleWhereItWalks)
{
    stand_at(1820.0f, 1236.0f, 180.0f); // the play start: the Walker chases
    int cycles = 0;
    int anim_key = game.walker_anim_key;
    std::vector<Heard> heard;
    for (int t = 0; t < 240; ++t) {
        const std::vector<Heard> now = ticks(1);
        const bool cycle_ended = anim_key == 2 && game.walker_anim_key == 0;
        cycles += cycle_ended;
        anim_key = game.walker_anim_key;
        const std::vector<Heard> steps = only(now, Effect::walker_step);
        ASSERT_EQ(steps.size(), cycle_ended ? 1u : 0u) << "tick " << t;
        if (cycle_ended) {
            EXPECT_FLOAT_EQ(steps[0].cue.where.x, game.walker_pos.x);
            EXPECT_FLOAT_EQ(steps[0].cue.where.z, game.walker_pos.z);
        }
    }
    EXPECT_GE(cycles, 10) << "a chase of four seconds";
}

TEST_F(SoundCueTest, ALockIsHeardWhenFoundThenSoftlyWhileHeldAndTimingPipsBeforeIt)
{
    stand_at(1000.0f, 1000.0f, 0.0f);
    game.walker_alive = 0;
    game.view_mode = 1;
    key[KEY_X] = 1;
    game.lock_timing = 1; // as the frame's search leaves it: a candidate near the centre
    const std::vector<Heard> timing = ticks(30);
    game.target_lock = 1; // found by the frame's search
    const std::vector<Heard> locked = ticks(85);

    const std::vector<Heard> pips = only(timing, Effect::lock_held);
    ASSERT_EQ(pips.size(), 3u) << "at once, then every 12 ticks";
    EXPECT_EQ(pips[1].tick - pips[0].tick, LOCK_TIMING_EVERY);
    const std::vector<Heard> found = only(locked, Effect::lock_found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(found[0].cue.placed) << "the sight's own sound";
    const std::vector<Heard> held = only(locked, Effect::lock_held);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].tick - found[0].tick, LOCK_HELD_EVERY);
    EXPECT_LT(held[0].cue.loudness, found[0].cue.loudness);
}

TEST(SoundPlacement, SidesDistanceAndACrowdedTick)
{
    const Listener ear = {{1000.0f, 30.0f, 1000.0f}, 180.0f}; // facing -z: the left hand towards -x
    const Placement left = place_sound(ear, {900.0f, 30.0f, 1000.0f});
    const Placement right_far = place_sound(ear, {1400.0f, 30.0f, 1000.0f});
    const Placement ahead = place_sound(ear, {1000.0f, 30.0f, 800.0f});
    EXPECT_LT(pan_of(left.balance), 40) << "left";
    EXPECT_GT(pan_of(right_far.balance), 215) << "right";
    EXPECT_NEAR(pan_of(ahead.balance), 128, 1) << "ahead, from the middle";
    EXPECT_GT(left.gain, 2.0f * right_far.gain) << "100 units against 400";
    EXPECT_EQ(place_sound(ear, {1000.0f, 30.0f, 2500.0f}).gain, 0.0f) << "beyond the fog";

    // A hundred bursts in one tick start one voice, the nearest's.
    SoundCues cues{};
    for (int i = 0; i < 100 && cues.count < CUE_SLOTS; ++i)
        cues.cue[std::size_t(cues.count++)] = {Effect::burst, true, {1000.0f, 30.0f, 900.0f - 10.0f * i}, 1.0f, 1.0f};
    StartPlan plan;
    plan_starts(cues, ear, 100, plan);
    ASSERT_EQ(plan.count, 1);
    EXPECT_EQ(plan.start[0].volume, int(std::lround(255.0 * place_sound(ear, {1000.0f, 30.0f, 900.0f}).gain)));
    plan_starts(cues, ear, 50, plan);
    EXPECT_NEAR(plan.start[0].volume, 255.0 * place_sound(ear, {1000.0f, 30.0f, 900.0f}).gain / 2.0, 1.0)
        << "the volume setting scales it";
}

} // namespace
