// The lock-on scan over hand-made feedback buffers: which actor is nearest,
// when it becomes the lock, what the marker table holds, and that only whole
// records of the two actors within the values written are read.
#include <algorithm>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gameplay/lock_on.h"

namespace {

using Values = std::vector<float>;

// An odd screen halves to a centre of (400, 300).
constexpr int SCREEN_W_ODD = 801;
constexpr int SCREEN_H_ODD = 601;
constexpr int WHOLE = -2; // scan every value given

// A visible actor `right` and `up` pixels off the centre, at depth 0.5.
Values seen(float id, float right, float up)
{
    return {float(GL_PASS_THROUGH_TOKEN), id, float(GL_POINT_TOKEN), 400.0f + right, 300.0f + up, 0.5f};
}

Values clipped(float id)
{
    return {float(GL_PASS_THROUGH_TOKEN), id};
}

Values operator+(Values a, const Values& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Scans the first n values from a copy of exactly that many, so that a read
// beyond them runs off the allocation (reported by the sanitizer build). The
// table starts dirty to show that the scan clears it.
MarkerScan scan(const Values& values, bool dwell_passed = true, int n = WHOLE, MarkerTable* table = nullptr)
{
    n = n == WHOLE ? int(values.size()) : n;
    const Values written(values.begin(), values.begin() + std::max(n, 0));
    MarkerTable own;
    MarkerTable& offsets = table ? *table : own;
    offsets.fill(7.0f);
    return scan_marker_feedback(written.data(), n, SCREEN_W_ODD, SCREEN_H_ODD, dwell_passed, offsets);
}

TEST(MarkerScan, TheNearestWithinTheWindowLocksOnceTheDwellHasPassed)
{
    MarkerTable table;
    const MarkerScan walker = scan(seen(1, 30, -40) + clipped(2), true, WHOLE, &table);
    EXPECT_EQ(walker.nearest, 50.0f);
    EXPECT_EQ(walker.lock, 1);
    MarkerTable expected = {};
    expected[3] = -30.0f; // centre minus window position
    expected[4] = 40.0f;
    expected[5] = 0.5f;
    EXPECT_EQ(table, expected);

    EXPECT_EQ(scan(seen(1, 30, -40), false).lock, 0) << "not before the dwell";
    const MarkerScan edge = scan(seen(1, 60, 80));
    EXPECT_EQ(edge.nearest, 100.0f);
    EXPECT_EQ(edge.lock, 0) << "exactly 100 pixels is outside the window";
    for (const Values& both : {seen(1, 60, 0) + seen(2, 0, 40), seen(2, 0, 40) + seen(1, 60, 0)}) {
        const MarkerScan s = scan(both);
        EXPECT_EQ(s.nearest, 40.0f);
        EXPECT_EQ(s.lock, 2) << "the nearer one, in either order";
    }
}

TEST(MarkerScan, OnlyWholeRecordsOfTheWalkerAndTheFlyerWithinTheValuesWrittenCount)
{
    const MarkerScan behind_clipped = scan(clipped(1) + seen(2, 3, 4));
    EXPECT_EQ(behind_clipped.nearest, 5.0f);
    EXPECT_EQ(behind_clipped.lock, 2);

    const Values walker = seen(1, 3, 4);
    const struct {
        const char* what;
        Values values;
        int n;
    } nothing_seen[] = {
        {"both clipped", clipped(1) + clipped(2), WHOLE},
        {"depth not written", walker, 5},
        {"an id of neither actor", seen(3, 3, 4) + seen(0, 3, 4), WHOLE},
        {"an overflow", walker, -1},
    };
    for (const auto& c : nothing_seen) {
        MarkerTable table;
        const MarkerScan s = scan(c.values, true, c.n, &table);
        EXPECT_EQ(s.nearest, NO_MARKER) << c.what;
        EXPECT_EQ(s.lock, 0) << c.what;
        EXPECT_EQ(table, MarkerTable{}) << c.what;
    }
}

} // namespace
