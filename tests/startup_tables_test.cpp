// The start-up tables.
#include <gtest/gtest.h>

#include "game/startup_tables.h"
#include "tests/test_support.h"

namespace {

TEST(StartupTables, IndicatorRectsStretchOnlyXToTheScreenWidth)
{
    use_fake_screen(800, 600);
    init_input_indicator_rects();
    EXPECT_NEAR(input_indicator_rects[0].x1, 581.40f, 0.005f);
    EXPECT_NEAR(input_indicator_rects[0].x2, 611.76f, 0.005f);
    EXPECT_FLOAT_EQ(input_indicator_rects[0].y1, 103.0f);
    EXPECT_FLOAT_EQ(input_indicator_rects[0].y2, 123.0f);
    // Left Shift, the widest key: 10..58 on the 527-pixel banner.
    EXPECT_NEAR(input_indicator_rects[4].x1, 10.0f * 800.0f / 527.0f, 0.001f);
    EXPECT_NEAR(input_indicator_rects[4].x2, 58.0f * 800.0f / 527.0f, 0.001f);
    use_no_screen();
}

TEST(StartupTables, IndicatorRectsCollapseWithoutAGraphicsDriver)
{
    use_no_screen();
    init_input_indicator_rects();
    for (const ScreenRect& rect : input_indicator_rects) {
        EXPECT_EQ(rect.x1, 0.0f);
        EXPECT_EQ(rect.x2, 0.0f);
        EXPECT_GT(rect.y2, rect.y1);
    }
}

TEST(StartupTables, CarrierRouteStartsAndEndsWhereTheCarrierTravels)
{
    init_carrier_waypoints();
    EXPECT_FLOAT_EQ(carrier_waypoints[0].x, 300.0f);
    EXPECT_FLOAT_EQ(carrier_waypoints[0].z, 1500.0f);
    // The Carrier starts at waypoint 15 and heads for 16.
    EXPECT_FLOAT_EQ(carrier_waypoints[15].x, 620.0f);
    EXPECT_FLOAT_EQ(carrier_waypoints[15].z, 2336.0f);
    EXPECT_FLOAT_EQ(carrier_waypoints[16].x, 314.0f);
    EXPECT_FLOAT_EQ(carrier_waypoints[16].z, 2059.0f);
    for (const VecXZ& point : carrier_waypoints) {
        EXPECT_GT(point.x, 0.0f);
        EXPECT_LT(point.x, 2500.0f);
        EXPECT_GT(point.z, 0.0f);
        EXPECT_LT(point.z, 2500.0f);
    }
}

TEST(StartupTables, RouteDistanceMeasuresToTheNearestLegOfTheClosedLoop)
{
    init_carrier_waypoints();
    EXPECT_NEAR(carrier_route_distance(620.0, 2336.0), 0.0, 1e-9) << "on a waypoint";
    // The leg 14 -> 15 runs along z = 2336 from x 1301 to 620.
    EXPECT_NEAR(carrier_route_distance(1000.0, 2300.0), 36.0, 1e-9);
    // The closing leg 16 -> 0 (314, 2059) -> (300, 1500) counts too.
    EXPECT_NEAR(carrier_route_distance(257.0, 1780.0), 50.0, 0.5);
    // Beyond the end of a leg the distance is to its end point.
    EXPECT_NEAR(carrier_route_distance(2232.0, 378.0), 50.0, 1e-6);
}

} // namespace
