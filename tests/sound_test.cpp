// Sound without a device: every effect's synthesis measured (length, level,
// main frequency or sweep, the joins of the loops), the cues that real logic
// ticks give for a burst, a shot into the Carrier, the Walker's footfalls and
// a lock, the charge's tone, and where a cue is placed (how loud with its
// distance) and how many starts a crowded tick makes.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "game/startup_tables.h"
#include "gameplay/player.h"
#include "models/model_data.h"
#include "sound/placement.h"
#include "sound/sound_events.h"
#include "sound/synth.h"
#include "sound/voices.h"
#include "tests/test_support.h"

namespace {

// The frequency from 30 to 3000 Hz with the most energy in seconds [from,
// to) (a quarter of a second at most), by the Goertzel recurrence on a 4 Hz
// grid, then to 1 Hz.
double main_frequency(const std::vector<float>& s, double from_s, double to_s)
{
    const int from = frames_of(from_s);
    const int to = std::min({int(s.size()), frames_of(to_s), from + frames_of(0.25)});
    const auto loudest = [&](double low, double high, double step) {
        double best_hz = low, best_power = -1.0;
        for (double hz = low; hz <= high; hz += step) {
            const double c = 2.0 * std::cos(2.0 * std::numbers::pi * hz / SOUND_RATE);
            double s1 = 0.0, s2 = 0.0;
            for (int n = from; n < to; ++n)
                s2 = std::exchange(s1, s[std::size_t(n)] + c * s1 - s2);
            if (const double power = s1 * s1 + s2 * s2 - c * s1 * s2; power > best_power)
                std::tie(best_power, best_hz) = std::pair(power, hz);
        }
        return best_hz;
    };
    const double coarse = loudest(30.0, 3000.0, 4.0);
    return loudest(coarse - 4.0, coarse + 4.0, 1.0);
}

// Its length, and where its main frequency lies in one or two stretches:
// {from s, to s, lowest Hz, highest Hz}; a second stretch shows a sweep.
struct Expected {
    Effect effect;
    double seconds;
    double stretches[2][4];
};

const Expected EXPECTED[] = {
    {Effect::charge, 0.1995, {{0.0, 0.2, 218, 223}}},
    {Effect::fire, 0.35, {{0.0, 0.03, 220, 340}, {0.12, 0.35, 60, 130}}}, // a falling thump
    {Effect::burst, 1.0, {{0.0, 1.0, 30, 70}}},                            // its low thump carries
    {Effect::hit_walker, 0.7, {{0.0, 0.7, 388, 396}}},
    {Effect::hit_flyer, 0.5, {{0.0, 0.5, 656, 664}}},
    {Effect::hit_carrier, 1.1, {{0.0, 1.1, 146, 154}}},
    {Effect::walker_step, 0.25, {{0.0, 0.25, 50, 100}}},
    {Effect::flyer_engine, 0.4, {{0.0, 0.4, 108, 113}}},
    {Effect::bomb_fall, 1.5, {{0.0, 0.3, 1300, 1510}, {1.2, 1.5, 590, 800}}}, // a falling whistle
    {Effect::bomb_blast, 1.7, {{0.0, 1.7, 30, 60}}},
    {Effect::jump, 0.35, {{0.0, 0.04, 170, 260}, {0.2, 0.35, 380, 430}}},    // a rising servo
    {Effect::landing, 0.3, {{0.0, 0.3, 55, 90}}},
    {Effect::carrier_rumble, 1.0, {{0.0, 1.0, 30, 60}}},
    {Effect::lock_found, 0.36, {{0.0, 0.1, 1312, 1324}, {0.14, 0.36, 1752, 1768}}},
    {Effect::lock_held, 0.08, {{0.0, 0.08, 866, 894}}},
    {Effect::shoved, 0.45, {{0.0, 0.45, 216, 224}}},
    {Effect::hurt, 0.34, {{0.0, 0.15, 580, 594}, {0.19, 0.34, 434, 446}}},
    {Effect::menu_move, 0.06, {{0.0, 0.06, 1020, 1070}}},
    {Effect::menu_confirm, 0.3, {{0.0, 0.1, 516, 530}, {0.14, 0.3, 776, 792}}},
};

TEST(SoundSynthesis, EveryEffectHasItsLengthLevelAndPitchAndTheLoopsJoinSmoothly)
{
    ASSERT_EQ(std::size(EXPECTED), std::size_t(EFFECT_COUNT));
    for (const Expected& x : EXPECTED) {
        SCOPED_TRACE(effect_name(x.effect));
        std::vector<float> s(std::size_t(effect_work_frames(x.effect)));
        synthesise_effect(x.effect, s);
        s.resize(std::size_t(effect_frames(x.effect)));
        EXPECT_NEAR(double(s.size()), x.seconds * SOUND_RATE, 2.0);
        float peak = 0.0f, largest_step = 0.0f;
        double energy = 0.0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            ASSERT_TRUE(std::isfinite(s[i]));
            peak = std::max(peak, std::fabs(s[i]));
            energy += double(s[i]) * s[i];
            largest_step = std::max(largest_step, i > 0 ? std::fabs(s[i] - s[i - 1]) : 0.0f);
        }
        // Loud enough to hear, never clipping alone, and the loudest kept for the blasts.
        EXPECT_GE(peak, 0.19f);
        EXPECT_LE(peak, x.effect == Effect::bomb_blast ? 0.71f : 0.61f);
        EXPECT_GT(std::sqrt(energy / double(s.size())), 0.03);
        for (const auto& [from, to, low, high] : x.stretches) {
            if (to == 0.0)
                continue;
            const double hz = main_frequency(s, from, to);
            EXPECT_TRUE(hz >= low && hz <= high) << hz << " Hz from " << from << " s";
        }
        if (effect_loops(x.effect)) {
            EXPECT_LE(std::fabs(s.front() - s.back()), largest_step) << "the join steps no more than the sound";
        }
    }
}

