// Loading the scenery list: the faults that must stop start-up with a message
// naming the file and line, and the expansion into world-space quads.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "world/scenery.h"

namespace {

// A record in the file's form: kind, colour, then the matrix row by row.
std::string record(const char* kind, int red, int green, int blue, const std::array<float, 12>& m)
{
    std::string line = std::string(kind) + " " + std::to_string(red) + " " + std::to_string(green) + " " +
                       std::to_string(blue);
    for (float v : m)
        line += " " + std::to_string(v);
    return line;
}

constexpr std::array<float, 12> SHIFTED_BOX = {2, 0, 0, 100, 0, 3, 0, 40, 0, 0, 4, 200};
constexpr std::array<float, 12> MIRRORED_SPHERE = {-5, 0, 0, 300, 0, 5, 0, 50, 0, 0, 5, 400};
// A cylinder lying along x: its axis (the mesh's y) turned onto -x.
constexpr std::array<float, 12> LYING_CYLINDER = {0, -7, 0, 500, 1, 0, 0, 30, 0, 0, 1, 600};

std::vector<std::string> good_records()
{
    std::vector<std::string> lines;
    lines.push_back(record("box", 10, 20, 30, SHIFTED_BOX));
    lines.push_back(record("sphere", 40, 50, 60, MIRRORED_SPHERE));
    lines.push_back(record("cylinder", 70, 80, 90, LYING_CYLINDER));
    while (int(lines.size()) < SCENERY_PARTS)
        lines.push_back(record("box", 1, 2, 3, SHIFTED_BOX));
    return lines;
}

class SceneryFile : public testing::Test {
protected:
    std::string path_ = testing::TempDir() + "ironstep_scenery_test.txt";

    void TearDown() override { std::remove(path_.c_str()); }

    void write(const std::vector<std::string>& lines)
    {
        std::ofstream out(path_);
        for (const std::string& line : lines)
            out << line << '\n';
    }

