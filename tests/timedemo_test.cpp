// The timedemo as a player runs it: the whole showcase played frame by frame
// under the test display, its printed figures checked against its own CSV.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game_process.h"

namespace {

const std::string TIMEDEMO = TIMEDEMO_BINARY;

TEST_F(GameProcessTest, TimedemoPlaysTheWholeShowcaseAndPrintsFiguresItsCsvAgreesWith)
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
    EXPECT_EQ(line, "tick,milliseconds");
    std::vector<double> ms;
    for (int tick = 0; std::getline(rows, line);) {
        double value = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%lf", &tick, &value), 2) << line;
        ASSERT_EQ(tick, int(ms.size()) + 1) << "one row a tick, in order";
        EXPECT_GT(value, 0.0);
        ms.push_back(value);
    }
    EXPECT_EQ(frames, 2499) << "every record the demo plays, one frame each";
    ASSERT_EQ(int(ms.size()), frames);
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::sort(ms.begin(), ms.end(), std::greater<>());
    double slowest_25 = 0; // the slowest 1 % of 2,499 frames, rounded up
    for (int i = 0; i < 25; ++i)
        slowest_25 += ms[std::size_t(i)];
    // Printed to 0.01 s and 0.01 ms, each row to 0.001 ms.
    EXPECT_NEAR(seconds, sum / 1000.0, 0.005 + frames * 0.0005 / 1000.0 + 1e-9);
    EXPECT_NEAR(average, frames / (sum / 1000.0), 0.005 + average * 1e-4);
    EXPECT_NEAR(low, 25000.0 / slowest_25, 0.005 + low * 1e-4);
    EXPECT_NEAR(slowest, ms[0], 0.006);
    EXPECT_EQ(xmessage_log(), "");
}

} // namespace
