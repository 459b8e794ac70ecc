// "height.dat": the generated file and the checks that refuse unusable ones.
#include <string>

#include <gtest/gtest.h>

#include "app/game_data.h"
#include "app/resources.h"
#include "tests/test_support.h"

namespace {

const std::string GENERATED = std::string(TEST_BUILD_DIR) + "/height.dat";

TEST(GameData, GeneratedFileHoldsFourBitmapsInOrder)
{
    DATAFILE* data = load_datafile(GENERATED.c_str());
    ASSERT_NE(data, nullptr) << GENERATED;
    const int sizes[4][2] = {{100, 100}, {100, 100}, {1250, 1250}, {527, 150}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(data[i].type, DAT_BITMAP) << "object " << i;
        const auto* bitmap = static_cast<BITMAP*>(data[i].dat);
        EXPECT_EQ(bitmap->w, sizes[i][0]) << "object " << i;
        EXPECT_EQ(bitmap->h, sizes[i][1]) << "object " << i;
    }
    EXPECT_EQ(data[4].type, DAT_END);
    EXPECT_TRUE(game_data_is_usable(data));
    unload_datafile(data);
}

TEST(GameData, LoaderAcceptsTheGeneratedFileAndRefusesAMissingOne)
{
    DATAFILE* data = load_game_data(GENERATED.c_str());
    EXPECT_NE(data, nullptr);
    unload_datafile(data);
    EXPECT_EQ(load_game_data("/nonexistent/height.dat"), nullptr);
}

TEST(GameData, FilesThatWouldCrashTheGameLaterAreRefused)
{
    FakeGameData fake;
    EXPECT_TRUE(game_data_is_usable(fake.objects));

    // Fewer than four objects.
    DATAFILE three[4];
    for (int i = 0; i < 3; ++i)
        three[i] = fake.objects[i];
    three[3] = {nullptr, DAT_END, 0, nullptr};
    EXPECT_FALSE(game_data_is_usable(three));

    // An object that is not a bitmap.
    DATAFILE not_bitmap[5];
    for (int i = 0; i < 5; ++i)
        not_bitmap[i] = fake.objects[i];
    not_bitmap[2].type = DAT_DATA;
    EXPECT_FALSE(game_data_is_usable(not_bitmap));

    // Terrain bitmaps smaller than the 100 x 100 grid, in either direction.
    for (int index : {TERRAIN_HEIGHT_BITMAP, TERRAIN_COLOUR_BITMAP}) {
        for (auto [w, h] : {std::pair{99, 100}, std::pair{100, 99}}) {
            DATAFILE small[5];
            for (int i = 0; i < 5; ++i)
                small[i] = fake.objects[i];
            BITMAP* bitmap = create_bitmap(w, h);
            small[index].dat = bitmap;
            EXPECT_FALSE(game_data_is_usable(small)) << "object " << index << " " << w << "x" << h;
            destroy_bitmap(bitmap);
        }
    }
    EXPECT_FALSE(game_data_is_usable(nullptr));
}

} // namespace
