// Renders the game's icon through the game's own drawing: the player's
// walking machine close up, seen from the front and a little above, on a
// transparent background, saved as a 32-bit BMP file whose fourth byte is
// the opacity (tools/bmp_to_png.py keeps it).
//
// Usage: icon_picture SIZE OUTPUT.bmp
//   SIZE: the icon's width and height in pixels, 16 to 288.
// The machine is drawn many times larger than the icon and each icon pixel
// is the mean of a block of the drawing. It is drawn twice, on black and on
// white: where the two differ the background shows through, which gives
// each pixel its opacity.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glu.h>

#include "app/startup.h"
#include "display/picture_target.h"
#include "game/game_state.h"
#include "gameplay/player.h"
#include "models/model_drawing.h"

namespace {

constexpr int MIN_SIZE = 16;
constexpr int MAX_SIZE = 288;
constexpr int DRAWING_LIMIT = 576; // the largest square drawn, within the 800 x 600 screen

// The camera: 40 degrees right of the machine's front, a little above its
// middle, looking at the middle; the machine is then fitted to the square.
constexpr double VIEW_SIDE_DEGREES = 40.0;
constexpr double VIEW_DISTANCE = 80.0;
constexpr double VIEW_RISE = 25.0;
constexpr double MIDDLE_HEIGHT = 10.0;
constexpr double MARGIN = 0.06; // of the icon's width, on each side

struct Drawing {
    int size = 0;
    std::vector<unsigned char> rgb; // rows bottom-up, as OpenGL reads them
};

// Draws the machine into a size x size square of the picture over the
// given background, the projection first shifted and scaled by the fit.
Drawing draw_machine(int size, float background, double fit_scale, double fit_x, double fit_y)
{
    glViewport(0, 0, size, size);
    glClearColor(background, background, background, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(fit_scale, fit_scale, 1.0);
    glTranslated(-fit_x, -fit_y, 0.0);
    gluPerspective(30.0, 1.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double heading = (double(game.player_heading) + VIEW_SIDE_DEGREES) * M_PI / 180.0;
    const double middle_y = double(player_position.y) + MIDDLE_HEIGHT;
    gluLookAt(player_position.x + VIEW_DISTANCE * std::sin(heading), middle_y + VIEW_RISE,
              player_position.z + VIEW_DISTANCE * std::cos(heading), player_position.x, middle_y,
              player_position.z, 0.0, 1.0, 0.0);
    draw_player_model();

    Drawing drawing;
    drawing.size = size;
    drawing.rgb.resize(std::size_t(size) * size * 3);
    glFinish();
    read_picture_pixels(0, 0, size, size, drawing.rgb.data());
    return drawing;
}

// The opacity of pixel i: 0 where the black and the white backgrounds show
// unchanged, 1 where the two drawings agree.
double opacity(const Drawing& on_black, const Drawing& on_white, std::size_t i)
{
    double seen = 0.0;
    for (int c = 0; c < 3; ++c)
        seen += on_white.rgb[3 * i + c] - on_black.rgb[3 * i + c];
    return std::clamp(1.0 - seen / (3 * 255.0), 0.0, 1.0);
}

struct Bounds {
    int x0, y0, x1, y1; // inclusive; x0 > x1 when nothing was drawn
};

Bounds drawn_bounds(const Drawing& on_black, const Drawing& on_white)
{
    Bounds b = {on_black.size, on_black.size, -1, -1};
    for (int y = 0; y < on_black.size; ++y)
        for (int x = 0; x < on_black.size; ++x)
            if (opacity(on_black, on_white, std::size_t(y) * on_black.size + x) > 0.0) {
                b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
            }
    return b;
}

// Writes size x size pixels of 8-bit red, green, blue and opacity, top row
// first, as a 32-bit BMP; a temporary file is renamed into place.
bool save_bmp_with_opacity(const char* path, int size, const std::vector<unsigned char>& rgba)
{
    const std::string temporary = std::string(path) + ".tmp";
    FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr)
        return false;
    const unsigned pixels = unsigned(size) * unsigned(size) * 4;
    // Little-endian fields of 16 and 32 bits.
    const auto put16 = [out](unsigned v) {
        std::fputc(int(v & 0xFF), out);
        std::fputc(int((v >> 8) & 0xFF), out);
    };
    const auto put32 = [&put16](unsigned v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    std::fputs("BM", out);
    put32(54 + pixels);
    put32(0);
    put32(54);
    put32(40);
    put32(unsigned(size));
    put32(unsigned(-size)); // negative height: the top row comes first
    put16(1);
    put16(32);
    for (int i = 0; i < 6; ++i)
        put32(0);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        std::fputc(rgba[i + 2], out);
        std::fputc(rgba[i + 1], out);
        std::fputc(rgba[i], out);
        std::fputc(rgba[i + 3], out);
    }
    const bool written = std::ferror(out) == 0;
    if (std::fclose(out) != 0 || !written || std::rename(temporary.c_str(), path) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < MIN_SIZE || size > MAX_SIZE) {
        std::fprintf(stderr, "usage: icon_picture SIZE OUTPUT.bmp (SIZE %d to %d)\n", MIN_SIZE, MAX_SIZE);
        return 2;
    }
    const std::string game_path = std::string(DEVTOOLS_BUILD_DIR) + "/ironstep";
    if (start_up(game_path.c_str()) != EXIT_NORMAL)
        return 1;
    place_player_for_mode();
    game.fire_held = 1; // the gun arm raised, as when a shot is charged

    const int block = DRAWING_LIMIT / size;
    const int drawn = size * block;
    // First a wide view, to find where the machine lies; then the same view
    // shifted and scaled so that it fills the square but for the margin.
    const Bounds wide = drawn_bounds(draw_machine(drawn, 0.0f, 1.0, 0.0, 0.0), draw_machine(drawn, 1.0f, 1.0, 0.0, 0.0));
    if (wide.x0 > wide.x1) {
        shut_down();
        std::fprintf(stderr, "icon_picture: the machine was not drawn\n");
        return 1;
    }
    const auto ndc = [drawn](double pixel) { return 2.0 * (pixel + 0.5) / drawn - 1.0; };
    const double extent = std::max(wide.x1 - wide.x0 + 1, wide.y1 - wide.y0 + 1) * 2.0 / drawn;
    const double scale = 2.0 * (1.0 - 2.0 * MARGIN) / extent;
    const double centre_x = (ndc(wide.x0) + ndc(wide.x1)) / 2.0;
    const double centre_y = (ndc(wide.y0) + ndc(wide.y1)) / 2.0;
    const Drawing on_black = draw_machine(drawn, 0.0f, scale, centre_x, centre_y);
    const Drawing on_white = draw_machine(drawn, 1.0f, scale, centre_x, centre_y);
    shut_down();

    // Each icon pixel: the block's mean opacity, and its colour as the mean
    // of the drawn colours weighted by their opacity.
    std::vector<unsigned char> rgba(std::size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double alpha = 0.0, colour[3] = {0.0, 0.0, 0.0};
            for (int dy = 0; dy < block; ++dy)
                for (int dx = 0; dx < block; ++dx) {
                    // Icon rows run top-down, the drawing's bottom-up.
                    const std::size_t i = std::size_t(drawn - 1 - (y * block + dy)) * drawn + x * block + dx;
                    alpha += opacity(on_black, on_white, i);
                    for (int c = 0; c < 3; ++c)
                        colour[c] += on_black.rgb[3 * i + c]; // on black: the colour times its opacity
                }
            unsigned char* p = &rgba[(std::size_t(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c)
                p[c] = alpha > 0.0 ? (unsigned char)std::lround(std::min(255.0, colour[c] / alpha)) : 0;
            p[3] = (unsigned char)std::lround(255.0 * alpha / (block * block));
        }
    if (!save_bmp_with_opacity(argv[2], size, rgba)) {
        std::fprintf(stderr, "icon_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("icon_picture: %d x %d icon from a %d x %d drawing written to %s\n", size, size, drawn, drawn, argv[2]);
    return 0;
}
END_OF_MAIN()
