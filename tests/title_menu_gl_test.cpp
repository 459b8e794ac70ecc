// The title menu's frame read back: the fly-over camera looking at the
// Carrier, the four entries in their colours and places, and the GL state
// left for the game's first frame.
#include <gtest/gtest.h>

#include <allegro.h>
#include <alleggl.h>

#include "app/title_menu.h"
#include "game/game_state.h"
#include "gameplay/player.h"
#include "gameplay/terrain.h"
#include "tests/gl_support.h"

namespace {

constexpr Pixel SELECTED = {MENU_CHOSEN_COLOUR.red, MENU_CHOSEN_COLOUR.green, MENU_CHOSEN_COLOUR.blue};
constexpr Pixel UNSELECTED = {MENU_OTHER_COLOUR.red, MENU_OTHER_COLOUR.green, MENU_OTHER_COLOUR.blue};

// The leftmost column holding the colour (the glyphs' edges are filtered).
int leftmost(const Picture& picture, Pixel colour)
{
    for (int x = 0; x < 800; ++x)
        for (int y = 0; y < 600; ++y)
            if (close_to(picture.at(x, y), colour, 20))
                return x;
    return 800;
}

class TitleMenuFrame : public testing::Test {
protected:
    TitleMenuFrame() : keep_(camera_eye, player_position, game.carrier_x, game.carrier_z) {}

    // The camera 100 units south of the Carrier's start and 45 above the
    // ground, as the fly-over would hold it.
    static Picture frame(int selection)
    {
        TitleMenu menu;
        menu.selection = selection;
        game.carrier_x = 620.0f;
        game.carrier_z = 2336.0f;
        camera_eye = {620.0f, terrain_height_at(620.0f, 2236.0f) + 45.0f, 2236.0f};
        // The look-at point takes its height from the player's feet.
        player_position = {0.0f, terrain_height_at(620.0f, 2336.0f), 0.0f};
        glBlendFunc(GL_ONE, GL_ZERO);
        compose_title_menu(menu);
        return read_screen();
    }

    Restorer<Vec3, Vec3, float, float> keep_;
};

TEST_F(TitleMenuFrame, TheSelectedEntryIsTheArrowedOneInGreenAndTheOthersInBlue)
{
    double play_y = 0.0;
    for (int selection : {MENU_PLAY, MENU_DEMO, MENU_OPTIONS, MENU_QUIT}) {
        const Picture picture = frame(selection);
        const Patch green = picture.patch(SELECTED);
        const Patch blue = picture.patch(UNSELECTED);
        ASSERT_GT(green.count, 40) << selection;
        ASSERT_GT(blue.count, 120) << "three entries in blue; " << selection;
        // PLAY hangs from 4.0, DEMO from 2.6, OPTIONS from 1.2 and QUIT from
        // -0.2, 10 ahead under a 48-degree view: from rows 30, 125, 219 and
        // 313, 94 or 95 rows apart.
        if (selection == MENU_PLAY) {
            play_y = green.y;
            EXPECT_GT(play_y, 30.0);
            EXPECT_LT(play_y, 60.0);
        } else {
            EXPECT_NEAR(green.y - play_y, 94.3 * selection, 4.0) << selection;
        }
        // Every line starts 2 to the left of the centre, at x 265; the arrow
        // fills the two places that the other entries leave blank.
        const int arrow = leftmost(picture, SELECTED);
        EXPECT_NEAR(arrow, 268, 6) << selection;
        EXPECT_NEAR(leftmost(picture, UNSELECTED), arrow + 64, 6) << "two places of 32 pixels; " << selection;
    }
}

TEST_F(TitleMenuFrame, TheCameraLooksAtTheCarrierOverTheGroundAndLeavesTheGlStateAsTheGameExpects)
{
    const Picture picture = frame(0);
    // The camera aims at the Carrier's foot: its dark red and brown deck
    // fills the middle of the view.
    int carrier = 0;
    for (int y = 100; y < 400; y += 15)
        for (int x = 240; x < 560; x += 16) {
            const Pixel p = picture.at(x, y);
            carrier += p.r > p.g + 20 && p.r > p.b + 20;
        }
    EXPECT_GT(carrier, 130) << "of 400 probes";
    // The ground is drawn below the Carrier, and the sky above the text.
    const Pixel ground = picture.at(400, 590);
    EXPECT_GT(ground.g, ground.b) << ground;
    EXPECT_TRUE(close_to(picture.at(700, 10), clear_colour_pixel(), 12)) << picture.at(700, 10);

    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

} // namespace
