#include "tests/test_support.h"

#include <cstdio>
#include <new>

#include "app/main_loop.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "gameplay/bombs.h"
#include "gameplay/controls.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "models/animation.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "models/part_record.h"

namespace {
GFX_DRIVER fake_driver;
}

void use_fake_screen(int w, int h)
{
    fake_driver = {};
    fake_driver.w = w;
    fake_driver.h = h;
    gfx_driver = &fake_driver;
}

void use_no_screen()
{
    gfx_driver = nullptr;
}

void reset_game_state()
{
    // The record holds atomics, so it is rebuilt in place rather than assigned.
    game.~GameState();
    new (&game) GameState();
    reset_projectiles();
    // The live part tables as start-up leaves them: the player in its rest
    // pose, the Walker and the Flyer unposed until their first animation
    // step, the Carrier's parts in place.
    init_player_model();
    walker_boxes = {};
    walker_spheres = {};
    walker_cylinders = {};
    flyer_spheres = {};
    flyer_cylinders = {};
    init_carrier_model();
    target_point = {0.0f, 0.0f, 0.0f};
    player_heading_quadrant = 0;
    player_bearing_quadrant = 0;
    reset_bombs();
    flyer_anim_key = 0;
    flyer_anim_clock = 0.0f;
}

void release_all_keys()
{
    for (int i = 0; i < KEY_MAX; ++i)
        key[i] = 0;
    key_shifts = 0;
    tick_actions = {};
}

void play_tick()
{
    logic_step(read_tick_actions(game_tick_source()));
}

void apply_controls_to_keys()
{
    tick_actions = read_tick_actions(TickSource::devices);
    apply_controls();
}

void start_fresh_game()
{
    reset_game_state();
    release_all_keys();
    input_record = {};
    use_fake_screen(800, 600);
}

FakeGameData::FakeGameData(int map_w, int map_h)
{
    const int sizes[4][2] = {{100, 100}, {100, 100}, {map_w, map_h}, {527, 150}};
    for (int i = 0; i < 4; ++i) {
        BITMAP* bitmap = create_bitmap(sizes[i][0], sizes[i][1]);
        clear_to_color(bitmap, makecol(255, 255, 255));
        objects[i] = {bitmap, DAT_BITMAP, 0, nullptr};
    }
    objects[4] = {nullptr, DAT_END, 0, nullptr};
    game_data = objects;
}

FakeGameData::~FakeGameData()
{
    for (int i = 0; i < 4; ++i)
        destroy_bitmap(static_cast<BITMAP*>(objects[i].dat));
    game_data = nullptr;
}

void FakeGameData::set_building(float x0, float z0, float x1, float z1, int height)
{
    BITMAP* map = static_cast<BITMAP*>(objects[BUILDING_MAP_BITMAP].dat);
    rectfill(map, int(x0 / 2), int(z0 / 2), int(x1 / 2) - 1, int(z1 / 2) - 1, makecol(height, 0, 0));
}

void set_flat_terrain(float height)
{
    for (int i = 0; i < TERRAIN_GRID_SIZE; ++i) {
        for (int j = 0; j < TERRAIN_GRID_SIZE; ++j) {
            terrain_grid[i][j] = {TERRAIN_CELL_SIZE * float(i), height, TERRAIN_CELL_SIZE * float(j), 0, 0, 0};
        }
    }
}

void park_carrier()
{
    carrier_waypoints.fill({game.carrier_x, game.carrier_z});
}

HeldWalker hold_walker()
{
    return {game.walker_pos, game.walker_dir, game.walker_pitch, game.walker_model_yaw, game.walker_roll,
            game.walker_heading, game.walker_speed, game.walker_walk_phase, game.walker_mode, game.walker_anim_key,
            walker_boxes, walker_spheres, walker_cylinders};
}

void put_back_walker(const HeldWalker& held)
{
    game.walker_pos = held.pos;
    game.walker_dir = held.dir;
    game.walker_pitch = held.pitch;
    game.walker_model_yaw = held.model_yaw;
    game.walker_roll = held.roll;
    game.walker_heading = held.heading;
    game.walker_speed = held.speed;
    game.walker_walk_phase = held.walk_phase;
    game.walker_mode = held.mode;
    game.walker_anim_key = held.anim_key;
    walker_boxes = held.boxes;
    walker_spheres = held.spheres;
    walker_cylinders = held.cylinders;
}

void use_demo_bytes(const std::vector<std::uint8_t>& bytes)
{
    close_demo_file();
    demo_file = std::tmpfile();
    if (demo_file != nullptr && !bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), demo_file);
        std::fflush(demo_file);
    }
}

void close_demo_file()
{
    if (demo_file != nullptr)
        std::fclose(demo_file);
    demo_file = nullptr;
}
