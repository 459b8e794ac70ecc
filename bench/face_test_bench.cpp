// Cost of the face tests per call, of a logic tick with the actors present,
// and of the gun's worst tick. Every call places every face of every part, so
// a miss costs the most: it walks all faces without stopping.
#include <array>
#include <new>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>

#include <allegro.h>
#include <benchmark/benchmark.h>

#include "app/main_loop.h"
#include "bench/bench_game.h"
#include "game/game_data.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "gameplay/bombs.h"
#include "gameplay/building_map.h"
#include "gameplay/carrier.h"
#include "gameplay/hit_test.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "models/animation.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "models/model_tables.h"

namespace {

// The four models in their first poses, the Walker a little turned and tilted.
void set_up_models()
{
    init_model_tables();
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

// As above, but the Walker's pose changes before every call, as it does
// between ticks: each part is placed afresh instead of reused.
void WalkerFaceTestTouchNewPose(benchmark::State& state)
{
    set_up_models();
    const Vec3 p = game.walker_pos;
    for (auto _ : state) {
        game.walker_model_yaw = game.walker_model_yaw == 37.0f ? 37.5f : 37.0f;
        game.player_hit_flag = 1;
        benchmark::DoNotOptimize(walker_face_test(1, 3.0f, p.x + 4.0f, p.y + 10.0f, p.z));
    }
}
BENCHMARK(WalkerFaceTestTouchNewPose);

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
        bench_tick();
}
BENCHMARK(LogicStep);

// A typical tick of play: the player in the town between the Walker's range
// and the Flyer's pad, the Walker chasing it, the Flyer airborne and hunting
// it with its bomb runs, the Carrier on its route. The game runs on from
// tick to tick as it would; 600 ticks first bring the Flyer into the air.
void LogicStepBothActorsHunting(benchmark::State& state)
{
    // A fresh game: the record holds atomics, so it is rebuilt in place.
    game.~GameState();
    new (&game) GameState();
    reset_projectiles();
    reset_bombs();
    set_up_models();
    init_carrier_waypoints();
    player_position = {1700.0f, terrain_height_at(1700.0f, 1200.0f), 1200.0f};
    player_proposed_xz = {player_position.x, player_position.z};
    for (int t = 0; t < 600; ++t) {
        game.game_clock = game.game_clock + 1.0f / 6.0f; // 10 clock units a second
        bench_tick();
    }
    if (game.flyer_flying != 1 || game.walker_mode != 0) {
        state.SkipWithError("the actors are not hunting");
        return;
    }
    for (auto _ : state) {
        game.game_clock = game.game_clock + 1.0f / 6.0f;
        bench_tick();
    }
    state.counters["flyer_flying"] = game.flyer_flying;
    state.counters["bomb_runs_active"] = game.bomb_run_active;
}
BENCHMARK(LogicStepBothActorsHunting);

// The gun's worst tick: all 100 slots in flight, standing still inside the
// actors' strict boxes but on no face, so that every one of the ten sub-steps
// of every slot runs face tests and none explodes.
struct GunScene {
    Vec3 walker_pos, flyer_pos;
    std::array<Projectile, PROJECTILE_SLOTS> slots;
    int face_tests_per_tick;
};

// A shot standing at p flies on: above the ground and any building top, and
// on no face of any actor.
bool flies_on(const Vec3& p)
{
    return float(building_height_at(p.x, p.z)) < p.y && terrain_height_at(p.x, p.z) < p.y &&
           carrier_face_test(HIT_QUERY, 2.0f, p.x, p.y, p.z) == 0 && walker_face_test(HIT_QUERY, 5.0f, p.x, p.y, p.z) == 0 &&
           flyer_face_test(HIT_QUERY, 10.0f, p.x, p.y, p.z) == 0;
}

// `count` slots from `first`, at random points strictly inside the box
// (centre +- half) where a shot flies on; false if too few such points exist.
bool place_shots(GunScene& scene, int first, int count, const Vec3& centre, const Vec3& half)
{
    std::mt19937 random(first + 1);
    std::uniform_real_distribution<float> unit(-0.95f, 0.95f);
    int k = first;
    for (int attempt = 0; attempt < 100000 && k < first + count; ++attempt) {
        const Vec3 p = {centre.x + half.x * unit(random), centre.y + half.y * unit(random),
                        centre.z + half.z * unit(random)};
        if (flies_on(p))
            scene.slots[k++] = {1, 1, 0, p, {0.0f, 0.0f, 0.0f}, p, 0.0f, 0.66f};
    }
    return k == first + count;
}

void arm(const GunScene& scene)
{
    game.walker_pos = scene.walker_pos;
    game.flyer_pos = scene.flyer_pos;
    projectiles = scene.slots;
}

constexpr Vec3 WALKER_BOX = {5.0f, 10.0f, 5.0f};

// Each actor at its start (the Walker standing on the ground there) with a
// third of the shots in its box: one face test per sub-step.
bool shots_around_each_actor(GunScene& scene)
{
    const Vec3 w = game.walker_pos;
    scene = {{w.x, terrain_height_at(w.x, w.z), w.z}, game.flyer_pos, {}, 10 * PROJECTILE_SLOTS};
    arm(scene);
    return place_shots(scene, 0, 34, scene.walker_pos, WALKER_BOX) &&
           place_shots(scene, 34, 33, scene.flyer_pos, {30.0f, 40.0f, 30.0f}) &&
           place_shots(scene, 67, 33, {game.carrier_x, 40.0f, game.carrier_z}, {27.0f, 20.0f, 27.0f});
}

// The Walker and the Flyer beside the Carrier's hull, every shot in all three
// boxes: three face tests per sub-step.
bool shots_where_all_three_meet(GunScene& scene)
{
    const Vec3 meeting = {game.carrier_x + 15.0f, 40.0f, game.carrier_z + 15.0f};
    scene = {meeting, meeting, {}, 3 * 10 * PROJECTILE_SLOTS};
    arm(scene);
    return place_shots(scene, 0, PROJECTILE_SLOTS, meeting, WALKER_BOX);
}

void run_gun_tick(benchmark::State& state, bool (*make_scene)(GunScene&))
{
    // A fresh game: the hunting tick above leaves the Walker chasing the
    // player, and its steps would carry it off the shots placed round it.
    game.~GameState();
    new (&game) GameState();
    reset_projectiles();
    reset_bombs();
    set_up_models();
    player_position = {1200.0f, 20.0f, 1200.0f};
    player_proposed_xz = {1200.0f, 1200.0f};
    // The Carrier parked where it stands: every waypoint there, so its route
    // steps leave it in place under the shots (after a first step has set
    // its heading to the parked one).
    carrier_waypoints.fill({game.carrier_x, game.carrier_z});
    step_carrier();
    GunScene scene;
    if (!make_scene(scene)) {
        state.SkipWithError("too few points where a shot flies on");
        return;
    }
    arm(scene);
    bench_tick();
    for (const Projectile& p : projectiles) {
        if (p.in_flight != 1 || p.exploded != 0) {
            state.SkipWithError("a shot left the scene");
            return;
        }
    }
    // Re-armed every tick (a copy of 5.6 KB), in case the actors' own steps move them.
    for (auto _ : state) {
        arm(scene);
        bench_tick();
    }
    state.counters["face_tests_per_tick"] = scene.face_tests_per_tick;
    init_carrier_waypoints();
}

void GunTickAroundEachActor(benchmark::State& state)
{
    run_gun_tick(state, shots_around_each_actor);
}
BENCHMARK(GunTickAroundEachActor)->Unit(benchmark::kMillisecond);

void GunTickWhereAllThreeMeet(benchmark::State& state)
{
    run_gun_tick(state, shots_where_all_three_meet);
}
BENCHMARK(GunTickWhereAllThreeMeet)->Unit(benchmark::kMillisecond);

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
