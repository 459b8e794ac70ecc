// The title menu's tick: the menu keys, and the fly-over camera's height,
// steering, wrap, targets and speed, with the Carrier running behind it.
#include <cmath>
#include <cstdlib>

#include <allegro.h>
#include <gtest/gtest.h>

#include "app/options_screen.h"
#include "app/title_menu.h"
#include "game/startup_tables.h"
#include "gameplay/carrier.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "maths/angles.h"
#include "tests/test_support.h"

namespace {

constexpr float GROUND = 50.0f;

class TitleMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        release_all_keys();
        init_carrier_waypoints();
        set_flat_terrain(GROUND);
        camera_eye = {0.0f, 0.0f, 0.0f};
    }
    void TearDown() override { release_all_keys(); }
};

TEST_F(TitleMenuTest, ArrowsChooseAndEnterConfirmsDownWinningOverUp)
{
    TitleMenu menu;
    game.demo_mode = 1;
    step_title_menu(menu);
    EXPECT_EQ(menu.done, 0) << "nothing confirmed without Enter";
    key[KEY_ENTER] = 1;
    step_title_menu(menu);
    EXPECT_EQ(menu.done, 1);
    EXPECT_EQ(game.demo_mode, 0) << "Enter alone plays";

    TitleMenu both;
    key[KEY_ENTER] = 0;
    key[KEY_UP] = 1;
    key[KEY_DOWN] = 1;
    step_title_menu(both);
    EXPECT_EQ(both.selection, 1) << "Down wins over Up";
    key[KEY_UP] = 0;
    key[KEY_DOWN] = 0;
    step_title_menu(both);
    EXPECT_EQ(both.selection, 1) << "the choice stays when the keys are let go";
    EXPECT_EQ(both.done, 0);
    key[KEY_ENTER] = 1;
    step_title_menu(both);
    EXPECT_EQ(both.done, 1);
    EXPECT_EQ(game.demo_mode, 1) << "DEMO";

    TitleMenu up;
    up.selection = 1;
    key[KEY_ENTER] = 0;
    key[KEY_UP] = 1;
    step_title_menu(up);
    EXPECT_EQ(up.selection, 0);
}

// OPTIONS and QUIT lie below DEMO, a press of Down each; Down held stays.
// Escape quits from any entry; the fly-over and the Carrier go on while the
// options screen is open over them, and Escape there leaves it without
// quitting the menu.
TEST_F(TitleMenuTest, DownPressesReachOptionsAndQuitEscapeQuitsAndTheOptionsOpenOverTheFlyover)
{
    TitleMenu menu;
    const auto step_with = [&menu](int k) {
        key[k] = 1;
        step_title_menu(menu);
        step_title_menu(menu);
        key[k] = 0;
        step_title_menu(menu);
    };
    step_with(KEY_DOWN);
    EXPECT_EQ(menu.selection, MENU_DEMO) << "Down held two steps moves once";
    step_with(KEY_DOWN);
    EXPECT_EQ(menu.selection, MENU_OPTIONS);
    step_with(KEY_ENTER);
    ASSERT_TRUE(options_screen_open());
    EXPECT_EQ(menu.done, 0);
    const float carrier_x = game.carrier_x, eye_z = camera_eye.z;
    step_with(KEY_DOWN); // the options screen's list, not the menu
    EXPECT_EQ(menu.selection, MENU_OPTIONS);
    EXPECT_NE(game.carrier_x, carrier_x) << "the Carrier goes on behind the options";
    EXPECT_NE(camera_eye.z, eye_z) << "so does the fly-over";
    step_with(KEY_ESC);
    EXPECT_FALSE(options_screen_open());
    EXPECT_EQ(menu.done, 0) << "the Escape that left the options does not quit";
    step_with(KEY_DOWN);
    EXPECT_EQ(menu.selection, MENU_QUIT);
    step_with(KEY_DOWN);
    EXPECT_EQ(menu.selection, MENU_QUIT) << "QUIT is the last";
    step_with(KEY_ENTER);
    EXPECT_EQ(menu.quit, 1);
    EXPECT_EQ(menu.done, 1);

    TitleMenu escaped;
    key[KEY_ESC] = 1;
    step_title_menu(escaped);
    EXPECT_EQ(escaped.quit, 1) << "Escape quits";
    EXPECT_EQ(escaped.done, 1);
}

TEST_F(TitleMenuTest, HeadingTurnsByQuadrantAndWrapsRoundBothEnds)
{
    struct Case {
        float heading, target_x, target_z, expected;
    };
    // From (1000, 1000): bearing 45 (quadrant 1), 315 (4), 225 (3), 135 (2).
    const Case cases[] = {
        {359.0f, 1500.0f, 1500.0f, 0.6f},   // 4 -> 1, the fast turn past 360
        {0.2f, 500.0f, 1500.0f, 359.7f},    // 1 -> 4, slow, below 0
        {80.0f, 1500.0f, 500.0f, 81.6f},    // 1 -> 2, fast
        {100.0f, 1500.0f, 1500.0f, 99.5f},  // 2 -> 1, slow
        {10.0f, 500.0f, 500.0f, 9.5f},      // 1 -> 3, 10 + 180 < 225: back
        {60.0f, 500.0f, 500.0f, 60.5f},     // 1 -> 3, 60 + 180 > 225: on
        {200.0f, 1500.0f, 1500.0f, 199.5f}, // 3 -> 1, 200 - 180 < 45
        {300.0f, 1500.0f, 500.0f, 299.5f},  // 4 -> 2, 300 - 180 < 135: back
        {340.0f, 1500.0f, 500.0f, 340.5f},  // 4 -> 2, 340 - 180 > 135: on
        {40.0f, 1500.0f, 1500.0f, 40.5f},   // same quadrant, toward the bearing
        {44.5f, 1500.0f, 1500.0f, 44.5f},   // within a degree: straight on
    };
    for (const Case& c : cases) {
        camera_eye = {1000.0f, 200.0f, 1000.0f};
        TitleMenu menu;
        menu.heading = c.heading;
        menu.target = {c.target_x, c.target_z};
        step_title_menu(menu);
        EXPECT_NEAR(menu.heading, c.expected, 1e-4f) << "from " << c.heading;
        EXPECT_EQ(menu.target.x, c.target_x) << "a far target is kept";
        // It travelled 12 units along the heading it turned to, before the wrap.
        EXPECT_NEAR(std::hypot(camera_eye.x - 1000.0f, camera_eye.z - 1000.0f), 12.0f, 1e-3f);
        EXPECT_NEAR(camera_eye.x, 1000.0f + 12.0f * std::sin(radians(c.expected)), 1e-3f);
    }
    // The fast turn adds 1.6 in double precision: 0.2f + 1.6 rounds to 1.8f,
    // where 1.6f widened would give the float above it.
    camera_eye = {1000.0f, 200.0f, 1000.0f};
    TitleMenu menu;
    menu.heading = 0.2f;
    menu.target = {1500.0f, 500.0f};
    step_title_menu(menu);
    EXPECT_EQ(menu.heading, 1.8f);
}