    // The file with line `number` (from 1) replaced; the load must fail and
    // the message must name the file, the line and the reason.
    void expect_refused(int number, const std::string& line, const std::string& reason)
    {
        std::vector<std::string> lines = good_records();
        lines[size_t(number - 1)] = line;
        write(lines);
        EXPECT_FALSE(load_scenery(path_.c_str())) << line;
        const std::string message = scenery_error_message();
        EXPECT_NE(message.find("Error loading " + path_ + "!"), std::string::npos) << message;
        EXPECT_NE(message.find("line " + std::to_string(number) + ": "), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
};

TEST_F(SceneryFile, MissingFileIsNamedInTheMessage)
{
    EXPECT_FALSE(load_scenery("/no/such/folder/scenery.txt"));
    EXPECT_STREQ(scenery_error_message(), "Error loading /no/such/folder/scenery.txt!\nthe file cannot be opened\n\n");
}

TEST_F(SceneryFile, MalformedRecordsNameTheirLine)
{
    expect_refused(7, "box 1 2 3 1 0 0 0 0 1 0 0 0 0 1", "15 fields, 16 expected");
    expect_refused(8, "box 1 2 3 1 0 0 0 0 1 0 0 0 0 1 0 9", "more than 16 fields");
    expect_refused(9, "cube 1 2 3 1 0 0 0 0 1 0 0 0 0 1 0", "unknown kind \"cube\"");
    expect_refused(10, "box 1 256 3 1 0 0 0 0 1 0 0 0 0 1 0", "green \"256\" is not a whole number 0..255");
    expect_refused(11, "box 1 2 -3 1 0 0 0 0 1 0 0 0 0 1 0", "blue \"-3\"");
    expect_refused(12, "box 1.5 2 3 1 0 0 0 0 1 0 0 0 0 1 0", "red \"1.5\"");
    expect_refused(13, "box 1 2 3 1 0 0 x 0 1 0 0 0 0 1 0", "matrix number 4 \"x\" is not a finite number");
    expect_refused(14, "box 1 2 3 1 0 0 0 0 1 0 12.5kg 0 0 1 0", "matrix number 8 \"12.5kg\"");
    expect_refused(15, "box 1 2 3 nan 0 0 0 0 1 0 0 0 0 1 0", "matrix number 1 \"nan\"");
    expect_refused(16, "box 1 2 3 1 0 0 0 0 1 0 0 0 0 1 -inf", "matrix number 12 \"-inf\"");
    expect_refused(17, "box 1 2 3 1e60 0 0 0 0 1 0 0 0 0 1 0", "matrix number 1 \"1e60\"");
}

TEST_F(SceneryFile, RecordCountMustBeExact)
{
    std::vector<std::string> lines = good_records();
    lines.pop_back();
    write(lines);
    EXPECT_FALSE(load_scenery(path_.c_str()));
    EXPECT_NE(std::string(scenery_error_message()).find("line 194: the file ends after 194 records"),
              std::string::npos)
        << scenery_error_message();

    lines = good_records();
    lines.push_back(lines.back());
    write(lines);
    EXPECT_FALSE(load_scenery(path_.c_str()));
    EXPECT_NE(std::string(scenery_error_message()).find("line 196: more than 195 records"), std::string::npos)
        << scenery_error_message();
}

TEST_F(SceneryFile, ARefusedFileLeavesTheLoadedSceneryAsItWas)
{
    write(good_records());
    ASSERT_TRUE(load_scenery(path_.c_str())) << scenery_error_message();
    const Quad first_quad = scenery_quads[0];

    std::vector<std::string> lines = good_records();
    lines[0] = record("box", 99, 99, 99, MIRRORED_SPHERE);
    lines[100] = "box 1 2";
    write(lines);
    EXPECT_FALSE(load_scenery(path_.c_str()));
    EXPECT_EQ(scenery_part_count, SCENERY_PARTS);
    EXPECT_EQ(scenery_parts[0].red, 10);
    EXPECT_EQ(scenery_quads[0][0].x, first_quad[0].x);
    EXPECT_EQ(scenery_quads[0][2].z, first_quad[2].z);
}

TEST_F(SceneryFile, PartsExpandIntoWorldQuadsWithMirroredPartsReversed)
{
    std::vector<std::string> lines = good_records();
    lines.insert(lines.begin(), {"# a comment line", "", "   "});
    write(lines);
    ASSERT_TRUE(load_scenery(path_.c_str())) << scenery_error_message();

    EXPECT_EQ(scenery_first_quad[1], BOX_QUADS);
    EXPECT_EQ(scenery_first_quad[2], BOX_QUADS + SPHERE_QUADS);
    EXPECT_EQ(scenery_first_quad[3], BOX_QUADS + SPHERE_QUADS + CYLINDER_QUADS);
    EXPECT_EQ(scenery_first_quad[SCENERY_PARTS], BOX_QUADS + SPHERE_QUADS + CYLINDER_QUADS + 192 * BOX_QUADS);
    EXPECT_EQ(scenery_parts[1].kind, SceneryKind::sphere);
    EXPECT_EQ(scenery_parts[2].blue, 90);

    // Box face 0, vertex (1, -1, 1) lands at (2 + 100, -3 + 40, 4 + 200).
    const Vec3 corner = scenery_quads[0][0];
    EXPECT_FLOAT_EQ(corner.x, 102.0f);
    EXPECT_FLOAT_EQ(corner.y, 37.0f);
    EXPECT_FLOAT_EQ(corner.z, 204.0f);

    // The sphere's matrix mirrors x: every quad is listed back to front.
    for (int q = 0; q < SPHERE_QUADS; ++q) {
        for (int v = 0; v < 4; ++v) {
            const Vec3 unit = SPHERE_MESH[size_t(q)][size_t(3 - v)];
            const Vec3 world = scenery_quads[size_t(scenery_first_quad[1] + q)][size_t(v)];
            EXPECT_FLOAT_EQ(world.x, -5.0f * unit.x + 300.0f);
            EXPECT_FLOAT_EQ(world.y, 5.0f * unit.y + 50.0f);
            EXPECT_FLOAT_EQ(world.z, 5.0f * unit.z + 400.0f);
        }
    }
    // The cylinder keeps its order; its axis now runs along -x.
    const Vec3 rim = scenery_quads[size_t(scenery_first_quad[2])][0];
    const Vec3 unit = CYLINDER_MESH[0][0];
    EXPECT_FLOAT_EQ(rim.x, -7.0f * unit.y + 500.0f);
    EXPECT_FLOAT_EQ(rim.y, unit.x + 30.0f);
}

TEST(SceneryRules, MirroringAndBlockingFollowTheMatrix)
{
    const SceneryPart box{SceneryKind::box, 0, 0, 0, SHIFTED_BOX};
    const SceneryPart sphere{SceneryKind::sphere, 0, 0, 0, MIRRORED_SPHERE};
    const SceneryPart pipe{SceneryKind::cylinder, 0, 0, 0, {0, -40, 0, 0, 1.3f, 0, 0, 0, 0, 0, 1.3f, 0}};
    const SceneryPart tank{SceneryKind::cylinder, 0, 0, 0, {17, 0, 0, 0, 0, 10.9f, 0, 0, 0, 0, 17, 0}};
    const SceneryPart post{SceneryKind::cylinder, 0, 0, 0, {1.3f, 0, 0, 0, 0, 8.7f, 0, 0, 0, 0, 1.3f, 0}};
    EXPECT_FALSE(scenery_part_mirrored(box));
    EXPECT_TRUE(scenery_part_mirrored(sphere));
    EXPECT_TRUE(scenery_part_blocks(box));
    EXPECT_FALSE(scenery_part_blocks(sphere)) << "crowns stay passable";
    EXPECT_FALSE(scenery_part_blocks(pipe)) << "a long thin pipe is thin across, whatever its length";
    EXPECT_FALSE(scenery_part_blocks(post));
    EXPECT_TRUE(scenery_part_blocks(tank));
}

} // namespace
