// The showcase recording played through the whole game: every tick of the
// logic, and the frames of the close view, where the lock-on is decided. The
// recording was authored against the game as it is, so this sees both a
// damaged script and a change in the game that would spoil what it shows.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include <allegro.h>

#include "app/demo.h"
#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "app/startup.h"
#include "app/timers.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "tests/gl_support.h"
#include "tests/test_support.h"
#include "world/frame.h"
#include "world/terrain.h"

namespace {

struct Showcase {
    int first_lock_tick = 0, lock_actor = 0;
    float walker_health_at_300 = 0.0f;
    float highest_top_before_700 = 0.0f; // feet above the ground while not jumping
    int longest_ride = 0;                // ticks riding with the feet 10 above the ground
    float ride_player_travel = 0.0f, ride_carrier_travel = 0.0f;
    float last_burst_from_carrier = 1e9f;
    int ticks = 0;
};

class ShowcaseDemoTest : public testing::Test {
protected:
    void SetUp() override
    {
        remove_int(clock_callback);
        saved_demo_file_ = demo_file;
        demo_file = std::fopen((std::string(TEST_BUILD_DIR) + "/vesk").c_str(), "rb");
        ASSERT_NE(demo_file, nullptr) << "the build writes vesk";
    }
    void TearDown() override
    {
        if (demo_file != nullptr)
            std::fclose(demo_file);
        demo_file = saved_demo_file_;
        // The state the other drawing tests start from.
        reset_game_state();
        player_step = {0.0f, 0.0f};
        input_record = {};
        place_player_for_mode();
        install_int(clock_callback, 1);
    }

    static Showcase play()
    {
        reset_game_state();
        game.demo_mode = 1;
        place_player_for_mode();
        std::srand(1);
        Showcase s;
        int ride = 0;
        Vec3 ride_from_player{}, ride_from_carrier{};
        int prior_exploded[PROJECTILE_SLOTS] = {};
        while (game.demo_index <= DEMO_LAST_RECORD) {
            const int tick = ++s.ticks;
            for (int ms = tick % 3 == 0 ? 16 : 17; ms > 0; --ms)
                clock_callback();
            logic_step();
            // Only the close view's frames change the game (the lock-on).
            if (game.view_mode == 1)
                compose_frame();

            if (game.target_lock != 0 && s.first_lock_tick == 0) {
                s.first_lock_tick = tick;
                s.lock_actor = game.target_lock;
            }
            if (tick == 300)
                s.walker_health_at_300 = game.walker_health;
            const float above = player_position.y - terrain_height_at(player_position.x, player_position.z);
            if (tick < 700 && game.jump_active == 0)
                s.highest_top_before_700 = std::max(s.highest_top_before_700, above);
            if (game.carrier_riding == 1 && above > 10.0f) {
                if (ride++ == 0) {
                    ride_from_player = player_position;
                    ride_from_carrier = {game.carrier_x, 0.0f, game.carrier_z};
                }
                if (ride > s.longest_ride) {
                    s.longest_ride = ride;
                    s.ride_player_travel = std::hypot(player_position.x - ride_from_player.x,
                                                      player_position.z - ride_from_player.z);
                    s.ride_carrier_travel = std::hypot(game.carrier_x - ride_from_carrier.x,
                                                       game.carrier_z - ride_from_carrier.z);
                }
            } else {
                ride = 0;
            }
            for (int i = 0; i < PROJECTILE_SLOTS; ++i) {
                const Projectile& p = projectiles[i];
                if (p.exploded == 1 && prior_exploded[i] == 0 && tick > 2300)
                    s.last_burst_from_carrier =
                        std::hypot(p.position.x - game.carrier_x, p.position.z - game.carrier_z);
                prior_exploded[i] = p.exploded;
            }
        }
        return s;
    }

    FILE* saved_demo_file_ = nullptr;
};

TEST_F(ShowcaseDemoTest, LocksOnAndHitsTheWalkerClimbsARoofRidesTheCarrierAndShootsAtIt)
{
    const Showcase s = play();
    EXPECT_EQ(s.ticks, DEMO_LAST_RECORD) << "one record a tick from record 1";

    // The close view finds the charging Walker and locks on before the first shot leaves.
    EXPECT_GT(s.first_lock_tick, 127) << "not before the close view";
    EXPECT_LT(s.first_lock_tick, 187) << "the lock comes before the first release";
    EXPECT_EQ(s.lock_actor, 1) << "the Walker";
    EXPECT_LT(s.walker_health_at_300, 50.0f) << "a shot hits the Walker";

    // The low roof is 12 above the street; the player stands on it, not in the air.
    EXPECT_GT(s.highest_top_before_700, 10.0f);

    // A ride of at least two and a half seconds on top of the Carrier, carried along with it.
    EXPECT_GE(s.longest_ride, 150);
    EXPECT_GT(s.ride_carrier_travel, 150.0f * 1.7f) << "the ridden Carrier's faster pace";
    EXPECT_NEAR(s.ride_player_travel, s.ride_carrier_travel, 5.0f);

    // The parting shot bursts against the Carrier.
    EXPECT_LT(s.last_burst_from_carrier, 45.0f);
}

} // namespace
