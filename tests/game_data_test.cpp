// "height.dat": the generated file and the checks that refuse unusable ones.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/datafile_check.h"
#include "game/game_data.h"
#include "game/resources.h"
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

// Damaged copies of the generated file, written to a scratch folder.
class DamagedDatafile : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        original = read_bytes(GENERATED);
        ASSERT_GT(original.size(), 1000000u);
        // Each object's chunk header follows its type "BMP " and states the
        // same size twice, since nothing in the file is packed.
        for (std::size_t i = 0; i + 12 <= original.size() && chunk_headers.size() < 4; ++i) {
            if (std::memcmp(&original[i], "BMP ", 4) == 0 && std::memcmp(&original[i + 4], &original[i + 8], 4) == 0)
                chunk_headers.push_back(i + 4);
        }
        ASSERT_EQ(chunk_headers.size(), 4u);
    }

    static std::vector<unsigned char> read_bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static std::string write(const std::vector<unsigned char>& bytes, std::size_t length)
    {
        const std::string path = std::string(TEST_BUILD_DIR) + "/damaged_test.dat";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(length));
        return path;
    }

    // The library's own packers, through its dat tool: "-c1" packs each
    // object on its own, "-c2" the whole file.
    static std::string assemble(const std::string& packing)
    {
        const std::string path = std::string(TEST_BUILD_DIR) + "/packed_test" + packing + ".dat";
        const std::string work = std::string(TEST_BUILD_DIR) + "/data_work/";
        std::remove(path.c_str());
        const std::string command = std::string(DAT_TOOL) + " -a -n0 -s1 -bpp 24 -t BMP " + packing + " '" + path +
                                    "' " + work + "terrain_height.bmp " + work + "terrain_colour.bmp " + work +
                                    "building_map.bmp " + work + "banner.bmp </dev/null >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }

    static void expect_refused(const std::string& path, const std::string& what)
    {
        EXPECT_FALSE(datafile_is_sound(path.c_str())) << what;
        EXPECT_EQ(load_game_data(path.c_str()), nullptr) << what;
    }

    static inline std::vector<unsigned char> original;
    static inline std::vector<std::size_t> chunk_headers;
};

TEST_F(DamagedDatafile, EveryCutShortCopyIsRefusedBeforeTheLibraryReadsIt)
{
    std::vector<std::size_t> lengths = {0, 3, 4, 7, 8, 11, 12, 1000, 30000, 60000, 1000000, 4000000,
                                        original.size() - 1};
    for (std::size_t header : chunk_headers)
        for (std::size_t back : {9u, 5u, 4u, 1u, 0u})
            lengths.push_back(header - back);
    for (std::size_t length : lengths)
        expect_refused(write(original, length), "cut to " + std::to_string(length) + " bytes");

    EXPECT_TRUE(datafile_is_sound(write(original, original.size()).c_str())) << "the whole file";
    std::vector<unsigned char> longer = original;
    longer.push_back(0);
    expect_refused(write(longer, longer.size()), "a byte after the last object");
}

TEST_F(DamagedDatafile, AFlippedByteInAnyChunkHeaderOrTheCountIsRefused)
{
    std::vector<std::size_t> offsets = {4, 5, 6, 7, 8, 9, 10, 11}; // the magic "ALL." and the object count
    for (std::size_t header : chunk_headers)
        for (std::size_t k = 0; k < 8; ++k)
            offsets.push_back(header + k);
    for (std::size_t offset : offsets) {
        std::vector<unsigned char> bytes = original;
        bytes[offset] ^= 0xFF;
        expect_refused(write(bytes, bytes.size()), "byte " + std::to_string(offset) + " flipped");
    }
    // Bitmap headers that promise more or fewer pixels than their chunk holds.
    for (int change : {+1, -1}) {
        std::vector<unsigned char> bytes = original;
        bytes[chunk_headers[0] + 8 + 3] += change; // width 100 -> 101 or 99
        expect_refused(write(bytes, bytes.size()), "bitmap width changed by " + std::to_string(change));
    }
    // Types whose contents the library would parse as something else, and the
    // type that marks an empty slot of its loader table.
    for (const char* type : {"FONT", "FILE", "\xff\xff\xff\xff"}) {
        std::vector<unsigned char> bytes = original;
        std::memcpy(&bytes[chunk_headers[1] - 4], type, 4);
        expect_refused(write(bytes, bytes.size()), std::string("object 1 typed ") + type);
    }
    // A property of the end type: the library would drop it and leak its bytes.
    std::vector<unsigned char> bytes = original;
    const auto name = std::search(bytes.begin(), bytes.end(), std::begin("propNAME"), std::end("propNAME") - 1);
    ASSERT_NE(name, bytes.end());
    std::fill(name + 4, name + 8, 0xFF);
    expect_refused(write(bytes, bytes.size()), "a property of the end type");
}

