// Writes the four pictures of "height.dat" as BMP files into a folder; the
// build assembles them, in this order, with Allegro's dat tool:
//   0 terrain heights 100 x 100 (red / 2 = height), 1 terrain colours 100 x 100,
//   2 building map 1250 x 1250 (red = top height, 255 = open ground),
//   3 banner picture 527 x 150.
#include <cstdio>
#include <string>

#include <allegro.h>

namespace {

constexpr int TERRAIN_SIZE = 100;
constexpr int BUILDING_MAP_SIZE = 1250;
constexpr int BANNER_WIDTH = 527;
constexpr int BANNER_HEIGHT = 150;

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

BITMAP* plain_bitmap(int w, int h, int r, int g, int b)
{
    BITMAP* bitmap = create_bitmap(w, h);
    clear_to_color(bitmap, makecol(r, g, b));
    return bitmap;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_height_data OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(24);

    bool ok = save(plain_bitmap(TERRAIN_SIZE, TERRAIN_SIZE, 40, 0, 0), folder + "/terrain_height.bmp");
    ok = save(plain_bitmap(TERRAIN_SIZE, TERRAIN_SIZE, 70, 130, 50), folder + "/terrain_colour.bmp") && ok;
    ok = save(plain_bitmap(BUILDING_MAP_SIZE, BUILDING_MAP_SIZE, 255, 255, 255), folder + "/building_map.bmp") && ok;
    ok = save(plain_bitmap(BANNER_WIDTH, BANNER_HEIGHT, 30, 40, 70), folder + "/banner.bmp") && ok;
    return ok ? 0 : 1;
}
END_OF_MAIN()
