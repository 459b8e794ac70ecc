// Building map samples at the edges of the map.
#include <cmath>

#include <gtest/gtest.h>

#include "world/building_map.h"
#include "tests/test_support.h"

namespace {

TEST(BuildingMap, SamplesOffTheMapCountAsOpenGround)
{
    FakeGameData data;
    data.set_building(0.0f, 0.0f, 2500.0f, 2500.0f, 30);
    EXPECT_EQ(building_sample_at(0.0f, 0.0f), 30);
    EXPECT_EQ(building_sample_at(2499.9f, 2499.9f), 30);
    // Just below 0 still truncates to pixel 0.
    EXPECT_EQ(building_sample_at(-1.5f, 10.0f), 30);
    EXPECT_EQ(building_sample_at(-2.0f, 10.0f), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(2500.0f, 10.0f), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(10.0f, 1e30f), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(-1e30f, 10.0f), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(std::nanf(""), 10.0f), OPEN_GROUND);
    EXPECT_EQ(building_height_at(5000.0f, 10.0f), 0);
    EXPECT_EQ(building_height_at(10.0f, 10.0f), 30);
}

} // namespace
