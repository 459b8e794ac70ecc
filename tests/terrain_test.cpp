// The terrain height field and the window of cells that is drawn.
#include <cmath>

#include <gtest/gtest.h>

#include "game/resources.h"
#include "gameplay/terrain.h"
#include "tests/test_support.h"
#include "world/terrain_drawing.h"

namespace {

BITMAP* bitmap_of(FakeGameData& data, GameDataObject index)
{
    return static_cast<BITMAP*>(data.objects[index].dat);
}

TEST(Terrain, LoadHalvesTheRedChannelAndKeepsTheColours)
{
    FakeGameData data;
    BITMAP* heights = bitmap_of(data, TERRAIN_HEIGHT_BITMAP);
    BITMAP* colours = bitmap_of(data, TERRAIN_COLOUR_BITMAP);
    putpixel(heights, 0, 0, makecol(0, 200, 200));
    putpixel(heights, 1, 0, makecol(1, 0, 0));
    putpixel(heights, 2, 0, makecol(254, 0, 0));
    putpixel(heights, 3, 0, makecol(255, 0, 0));
    putpixel(heights, 7, 90, makecol(81, 0, 0));
    putpixel(colours, 7, 90, makecol(10, 20, 30));
    load_terrain();

    EXPECT_EQ(terrain_grid[0][0].height, 0.0f) << "only red counts";
    EXPECT_EQ(terrain_grid[1][0].height, 0.0f);
    EXPECT_EQ(terrain_grid[2][0].height, 127.0f);
    EXPECT_EQ(terrain_grid[3][0].height, 127.0f);
    // Pixel (i, j) is column i (world x) and row j (world z).
    const TerrainVertex& sample = terrain_grid[7][90];
    EXPECT_EQ(sample.height, 40.0f);
    EXPECT_EQ(sample.x, 175.0f);
    EXPECT_EQ(sample.z, 2250.0f);
    EXPECT_EQ(sample.red, 10);
    EXPECT_EQ(sample.green, 20);
    EXPECT_EQ(sample.blue, 30);
}

class TerrainHeight : public testing::Test {
protected:
    void SetUp() override
    {
        // A different height at every sample, so that any mix-up shows.
        for (int i = 0; i < TERRAIN_GRID_SIZE; ++i)
            for (int j = 0; j < TERRAIN_GRID_SIZE; ++j)
                terrain_grid[i][j] = {25.0f * float(i), float((i * 7 + j * 13) % 128), 25.0f * float(j), 0, 0, 0};
    }
};

TEST_F(TerrainHeight, SamplePositionsGiveTheSampleExactly)
{
    for (int i = 0; i <= 98; ++i)
        for (int j = 0; j <= 98; ++j)
            ASSERT_EQ(terrain_height_at(25.0f * float(i), 25.0f * float(j)), terrain_grid[i][j].height)
                << i << ", " << j;
}

TEST_F(TerrainHeight, SquareRootWeightsInsideTheFirstCell)
{
    set_flat_terrain(0.0f);
    terrain_grid[1][0].height = 100.0f; // corner 3: (25, 0)
    EXPECT_NEAR(terrain_height_at(6.25f, 0.0f), 36.60f, 0.005f) << "bilinear would give 25";
    EXPECT_EQ(terrain_height_at(12.5f, 12.5f), 25.0f) << "the centre is the mean of the corners";
    EXPECT_NEAR(terrain_height_at(6.25f, 6.25f), 23.21f, 0.005f);
    EXPECT_NEAR(terrain_height_at(18.75f, 6.25f), 40.19f, 0.005f);
}

TEST_F(TerrainHeight, CellBoundaryBelongsToTheNextCell)
{
    set_flat_terrain(0.0f);
    terrain_grid[1][0].height = 100.0f;
    terrain_grid[1][1].height = 50.0f;
    terrain_grid[2][0].height = 8.0f;
    // x = 25 uses cell 1, whose left column is exactly the samples at x = 25.
    EXPECT_EQ(terrain_height_at(25.0f, 0.0f), 100.0f);
    EXPECT_EQ(terrain_height_at(25.0f, 25.0f), 50.0f);
    // Just below it, cell 0: almost all of the weight on the x = 25 column.
    EXPECT_NEAR(terrain_height_at(24.999f, 0.0f), 99.37f, 0.01f);
    EXPECT_LT(terrain_height_at(24.999f, 0.0f), 100.0f);
    // Along a cell edge only the two corners of that edge count.
    EXPECT_NEAR(terrain_height_at(37.5f, 0.0f), 54.0f, 0.001f);
}

TEST_F(TerrainHeight, PositionsFarOutsideTheGridReadOnlyTheEdgeCells)
{
    // No read outside the grid (the sanitizer build checks), finite answers.
    for (float x : {-1e9f, -30.0f, -0.5f, 2475.0f, 2499.0f, 3000.0f, 1e9f})
        for (float z : {-1e9f, -30.0f, 10.0f, 2475.0f, 1e9f})
            EXPECT_TRUE(std::isfinite(terrain_height_at(x, z))) << x << ", " << z;
    EXPECT_FALSE(std::isinf(terrain_height_at(std::nanf(""), 10.0f)));
    // Inside the last cell the answer is as before the clamping.
    EXPECT_EQ(terrain_height_at(2450.0f, 2450.0f), terrain_grid[98][98].height);
}

TEST(TerrainWindow, SixtyCellsEachSideCutByTheGrid)
{
    const CellRange centre = terrain_window(1250.0f);
    EXPECT_EQ(centre.first, 1);
    EXPECT_EQ(centre.end, 99);
    const CellRange near_edge = terrain_window(100.0f);
    EXPECT_EQ(near_edge.first, 1);
    EXPECT_EQ(near_edge.end, 64);
    const CellRange far_side = terrain_window(2000.0f);
    EXPECT_EQ(far_side.first, 20);
    EXPECT_EQ(far_side.end, 99);
    // Cell 0 is never drawn, not even from just inside the world's edge.
    EXPECT_EQ(terrain_window(0.0f).first, 1);
    const CellRange lost = terrain_window(1e30f);
    EXPECT_LE(lost.end - lost.first, 0) << "a camera far off the map draws no cells";
}

} // namespace
