// Writes the four pictures of "height.dat" as BMP files into a folder; the
// build assembles them, in this order, with Allegro's dat tool:
//   0 terrain heights 100 x 100 (red / 2 = height), 1 terrain colours 100 x 100,
//   2 building map 1250 x 1250 (red = top height, 255 = open ground),
//   3 banner picture 527 x 150.
// It also writes the scenery list. The land is described in data/terrain.txt,
// the town standing on it in data/town.txt; the building map is drawn from the
// scenery list as the game reads it back.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <allegro.h>

#include "game/banner.h"
#include "game/startup_tables.h"
#include "gameplay/terrain.h"
#include "generators/town.h"
#include "generators/town_map.h"

namespace {

constexpr int TERRAIN_SIZE = 100;
constexpr double CELL = 25.0;
constexpr int BUILDING_MAP_SIZE = 1250;

struct Hill {
    double x, z, radius, height;
};
struct Flat {
    double x0, z0, x1, z1, height, blend;
};
struct Pad {
    double x, z, radius, height, blend;
};
struct Route {
    double height = 0, half_width = 0, blend = 0;
    bool present = false;
};
struct Land {
    std::vector<Hill> hills;
    std::vector<Flat> flats;
    std::vector<Pad> pads;
    Route route;
};

bool read_land(const std::string& path, Land& land)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "make_height_data: cannot read %s\n", path.c_str());
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind) || kind[0] == '#')
            continue;
        bool ok = false;
        if (kind == "hill") {
            Hill h{};
            ok = bool(words >> h.x >> h.z >> h.radius >> h.height);
            land.hills.push_back(h);
        } else if (kind == "flat") {
            Flat f{};
            ok = bool(words >> f.x0 >> f.z0 >> f.x1 >> f.z1 >> f.height >> f.blend);
            land.flats.push_back(f);
        } else if (kind == "pad") {
            Pad p{};
            ok = bool(words >> p.x >> p.z >> p.radius >> p.height >> p.blend);
            land.pads.push_back(p);
        } else if (kind == "route") {
            ok = bool(words >> land.route.height >> land.route.half_width >> land.route.blend);
            land.route.present = true;
        }
        if (!ok) {
            std::fprintf(stderr, "%s:%d: cannot read: %s\n", path.c_str(), number, line.c_str());
            return false;
        }
    }
    return true;
}

