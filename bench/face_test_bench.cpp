// Cost of the face tests per call, and of a logic tick with the actors
// present. Every call places every face of every part, so a miss costs the
// most: it walks all faces without stopping.
#include <cerrno>
#include <cstdlib>
#include <string>

#include <allegro.h>
#include <benchmark/benchmark.h>

#include "app/game_data.h"
#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "gameplay/player.h"
#include "models/animation.h"
#include "models/hit_test.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "world/terrain.h"

namespace {

// The four models in their first poses, the Walker a little turned and tilted.
void set_up_models()
{
    init_player_model();
    init_flyer_model();
    init_walker_model();
    init_carrier_model();
    init_box_faces();
    init_sphere_proxy_faces();
    init_cylinder_proxy_faces();
    game.walker_pitch = 4.0f;
    game.walker_model_yaw = 37.0f;
    game.walker_dir = {0.6f, 0.0f, 0.8f};
    game.carrier_heading = 100.0f;
    animate_walker();
    animate_flyer();
}

// Mode 0 with a projectile just above the Carrier's deck but on no face.
void CarrierFaceTestMiss(benchmark::State& state)
{
    set_up_models();
    for (auto _ : state)
        benchmark::DoNotOptimize(carrier_face_test(0, 2.0f, game.carrier_x + 200.0f, 60.0f, game.carrier_z));
}
BENCHMARK(CarrierFaceTestMiss);

// Mode 1 with the player standing on the top of box 0, as in every tick of a ride.
void CarrierFaceTestRiding(benchmark::State& state)
{
    set_up_models();
    game.carrier_heading = 64.0f;
    const PartRecord& deck = CARRIER_BOXES[0];
    const float top = CARRIER_BASE_HEIGHT + CARRIER_MODEL_SCALE * (deck.offset_y + deck.scale_y);
    for (auto _ : state) {
        player_proposed_xz = {game.carrier_x, game.carrier_z};
        benchmark::DoNotOptimize(carrier_face_test(1, 2.0f, game.carrier_x, top + 1.0f, game.carrier_z));
    }
}
BENCHMARK(CarrierFaceTestRiding);

void WalkerFaceTestMiss(benchmark::State& state)
{
    set_up_models();
    const Vec3 p = game.walker_pos;
    for (auto _ : state)
        benchmark::DoNotOptimize(walker_face_test(0, 5.0f, p.x + 100.0f, p.y, p.z));
}
BENCHMARK(WalkerFaceTestMiss);

// Mode 1 with the player beside the Walker, as the shove test runs every tick.
void WalkerFaceTestTouch(benchmark::State& state)
{
    set_up_models();
    const Vec3 p = game.walker_pos;
    for (auto _ : state) {
        game.player_hit_flag = 1;
        benchmark::DoNotOptimize(walker_face_test(1, 3.0f, p.x + 4.0f, p.y + 10.0f, p.z));
    }
}
BENCHMARK(WalkerFaceTestTouch);

void FlyerFaceTestMiss(benchmark::State& state)
{
    set_up_models();
    const Vec3 p = game.flyer_pos;
    for (auto _ : state)
        benchmark::DoNotOptimize(flyer_face_test(0, 10.0f, p.x + 100.0f, p.y, p.z));
}
BENCHMARK(FlyerFaceTestMiss);

// The models' rows of one tick: walk cycle, the two Carrier tests, the
// Flyer's and the Walker's animation and the Walker's shove test.
void ModelRowsOfATick(benchmark::State& state)
{
    set_up_models();
    for (auto _ : state) {
        game.walk_anim_active = 1;
        advance_walk_clock();
        animate_player();
        carrier_face_test(1, 2.0f, player_position.x, player_position.y, player_position.z);
        carrier_face_test(1, 2.0f, player_position.x, player_position.y, player_position.z);
        animate_flyer();
        game.walker_walk_phase += 0.5f;
        animate_walker();
        walker_face_test(1, 3.0f, player_position.x, player_position.y + 10.0f, player_position.z);
    }
}
BENCHMARK(ModelRowsOfATick);

// The main loop's logic step as it is wired, on the real terrain and building map.
void LogicStep(benchmark::State& state)
{
    set_up_models();
    player_position = {1200.0f, 20.0f, 1200.0f};
    player_proposed_xz = {1200.0f, 1200.0f};
    for (auto _ : state)
        logic_step();
}
BENCHMARK(LogicStep);

} // namespace

int main(int argc, char** argv)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    const std::string path = std::string(BENCH_BUILD_DIR) + "/height.dat";
    game_data = load_game_data(path.c_str());
    if (game_data == nullptr)
        return 1;
    load_terrain();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unload_datafile(game_data);
    return 0;
}
