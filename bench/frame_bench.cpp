// Milliseconds per frame of the real world from the play start, beside the
// same vertex stream submitted by a bare immediate-mode loop with no game
// code: the ratio shows what the game's own drawing code costs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>

#include "app/main_loop.h"
#include "app/startup.h"
#include "app/timers.h"
#include "gameplay/player.h"
#include "world/camera.h"
#include "world/frame.h"
#include "world/terrain.h"
#include "world/terrain_drawing.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int FRAMES = 300;

struct ColouredVertex {
    unsigned char r, g, b;
    float x, y, z;
};

template <typename Draw>
double median_ms(Draw draw)
{
    std::vector<double> times;
    for (int i = 0; i < FRAMES; ++i) {
        const Clock::time_point start = Clock::now();
        draw();
        glFinish();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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

} // namespace

int main()
{
    const std::string game_path = std::string(BENCH_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return 1;
    remove_int(tick_callback);
    place_player_for_mode();
    for (int i = 0; i < 30; ++i)
        logic_step();

    const double game_ms = median_ms(compose_frame);

    const std::vector<ColouredVertex> stream = terrain_stream();
    const double floor_ms = median_ms([&stream] {
        glViewport(0, 0, SCREEN_W, SCREEN_H);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setup_camera();
        glBegin(GL_QUADS);
        for (const ColouredVertex& v : stream) {
            glColor3ub(v.r, v.g, v.b);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    });
    shut_down();

    std::printf("\nframe from the play start (median of %d frames, with glFinish)\n", FRAMES);
    std::printf("  vertices submitted:        %8zu\n", stream.size());
    std::printf("  game frame:                %8.3f ms\n", game_ms);
    std::printf("  bare immediate-mode floor: %8.3f ms\n", floor_ms);
    std::printf("  ratio:                     %8.3f (target within 1.15)\n", game_ms / floor_ms);
    return 0;
}
