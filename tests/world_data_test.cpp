// The generated land: the Carrier's route, the Flyer's pad and the town must
// sit where the actors expect them.
#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "game/game_data.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "gameplay/building_map.h"
#include "gameplay/terrain.h"

namespace {

class WorldData : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string path = std::string(TEST_BUILD_DIR) + "/height.dat";
        game_data = load_game_data(path.c_str());
        ASSERT_NE(game_data, nullptr);
        load_terrain();
        init_carrier_waypoints();
    }
    static void TearDownTestSuite()
    {
        unload_datafile(game_data);
        game_data = nullptr;
    }
};

TEST_F(WorldData, GroundAlongTheCarrierRouteStaysJustBelowItsWheels)
{
    // The wheels reach down to about 29; the ground within 45 units of the
    // route must neither rise above that nor fall far below.
    int checked = 0;
    for (int k = 0; k < CARRIER_WAYPOINT_COUNT; ++k) {
        const VecXZ a = carrier_waypoints[k];
        const VecXZ b = carrier_waypoints[(k + 1) % CARRIER_WAYPOINT_COUNT];
        const float length = std::hypot(b.x - a.x, b.z - a.z);
        const float nx = -(b.z - a.z) / length, nz = (b.x - a.x) / length;
        for (float t = 0.0f; t <= 1.0f; t += 5.0f / length) {
            for (float side = -45.0f; side <= 45.0f; side += 15.0f) {
                const float x = a.x + t * (b.x - a.x) + side * nx;
                const float z = a.z + t * (b.z - a.z) + side * nz;
                const float h = terrain_height_at(x, z);
                EXPECT_LE(h, 29.0f) << "at " << x << ", " << z;
                EXPECT_GE(h, 25.0f) << "at " << x << ", " << z;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 5000) << "the route was walked";
}

TEST_F(WorldData, TheFlyerWaitsOnAFlatPadAt52)
{
    // A plateau, not a spike: the 3 x 3 samples around the Flyer's resting
    // point all stand at 52, so the whole cell under it is level.
    for (int i = 63; i <= 65; ++i)
        for (int j = 46; j <= 48; ++j)
            EXPECT_EQ(terrain_grid[i][j].height, 52.0f) << "sample " << i << ", " << j;
    for (float x = 1575.0f; x <= 1625.0f; x += 5.0f)
        for (float z = 1150.0f; z <= 1200.0f; z += 5.0f)
            EXPECT_FLOAT_EQ(terrain_height_at(x, z), 52.0f) << x << ", " << z;
}

TEST_F(WorldData, TownGroundIsGentle)
{
    // Around the start points and over the Walker's range, no steep ground:
    // at most 3 units of rise over 10 units (the Flyer's pad excepted).
    for (float x = 1450.0f; x <= 2000.0f; x += 10.0f) {
        for (float z = 930.0f; z <= 1450.0f; z += 10.0f) {
            if (std::hypot(x - 1600.0f, z - 1181.0f) < 110.0f)
                continue;
            const float h = terrain_height_at(x, z);
            EXPECT_LE(std::fabs(terrain_height_at(x + 10.0f, z) - h), 3.0f) << x << ", " << z;
            EXPECT_LE(std::fabs(terrain_height_at(x, z + 10.0f) - h), 3.0f) << x << ", " << z;
            EXPECT_GE(h, 20.0f);
            EXPECT_LE(h, 30.0f);
        }
    }
}

TEST_F(WorldData, StartPointsStandOnOpenGround)
{
    EXPECT_EQ(building_sample_at(START_X_PLAY, START_Z), OPEN_GROUND);
    EXPECT_EQ(building_sample_at(START_X_DEMO, START_Z), OPEN_GROUND);
}

} // namespace