// The cues of whole logic ticks, heard as the game hears them: each tick is
// compared with the last one heard, so what the frame changes between ticks
// (the lock-on search) is heard after the next tick.
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
        stand_at(1000.0f, 1000.0f, 0.0f);
    }
    void TearDown() override { init_carrier_waypoints(), release_all_keys(), use_no_screen(); }

    static void stand_at(float x, float z, float heading, float ground = 20.0f)
    {
        set_flat_terrain(ground);
        game.player_heading = heading;
        player_position = {x, ground, z};
        player_proposed_xz = {x, z};
        update_player();
    }

    struct Heard {
        int tick;
        SoundCue cue;
    };
    // The cues of effect e in the next n ticks, with their ticks.
    std::vector<Heard> ticks(int n, Effect e)
    {
        std::vector<Heard> heard;
        if (tick == 0)
            last = take_sound_snapshot();
        for (int t = 1; t <= n; ++t, ++tick) {
            play_tick();
            const SoundSnapshot now = take_sound_snapshot();
            SoundCues cues;
            find_sound_cues(last, now, memory, cues);
            last = now;
            for (int c = 0; c < cues.count; ++c)
                if (cues.cue[std::size_t(c)].effect == e)
                    heard.push_back({tick + 1, cues.cue[std::size_t(c)]});
        }
        return heard;
    }

    int tick = 0;
    SoundSnapshot last = {};
    CueMemory memory = {};
    FakeGameData data;
};

TEST_F(SoundCueTest, AShotIsHeardBurstingWhereItStrikesHeavierWithMoreCharge)
{
    game.walker_alive = 0;
    game.look_pitch = -20.0f; // into the ground ahead
    key[KEY_Z] = 1;
    ticks(1, Effect::burst);
    key[KEY_Z] = 0;
    const std::vector<Heard> light = ticks(20, Effect::burst);
    key[KEY_Z] = 1;
    ticks(61, Effect::burst);
    key[KEY_Z] = 0;
    const std::vector<Heard> heavy = ticks(20, Effect::burst);
    ASSERT_EQ(light.size(), 1u);
    ASSERT_EQ(heavy.size(), 1u);
    EXPECT_TRUE(light[0].cue.placed);
    EXPECT_FLOAT_EQ(light[0].cue.where.z, projectiles[0].position.z) << "where the shot struck";
    EXPECT_NEAR(light[0].cue.where.y, 20.0f, 0.6f) << "on the ground";
    EXPECT_GT(heavy[0].cue.loudness, light[0].cue.loudness);
    EXPECT_LT(heavy[0].cue.pitch, light[0].cue.pitch);
}

// The rules' record says what a shot burst on: on the Carrier a gong sounds
// where it burst, beside the burst at its full loudness.
TEST_F(SoundCueTest, AShotIntoTheCarrierIsHeardAsAGongWhereItBursts)
{
    game.walker_alive = 0;
    stand_at(610.0f, 2250.0f, 0.0f, 26.0f); // the shot at y 36, into the hull's face at z 2317
    key[KEY_Z] = 1;
    ticks(1, Effect::hit_carrier);
    key[KEY_Z] = 0;
    const std::vector<Heard> gong = ticks(20, Effect::hit_carrier);
    ASSERT_EQ(gong.size(), 1u);
    EXPECT_EQ(gong[0].cue.where.z, projectiles[0].position.z);
}

