// The HUD drawn over a black screen and read back: the health pie, the
// gunsight's colour, what the minimap shows, the viewport frame, the demo
// banner and its key indicators, the frame rate, and the GL state left for
// the next frame.
#include <cmath>

#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "gameplay/building_map.h"
#include "gameplay/player.h"
#include "input/demo.h"
#include "input/tick_actions.h"
#include "tests/gl_support.h"
#include "world/frame.h"
#include "world/hud.h"

namespace {

constexpr Pixel BLACK = {0, 0, 0};
constexpr Pixel FRAME_BLUE = {FRAME_COLOUR.red, FRAME_COLOUR.green, FRAME_COLOUR.blue};
// The pie's two colours times their alpha, over black.
constexpr Pixel HEALTH_LEFT = {32, 32, 10};
constexpr Pixel HEALTH_LOST = {57, 0, 17};

auto keep_hud_state()
{
    return Restorer(game.view_mode, game.target_lock, game.demo_mode, game.viewport_width, game.viewport_height,
                    game.player_health, game.nearest_marker_distance, game.minimap_zoom, player_position,
                    tick_actions);
}

class HudDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        game.view_mode = 0;
        game.target_lock = 0;
        game.demo_mode = 0;
        game.viewport_width = 800;
        game.viewport_height = 600;
        tick_actions = {};
    }
    void TearDown() override { glClearColor(0.4f, 0.5f, 0.7f, 0.5f); }

    // The HUD alone over black, drawn with the blending the world leaves and a
    // stray depth test and shading; afterwards the state is the next frame's.
    static Picture hud()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBlendFunc(GL_ONE, GL_ZERO);
        glDisable(GL_DEPTH_TEST);
        glShadeModel(GL_FLAT);
        draw_hud();
        GLint src = 0, dst = 0, shade = 0, texture = -1;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        glGetIntegerv(GL_SHADE_MODEL, &shade);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        EXPECT_TRUE(src == GL_ONE && dst == GL_ZERO && shade == GL_SMOOTH && texture == 0);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_BLEND));
        return read_screen();
    }

    // Pixels not black over the top 150 rows, inside the frame line.
    static int lit_at_top(const Picture& s)
    {
        int lit = 0;
        for (int y = 8; y < 150; ++y)
            for (int x = 8; x < 792; ++x)
                lit += !close_to(s.at(x, y), BLACK, 0);
        return lit;
    }

    decltype(keep_hud_state()) kept_ = keep_hud_state();
};

TEST_F(HudDrawing, HealthPieFillsCounterClockwiseFromTheTopAndEmptiesBelowZero)
{
    // Left and right of the centre (150, 500), and above and below it.
    struct Case {
        int health;
        Pixel left, right, top, bottom;
    };
    const Case cases[] = {
        {100, HEALTH_LEFT, HEALTH_LEFT, HEALTH_LEFT, HEALTH_LEFT},
        {50, HEALTH_LEFT, HEALTH_LOST, HEALTH_LEFT, HEALTH_LOST}, // 0..180 degrees run top, left, bottom
        {0, HEALTH_LOST, HEALTH_LOST, HEALTH_LOST, HEALTH_LOST},
        {-10, HEALTH_LOST, HEALTH_LOST, HEALTH_LOST, HEALTH_LOST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.health);
        game.player_health = c.health;
        const Picture s = hud();
        EXPECT_PRED3(close_to, s.at(100, 500), c.left, 2) << s.at(100, 500);
        EXPECT_PRED3(close_to, s.at(200, 500), c.right, 2) << s.at(200, 500);
        EXPECT_PRED3(close_to, s.at(140, 430), c.top, 2) << s.at(140, 430);
        EXPECT_PRED3(close_to, s.at(160, 570), c.bottom, 2) << s.at(160, 570);
        // Radius 100: just inside and just outside the rim.
        EXPECT_FALSE(close_to(s.at(150, 403), BLACK, 2));
        EXPECT_PRED3(close_to, s.at(150, 397), BLACK, 2);
        EXPECT_PRED3(close_to, s.at(45, 500), BLACK, 2);
    }
    // At 25 the colour changes on the left at 90 degrees, not a slice earlier or later.
    game.player_health = 25;
    const Picture s = hud();
    EXPECT_PRED3(close_to, s.at(70, 496), HEALTH_LEFT, 2) << s.at(70, 496);
    EXPECT_PRED3(close_to, s.at(70, 504), HEALTH_LOST, 2) << s.at(70, 504);
}

TEST_F(HudDrawing, GunsightWarmsAsAMarkerNearsTheCentreOnlyInTheUnlockedCloseView)
{
    struct Case {
        int view, lock;
        float distance;
        Pixel sight;
    };
    const Case cases[] = {
        {1, 0, 100000.0f, {0, 128, 16}}, {1, 0, 0.0f, {255, 128, 16}}, {1, 0, 250.0f, {127, 128, 16}},
        {1, 0, 499.0f, {0, 128, 16}},    {1, 0, 700.0f, {0, 128, 16}}, // past R = 500 the red stays 0
        {0, 0, 0.0f, BLACK},             {1, 1, 0.0f, BLACK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.view << " " << c.lock << " " << c.distance);
        game.view_mode = c.view;
        game.target_lock = c.lock;
        game.nearest_marker_distance = c.distance;
        const Picture s = hud();
        // The ends of both strokes: x 350..450 at y 300, y 262..337 at x 400.
        for (auto [x, y] : {std::pair{352, 300}, {447, 300}, {400, 265}, {400, 334}, {400, 300}})
            EXPECT_PRED3(close_to, s.at(x, y), c.sight, 1) << x << "," << y << " " << s.at(x, y);
        for (auto [x, y] : {std::pair{344, 300}, {456, 300}, {400, 256}, {400, 343}})
            EXPECT_PRED3(close_to, s.at(x, y), BLACK, 0) << x << "," << y;
    }
}