TEST_F(TitleMenuTest, FlyoverClimbsDriftsChasesFarTargetsEasesItsSpeedAndRunsTheCarrier)
{
    std::srand(77);
    // The first step climbs (no draw), flies 12 along +z, finds the target at
    // its start point and draws targets, x first, until one is 700 away.
    int rx, rz;
    do {
        rx = std::rand() % 2000 + 200;
        rz = std::rand() % 2000 + 200;
    } while (std::hypot(float(rx), float(rz) - 12.0f) < 700.0f);
    const int goal = std::rand() % 4 + 2;
    std::srand(77);

    TitleMenu menu;
    step_title_menu(menu);
    EXPECT_EQ(camera_eye.y, 1.0f);
    EXPECT_EQ(camera_eye.z, 12.0f);
    EXPECT_EQ(menu.target.x, float(rx));
    EXPECT_EQ(menu.target.z, float(rz));
    EXPECT_EQ(menu.speed_goal, float(goal));
    EXPECT_FLOAT_EQ(menu.speed, 9.99f);

    int targets = 1, ticks = 1, drift_ticks = 0;
    bool left_ground = false;
    while (ticks < 20000) {
        const float y = camera_eye.y, speed = menu.speed;
        const float ground = terrain_height_at(camera_eye.x, camera_eye.z);
        const FlyoverPoint target = menu.target;
        step_title_menu(menu);
        ++ticks;
        const float dy = camera_eye.y - y;
        if (y - 20.0f < ground) {
            ASSERT_FLOAT_EQ(dy, 1.0f) << "climbs while too low, tick " << ticks;
        } else {
            left_ground = true;
            ++drift_ticks;
            ASSERT_LE(std::fabs(dy), 0.25f + 1e-4f) << "drifts, tick " << ticks;
        }
        ASSERT_GE(menu.heading, 0.0f);
        ASSERT_LE(menu.heading, 360.0f);
        ASSERT_NEAR(std::fabs(menu.speed - speed), speed == menu.speed ? 0.0f : 0.01f, 1e-4f);
        if (menu.target.x != target.x || menu.target.z != target.z) {
            ++targets;
            ASSERT_GE(std::hypot(menu.target.x - camera_eye.x, menu.target.z - camera_eye.z), 700.0f);
            for (float v : {menu.target.x, menu.target.z}) {
                ASSERT_GE(v, 200.0f);
                ASSERT_LE(v, 2199.0f);
            }
            ASSERT_GE(menu.speed_goal, 2.0f);
            ASSERT_LE(menu.speed_goal, 5.0f);
        }
    }
    EXPECT_TRUE(left_ground);
    EXPECT_GT(drift_ticks, 19000);
    EXPECT_NEAR(camera_eye.y, GROUND + 20.0f, 10.0f) << "the drift stays near its height";
    EXPECT_GE(targets, 4) << "the steering reaches target after target";
    EXPECT_LE(std::fabs(menu.speed - menu.speed_goal), 1.0f + 1e-4f) << "the speed settles within 1";

    // The Carrier took one route step per menu step.
    const float carrier_x = game.carrier_x, carrier_z = game.carrier_z;
    reset_game_state();
    for (int i = 0; i < ticks; ++i)
        step_carrier();
    EXPECT_EQ(game.carrier_x, carrier_x);
    EXPECT_EQ(game.carrier_z, carrier_z);
}

TEST_F(TitleMenuTest, ChoosingDemoAfterSomeTicksLeavesTheCarrierWhereThoseStepsTookIt)
{
    step_title_menu_choosing_demo(300);
    EXPECT_EQ(game.demo_mode, 1) << "Down held, Enter in the last step";
    EXPECT_EQ(key[KEY_DOWN], 0);
    EXPECT_EQ(key[KEY_ENTER], 0);
    const float carrier_x = game.carrier_x, carrier_z = game.carrier_z;
    reset_game_state();
    for (int i = 0; i < 300; ++i)
        step_carrier();
    EXPECT_EQ(game.carrier_x, carrier_x) << "one route step per menu step";
    EXPECT_EQ(game.carrier_z, carrier_z);

    reset_game_state();
    step_title_menu_choosing_demo(0);
    EXPECT_EQ(game.demo_mode, 0) << "no step, nothing chosen";
    EXPECT_EQ(game.carrier_x, 620.0f);
}

} // namespace
