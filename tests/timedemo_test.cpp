// The timedemo as a player runs it: the whole showcase played frame by frame
// under the test display, its printed figures and its CSV's in agreement.
#include <cstdio>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/game_process.h"

namespace {

const std::string TIMEDEMO = TIMEDEMO_BINARY;

TEST_F(GameProcessTest, TimedemoPlaysTheWholeShowcaseAndItsSummaryAndCsvAgree)
{
    const std::string csv = folder_ + "/frames.csv";
    ChildProcess child = start_child(TIMEDEMO, folder_, environment(), "", {"--csv", csv});
    // 2,499 frames of the software renderer: about a minute on a busy machine.
    const ChildOutcome outcome = wait_child(child, 480.0);
    ASSERT_TRUE(outcome.ended && outcome.exited) << "signal " << outcome.signal;
    ASSERT_EQ(outcome.status, 0) << read_file(child.err_path);
    const std::string out = read_file(child.out_path);
    int frames = 0;
    double seconds = 0, average = 0, low = 0, slowest = 0;
    ASSERT_EQ(std::sscanf(out.c_str(),
                          "ironstep-timedemo: %d frames in %lf s: %lf frames per second on average, 1 %% low %lf, "
                          "slowest frame %lf ms",
                          &frames, &seconds, &average, &low, &slowest),
              5)
        << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << "one line: " << out;

    std::istringstream rows(read_file(csv));
    std::string line;
    ASSERT_TRUE(std::getline(rows, line));
    int csv_frames = 0;
    double csv_seconds = 0, csv_average = 0, csv_low = 0, csv_slowest = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "# frames %d, seconds %lf, average_fps %lf, one_percent_low %lf, slowest_ms %lf",
                          &csv_frames, &csv_seconds, &csv_average, &csv_low, &csv_slowest),
              5)
        << line;
    // The same figures, printed to 0.01 and written to 0.001.
    EXPECT_EQ(csv_frames, frames);
    EXPECT_NEAR(csv_seconds, seconds, 0.0051);
    EXPECT_NEAR(csv_average, average, 0.0051);
    EXPECT_NEAR(csv_low, low, 0.0051);
    EXPECT_NEAR(csv_slowest, slowest, 0.0051);
    ASSERT_TRUE(std::getline(rows, line));
    EXPECT_EQ(line, "tick,milliseconds");
    int rows_read = 0;
    for (int tick = 0; std::getline(rows, line); ++rows_read) {
        double value = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%lf", &tick, &value), 2) << line;
        ASSERT_EQ(tick, rows_read + 1) << "one row a tick, in order";
        EXPECT_GT(value, 0.0);
    }
    EXPECT_EQ(frames, 2499) << "every record the demo plays, one frame each";
    EXPECT_EQ(rows_read, frames);
    EXPECT_EQ(xmessage_log(), "");
}

} // namespace
