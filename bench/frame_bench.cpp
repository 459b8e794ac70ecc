// Milliseconds per frame of the real world from the play start, beside the
// same vertex stream submitted by a bare immediate-mode loop with no game
// code: the ratio shows what the game's own drawing code costs. The floor
// holds the terrain and the scenery (one colour per part, as the frame sends
// them). The worst frame adds 100 projectile bursts in view, and their points
// are timed beside a bare loop that does the same work per point. The HUD
// with every overlay on is timed beside a bare loop submitting the same
// primitives from vertices worked out once. Last, the lock-on search of a
// close-view frame, and the frame presented in a window of one picture and
// scaled full screen. With a file name as argument, the headline figures are
// also written there as rows of "what<TAB>figure<TAB>target<TAB>met". With
// --presented first, only the presented frames are timed: run so with
// IRONSTEP_SCALING_PASS=fallback, it puts the plain pass beside the fast one.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "bench/bench_game.h"
#include "display/picture.h"
#include "display/picture_target.h"
#include "display/present.h"
#include "display/window_mode.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "game/timers.h"
#include "gameplay/lock_on.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "maths/angles.h"
#include "platform/x11_window.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/hud.h"
#include "world/projectile_drawing.h"
#include "world/scenery.h"
#include "world/terrain_drawing.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int FRAMES = 300;

struct ColouredVertex {
    unsigned char r, g, b;
    float x, y, z;
};

using Times = std::vector<double>;

