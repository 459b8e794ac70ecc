// Soak: a long run of the real logic tick under random key streams, headless,
// with the millisecond clock driven by hand. After every tick the whole game
// state must be finite and every index in its range, and no tick may touch
// the heap. Episodes alternate between play, the real demo recording and
// random recordings; the seed is printed so a failure can be replayed. With
// a display, Allegro's own system driver runs the sound too: every tick is
// heard as in the game and mixed on Allegro's sound thread into ALSA's
// default device (the null device, from the test's configuration); the tick
// with the sounds it starts and steers may not touch the heap either.
//
// Usage: soak_test [TICKS [SEED]]
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <new>
#include <numbers>
#include <string>

#include <pthread.h>

#include <allegro.h>
#include <GL/gl.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_data.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "game/timers.h"
#include "gameplay/bombs.h"
#include "gameplay/building_map.h"
#include "gameplay/lock_on.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "models/animation.h"
#include "models/model_data.h"
#include "sound/sound.h"
#include "tests/test_support.h"
#include "world/camera.h"

// ---- Allocation counting: operator new/delete, and malloc and its kin
// through the linker's --wrap, so every call from the game's own objects is
// seen. Under AddressSanitizer its hooks also see the C library's own calls.
namespace {
std::uint64_t allocations = 0;
}

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* block, std::size_t size);
void __real_free(void* block);

void* __wrap_malloc(std::size_t size)
{
    ++allocations;
    return __real_malloc(size);
}
void* __wrap_calloc(std::size_t count, std::size_t size)
{
    ++allocations;
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, std::size_t size)
{
    ++allocations;
    return __real_realloc(block, size);
}
void __wrap_free(void* block)
{
    __real_free(block);
}
}

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                        void (*free_hook)(const volatile void*));
namespace {
// Only the thread that runs the ticks: with a display, Allegro's background
// thread also reads X input, and Xlib allocates for that.
const pthread_t tick_thread = pthread_self();
std::uint64_t library_allocations = 0;
void count_library_allocation(const volatile void*, std::size_t)
{
    if (pthread_equal(pthread_self(), tick_thread))
        ++library_allocations;
}
void ignore_release(const volatile void*) {}
} // namespace
#endif

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* block = __real_malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* block) noexcept
{
    __real_free(block);
}
void operator delete[](void* block) noexcept
{
    __real_free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    __real_free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    __real_free(block);
}