// The charge's tone rises with the charge, and settles quieter on the tick
// the charge stops growing.
TEST_F(SoundCueTest, TheChargesToneRisesWithTheChargeAndSettlesQuieterOnceFull)
{
    game.walker_alive = 0;
    key[KEY_Z] = 1;
    std::vector<LastingSound> tone;
    std::array<LastingSound, LASTING_SLOTS> lasting;
    for (int t = 0; t < 61; ++t) {
        play_tick();
        find_lasting_sounds(take_sound_snapshot(), take_sound_snapshot(), lasting);
        tone.push_back(lasting[std::size_t(first_lasting_slot(Effect::charge))]);
    }
    EXPECT_TRUE(tone[0].on && tone[0].pitch < 1.05f);
    EXPECT_TRUE(tone[59].loudness == 0.45f && tone[59].pitch < 3.0f) << "60 steps: not yet full";
    EXPECT_TRUE(tone[60].loudness == 0.3f && tone[60].pitch == 3.0f) << "the 61st step fills it";
}

TEST_F(SoundCueTest, TheWalkerIsHeardOnceAGaitCycleWhereItWalks)
{
    stand_at(1820.0f, 1236.0f, 180.0f); // the play start: the Walker chases
    int cycles = 0;
    for (int t = 0; t < 240; ++t) {
        const int key_before = game.walker_anim_key;
        const std::vector<Heard> steps = ticks(1, Effect::walker_step);
        const bool cycle_ended = key_before == 2 && game.walker_anim_key == 0;
        cycles += cycle_ended;
        ASSERT_EQ(steps.size(), cycle_ended ? 1u : 0u) << "tick " << t;
        if (cycle_ended) {
            EXPECT_TRUE(steps[0].cue.where.x == game.walker_pos.x && steps[0].cue.where.z == game.walker_pos.z);
        }
    }
    EXPECT_GE(cycles, 10) << "a chase of four seconds";
}

TEST_F(SoundCueTest, ALockIsHeardWhenFoundThenSoftlyWhileHeldAndTimingPipsBeforeIt)
{
    game.walker_alive = 0;
    key[KEY_X] = 1;
    game.lock_timing = 1; // as the frame's search leaves it: a candidate near the centre
    const std::vector<Heard> pips = ticks(30, Effect::lock_held);
    game.target_lock = 1; // found by the frame's search
    const std::vector<Heard> found = ticks(1, Effect::lock_found);
    const std::vector<Heard> held = ticks(84, Effect::lock_held);
    ASSERT_EQ(pips.size(), 3u) << "at once, then every 12 ticks";
    EXPECT_EQ(pips[1].tick - pips[0].tick, LOCK_TIMING_EVERY);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(found[0].cue.placed) << "the sight's own sound";
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].tick - found[0].tick, LOCK_HELD_EVERY);
    EXPECT_LT(held[0].cue.loudness, found[0].cue.loudness);
}

TEST(SoundPlacement, SidesDistanceAndACrowdedTick)
{
    const Listener ear = {{1000.0f, 30.0f, 1000.0f}, 180.0f}; // facing -z: the left hand towards -x
    const Placement left = place_sound(ear, {900.0f, 30.0f, 1000.0f});
    const Placement right_far = place_sound(ear, {1400.0f, 30.0f, 1000.0f});
    EXPECT_LT(pan_of(left.balance), 40);
    EXPECT_GT(pan_of(right_far.balance), 215);
    EXPECT_NEAR(pan_of(place_sound(ear, {1000.0f, 30.0f, 800.0f}).balance), 128, 1) << "ahead, from the middle";
    EXPECT_GT(left.gain, 2.0f * right_far.gain) << "100 units against 400";
    EXPECT_EQ(place_sound(ear, {1000.0f, 30.0f, 2500.0f}).gain, 0.0f) << "beyond the fog";
    // Half as loud at 80 units; from 1,000 the last 400 before the fog fade to nothing.
    const auto gain_at = [&ear](float away) { return place_sound(ear, {1000.0f, 30.0f, 1000.0f - away}).gain; };
    EXPECT_FLOAT_EQ(gain_at(80.0f), 0.5f);
    EXPECT_FLOAT_EQ(gain_at(1000.0f), 80.0f / 1080.0f);
    EXPECT_FLOAT_EQ(gain_at(1200.0f), 0.5f * 80.0f / 1280.0f);
    EXPECT_TRUE(gain_at(1399.0f) > 0.0f && gain_at(1399.0f) < 0.0002f);
    EXPECT_EQ(gain_at(1400.0f), 0.0f);

    // A hundred bursts in one tick start one voice, the nearest's, scaled by the volume setting.
    SoundCues cues{};
    for (int i = 0; i < 100 && cues.count < CUE_SLOTS; ++i)
        cues.cue[std::size_t(cues.count++)] = {Effect::burst, true, {1000.0f, 30.0f, 900.0f - 10.0f * i}, 1.0f, 1.0f};
    const double nearest = 255.0 * place_sound(ear, {1000.0f, 30.0f, 900.0f}).gain;
    StartPlan plan;
    plan_starts(cues, ear, 50, plan);
    ASSERT_EQ(plan.count, 1);
    EXPECT_NEAR(plan.start[0].volume, nearest / 2.0, 1.0);
}

} // namespace
