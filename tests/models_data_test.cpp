// The models' tables: bit-exact against their pinned digests, and the
// properties the animation relies on.
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "models/model_data.h"
#include "devtools/table_digest.h"

namespace {

static_assert(PLAYER_KEYS.size() == 1 * 3 * 9);
static_assert(WALKER_BOX_KEYS.size() == 2 * 3 * 7 && WALKER_SPHERE_KEYS.size() == 2 * 3 * 9 &&
              WALKER_CYLINDER_KEYS.size() == 2 * 3 * 6);
static_assert(FLYER_SPHERE_KEYS.size() == 3 * 6 && FLYER_CYLINDER_KEYS.size() == 3 * 2);
static_assert(CARRIER_BOXES.size() == 10 && CARRIER_SPHERES.size() == 9);

bool same(const PartRecord& a, const PartRecord& b)
{
    for (float PartRecord::*member : PART_FIELD_MEMBERS)
        if (std::bit_cast<std::uint32_t>(a.*member) != std::bit_cast<std::uint32_t>(b.*member))
            return false;
    return true;
}

class ModelDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        init_player_model();
        init_walker_model();
        init_flyer_model();
        init_carrier_model();
    }
};

// The digests pin the tables as they stood when every value was checked, one
// by one. After a deliberate change to a table,
// build/dump_model_tables prints every table with exact floats, for the
// change to be checked, and the digests to pin anew.
TEST_F(ModelDataTest, EveryTableMatchesItsPinnedDigestBitForBit)
{
    EXPECT_EQ(table_digest(PLAYER_KEYS), 0xd5b7d2e3c0972d48u);
    EXPECT_EQ(table_digest(WALKER_BOX_KEYS), 0x89c261ac30d136c3u);
    EXPECT_EQ(table_digest(WALKER_SPHERE_KEYS), 0xdfc2ef55753abf05u);
    EXPECT_EQ(table_digest(WALKER_CYLINDER_KEYS), 0x631847757f741854u);
    EXPECT_EQ(table_digest(FLYER_SPHERE_KEYS), 0x0062d3449d808d2fu);
    EXPECT_EQ(table_digest(FLYER_CYLINDER_KEYS), 0xe233c5b45df1f2edu);
    EXPECT_EQ(table_digest(CARRIER_BOXES), 0xdfac88ea2eae70d7u);
    EXPECT_EQ(table_digest(CARRIER_SPHERES), 0x296fe6ec7719ce77u);
    EXPECT_EQ(table_digest(PLAYER_KEY_DURATIONS), 0x3da8901570537341u);
    EXPECT_EQ(table_digest(WALKER_KEY_DURATIONS), 0xf4cf8ba0b5ffc309u);
    EXPECT_EQ(table_digest(FLYER_KEY_DURATIONS), 0xa4ca676629cb40a1u);
}

TEST_F(ModelDataTest, ThePlayerStartsInItsRestPose)
{
    EXPECT_EQ(table_digest(player_boxes), 0x00fb3ce7b7527845u);
    for (int part = 0; part < PLAYER_BOX_PARTS; ++part)
        EXPECT_TRUE(same(player_boxes[part], PLAYER_KEYS[key_index(0, 0, part, PLAYER_BOX_PARTS)])) << part;
}

TEST_F(ModelDataTest, NoDurationIsZero)
{
    for (int d : PLAYER_KEY_DURATIONS)
        EXPECT_GT(d, 0);
    for (int d : WALKER_KEY_DURATIONS)
        EXPECT_GT(d, 0);
    for (int d : FLYER_KEY_DURATIONS)
        EXPECT_GT(d, 0);
}

TEST_F(ModelDataTest, PlayerLegsSwingAgainstEachOtherAndTheBodyStaysAtRest)
{
    auto key = [](int k, int part) { return PLAYER_KEYS[key_index(0, k, part, PLAYER_BOX_PARTS)]; };
    for (int k = 1; k <= 2; ++k) {
        for (int part : {4, 7, 8})
            EXPECT_TRUE(same(key(k, part), key(0, part))) << "key " << k << " part " << part;
        EXPECT_EQ(key(k, 0).rot_x, -key(k, 2).rot_x) << "the -x legs swing against the +x legs";
        EXPECT_EQ(key(k, 1).rot_x, -key(k, 3).rot_x);
        EXPECT_EQ(key(k, 5).rot_x, -key(k, 6).rot_x) << "the arms swing in opposite phase";
        EXPECT_EQ(std::fabs(key(k, 0).rot_x), 45.0f);
    }
}

TEST_F(ModelDataTest, WalkerGaitSetsShareTheirRestPose)
{
    auto check = [](std::span<const PartRecord> keys, int parts, const char* table) {
        for (int part = 0; part < parts; ++part)
            EXPECT_TRUE(same(keys[key_index(0, 0, part, parts)], keys[key_index(1, 0, part, parts)]))
                << table << " part " << part;
    };
    check(WALKER_BOX_KEYS, WALKER_BOX_PARTS, "boxes");
    check(WALKER_SPHERE_KEYS, WALKER_SPHERE_PARTS, "spheres");
    check(WALKER_CYLINDER_KEYS, WALKER_CYLINDER_PARTS, "cylinders");
}

TEST_F(ModelDataTest, OnlyTheChaseGaitMovesTheWalkersLargeBoxes)
{
    for (int part = 0; part <= 2; ++part) {
        const PartRecord& rest = WALKER_BOX_KEYS[key_index(0, 0, part, WALKER_BOX_PARTS)];
        for (int k = 1; k <= 2; ++k) {
            EXPECT_TRUE(same(WALKER_BOX_KEYS[key_index(1, k, part, WALKER_BOX_PARTS)], rest)) << part << " " << k;
            EXPECT_FALSE(same(WALKER_BOX_KEYS[key_index(0, k, part, WALKER_BOX_PARTS)], rest)) << part << " " << k;
        }
    }
}

TEST_F(ModelDataTest, FlyerKeyTwoDiffersFromKeyOneOnlyInTheRotor)
{
    for (int part = 0; part < FLYER_SPHERE_PARTS; ++part) {
        const PartRecord& k1 = FLYER_SPHERE_KEYS[key_index(0, 1, part, FLYER_SPHERE_PARTS)];
        const PartRecord& k2 = FLYER_SPHERE_KEYS[key_index(0, 2, part, FLYER_SPHERE_PARTS)];
        if (part != FLYER_ROTOR_PART) {
            EXPECT_TRUE(same(k1, k2)) << part;
            continue;
        }
        EXPECT_EQ(k2.rot_y, -359.0f);
        EXPECT_EQ(k2.offset_z, 0.0f);
        PartRecord rest_of_k2 = k2;
        rest_of_k2.rot_y = k1.rot_y;
        rest_of_k2.offset_z = k1.offset_z;
        EXPECT_TRUE(same(k1, rest_of_k2));
    }
    for (int part = 0; part < FLYER_CYLINDER_PARTS; ++part)
        EXPECT_TRUE(same(FLYER_CYLINDER_KEYS[key_index(0, 1, part, FLYER_CYLINDER_PARTS)],
                         FLYER_CYLINDER_KEYS[key_index(0, 2, part, FLYER_CYLINDER_PARTS)]))
            << part;
}

} // namespace