namespace {

std::uint64_t allocations_seen()
{
#if defined(__SANITIZE_ADDRESS__)
    return allocations + library_allocations;
#else
    return allocations;
#endif
}

// ---- Random numbers of the stream, apart from the game's own rand().
std::uint64_t rng_state = 1;

std::uint32_t next_random()
{
    rng_state = rng_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return std::uint32_t(rng_state >> 33);
}

int random_below(int n)
{
    return int(next_random() % std::uint32_t(n));
}

bool chance(int percent)
{
    return random_below(100) < percent;
}

// ---- The key stream: every key the game reads, each held or released for
// random stretches; percent is its share of stretches held.
struct StreamKey {
    int scancode; // -1 stands for Shift in key_shifts
    int percent;
    int longest;
    bool held = false;
    int ticks_left = 0;
};

constexpr int SHIFT = -1;
StreamKey stream_keys[] = {
    {KEY_UP, 55, 300},  {KEY_DOWN, 15, 120}, {KEY_LEFT, 20, 90}, {KEY_RIGHT, 20, 90}, {KEY_LSHIFT, 15, 100},
    {KEY_Z, 35, 120},   {KEY_X, 30, 900},    {KEY_PGUP, 10, 100}, {KEY_PGDN, 10, 100}, {KEY_F, 8, 100},
    {KEY_A, 8, 100},    {KEY_W, 8, 100},     {KEY_H, 8, 100},    {KEY_R, 8, 100},     {KEY_1, 5, 60},
    {KEY_2, 5, 60},     {KEY_3, 5, 60},      {KEY_5, 5, 60},     {KEY_6, 5, 30},      {KEY_7, 5, 60},
    {KEY_8, 5, 60},     {KEY_I, 5, 60},      {KEY_J, 5, 60},     {KEY_K, 5, 60},      {KEY_L, 5, 60},
    {SHIFT, 30, 200},
};

void press_stream_keys()
{
    for (StreamKey& k : stream_keys) {
        if (--k.ticks_left <= 0) {
            k.held = chance(k.percent);
            k.ticks_left = 1 + random_below(k.longest);
        }
        if (k.scancode == SHIFT)
            key_shifts = k.held ? KB_SHIFT_FLAG : 0;
        else
            key[k.scancode] = k.held ? 1 : 0;
    }
}

// In a hunting game the turning keys face the player at the Walker (the
// Flyer once the Walker is gone), so that locks, hits and deaths happen too.
bool hunting = false;

void steer_at_prey()
{
    if (!hunting)
        return;
    const Vec3 prey = game.walker_alive == 1 ? game.walker_pos : game.flyer_pos;
    float bearing = 0.0f;
    int heading_quadrant = 0, bearing_quadrant = 0;
    bearing_and_quadrants(prey.x, prey.z, player_position.x, player_position.z, -1.0f, bearing, heading_quadrant,
                          bearing_quadrant);
    const float turn = std::remainder(bearing - game.player_heading, 360.0f);
    // Under a lock the player turns by itself and Left and Right side-step.
    if (game.target_lock == 0) {
        key[KEY_LEFT] = turn > 2.0f;
        key[KEY_RIGHT] = turn < -2.0f;
    }
    // Charge well, and let go when facing the prey from near by.
    const bool near = std::hypot(prey.x - player_position.x, prey.z - player_position.z) < 150.0f;
    key[KEY_Z] = !(game.fire_charging == 1 && projectiles[std::size_t(game.fire_slot)].charge > 0.4f && near &&
                   std::fabs(turn) < 3.0f);
    // Shots in the chase view aim a little down, at the body.
    if (game.view_mode == 0) {
        key[KEY_PGDN] = game.look_pitch > -3.0f;
        key[KEY_PGUP] = game.look_pitch < -4.0f;
    }
}

// ---- Lock-on without OpenGL. The frame's search sends each actor through
// the close view's camera in feedback mode; here the same camera (look-at,
// perspective, viewport) is worked out by hand and the feedback values are
// laid out as OpenGL leaves them, then read by the game's own scan.
struct Point {
    double x, y, z;
};

Point minus(Point a, Point b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point cross(Point a, Point b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(Point a, Point b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Point unit(Point a)
{
    const double n = std::sqrt(dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
}

// Appends the actor's record: its id, and its window position when it lies
// inside the view volume.
int feed_actor(float* values, int n, int id, const Vec3& actor)
{
    const Point eye = {camera_eye.x, double(camera_eye.y) + CLOSE_EYE_HEIGHT, camera_eye.z};
    const Point centre = {player_position.x, eye.y + double(game.look_pitch), player_position.z};
    const Point f = unit(minus(centre, eye));
    const Point s = unit(cross(f, {0.0, 1.0, 0.0}));
    const Point u = cross(s, f);
    const Point p = minus({actor.x, actor.y, actor.z}, eye);
    const double xe = dot(s, p), ye = dot(u, p), ze = -dot(f, p);
    const double cot = 1.0 / std::tan(double(game.fov_degrees) * std::numbers::pi / 360.0);
    const double aspect = double(game.aspect_scale) * ASPECT_BASE;
    const double xc = cot / aspect * xe, yc = cot * ye, w = -ze;
    const double zc = (FAR_PLANE + NEAR_PLANE) / (NEAR_PLANE - FAR_PLANE) * ze +
                      2.0 * FAR_PLANE * NEAR_PLANE / (NEAR_PLANE - FAR_PLANE);
    values[n++] = float(GL_PASS_THROUGH_TOKEN);
    values[n++] = float(id);
    if (!(std::fabs(xc) <= w && std::fabs(yc) <= w && std::fabs(zc) <= w))
        return n;
    const ViewportOrigin origin = viewport_origin();
    values[n++] = float(GL_POINT_TOKEN);
    values[n++] = float(origin.x + (xc / w + 1.0) * game.viewport_width / 2.0);
    values[n++] = float(origin.y + (yc / w + 1.0) * game.viewport_height / 2.0);
    values[n++] = float((zc / w + 1.0) / 2.0);
    return n;
}

void search_for_targets_without_gl()
{
    float values[12];
    int n = 0;
    if (game.walker_alive == 1)
        n = feed_actor(values, n, WALKER_MARKER_ID, game.walker_pos);
    if (game.flyer_alive == 1)
        n = feed_actor(values, n, FLYER_MARKER_ID, game.flyer_pos);
    const MarkerScan scan =
        scan_marker_feedback(values, n, SCREEN_W, SCREEN_H, game.lock_timer_ms.load() > LOCK_DWELL_MS, marker_offsets);
    if (scan.lock != 0)
        game.target_lock = scan.lock;
    game.nearest_marker_distance = scan.nearest;
    game.lock_timing.store(scan.nearest < LOCK_WINDOW ? 1 : 0);
}

// What the frame does after the tick in the close view: search, or keep the
// aim point on the locked actor.
void frame_lock_on()
{
    if (game.view_mode != 1)
        return;
    if (game.target_lock == 0)
        search_for_targets_without_gl();
    if (game.target_lock == WALKER_MARKER_ID)
        target_point = {game.walker_pos.x, game.walker_pos.y + 7.0f, game.walker_pos.z};
    else if (game.target_lock == FLYER_MARKER_ID)
        target_point = {game.flyer_pos.x, game.flyer_pos.y + 5.0f, game.flyer_pos.z};
}

// ---- The checks.
constexpr float ANY = std::numeric_limits<float>::max();

struct FloatField {
    const char* name;
    float GameState::*field;
    float low, high;
};
struct VecField {
    const char* name;
    Vec3 GameState::*field;
    float low, high; // on every component
};
struct IntField {
    const char* name;
    int GameState::*field;
    int low, high;
};

#define F(name, low, high) {#name, &GameState::name, low, high}
const FloatField FLOAT_FIELDS[] = {
    F(player_model_yaw, 129.0f, 390.0f), F(health_setting, -ANY, ANY), F(player_heading, -1.0f, 364.0f),
    F(look_pitch, -20.25f, 400.25f), F(walk_anim_clock, 0.0f, 20.0f), F(aspect_scale, 0.1f, 2.0f),
    F(carrier_heading_trim, -ANY, ANY), F(carrier_x, 290.0f, 2250.0f), F(carrier_z, 420.0f, 2350.0f),
    F(carrier_heading, -ANY, ANY), F(carrier_leg_angle, -1.0f, 91.0f), F(jump_phase, 15.0f, 181.15f),
    F(jump_speed, -0.95f, 0.95f), F(minimap_zoom, 0.95f, 10.05f), F(walker_walk_phase, 0.0f, 20.0f),
    F(flyer_pitch, 0.0f, 180.5f), F(flyer_model_yaw, -2.0f, 258.0f), F(flyer_roll, 0.0f, 0.0f),
    F(flyer_heading, -2.0f, 362.0f), F(flyer_speed, 0.0f, 9.2f), F(flyer_target_bearing, 0.0f, 360.0f),
    F(flyer_hit_time, 0.0f, ANY), F(flyer_hit_span, 20.0f, 20.0f), F(flyer_health, -ANY, 40.0f),
    F(flyer_max_health, 40.0f, 40.0f), F(walker_pitch, -ANY, ANY), F(walker_model_yaw, -ANY, ANY),
    F(walker_roll, -ANY, ANY), F(walker_heading, -361.0f, 362.0f), F(walker_speed, 0.1f, 6.1f),
    F(walker_goal_x, -ANY, ANY), F(walker_goal_z, -ANY, ANY), F(walker_goal_bearing, 0.0f, 360.0f),
    F(walker_hit_time, 0.0f, ANY), F(walker_hit_span, 1.0f, 1.0f), F(walker_health, -ANY, 50.0f),
    F(walker_max_health, 50.0f, 50.0f), F(bomb_interval, 2.5f, 2.5f), F(bomb_run_start, 0.0f, ANY),
    F(lock_turn_progress, 0.0f, 183.0f), F(player_hit_time, 0.0f, ANY), F(player_hit_span, 20.0f, 20.0f),
    F(nearest_marker_distance, 0.0f, NO_MARKER),
};
const VecField VEC_FIELDS[] = {
    F(flyer_dir, -1.0f, 1.0f), F(flyer_pos, -ANY, ANY), F(walker_dir, -1.0f, 1.0f), F(walker_pos, -ANY, ANY),
};
const IntField INT_FIELDS[] = {
    F(demo_mode, 0, 1), F(demo_index, 1, DEMO_LAST_RECORD + 1), F(walk_anim_key, 0, 2),
    F(viewport_width, 16, 800), F(viewport_height, 16, 600), F(fov_degrees, 16, 96),
    F(walk_anim_active, 0, 1), F(jump_active, 0, 1), F(fire_charging, 0, 1), F(fire_slot, 0, PROJECTILE_SLOTS - 1),
    F(fire_held, 0, 1), F(carrier_waypoint, 0, CARRIER_WAYPOINT_COUNT - 1), F(carrier_riding, 0, 1),
    F(flyer_flying, 0, 1), F(flyer_taking_off, 0, 1), F(jump_key_latch, 0, 1), F(walker_anim_key, 0, 2),
    F(walker_mode, 0, 1), F(flyer_heading_quadrant, 0, 4), F(flyer_target_quadrant, 0, 4),
    F(flyer_hit_flag, 0, 1), F(flyer_alive, 0, 1), F(walker_heading_quadrant, 0, 4),
    F(walker_goal_quadrant, 0, 4), F(walker_hit_flag, 0, 1), F(walker_alive, 0, 1), F(bomb_run_active, 0, 1),
    F(view_mode, 0, 1), F(target_lock, 0, 2), F(player_hit_flag, 0, 1),
    // No bound: KEY_5 sets it from health_setting, which it moves without limit.
    F(player_health, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()),
};
#undef F
// riding_part and riding_face (checked together), carrier_dir and the six
// atomics are checked by hand below.
constexpr std::size_t CHECKED_WORDS = std::size(FLOAT_FIELDS) + 3 * std::size(VEC_FIELDS) + std::size(INT_FIELDS) +
                                      2 + 2 + 6;
static_assert(sizeof(GameState) == 4 * CHECKED_WORDS, "a field of the game state is missing from the soak's checks");

char failure[256];

bool fail(const char* what, const char* name, double value)
{
    std::snprintf(failure, sizeof failure, "%s %s = %.9g", what, name, value);
    return false;
}

bool in_range(const char* name, float value, float low, float high)
{
    return (std::isfinite(value) && value >= low && value <= high) || fail("out of range:", name, double(value));
}

bool in_range(const char* name, int value, int low, int high)
{
    return (value >= low && value <= high) || fail("out of range:", name, value);
}

bool finite(const char* name, const Vec3& v)
{
    return in_range(name, v.x, -ANY, ANY) && in_range(name, v.y, -ANY, ANY) && in_range(name, v.z, -ANY, ANY);
}

template <std::size_t N>
bool finite_parts(const char* name, const std::array<PartRecord, N>& table)
{
    for (const PartRecord& part : table)
        for (float PartRecord::*field : PART_FIELD_MEMBERS)
            if (!in_range(name, part.*field, -ANY, ANY))
                return false;
    return true;
}

bool game_state_sound()
{
    for (const FloatField& f : FLOAT_FIELDS)
        if (!in_range(f.name, game.*f.field, f.low, f.high))
            return false;
    for (const VecField& f : VEC_FIELDS) {
        const Vec3 v = game.*f.field;
        if (!in_range(f.name, v.x, f.low, f.high) || !in_range(f.name, v.y, f.low, f.high) ||
            !in_range(f.name, v.z, f.low, f.high))
            return false;
    }
    for (const IntField& f : INT_FIELDS)
        if (!in_range(f.name, game.*f.field, f.low, f.high))
            return false;
    const bool riding = game.carrier_riding == 1;
    if (riding ? !(game.riding_part >= 0 && game.riding_part < CARRIER_BOX_PARTS && game.riding_face >= 0 &&
                   game.riding_face < 6)
               : !(game.riding_part == 99 && game.riding_face == 99))
        return fail("riding part and face do not match carrier_riding: part", "riding_part", game.riding_part);
    return in_range("carrier_dir.x", game.carrier_dir.x, -1.0f, 1.0f) &&
           in_range("carrier_dir.z", game.carrier_dir.z, -1.0f, 1.0f) &&
           in_range("pending_ticks", game.pending_ticks.load(), 0, 0) &&
           in_range("pulse_value", game.pulse_value.load(), 0.0f, 500.0f) &&
           in_range("pulse_falling", game.pulse_falling.load(), 0, 1) &&
           in_range("game_clock", game.game_clock.load(), 0.0f, ANY) &&
           in_range("lock_timer_ms", game.lock_timer_ms.load(), 0, std::numeric_limits<int>::max()) &&
           in_range("lock_timing", game.lock_timing.load(), 0, 1);
}

bool world_sound()
{
    for (const Projectile& p : projectiles) {
        if (!in_range("projectile in_use", p.in_use, 0, 1) || !in_range("projectile in_flight", p.in_flight, 0, 1) ||
            !in_range("projectile exploded", p.exploded, 0, 1) || !finite("projectile position", p.position) ||
            !finite("projectile velocity", p.velocity) || !finite("projectile launch_point", p.launch_point) ||
            !in_range("projectile explosion_radius", p.explosion_radius, 0.0f, 40.0f) ||
            !in_range("projectile charge", p.charge, 0.0f, 0.67f))
            return false;
    }
    for (const Bomb& b : bombs) {
        if (!finite("bomb velocity", b.velocity) || !finite("bomb position", b.position) ||
            !in_range("bomb released", b.released, 0, 1) || !in_range("bomb landed", b.landed, 0, 1) ||
            !in_range("bomb fire_radius", b.fire_radius, 0.0f, FIRE_RADIUS_END + 0.25f))
            return false;
    }
    return finite("player_position", player_position) &&
           in_range("player_proposed_xz.x", player_proposed_xz.x, -ANY, ANY) &&
           in_range("player_proposed_xz.z", player_proposed_xz.z, -ANY, ANY) &&
           in_range("player_step.x", player_step.x, -1.0f, 1.0f) &&
           in_range("player_step.z", player_step.z, -1.0f, 1.0f) && finite("camera_eye", camera_eye) &&
           finite("target_point", target_point) && in_range("player_heading_quadrant", player_heading_quadrant, 0, 4) &&
           in_range("player_bearing_quadrant", player_bearing_quadrant, 0, 4) &&
           in_range("flyer_anim_key", flyer_anim_key, 0, 2) && in_range("flyer_anim_clock", flyer_anim_clock, 0.0f, 100.5f) &&
           in_range("building_move_result", building_move_result, 0, 3) && finite_parts("player_boxes", player_boxes) &&
           finite_parts("walker_boxes", walker_boxes) && finite_parts("walker_spheres", walker_spheres) &&
           finite_parts("walker_cylinders", walker_cylinders) && finite_parts("flyer_spheres", flyer_spheres) &&
           finite_parts("flyer_cylinders", flyer_cylinders) && finite_parts("CARRIER_BOXES", CARRIER_BOXES) &&
           finite_parts("CARRIER_SPHERES", CARRIER_SPHERES);
}

// ---- What happened, to show that the stream reached every corner.
struct Tally {
    std::uint64_t ticks, play_episodes, recorded_episodes, random_episodes, jumps, shots, walker_hits, flyer_hits,
        player_hits, rides, close_views, locks, walker_chases, walker_deaths, flyer_take_offs, flyer_deaths,
        bomb_runs, blocked_moves, walk_cycles;
};
Tally tally = {};

struct Seen {
    int jump, charging, walker_hit, flyer_hit, player_hit, riding, view, lock, walker_mode, walker_alive, flying,
        flyer_alive, bombing, walking;
};

Seen seen_now()
{
    return {game.jump_active, game.fire_charging, game.walker_hit_flag, game.flyer_hit_flag, game.player_hit_flag,
            game.carrier_riding, game.view_mode, game.target_lock, game.walker_mode, game.walker_alive,
            game.flyer_flying, game.flyer_alive, game.bomb_run_active, game.walk_anim_active};
}

void count(const Seen& a, const Seen& b)
{
    const auto rose = [](int before, int after) { return before == 0 && after != 0; };
    tally.jumps += rose(a.jump, b.jump);
    tally.shots += a.charging == 1 && b.charging == 0;
    tally.walker_hits += rose(a.walker_hit, b.walker_hit);
    tally.flyer_hits += rose(a.flyer_hit, b.flyer_hit);
    tally.player_hits += rose(a.player_hit, b.player_hit);
    tally.rides += rose(a.riding, b.riding);
    tally.close_views += rose(a.view, b.view);
    tally.locks += rose(a.lock, b.lock);
    tally.walker_chases += a.walker_mode == 1 && b.walker_mode == 0;
    tally.walker_deaths += a.walker_alive == 1 && b.walker_alive == 0;
    tally.flyer_take_offs += rose(a.flying, b.flying);
    tally.flyer_deaths += a.flyer_alive == 1 && b.flyer_alive == 0;
    tally.bomb_runs += rose(a.bombing, b.bombing);
    tally.walk_cycles += a.walking == 1 && b.walking == 0;
    tally.blocked_moves += building_move_result != MOVE_FREE;
}

// ---- Episodes.
enum class Episode { play, recorded_demo, random_demo };

// A random recording: each key's bytes come in stretches of zero or of one
// non-zero value; the length is random, so the last record may be cut short.
std::uint8_t random_recording[(DEMO_LAST_RECORD + 2) * INPUT_RECORD_SIZE];

std::size_t make_random_recording()
{
    const std::size_t length = 1 + std::size_t(random_below(int(sizeof random_recording)));
    for (int k = 0; k < INPUT_RECORD_SIZE; ++k) {
        std::uint8_t value = 0;
        int left = 0;
        for (std::size_t at = std::size_t(k); at < length; at += INPUT_RECORD_SIZE) {
            if (--left <= 0) {
                value = chance(30) ? std::uint8_t(1 + random_below(255)) : 0;
                left = 1 + random_below(200);
            }
            random_recording[at] = value;
        }
    }
    return length;
}

// The game's state as start-up leaves it for the chosen mode.
void start_episode(Episode kind, const char* recording)
{
    reset_game_state();
    release_all_keys();
    input_record = {};
    for (StreamKey& k : stream_keys)
        k.ticks_left = 0;
    player_position = {0.0f, 0.0f, 0.0f};
    camera_eye = {0.0f, 0.0f, 0.0f};
    close_demo_file();
    // Opened as start-up opens it: the seek gives the stream its buffer, so
    // the reads during play need none.
    if (kind == Episode::recorded_demo && (demo_file = std::fopen(recording, "rb")) != nullptr)
        std::fseek(demo_file, 0, SEEK_SET);
    if (kind == Episode::random_demo) {
        const std::size_t length = make_random_recording();
        use_demo_bytes(std::vector<std::uint8_t>(random_recording, random_recording + length));
    }
    game.demo_mode = kind == Episode::play ? 0 : 1;
    hunting = kind == Episode::play && chance(50);
    place_player_for_mode();
    // Some games start beside the Carrier or somewhere on its route instead,
    // so that random walks meet it too.
    const int start = random_below(10);
    if (kind == Episode::play && start >= 4) {
        const VecXZ at = start < 7 ? VecXZ{game.carrier_x, game.carrier_z}
                                   : carrier_waypoints[std::size_t(random_below(CARRIER_WAYPOINT_COUNT))];
        player_position.x = at.x + float(random_below(121) - 60);
        player_position.z = at.z + float(random_below(121) - 60);
        player_proposed_xz = {player_position.x, player_position.z};
    }
}

bool run_tick()
{
    press_stream_keys();
    steer_at_prey();
    const Seen before = seen_now();
    const std::uint64_t allocated = allocations_seen();
    advance_driven_clock();
    play_tick();
    sound_after_tick();
    frame_lock_on();
    if (allocations_seen() != allocated)
        return fail("heap allocations during the tick:", "count", double(allocations_seen() - allocated));
    count(before, seen_now());
    return game_state_sound() && world_sound();
}

bool allocation_counter_works()
{
    const std::uint64_t before = allocations_seen();
    int* volatile block = new int(1);
    delete block;
    void* (*volatile allocate)(std::size_t) = std::malloc;
    std::free(allocate(16));
    return allocations_seen() >= before + 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t ticks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::uint64_t(std::time(nullptr));
    std::printf("soak: %" PRIu64 " ticks, seed %" PRIu64 " (replay: soak_test %" PRIu64 " %" PRIu64 ")\n", ticks,
                seed, ticks, seed);
    std::fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_install_malloc_and_free_hooks(count_library_allocation, ignore_release);
#endif
    if (!allocation_counter_works()) {
        std::printf("soak: FAILED: the allocation counter does not see allocations\n");
        return 1;
    }

    // The sound thread needs a system driver with its background thread:
    // under X11, a display.
    const bool display = std::getenv("DISPLAY") != nullptr;
    if (!display || allegro_init() != 0)
        install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    use_fake_screen(800, 600);
    const std::string build = SOAK_BUILD_DIR;
    game_data = load_game_data((build + "/height.dat").c_str());
    if (game_data == nullptr) {
        std::printf("soak: FAILED: cannot load %s/height.dat\n", build.c_str());
        return 1;
    }
    const std::string recording = build + "/vesk";
    init_model_tables();
    init_carrier_waypoints();
    load_terrain();
    const bool hearing = start_sound();
    std::printf("soak: sound %s\n", hearing ? "on, through ALSA's default device" : "off: no display or no device");
    std::fflush(stdout);
    rng_state = seed;
    std::srand(unsigned(seed));

    std::uint64_t episode_ends = 0;
    int episode = 0;
    bool sound = true;
    std::uint64_t tick = 1;
    for (; tick <= ticks && sound; ++tick) {
        if (tick > episode_ends) {
            ++episode;
            const int pick = random_below(10);
            const Episode kind = pick < 6 ? Episode::play : pick < 8 ? Episode::recorded_demo : Episode::random_demo;
            start_episode(kind, recording.c_str());
            if (kind == Episode::recorded_demo && demo_file == nullptr) {
                std::printf("soak: FAILED: cannot open %s\n", recording.c_str());
                return 1;
            }
            (kind == Episode::play ? tally.play_episodes
             : kind == Episode::recorded_demo ? tally.recorded_episodes
                                              : tally.random_episodes) += 1;
            // A demo ends after its last record, as in the game.
            episode_ends = tick - 1 + (kind == Episode::play ? std::uint64_t(2000 + random_below(30000))
                                                              : std::uint64_t(DEMO_LAST_RECORD));
        }
        sound = run_tick();
        tally.ticks += sound;
    }
    if (!sound) {
        std::printf("soak: FAILED at tick %" PRIu64 " (episode %d, %s): %s\n", tick - 1, episode,
                    game.demo_mode == 1 ? ("demo record " + std::to_string(game.demo_index - 1)).c_str() : "play",
                    failure);
        std::printf("soak: replay with: soak_test %" PRIu64 " %" PRIu64 "\n", tick - 1, seed);
    }
    const Tally& t = tally;
    std::printf("soak: %" PRIu64 " ticks in %" PRIu64 " play, %" PRIu64 " recorded-demo and %" PRIu64
                " random-demo episodes\n",
                t.ticks, t.play_episodes, t.recorded_episodes, t.random_episodes);
    std::printf("soak: jumps %" PRIu64 ", shots %" PRIu64 ", hits on the Walker %" PRIu64 " / Flyer %" PRIu64
                " / player %" PRIu64 ", rides %" PRIu64 ", close views %" PRIu64 ", locks %" PRIu64 "\n",
                t.jumps, t.shots, t.walker_hits, t.flyer_hits, t.player_hits, t.rides, t.close_views, t.locks);
    std::printf("soak: Walker chases %" PRIu64 ", Walker deaths %" PRIu64 ", Flyer take-offs %" PRIu64
                ", Flyer deaths %" PRIu64 ", bomb runs %" PRIu64 ", walk cycles %" PRIu64
                ", blocked moves %" PRIu64 "\n",
                t.walker_chases, t.walker_deaths, t.flyer_take_offs, t.flyer_deaths, t.bomb_runs, t.walk_cycles,
                t.blocked_moves);
    stop_sound();
    close_demo_file();
    unload_datafile(game_data);
    game_data = nullptr;
    use_no_screen();
    std::printf("soak: %s\n", sound ? "passed" : "FAILED");
    return sound ? 0 : 1;
}