TEST_F(DamagedDatafile, PackedFilesAreCheckedUnpackedAndLoadWhenWhole)
{
    for (const std::string packing : {"-c1", "-c2"}) {
        const std::string path = assemble(packing);
        ASSERT_TRUE(datafile_is_sound(path.c_str())) << packing;
        DATAFILE* data = load_game_data(path.c_str());
        EXPECT_NE(data, nullptr) << packing;
        if (data != nullptr)
            unload_datafile(data);
        const std::vector<unsigned char> bytes = read_bytes(path);
        for (std::size_t length : {bytes.size() / 10, bytes.size() / 2, bytes.size() - 100, bytes.size() - 1})
            expect_refused(write(bytes, length), packing + " cut to " + std::to_string(length));
    }
    // Objects packed on their own state a negative unpacked size; one more or
    // one less than their contents unpack to is refused.
    const std::vector<unsigned char> bytes = read_bytes(assemble("-c1"));
    const auto type = std::search(bytes.begin(), bytes.end(), std::begin("BMP "), std::end("BMP ") - 1);
    ASSERT_NE(type, bytes.end());
    const std::size_t unpacked_size_low_byte = std::size_t(type - bytes.begin()) + 4 + 7;
    ASSERT_EQ(bytes[unpacked_size_low_byte - 3], 0xFF) << "a packed chunk";
    for (int change : {+1, -1}) {
        std::vector<unsigned char> changed = bytes;
        changed[unpacked_size_low_byte] += change;
        expect_refused(write(changed, changed.size()), "packed size changed by " + std::to_string(change));
    }
    // A packed chunk that states more bytes than its packed stream: the
    // library stops reading it where the stream ends and would take the rest
    // ("\xff\xff\xff\xff", the type of an empty slot of its loader table) as
    // the next object.
    std::vector<unsigned char> longer = bytes;
    const std::size_t file_size_low_byte = unpacked_size_low_byte - 4;
    std::size_t file_size = 0;
    for (std::size_t k = file_size_low_byte - 3; k <= file_size_low_byte; ++k)
        file_size = file_size << 8 | bytes[k];
    ASSERT_LT(bytes[file_size_low_byte], 0xFC) << "a file size that takes 4 without a carry";
    longer[file_size_low_byte] += 4;
    longer.insert(longer.begin() + long(unpacked_size_low_byte + 1 + file_size), 4, 0xFF);
    expect_refused(write(longer, longer.size()), "four bytes after a packed stream");
}

TEST_F(DamagedDatafile, OnlyTheFourBitmapsOfTheGameAreAccepted)
{
    // A fifth object: a copy of the banner, counted.
    std::vector<unsigned char> bytes = original;
    bytes[11] = 5; // the low byte of the object count
    bytes.insert(bytes.end(), original.begin() + long(chunk_headers[3] - 4), original.end());
    expect_refused(write(bytes, bytes.size()), "a fifth bitmap");
    // A property the build does not write.
    bytes = original;
    const auto name = std::search(bytes.begin(), bytes.end(), std::begin("propNAME"), std::end("propNAME") - 1);
    ASSERT_NE(name, bytes.end());
    std::memcpy(&*name + 4, "ORIG", 4);
    expect_refused(write(bytes, bytes.size()), "an ORIG property");
    // 32-bit pixels, stored as three bytes like 24-bit ones: the chunk's size
    // still matches.
    bytes = original;
    bytes[chunk_headers[2] + 8 + 1] = 32;
    expect_refused(write(bytes, bytes.size()), "a 32-bit building map");
}

TEST_F(DamagedDatafile, TheTerrainBitmapsMustBeAtLeast100By100)
{
    // Object 0 or 1 redrawn at another size, its chunk sized to match.
    for (std::size_t index : {0, 1})
        for (auto [w, h] : {std::pair{99, 100}, {100, 99}, {100, 100}, {101, 100}, {100, 101}}) {
            const std::size_t chunk = chunk_headers[index] + 8, old_size = 6 + 3 * 100 * 100;
            ASSERT_EQ(original[chunk - 2] << 8 | original[chunk - 1], int(old_size)) << "a 100 x 100 bitmap";
            std::vector<unsigned char> bytes(original.begin(), original.begin() + long(chunk - 8));
            const int size = 6 + 3 * w * h;
            for (int v : {size >> 16, size & 0xFFFF, size >> 16, size & 0xFFFF, 24, w, h})
                bytes.insert(bytes.end(), {(unsigned char)(v >> 8), (unsigned char)v}); // 32- and 16-bit big-endian
            bytes.resize(bytes.size() + std::size_t(3 * w * h), 0x40);
            bytes.insert(bytes.end(), original.begin() + long(chunk + old_size), original.end());
            EXPECT_EQ(datafile_is_sound(write(bytes, bytes.size()).c_str()), w >= 100 && h >= 100)
                << "object " << index << ", " << w << " x " << h;
        }
}

} // namespace
