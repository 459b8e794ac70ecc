// Helpers shared by the logic tests.
#pragma once

#include <cstdint>
#include <vector>

#include <allegro.h>

#include "game/game_state.h"
#include "models/model_tables.h"
#include "models/part_record.h"

// Pretends a graphics mode of w x h is set, so SCREEN_W and SCREEN_H answer.
void use_fake_screen(int w, int h);
// No graphics driver: SCREEN_W and SCREEN_H answer 0.
void use_no_screen();

// Puts every field of the game state back to its default, frees every
// projectile slot, leaves the models' live part tables as start-up does,
// clears the bombs, grounds the Flyer's animation, and clears the locked aim
// point and the player's lock-on quadrants.
void reset_game_state();

// Releases every key and modifier, and the tick's actions.
void release_all_keys();

// One logic tick with the actions the game itself gives it: the demo's record
// in demo mode, else the keys held.
void play_tick();

// The controls of one tick of play, on the keys held now.
void apply_controls_to_keys();

// A game as start-up leaves it: the state reset, no key down, no demo record,
// and an 800 x 600 screen.
void start_fresh_game();

// A stand-in for "height.dat": four bitmaps made in memory, installed as
// game_data for the lifetime of the object. The building map starts as open
// ground everywhere.
struct FakeGameData {
    FakeGameData(int map_w = 1250, int map_h = 1250);
    ~FakeGameData();
    FakeGameData(const FakeGameData&) = delete;
    FakeGameData& operator=(const FakeGameData&) = delete;

    // Sets the building map's red value over world rectangle [x0, x1) x [z0, z1).
    void set_building(float x0, float z0, float x1, float z1, int height);

    DATAFILE objects[5];
};

// Every terrain sample at the given height.
void set_flat_terrain(float height);

// Parks the Carrier where it stands: every waypoint of its route is moved
// there, so each route step finds its waypoint reached and it stays put.
// init_carrier_waypoints() restores the route.
void park_carrier();

// The Walker's place, heading, gait and live pose as they are now. Tests that
// aim at it put it back after every tick: it walks late in the tick, after
// the shots and the shove, so every tick then meets it as it was held.
struct HeldWalker {
    Vec3 pos, dir;
    float pitch, model_yaw, roll, heading, speed, walk_phase;
    int mode, anim_key;
    PartTable<WALKER_BOX_PARTS> boxes;
    PartTable<WALKER_SPHERE_PARTS> spheres;
    PartTable<WALKER_CYLINDER_PARTS> cylinders;
};
HeldWalker hold_walker();
void put_back_walker(const HeldWalker& held);


// Installs the given bytes as the demo file (an anonymous temporary file);
// close_demo_file() closes it and leaves demo_file null again.
void use_demo_bytes(const std::vector<std::uint8_t>& bytes);
void close_demo_file();
