// The timedemo's figures from hand-made frame times: the 1 % low takes the
// slowest hundredth of the frames, rounded up, and at least one.
#include <vector>

#include <gtest/gtest.h>

#include "recording/timedemo_figures.h"

namespace {

std::vector<double> frames(int count, double ms, std::vector<double> slow)
{
    std::vector<double> all(std::size_t(count) - slow.size(), ms);
    all.insert(all.begin() + long(all.size() / 2), slow.begin(), slow.end());
    return all;
}

TEST(TimedemoFiguresTest, TheOnePercentLowIsTheSlowestHundredthRoundedUp)
{
    // 200 frames: the two slowest make the 1 %.
    TimedemoFigures f = summarise_frame_times(frames(200, 10.0, {50.0, 40.0}));
    EXPECT_EQ(f.frames, 200);
    EXPECT_DOUBLE_EQ(f.seconds, (198 * 10.0 + 90.0) / 1000.0);
    EXPECT_DOUBLE_EQ(f.average_fps, 200 / f.seconds);
    EXPECT_DOUBLE_EQ(f.one_percent_low, 2000.0 / 90.0);
    EXPECT_DOUBLE_EQ(f.slowest_ms, 50.0);
    // 201 frames: a hundredth rounded up is three.
    f = summarise_frame_times(frames(201, 10.0, {50.0, 40.0, 30.0}));
    EXPECT_DOUBLE_EQ(f.one_percent_low, 3000.0 / 120.0);
    // 100 frames: one.
    f = summarise_frame_times(frames(100, 10.0, {40.0}));
    EXPECT_DOUBLE_EQ(f.one_percent_low, 1000.0 / 40.0);
    // A single frame is its own 1 %; none at all gives nothing to divide.
    EXPECT_DOUBLE_EQ(summarise_frame_times({20.0}).one_percent_low, 50.0);
    EXPECT_EQ(summarise_frame_times({}).frames, 0);
    EXPECT_EQ(summarise_frame_times({}).one_percent_low, 0.0);
}

TEST(TimedemoFiguresTest, TheCsvOpensWithItsFiguresThenOneRowAFrame)
{
    EXPECT_EQ(frame_times_csv({20.0, 30.0}),
              "# frames 2, seconds 0.050, average_fps 40.000, one_percent_low 33.333, slowest_ms 30.000\n"
              "tick,milliseconds\n1,20.000\n2,30.000\n");
}

} // namespace