double median(Times times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename Draw>
void time_frame(Draw draw, Times& times)
{
    const Clock::time_point start = Clock::now();
    draw();
    glFinish();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

// The terrain quads that the frame submits, captured once.
std::vector<ColouredVertex> terrain_stream()
{
    std::vector<ColouredVertex> stream;
    const CellRange along_x = terrain_window(player_position.x);
    const CellRange along_z = terrain_window(player_position.z);
    for (int i = along_x.first; i < along_x.end; ++i)
        for (int j = along_z.first; j < along_z.end; ++j)
            for (auto [di, dj] : {std::pair{0, 0}, std::pair{0, 1}, std::pair{1, 1}, std::pair{1, 0}}) {
                const TerrainVertex& v = terrain_grid[i + di][j + dj];
                stream.push_back({v.red, v.green, v.blue, v.x, v.height, v.z});
            }
    return stream;
}

struct ColouredPart {
    unsigned char r, g, b;
    std::vector<Vec3> vertices;
};

// The scenery's quads, captured once.
std::vector<ColouredPart> scenery_stream()
{
    std::vector<ColouredPart> stream;
    for (int p = 0; p < scenery_part_count; ++p) {
        const SceneryPart& part = scenery_parts[p];
        ColouredPart out{part.red, part.green, part.blue, {}};
        for (int q = scenery_first_quad[p]; q < scenery_first_quad[p + 1]; ++q)
            out.vertices.insert(out.vertices.end(), scenery_quads[q].begin(), scenery_quads[q].end());
        stream.push_back(out);
    }
    return stream;
}

// The widest bursts: full charge, late in the explosion.
constexpr float BURST_CHARGE = 0.66f;
constexpr float BURST_RADIUS = 30.0f;
constexpr int BURST_POINTS = 400;

// Every slot an explosion in view: ten rows of ten, 20 to 200 units ahead of
// the player, each row as wide as the view at its distance.
void fill_with_bursts()
{
    for (int slot = 0; slot < PROJECTILE_SLOTS; ++slot) {
        const float ahead = 20.0f + 20.0f * float(slot / 10);
        const float aside = 0.1f * (ahead + CHASE_CAMERA_DISTANCE) * (float(slot % 10) - 4.5f);
        const float x = player_position.x + player_step.x * ahead + player_step.z * aside;
        const float z = player_position.z + player_step.z * ahead - player_step.x * aside;
        const Vec3 at = {x, terrain_height_at(x, z) + 15.0f, z};
        projectiles[slot] = {1, 1, 1, at, {}, at, BURST_RADIUS, BURST_CHARGE};
    }
}

// The same points as draw_projectile's burst, inline: six random numbers, a
// sine and cosine per pair, one normalisation, a colour and a vertex per point.
void bare_bursts()
{
    for (const Projectile& p : projectiles) {
        glPushMatrix();
        glTranslatef(p.position.x, p.position.y, p.position.z);
        glPointSize(2.0f);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBegin(GL_POINTS);
        const double e = double(p.charge) * p.explosion_radius;
        for (int round = 0; round < 20; ++round) {
            for (int k = 7; k < 100; k += 10) {
                const double a = radians(k * 3.6);
                const double sin_a = std::sin(a);
                const double cos_a = std::cos(a);
                for (const float mirror : {1.0f, -1.0f}) {
                    const int q1 = std::rand() % 10;
                    const int q2 = std::rand() % 10;
                    const int q3 = std::rand() % 10;
                    float r = 64.0f + 192.0f * p.charge + float(std::rand() % 32);
                    float g = (mirror > 0.0f ? 64.0f : 128.0f) + float(std::rand() % 32);
                    float b = 96.0f - 128.0f * p.charge + float(std::rand() % 32);
                    normalize_vector_f(&r, &g, &b);
                    glColor4f(r, g, b, 0.8f);
                    glVertex3f(float(mirror * sin_a * q1 * e / 3.0), float(cos_a * q2 * e * 0.5),
                               float(sin_a * q3 * e / 3.0));
                }
            }
        }
        glEnd();
        glPopMatrix();
        glBlendFunc(GL_ONE, GL_ZERO);
    }
}

// Every overlay on: close view without a lock (the gunsight, orange with a
// target near the centre), half health, the demo banner with all ten keys lit.
void show_whole_hud()
{
    game.view_mode = 1;
    game.target_lock = 0;
    game.nearest_marker_distance = 50.0f;
    game.player_health = 50;
    game.demo_mode = 1;
    tick_actions.fill(INPUT_PRESSED);
}

struct HudVertex {
    float r, g, b, a;
    float x, y;
};

// The HUD's primitives in screen pixels, worked out once from what the HUD
// shows: the sight's colour, the pie's rim, the minimap's texture window and
// the lit key rectangles.
struct HudStream {
    GLubyte sight_red;
    std::vector<HudVertex> pie;
    float map_u0, map_u1, map_v0, map_v1;
    std::vector<HudVertex> keys;
};

HudStream hud_stream()
{
    HudStream s;
    const double r = std::sqrt(double((PICTURE_WIDTH / 2) * PICTURE_WIDTH / 2 + (PICTURE_HEIGHT / 2) * PICTURE_HEIGHT / 2));
    s.sight_red = GLubyte(255.0 * (r - game.nearest_marker_distance) / r);
    const float cy = float(PICTURE_HEIGHT - 100);
    const Tint& left = HEALTH_LEFT_TINT;
    const Tint& lost = HEALTH_LOST_TINT;
    s.pie.push_back({left.red, left.green, left.blue, left.alpha, 150.0f, cy});
    bool full = true;
    for (int i = 0; i <= 100; ++i) {
        const double a = radians(double((i * 360) / 100));
        const Tint& t = full ? left : lost;
        s.pie.push_back({t.red, t.green, t.blue, t.alpha, float(150.0 - 100.0 * std::sin(a)),
                         float(cy - 100.0 * std::cos(a))});
        if (i == game.player_health)
            full = false;
    }
    const double h = 1250.0 / game.minimap_zoom;
    s.map_u0 = float((player_position.x - h) / 2500.0);
    s.map_u1 = float((player_position.x + h) / 2500.0);
    s.map_v0 = float((2500.0 - player_position.z - h) / 2500.0);
    s.map_v1 = float((2500.0 - player_position.z + h) / 2500.0);
    for (const ScreenRect& k : input_indicator_rects) {
        s.keys.push_back({0.55f, 0.75f, 1.0f, 0.4f, k.x1, k.y1});
        s.keys.push_back({0.15f, 0.35f, 0.6f, 0.25f, k.x1, k.y2});
        s.keys.push_back({0.15f, 0.35f, 0.6f, 0.25f, k.x2, k.y2});
        s.keys.push_back({0.65f, 1.05f, 1.0f, 0.55f, k.x2, k.y1});
    }
    return s;
}

void bare_hud(const HudStream& s)
{
    const int w = PICTURE_WIDTH;
    const int h = PICTURE_HEIGHT;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(-0.325, w - 0.325, h - 0.325, -0.325);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    draw_viewport_frame();
    glColor3ub(s.sight_red, 128, 16);
    glBegin(GL_LINES);
    glVertex2i(w / 2 - 50, h / 2);
    glVertex2i(w / 2 + 50, h / 2);
    glVertex2i(w / 2, int(h / 2 - 50 / 1.33));
    glVertex2i(w / 2, int(h / 2 + 50 / 1.33));
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_FLAT);
    glBegin(GL_TRIANGLE_FAN);
    for (const HudVertex& v : s.pie) {
        glColor4f(v.r, v.g, v.b, v.a);
        glVertex2f(v.x, v.y);
    }
    glEnd();
    glShadeModel(GL_SMOOTH);
    glBindTexture(GL_TEXTURE_2D, minimap_texture);
    glColor4f(MINIMAP_TINT.red, MINIMAP_TINT.green, MINIMAP_TINT.blue, MINIMAP_TINT.alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(s.map_u0, s.map_v0);
    glVertex2i(w - 200, h - 200);
    glTexCoord2f(s.map_u0, s.map_v1);
    glVertex2i(w - 200, h);
    glTexCoord2f(s.map_u1, s.map_v1);
    glVertex2i(w, h);
    glTexCoord2f(s.map_u1, s.map_v0);
    glVertex2i(w, h - 200);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, banner_texture);
    glColor4f(BANNER_TINT.red, BANNER_TINT.green, BANNER_TINT.blue, BANNER_TINT.alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(0, 0);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(0, 150);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(w, 150);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(w, 0);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glBegin(GL_QUADS);
    for (const HudVertex& v : s.keys) {
        glColor4f(v.r, v.g, v.b, v.a);
        glVertex2f(v.x, v.y);
    }
    glEnd();
    // The frame-rate text through the same font call: its glyph quads are
    // the library's, not the game's.
    load_text_projection();
    glScalef(0.1f, 0.1f, 0.1f);
    allegro_gl_printf(hud_font, -20.0f, 2.6f, -34.0f, makecol(FPS_TEXT_COLOUR.red, FPS_TEXT_COLOUR.green, FPS_TEXT_COLOUR.blue), "FPS:  %d ", fps_value.load());
    glBlendFunc(GL_ONE, GL_ZERO);
    glScalef(10.0f, 10.0f, 10.0f);
    glEnable(GL_DEPTH_TEST);
}

// A whole frame as the main loop draws it: composed, put on the window, flipped.
void presented_frame()
{
    compose_frame();
    present_frame();
}

// The whole screen or a window of the picture's size, and one frame flipped
// there, so that the drawing buffers have followed before anything is timed.
void show(bool whole_screen)
{
    if (whole_screen)
        show_full_screen();
    else
        show_window({PICTURE_WIDTH, PICTURE_HEIGHT});
    presented_frame();
}

// One headline figure for the summary that "make bench" prints at its end.
void summary_row(std::FILE* out, const char* what, const std::string& figure, const char* target, bool met)
{
    if (out != nullptr)
        std::fprintf(out, "%s\t%s\t%s\t%s\n", what, figure.c_str(), target, met ? "yes" : "NO");
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

struct Presented {
    bool fast; // the fast pass, else the fallback
    int screen_w, screen_h;
    double window_ms, screen_ms, unscaled_ms, scaling_ms;
};

// The frame presented in the picture's own window and on the whole screen,
// scaled, in alternate blocks; on the whole screen also flipped with no
// scaling pass, the least any pass there can cost; then the scaling pass
// alone. Ends in the picture's window.
Presented time_presented_frames(int screen_w, int screen_h)
{
    Times window_times, screen_times, unscaled_times, scaling_times;
    const auto flipped_unscaled = [] {
        compose_frame();
        glFlush();
        allegro_gl_flip();
    };
    constexpr int BLOCKS = 10;
    for (int block = 0; block < BLOCKS; ++block) {
        show(false);
        for (int i = 0; i < FRAMES / BLOCKS; ++i)
            time_frame(presented_frame, window_times);
        show(true);
        for (int i = 0; i < FRAMES / BLOCKS; ++i) {
            time_frame(presented_frame, screen_times);
            time_frame(flipped_unscaled, unscaled_times);
        }
    }
    for (int i = 0; i < FRAMES; ++i) {
        compose_frame();
        glFinish();
        time_frame(scale_picture_to_window, scaling_times);
    }
    show(false);
    return {picture_offscreen(), screen_w, screen_h, median(window_times), median(screen_times), median(unscaled_times),
            median(scaling_times)};
}

void print_presented(const Presented& p, std::FILE* summary)
{
    const char* pass = p.fast ? "the fast pass" : "the fallback pass";
    const PictureRect fit = fit_picture(p.screen_w, p.screen_h, picture_scaling());
    const double ratio = p.screen_ms / p.window_ms;
    std::printf("\nframe presented by %s: composed, put on the window and flipped (median of %d frames)\n", pass,
                FRAMES);
    std::printf("  %-34s%8.3f ms\n", "800 x 600 window, the picture 1:1:", p.window_ms);
    std::printf("  %4d x %-4d screen, scaled to %d x %d: %8.3f ms\n", p.screen_w, p.screen_h, fit.w, fit.h,
                p.screen_ms);
    std::printf("  ratio:                            %8.3f%s\n", ratio, p.fast ? " (target within 1.5)" : "");
    std::printf("  of which the scaling pass:        %8.3f ms (black bars, one quad%s)\n", p.scaling_ms,
                p.fast ? "" : ", after a copy to a texture");
    std::printf("  same screen, no scaling pass:     %8.3f ms (the larger flip alone: the least any pass costs)\n",
                p.unscaled_ms);
    std::printf("  ratio, no scaling pass:           %8.3f\n", p.unscaled_ms / p.window_ms);
    char what[96];
    std::snprintf(what, sizeof what, "frame scaled to %d x %d / 800 x 600 window frame, %s", p.screen_w, p.screen_h,
                  pass);
    char figure[64];
    std::snprintf(figure, sizeof figure, "%.2f (%.1f ms against %.1f)", ratio, p.screen_ms, p.window_ms);
    if (p.fast)
        summary_row(summary, what, figure, "within 1.5", ratio <= 1.5);
    else if (summary != nullptr)
        std::fprintf(summary, "%s\t%s\t(none: figure only)\t-\n", what, figure); // beside the fast pass
}

} // namespace

int main(int argc, char** argv)
{
    const bool presented_only = argc > 1 && std::string(argv[1]) == "--presented";
    const char* summary_path = argc > 1 + presented_only ? argv[1 + presented_only] : nullptr;
    if (!start_bench_game())
        return 1;
    const std::string scenery_path = std::string(BENCH_BUILD_DIR) + "/" + SCENERY_FILE_NAME;
    if (scenery_part_count == 0 && !load_scenery(scenery_path.c_str())) {
        std::fprintf(stderr, "%s", scenery_error_message());
        return 1;
    }
    place_player_for_mode();
    for (int i = 0; i < 30; ++i)
        bench_tick();
    // The screen this runs on may be larger: the parts below that time the
    // picture's drawing run in a window of its own size.
    int screen_w, screen_h;
    read_window_size(screen_w, screen_h);
    show(false);
    if (presented_only) {
        const Presented presented = time_presented_frames(screen_w, screen_h);
        std::FILE* summary = summary_path != nullptr ? std::fopen(summary_path, "a") : nullptr;
        print_presented(presented, summary);
        if (summary != nullptr)
            std::fclose(summary);
        shut_down();
        return 0;
    }

    const std::vector<ColouredVertex> stream = terrain_stream();
    const std::vector<ColouredPart> scenery = scenery_stream();
    size_t scenery_vertices = 0;
    for (const ColouredPart& part : scenery)
        scenery_vertices += part.vertices.size();

    // The game's own code for the same terrain and scenery as the floor.
    const auto game_world = [] {
        glViewport(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setup_camera();
        draw_land_and_town();
    };
    const auto bare_floor = [&stream, &scenery] {
        glViewport(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setup_camera();
        glBegin(GL_QUADS);
        for (const ColouredVertex& v : stream) {
            glColor3ub(v.r, v.g, v.b);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
        glBegin(GL_QUADS);
        for (const ColouredPart& part : scenery) {
            glColor3ub(part.r, part.g, part.b);
            for (const Vec3& v : part.vertices)
                glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    };

    // Interleaved, so that whatever else the machine does falls on all three alike.
    Times full_times, world_times, floor_times;
    for (int i = 0; i < FRAMES; ++i) {
        time_frame(compose_frame, full_times);
        time_frame(game_world, world_times);
        time_frame(bare_floor, floor_times);
    }
    const double full_ms = median(full_times);
    const double game_ms = median(world_times);
    const double floor_ms = median(floor_times);

    // The worst frame, and its bursts alone drawn over the world (the world's
    // drawing untimed), by the game and by the bare loop.
    fill_with_bursts();
    const auto world_drawn = [&game_world] {
        game_world();
        glFinish();
    };
    const auto game_bursts = [] {
        for (int slot = 0; slot < PROJECTILE_SLOTS; ++slot)
            draw_projectile(slot);
    };
    Times worst_times, game_burst_times, bare_burst_times;
    for (int i = 0; i < FRAMES; ++i) {
        time_frame(compose_frame, worst_times);
        world_drawn();
        time_frame(game_bursts, game_burst_times);
        world_drawn();
        time_frame(bare_bursts, bare_burst_times);
    }
    const double worst_ms = median(worst_times);
    const double game_burst_ms = median(game_burst_times);
    const double bare_burst_ms = median(bare_burst_times);
    projectiles = {};

    // The HUD over the world (the world's drawing untimed), by the game and by
    // the bare loop.
    show_whole_hud();
    const HudStream hud = hud_stream();
    const auto bare_hud_drawn = [&hud] { bare_hud(hud); };
    // Both draw the same picture: compare them pixel by pixel first.
    const auto read_screen = [] {
        std::vector<unsigned char> rgb(size_t(PICTURE_WIDTH) * PICTURE_HEIGHT * 3);
        glFinish();
        read_picture_pixels(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, rgb.data());
        return rgb;
    };
    world_drawn();
    draw_hud();
    const std::vector<unsigned char> game_hud_picture = read_screen();
    world_drawn();
    bare_hud(hud);
    const std::vector<unsigned char> bare_hud_picture = read_screen();
    long hud_pixels_differing = 0;
    for (size_t i = 0; i < game_hud_picture.size(); i += 3)
        if (std::equal(&game_hud_picture[i], &game_hud_picture[i] + 3, &bare_hud_picture[i]) == false)
            ++hud_pixels_differing;
    Times game_hud_times, bare_hud_times;
    for (int i = 0; i < FRAMES; ++i) {
        world_drawn();
        time_frame(draw_hud, game_hud_times);
        world_drawn();
        time_frame(bare_hud_drawn, bare_hud_times);
    }
    const double game_hud_ms = median(game_hud_times);
    const double bare_hud_ms = median(bare_hud_times);
    game.demo_mode = 0;
    tick_actions.fill(0);
    game.player_health = 100;
    game.view_mode = 0;

    // The lock-on search of one close-view frame, both actors on screen and
    // neither locked: the feedback pass and the scan of what it returns. The
    // clock is held still, so that no lock (and no marker) comes in between.
    remove_int(clock_callback);
    game.lock_timer_ms = 0;
    game.view_mode = 1;
    camera_eye = {player_position.x - player_step.x * CLOSE_CAMERA_DISTANCE, player_position.y,
                  player_position.z - player_step.z * CLOSE_CAMERA_DISTANCE};
    game.walker_pos = {player_position.x + player_step.x * 100.0f, player_position.y + 10.0f,
                       player_position.z + player_step.z * 100.0f};
    game.flyer_pos = {game.walker_pos.x + player_step.z * 20.0f, game.walker_pos.y,
                      game.walker_pos.z - player_step.x * 20.0f};
    setup_camera();
    Times search_times;
    for (int i = 0; i < FRAMES * 10; ++i)
        time_frame(update_target_markers, search_times);
    const double search_ms = median(search_times);
    const float nearest_seen = game.nearest_marker_distance;
    game.view_mode = 0;

    const Presented presented = time_presented_frames(screen_w, screen_h);
    shut_down();

    std::printf("\nframe from the play start (median of %d frames, with glFinish)\n", FRAMES);
    std::printf("  vertices submitted:        %8zu (terrain %zu, scenery %zu)\n", stream.size() + scenery_vertices,
                stream.size(), scenery_vertices);
    std::printf("  game frame, terrain and scenery:  %8.3f ms\n", game_ms);
    std::printf("  same stream, bare loop (floor):   %8.3f ms\n", floor_ms);
    std::printf("  ratio:                            %8.3f (target within 1.15)\n", game_ms / floor_ms);
    std::printf("  whole frame with the four models: %8.3f ms\n", full_ms);

    std::printf("\nworst frame: %d bursts in view (%d points), charge %.2f, radius %.0f\n", PROJECTILE_SLOTS,
                PROJECTILE_SLOTS * BURST_POINTS, BURST_CHARGE, BURST_RADIUS);
    std::printf("  game bursts (draw_projectile):    %8.3f ms\n", game_burst_ms);
    std::printf("  same points, bare loop (floor):   %8.3f ms\n", bare_burst_ms);
    std::printf("  ratio:                            %8.3f (target within 1.15)\n", game_burst_ms / bare_burst_ms);
    std::printf("  whole worst frame:                %8.3f ms (%.1f frames per second)\n", worst_ms,
                1000.0 / worst_ms);

    std::printf("\nHUD, every overlay on: gunsight, health pie, minimap, demo banner with ten keys lit, text\n");
    std::printf("  game HUD (draw_hud):              %8.3f ms\n", game_hud_ms);
    std::printf("  same primitives, bare loop:       %8.3f ms\n", bare_hud_ms);
    std::printf("  ratio:                            %8.3f (target within 1.15)\n", game_hud_ms / bare_hud_ms);
    std::printf("  pixels where the two pictures differ: %ld of %d\n", hud_pixels_differing, PICTURE_WIDTH * PICTURE_HEIGHT);

    std::printf("\nlock-on search, both actors in view (median of %d searches)\n", FRAMES * 10);
    std::printf("  feedback pass and scan:           %8.4f ms (target under 0.2; nearest %.1f pixels)\n", search_ms,
                double(nearest_seen));

    std::FILE* summary = summary_path != nullptr ? std::fopen(summary_path, "a") : nullptr;
    const double world_ratio = game_ms / floor_ms;
    const double burst_ratio = game_burst_ms / bare_burst_ms;
    const double hud_ratio = game_hud_ms / bare_hud_ms;
    summary_row(summary, "frame: terrain and scenery / bare loop", format("%.2f", world_ratio), "within 1.15",
                world_ratio <= 1.15);
    summary_row(summary, "frame: 100 bursts / bare loop", format("%.2f", burst_ratio), "within 1.15",
                burst_ratio <= 1.15);
    summary_row(summary, "HUD (draw_hud) / bare loop", format("%.2f", hud_ratio), "within 1.15", hud_ratio <= 1.15);
    summary_row(summary, "lock-on search per frame", format("%.4f ms", search_ms), "under 0.2 ms", search_ms < 0.2);
    print_presented(presented, summary);
    if (summary != nullptr)
        std::fclose(summary);
    return 0;
}