TEST_F(HudDrawing, MinimapShowsTheBuildingMapAroundThePlayerWithZUpward)
{
    BITMAP* map = game_bitmap(BUILDING_MAP_BITMAP);
    const auto red_at = [map](double x, double z) { return getr(getpixel(map, int(x / 2), int(z / 2))); };
    struct Case {
        float zoom, x, z;
    };
    for (const Case c : {Case{2.0f, 1700.0f, 1300.0f}, Case{1.0f, 1250.0f, 1250.0f}}) {
        SCOPED_TRACE(c.zoom);
        game.minimap_zoom = c.zoom;
        player_position = {c.x, 0.0f, c.z};
        const Picture s = hud();
        const double h = 1250.0 / c.zoom;
        int checked = 0, structures = 0, wrong = 0, wrong_structures = 0;
        for (int py = 408; py < 592; py += 2)
            for (int px = 608; px < 792; px += 2) {
                // Where the pixel centre falls in the world: x rightward, z upward.
                const double wx = c.x - h + (px - 600 + 0.175) / 200.0 * 2.0 * h;
                const double wz = c.z + h - (py - 400 + 0.175) / 200.0 * 2.0 * h;
                const double reach = h / 100.0 + 4.0; // past the filtered texels
                const int red = red_at(wx, wz);
                bool even = true;
                for (double dx : {-reach, reach})
                    for (double dz : {-reach, reach})
                        even = even && red_at(wx + dx, wz + dz) == red;
                if (!even)
                    continue;
                ++checked;
                const bool miss = std::abs(s.at(px, py).r - int(red * 0.88 * 0.2)) > 2;
                structures += red != OPEN_GROUND;
                wrong += miss;
                wrong_structures += miss && red != OPEN_GROUND;
            }
        EXPECT_GT(checked, 1000);
        EXPECT_GT(structures, 100);
        EXPECT_LT(wrong, checked / 50);
        // The buildings, few among the open ground, sit where the map has them.
        EXPECT_LT(wrong_structures, structures / 20) << structures;
    }
}

TEST_F(HudDrawing, FrameOutlinesASmallerViewportInTheComposedFrame)
{
    game.viewport_width = 640;
    game.viewport_height = 480;
    glBlendFunc(GL_ONE, GL_ZERO);
    compose_frame();
    const Picture s = read_screen();
    // The loop runs through (80, 60), (719, 60), (719, 539), (80, 539) with lines 8 wide; the
    // translucent pie and minimap lie over the bottom corners.
    for (auto [x, y] : {std::pair{80, 60}, {719, 60}, {400, 60}, {400, 539}, {80, 300},
                        {719, 300}, {76, 300}, {83, 300}, {715, 300}, {722, 300}, {400, 56}, {400, 542}})
        EXPECT_PRED3(close_to, s.at(x, y), FRAME_BLUE, 1) << x << "," << y << " " << s.at(x, y);
    for (auto [x, y] : {std::pair{74, 300}, {85, 300}, {713, 300}, {724, 300}, {400, 54}, {400, 544}})
        EXPECT_FALSE(close_to(s.at(x, y), FRAME_BLUE, 1)) << x << "," << y;
}

TEST_F(HudDrawing, BannerAndLitKeysOnlyInDemoModeFrameRateAlways)
{
    const ScreenRect full_byte = input_indicator_rects[2];
    const ScreenRect other_byte = input_indicator_rects[6];
    const ScreenRect released = input_indicator_rects[4];
    const auto centre = [](const Picture& s, ScreenRect r) {
        return s.at(int((r.x1 + r.x2) / 2), int((r.y1 + r.y2) / 2));
    };
    tick_actions[2] = 0xFF;
    tick_actions[6] = 0x01; // any byte but 0 presses, for the rules and the lights alike

    // Outside a demo the top of the screen stays black below the frame line.
    const Picture s = hud();
    EXPECT_EQ(lit_at_top(s), 0);
    // The frame rate at the left edge a little above the middle.
    int text = 0;
    for (int y = 200; y < 300; ++y)
        for (int x = 0; x < 120; ++x)
            text += close_to(s.at(x, y), {FPS_TEXT_COLOUR.red, FPS_TEXT_COLOUR.green, FPS_TEXT_COLOUR.blue}, 4);
    EXPECT_GT(text, 30);

    game.demo_mode = 1;
    const Picture with_keys = hud();
    tick_actions = {};
    const Picture without = hud();
    EXPECT_GT(lit_at_top(without), 50000);
    for (const ScreenRect lit : {full_byte, other_byte})
        EXPECT_FALSE(close_to(centre(with_keys, lit), centre(without, lit), 4))
            << centre(with_keys, lit) << " " << centre(without, lit);
    EXPECT_PRED3(close_to, centre(with_keys, released), centre(without, released), 0);
}

} // namespace