double smoothstep(double edge0, double edge1, double v)
{
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Distance outside a rectangle (0 inside).
double rect_distance(double x, double z, double x0, double z0, double x1, double z1)
{
    const double dx = std::max({x0 - x, 0.0, x - x1});
    const double dz = std::max({z0 - z, 0.0, z - z1});
    return std::hypot(dx, dz);
}

double ground_height(const Land& land, double x, double z)
{
    double h = 34.0 + 16.0 * std::sin(x / 310.0) * std::cos(z / 270.0) + 10.0 * std::sin((x + z) / 190.0) +
               5.0 * std::cos((x - 2.0 * z) / 130.0);
    for (const Hill& hill : land.hills) {
        const double d = std::hypot(x - hill.x, z - hill.z) / hill.radius;
        h += hill.height * std::exp(-d * d * 1.5);
    }
    for (const Flat& flat : land.flats) {
        const double w = 1.0 - smoothstep(0.0, flat.blend, rect_distance(x, z, flat.x0, flat.z0, flat.x1, flat.z1));
        h = h * (1.0 - w) + flat.height * w;
    }
    if (land.route.present) {
        const double d = carrier_route_distance(x, z);
        const double w = 1.0 - smoothstep(land.route.half_width, land.route.half_width + land.route.blend, d);
        h = h * (1.0 - w) + land.route.height * w;
    }
    for (const Pad& pad : land.pads) {
        const double d = std::hypot(x - pad.x, z - pad.z);
        const double w = 1.0 - smoothstep(pad.radius, pad.radius + pad.blend, d);
        h = h * (1.0 - w) + pad.height * w;
    }
    return std::clamp(h, 0.0, 127.0);
}

// A small repeatable jitter so that the ground does not look painted by numbers.
int jitter(int i, int j, int salt)
{
    unsigned v = unsigned(i) * 73856093u ^ unsigned(j) * 19349663u ^ unsigned(salt) * 83492791u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    v ^= v >> 15;
    return int(v % 13u) - 6;
}

bool save(BITMAP* bitmap, const std::string& path)
{
    PALETTE palette;
    get_palette(palette);
    const bool ok = save_bmp(path.c_str(), bitmap, palette) == 0;
    if (!ok)
        std::fprintf(stderr, "make_height_data: cannot write %s\n", path.c_str());
    destroy_bitmap(bitmap);
    return ok;
}

void write_terrain(const Land& land, BITMAP* heights, BITMAP* colours)
{
    std::array<std::array<int, TERRAIN_SIZE>, TERRAIN_SIZE> h{};
    for (int i = 0; i < TERRAIN_SIZE; ++i)
        for (int j = 0; j < TERRAIN_SIZE; ++j)
            h[i][j] = int(std::lround(ground_height(land, CELL * i, CELL * j)));

    // The game's own grid, so that the town is set down on the ground exactly
    // as terrain_height_at will find it.
    for (int i = 0; i < TERRAIN_SIZE; ++i)
        for (int j = 0; j < TERRAIN_SIZE; ++j)
            terrain_grid[i][j] = {float(CELL * i), float(h[i][j]), float(CELL * j), 0, 0, 0};

    for (int i = 0; i < TERRAIN_SIZE; ++i) {
        for (int j = 0; j < TERRAIN_SIZE; ++j) {
            putpixel(heights, i, j, makecol(2 * h[i][j], 0, 0));
            int slope = 0;
            for (auto [di, dj] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int ni = std::clamp(i + di, 0, TERRAIN_SIZE - 1);
                const int nj = std::clamp(j + dj, 0, TERRAIN_SIZE - 1);
                slope = std::max(slope, std::abs(h[ni][nj] - h[i][j]));
            }
            // Grass on gentle ground, earth on slopes, rock on steep or high ground.
            int r = 72, g = 128, b = 48;
            if (slope >= 9 || h[i][j] > 100) {
                r = 122, g = 118, b = 110;
            } else if (slope >= 4 || h[i][j] > 80) {
                r = 128, g = 102, b = 62;
            } else {
                const int lift = (h[i][j] - 26) / 2; // higher meadows are a little lighter
                r += lift, g += lift;
            }
            const int n = jitter(i, j, 1);
            putpixel(colours, i, j,
                     makecol(std::clamp(r + n, 0, 255), std::clamp(g + n + jitter(i, j, 2) / 2, 0, 255),
                             std::clamp(b + n, 0, 255)));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_height_data TERRAIN_TXT TOWN_TXT OUTPUT_FOLDER SCENERY_TXT\n");
        return 2;
    }
    init_carrier_waypoints(); // the land is levelled along the Carrier's route
    Land land;
    if (!read_land(argv[1], land))
        return 1;
    const std::string town = argv[2];
    const std::string folder = argv[3];
    const std::string scenery = argv[4];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(24);

    BITMAP* heights = create_bitmap(TERRAIN_SIZE, TERRAIN_SIZE);
    BITMAP* colours = create_bitmap(TERRAIN_SIZE, TERRAIN_SIZE);
    write_terrain(land, heights, colours);

    // The map is drawn from the scenery list as the game will read it.
    std::vector<SceneryPart> parts;
    if (!build_town(town, parts) || !write_scenery(scenery, parts))
        return 1;
    if (!load_scenery(scenery.c_str())) {
        std::fprintf(stderr, "make_height_data: %s", scenery_error_message());
        return 1;
    }
    BITMAP* map = create_bitmap(BUILDING_MAP_SIZE, BUILDING_MAP_SIZE);
    draw_building_map(map);
    BITMAP* banner = create_bitmap(BANNER_WIDTH, BANNER_HEIGHT);
    draw_banner(banner);

    bool ok = save(heights, folder + "/terrain_height.bmp");
    ok = save(colours, folder + "/terrain_colour.bmp") && ok;
    ok = save(map, folder + "/building_map.bmp") && ok;
    ok = save(banner, folder + "/banner.bmp") && ok;
    return ok ? 0 : 1;
}
END_OF_MAIN()
