// Building map samples at the edges of the map.
#include <cmath>

#include <gtest/gtest.h>

#include "gameplay/building_map.h"
#include "gameplay/player.h"
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

namespace {

class MoveTest : public testing::Test {
protected:
    void SetUp() override { player_position = {1000.0f, 20.0f, 1000.0f}; }
    FakeGameData data;
};

TEST_F(MoveTest, TopsUpToTwoAboveTheFeetAreFreeThreeBlock)
{
    data.set_building(1002.0f, 990.0f, 1010.0f, 1010.0f, 22);
    EXPECT_EQ(building_move_test(1003.0f, 1000.0f), MOVE_FREE);
    data.set_building(1002.0f, 990.0f, 1010.0f, 1010.0f, 23);
    EXPECT_EQ(building_move_test(1003.0f, 1000.0f), MOVE_Z_ONLY);
    player_position.y = 21.0f;
    EXPECT_EQ(building_move_test(1003.0f, 1000.0f), MOVE_FREE) << "compared with the feet's height";
}

TEST_F(MoveTest, OpenGroundNeverBlocksWhateverTheHeight)
{
    player_position.y = -500.0f;
    EXPECT_EQ(building_move_test(1003.0f, 1003.0f), MOVE_FREE);
}

TEST_F(MoveTest, DiagonalIntoACornerStopsBothAxes)
{
    data.set_building(1002.0f, 1002.0f, 1010.0f, 1010.0f, 100);
    EXPECT_EQ(building_move_test(1003.0f, 1003.0f), MOVE_BLOCKED);
}

TEST_F(MoveTest, DiagonalAlongAWallSlides)
{
    // A wall across x at 1002..1010, long in z: only the z component is free.
    data.set_building(1002.0f, 900.0f, 1010.0f, 1100.0f, 100);
    EXPECT_EQ(building_move_test(1003.0f, 1003.0f), MOVE_Z_ONLY);
    // A wall across z: only the x component is free.
    data.set_building(1002.0f, 900.0f, 1010.0f, 1100.0f, 255);
    data.set_building(900.0f, 1002.0f, 1100.0f, 1010.0f, 100);
    EXPECT_EQ(building_move_test(1003.0f, 1003.0f), MOVE_X_ONLY);
}

} // namespace
