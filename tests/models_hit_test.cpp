// Face hit testing: the plane and outline rules, the slab, and the touch
// responses of the Carrier and the Walker.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include <allegro.h>
#include <gtest/gtest.h>

#include "gameplay/hit_record.h"
#include "gameplay/hit_test.h"
#include "gameplay/player.h"
#include "models/animation.h"
#include "models/model_data.h"
#include "tests/test_support.h"

namespace {

constexpr PartRecord UNIT_PART = {1, 1, 1, 0, 0, 0, 0, 0, 0, 200, 200, 200};

PartRecord part_at(float x, float y, float z)
{
    PartRecord p = UNIT_PART;
    p.offset_x = x;
    p.offset_y = y;
    p.offset_z = z;
    return p;
}

Vec3 add(Vec3 a, Vec3 b, float s = 1.0f)
{
    return {a.x + s * b.x, a.y + s * b.y, a.z + s * b.z};
}

// Outward unit normal of upper face 0 (apex, E1, E2) of the unit sphere proxy.
Vec3 upper_face_normal()
{
    const Vec3 n = {1.5f, 0.866025f, -0.866025f};
    const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return {n.x / len, n.y / len, n.z / len};
}

// A point `gap` in front of the middle of upper face 0 of a sphere proxy of
// radius r about centre.
Vec3 in_front_of_upper_face(Vec3 centre, float r, float gap)
{
    const Vec3 middle = {r * 0.866025f / 3.0f, r / 3.0f, r * (0.5f - 1.0f) / 3.0f};
    const Vec3 n = upper_face_normal();
    return {centre.x + middle.x + gap * n.x, centre.y + middle.y + gap * n.y, centre.z + middle.z + gap * n.z};
}

// Model-space outward direction of each box face.
constexpr Vec3 BOX_FACE_DIRECTION[6] = {{0, 0, 1}, {-1, 0, 0}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

class HitTest : public testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        init_box_faces();
        init_sphere_proxy_faces();
        init_cylinder_proxy_faces();
        init_carrier_model();
        init_walker_model();
        init_flyer_model();
        player_position = {0.0f, 0.0f, 0.0f};
        player_proposed_xz = {0.0f, 0.0f};
        game.carrier_heading = 64.0f; // no turn
        walker_boxes = {};
        walker_spheres = {};
        walker_cylinders = {};
        flyer_spheres = {};
        flyer_cylinders = {};
    }
    void TearDown() override { init_carrier_model(); }

    // World centre of a face of a Carrier box with the Carrier turned as it is now.
    Vec3 carrier_face_centre(int box, int face, Vec3& outward)
    {
        const PartRecord& p = CARRIER_BOXES[box];
        const Vec3 d = BOX_FACE_DIRECTION[face];
        const float k = CARRIER_MODEL_SCALE;
        // Summed as the placement sums them, so a point on a plane lands exactly on it.
        const Vec3 model = {k * p.scale_x * d.x + k * p.offset_x, k * p.scale_y * d.y + k * p.offset_y,
                            k * p.scale_z * d.z + k * p.offset_z};
        MATRIX_f turn;
        get_rotation_matrix_f(&turn, 0.0f, 64.0f - game.carrier_heading, 0.0f);
        Vec3 world;
        apply_matrix_f(&turn, model.x, model.y, model.z, &world.x, &world.y, &world.z);
        apply_matrix_f(&turn, d.x, d.y, d.z, &outward.x, &outward.y, &outward.z);
        return {world.x + game.carrier_x, world.y + CARRIER_BASE_HEIGHT, world.z + game.carrier_z};
    }

    // Leaves only box `keep` of the Carrier with a size; the rest span no plane.
    void isolate_carrier_box(int keep)
    {
        init_carrier_model();
        for (int i = 0; i < CARRIER_BOX_PARTS; ++i)
            if (i != keep)
                CARRIER_BOXES[i].scale_x = CARRIER_BOXES[i].scale_y = CARRIER_BOXES[i].scale_z = 0.0f;
    }
};

TEST_F(HitTest, FacePlaneGivesTheOutwardUnitNormalAndSignedDistance)
{
    const Quad top = {{{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}}};
    face_plane(top, {0.2f, 3.5f, 0.1f});
    EXPECT_FLOAT_EQ(face_normal.y, 1.0f);
    EXPECT_FLOAT_EQ(face_distance, 2.5f);
    face_plane(top, {0.2f, 0.0f, 0.1f});
    EXPECT_FLOAT_EQ(face_distance, -1.0f) << "behind the face";
}

TEST_F(HitTest, AFaceThatSpansNoPlaneHasNoNormalAndIsNeverTouched)
{
    for (int f = 3; f < 6; ++f) {
        face_plane(SPHERE_PROXY_FACES[f], {0.0f, -1.5f, 0.0f});
        EXPECT_TRUE(face_normal.x == 0.0f && face_normal.y == 0.0f && face_normal.z == 0.0f) << f;
        EXPECT_FALSE(std::isnan(face_distance));
        EXPECT_EQ(face_distance, 0.0f) << "outside the slab, whatever the threshold";
    }
    const Vec3 p = {0.5f, 0.5f, 0.5f};
    face_plane(Quad{{p, p, p, p}}, {0.0f, 0.0f, 0.0f});
    EXPECT_EQ(face_distance, 0.0f);
}

TEST_F(HitTest, PointInFaceIncludesTheLowEdgesAndExcludesTheHighOnes)
{
    const Quad side = {{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}};
    face_normal = {1.0f, 0.0f, 0.0f}; // keeps (y, z)
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 0.5f, 0.5f}), 1);
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 1.5f, 0.5f}), 0);
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 0.0f, 0.5f}), 1) << "y = 0 edge belongs to the face";
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 0.5f, 0.0f}), 1) << "z = 0 edge belongs to the face";
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 1.0f, 0.5f}), 0) << "y = 1 edge does not";
    EXPECT_EQ(point_in_face(side.data(), 4, {5.0f, 0.5f, 1.0f}), 0) << "z = 1 edge does not";
}

TEST_F(HitTest, PointInFaceDropsTheDominantAxisWithTiesToXThenY)
{
    // A face on the plane x + y = 1, spanning z 0..1.
    const Quad slanted = {{{1, 0, 0}, {0, 1, 0}, {0, 1, 1}, {1, 0, 1}}};
    const Vec3 probe = {5.0f, 0.5f, 0.5f};
    face_normal = {0.70710678f, 0.70710678f, 0.0f};
    EXPECT_EQ(point_in_face(slanted.data(), 4, probe), 1) << "x dropped: (y, z) = (0.5, 0.5) is inside";
    face_normal = {0.7f, 0.71f, 0.0f};
    EXPECT_EQ(point_in_face(slanted.data(), 4, probe), 0) << "y dropped: (x, z) = (5, 0.5) is outside";

    const Quad flat = {{{0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 0}}}; // y + z = 1
    const Vec3 high = {0.5f, 5.0f, 0.5f};
    face_normal = {0.0f, 0.70710678f, 0.70710678f};
    EXPECT_EQ(point_in_face(flat.data(), 4, high), 1) << "y dropped: (x, z) = (0.5, 0.5) is inside";
    face_normal = {0.0f, 0.7f, 0.71f};
    EXPECT_EQ(point_in_face(flat.data(), 4, high), 0) << "z dropped: (x, y) = (0.5, 5) is outside";
}

TEST_F(HitTest, CarrierTopFaceIsHitOneUnitAboveButNotTwoNorOnThePlane)
{
    Vec3 up;
    const Vec3 top = carrier_face_centre(0, 4, up);
    EXPECT_EQ(carrier_face_test(0, 2.0f, top.x, top.y + 1.0f, top.z), 1);
    EXPECT_EQ(carrier_face_test(0, 2.0f, top.x, top.y + 2.0f, top.z), 0);
    EXPECT_EQ(carrier_face_test(0, 2.0f, top.x, top.y, top.z), 0);
    EXPECT_EQ(carrier_face_test(0, 2.0f, top.x, top.y - 1.0f, top.z), 0) << "inside the box";
    EXPECT_EQ(game.riding_part, 99) << "mode 0 records nothing";
}

TEST_F(HitTest, APointInsideABoxHitsNothing)
{
    const PartRecord& deck = CARRIER_BOXES[0];
    const float k = CARRIER_MODEL_SCALE;
    EXPECT_EQ(carrier_face_test(0, 2.0f, game.carrier_x + k * deck.offset_x,
                                CARRIER_BASE_HEIGHT + k * deck.offset_y, game.carrier_z + k * deck.offset_z),
              0);
    isolate_carrier_box(0);
    EXPECT_EQ(carrier_face_test(0, 1000.0f, game.carrier_x, CARRIER_BASE_HEIGHT + k * deck.offset_y,
                                game.carrier_z + k * deck.offset_z),
              0)
        << "every face of the box is behind the probe";
}

TEST_F(HitTest, EveryFaceOfEveryBoxPushesOutwardWhateverTheCarriersHeading)
{
    for (float heading : {0.0f, 13.7f, 64.0f, 90.0f, 128.0f, 191.2f, 250.0f}) {
        game.carrier_heading = heading;
        for (int box = 0; box < CARRIER_BOX_PARTS; ++box) {
            isolate_carrier_box(box);
            for (int face = 0; face < 6; ++face) {
                Vec3 n;
                const Vec3 centre = carrier_face_centre(box, face, n);
                const Vec3 outside = add(centre, n);
                const Vec3 inside = add(centre, n, -1.0f);
                SCOPED_TRACE(testing::Message() << "heading " << heading << " box " << box << " face " << face);
                EXPECT_EQ(carrier_face_test(0, 2.0f, inside.x, inside.y, inside.z), 0);

                player_position = outside;
                player_proposed_xz = {0.0f, 0.0f};
                game.carrier_dir = {0.0f, 0.0f};
                carrier_face_test(1, 2.0f, outside.x, outside.y, outside.z);
                ASSERT_EQ(game.carrier_riding, 1);
                EXPECT_EQ(game.riding_part, box);
                EXPECT_EQ(game.riding_face, face);
                // The push is the face's outward normal on x and z.
                EXPECT_NEAR(player_proposed_xz.x, n.x, 1e-3f);
                EXPECT_NEAR(player_proposed_xz.z, n.z, 1e-3f);
                const float expected_y = face == 5 ? outside.y - 1.0f : outside.y;
                EXPECT_NEAR(player_position.y, expected_y, 1e-3f);
            }
        }
    }
}

TEST_F(HitTest, StandingOnTheDeckRidesFaceFourWithoutMovingVertically)
{
    Vec3 up;
    const Vec3 top = carrier_face_centre(0, 4, up);
    player_position = {top.x, top.y + 1.0f, top.z};
    player_proposed_xz = {top.x, top.z};
    game.carrier_dir = {0.4f, -0.6f};
    carrier_face_test(1, 2.0f, player_position.x, player_position.y, player_position.z);
    EXPECT_EQ(game.carrier_riding, 1);
    EXPECT_EQ(game.riding_part, 0);
    EXPECT_EQ(game.riding_face, 4);
    EXPECT_EQ(player_position.y, top.y + 1.0f);
    EXPECT_FLOAT_EQ(player_proposed_xz.x, top.x + 1.25f * 0.4f) << "carried by 1.25 x carrier_dir";
    EXPECT_FLOAT_EQ(player_proposed_xz.z, top.z + 1.25f * -0.6f);
}

TEST_F(HitTest, BumpingAnUndersideEndsTheJumpAndPushesDownOnlyWhenClose)
{
    Vec3 down;
    const Vec3 bottom = carrier_face_centre(1, 5, down);
    for (float gap : {1.0f, 1.6f}) {
        game.jump_active = 1;
        game.jump_phase = 60.0f;
        game.jump_speed = 0.5f;
        player_position = {bottom.x, bottom.y - gap, bottom.z};
        carrier_face_test(1, 2.0f, player_position.x, player_position.y, player_position.z);
        EXPECT_EQ(game.riding_part, 1);
        EXPECT_EQ(game.riding_face, 5);
        EXPECT_EQ(game.jump_active, 0);
        EXPECT_EQ(game.jump_phase, 15.0f);
        EXPECT_EQ(game.jump_speed, 0.0f);
        const float expected = gap < 1.5f ? bottom.y - gap - 1.0f : bottom.y - gap;
        EXPECT_NEAR(player_position.y, expected, 1e-4f) << "gap " << gap;
    }
}

TEST_F(HitTest, TouchingNothingClearsRidingAndDoesNotCarry)
{
    game.carrier_riding = 1;
    game.riding_part = 3;
    game.riding_face = 2;
    game.carrier_dir = {1.0f, 0.0f};
    player_proposed_xz = {5.0f, 5.0f};
    carrier_face_test(1, 2.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(game.carrier_riding, 0);
    EXPECT_EQ(game.riding_part, 99);
    EXPECT_EQ(game.riding_face, 99);
    EXPECT_EQ(player_proposed_xz.x, 5.0f);
}

TEST_F(HitTest, WalkerBoxHurtsOncePerHitPeriodAndShovesAlongItsDirection)
{
    walker_boxes[0] = part_at(0.0f, 1.0f, 0.0f); // a cube of half-size 5 at walker_pos + (0, 5, 0)
    const Vec3 w = game.walker_pos;
    game.walker_dir = {1.0f, 0.0f, 0.5f};
    game.walker_speed = 4.0f;
    game.game_clock = 42.0f;
    EXPECT_EQ(walker_face_test(0, 3.0f, w.x + 6.0f, w.y + 5.0f, w.z), 1);

    hit_record.player_hurt_by = Hurt::bomb;
    walker_face_test(1, 3.0f, w.x + 6.0f, w.y + 5.0f, w.z);
    EXPECT_EQ(hit_record.player_hurt_by, Hurt::walker);
    EXPECT_NEAR(player_proposed_xz.x, 2.0f * 1.0f * 1.0f * 4.0f, 1e-4f);
    EXPECT_NEAR(player_proposed_xz.z, 0.0f, 1e-4f) << "the +x face has no z component";
    EXPECT_EQ(game.player_health, 95);
    EXPECT_EQ(game.player_hit_flag, 1);
    EXPECT_EQ(game.player_hit_time, 42.0f);

    walker_face_test(1, 3.0f, w.x + 6.0f, w.y + 5.0f, w.z);
    EXPECT_NEAR(player_proposed_xz.x, 8.0f, 1e-4f) << "no push while the hit flag is set";
    EXPECT_EQ(game.player_health, 95);
}

// Faces are placed once per pose and reused while it holds; every change of
// the model's frame or of a part record is seen by the very next probe.
TEST_F(HitTest, APoseChangeIsSeenByTheNextProbe)
{
    walker_boxes[0] = part_at(0.0f, 1.0f, 0.0f); // a cube of half-size 5 at walker_pos + (0, 5, 0)
    const Vec3 w = game.walker_pos;
    const auto hit = [&] { return walker_face_test(0, 3.0f, w.x + 6.0f, w.y + 5.0f, w.z); };
    ASSERT_EQ(hit(), 1);
    game.walker_pos.x += 0.5f; // the face now 0.5 nearer: still hit
    EXPECT_EQ(hit(), 1);
    game.walker_pos.x += 2.0f;
    EXPECT_EQ(hit(), 0) << "moved on past the probe: it is inside the box";
    game.walker_pos = w;
    EXPECT_EQ(hit(), 1);
    game.walker_model_yaw = 32.0f; // an eighth of a turn: the probe meets an edge region
    const int turned = hit();
    game.walker_model_yaw = 0.0f;
    walker_boxes[0].scale_x = 2.0f; // the box grows past the probe
    EXPECT_EQ(hit(), 0) << "inside the box";
    walker_boxes[0].scale_x = 1.0f;
    walker_boxes[0].offset_z = 1.5f;
    EXPECT_EQ(hit(), 0) << "the part moved off along z";
    walker_boxes[0].offset_z = 0.0f;
    EXPECT_EQ(hit(), 1);
    game.walker_model_yaw = 32.0f;
    EXPECT_EQ(hit(), turned);
    game.walker_pitch = 90.0f; // tipped over: the cube's side no longer faces the probe at that height
    game.walker_model_yaw = 0.0f;
    walker_boxes[0].offset_y = 3.0f;
    EXPECT_EQ(hit(), 0);
}

TEST_F(HitTest, WalkerSphereHurtsHarderAndOnlyItsUpperFacesCount)
{
    walker_spheres[0] = part_at(0.0f, 1.0f, 0.0f);
    const Vec3 centre = add(game.walker_pos, {0.0f, 5.0f, 0.0f});
    game.walker_dir = {1.0f, 0.0f, 1.0f};
    game.walker_speed = 2.0f;
    const Vec3 above = in_front_of_upper_face(centre, 5.0f, 1.0f);
    // The mirror image lies in front of lower face 3, which spans no plane.
    const Vec3 below = {above.x, 2.0f * centre.y - above.y, above.z};
    EXPECT_EQ(walker_face_test(0, 3.0f, below.x, below.y, below.z), 0);
    walker_face_test(1, 3.0f, below.x, below.y, below.z);
    EXPECT_EQ(game.player_hit_flag, 0);

    walker_face_test(1, 3.0f, above.x, above.y, above.z);
    const Vec3 n = upper_face_normal();
    EXPECT_EQ(game.player_health, 90);
    EXPECT_NEAR(player_proposed_xz.x, 20.0f * n.x * 1.0f * 2.0f, 1e-3f);
    EXPECT_NEAR(player_proposed_xz.z, 20.0f * n.z * 1.0f * 2.0f, 1e-3f);
}

TEST_F(HitTest, WalkerCylinderPushesEvenWhileThePlayerIsHitButNeverHurts)
{
    walker_cylinders[0] = part_at(0.0f, 1.0f, -4.0f);
    const Vec3 axis = add(game.walker_pos, {0.0f, 5.0f, -20.0f});
    const float a = 6.0f * float(M_PI) / 180.0f; // the middle of proxy face 0
    const Vec3 probe = add(axis, {6.0f * std::sin(a), 0.0f, -6.0f * std::cos(a)});
    game.walker_dir = {1.0f, 0.0f, 0.5f};
    game.walker_speed = 4.0f;
    game.player_hit_flag = 1;
    walker_face_test(1, 3.0f, probe.x, probe.y, probe.z);
    EXPECT_NEAR(player_proposed_xz.x, std::sin(a) * 1.0f * 4.0f, 1e-3f);
    EXPECT_NEAR(player_proposed_xz.z, -std::cos(a) * 0.5f * 4.0f, 1e-3f);
    EXPECT_EQ(game.player_health, 100);

    game.player_hit_flag = 0;
    walker_face_test(1, 3.0f, probe.x, probe.y, probe.z);
    EXPECT_EQ(game.player_hit_flag, 0) << "a cylinder never sets the hit flag";
    EXPECT_NEAR(player_proposed_xz.x, 2.0f * std::sin(a) * 4.0f, 1e-3f);
}

TEST_F(HitTest, WalkerPartsTurnAboutTheirOwnCentre)
{
    walker_boxes[0] = part_at(0.0f, 1.0f, 0.0f);
    walker_boxes[0].scale_y = 2.0f; // 20 tall, 10 wide
    const Vec3 c = add(game.walker_pos, {0.0f, 5.0f, 0.0f});
    EXPECT_EQ(walker_face_test(0, 3.0f, c.x, c.y + 11.0f, c.z), 1);
    EXPECT_EQ(walker_face_test(0, 3.0f, c.x, c.y, c.z + 6.0f), 1);
    walker_boxes[0].rot_x = 90.0f; // now lying along z
    EXPECT_EQ(walker_face_test(0, 3.0f, c.x, c.y + 11.0f, c.z), 0);
    EXPECT_EQ(walker_face_test(0, 3.0f, c.x, c.y + 6.0f, c.z), 1);
    EXPECT_EQ(walker_face_test(0, 3.0f, c.x, c.y, c.z + 11.0f), 1);
}

TEST_F(HitTest, FlyerSpheresAreHitOnlyOnTheirUpperFaces)
{
    flyer_spheres[0] = part_at(0.0f, 0.0f, 0.0f); // radius 15 about flyer_pos
    const Vec3 centre = game.flyer_pos;
    const Vec3 near = in_front_of_upper_face(centre, 15.0f, 5.0f);
    const Vec3 far = in_front_of_upper_face(centre, 15.0f, 11.0f);
    const Vec3 below = {near.x, 2.0f * centre.y - near.y, near.z};
    EXPECT_EQ(flyer_face_test(0, 10.0f, near.x, near.y, near.z), 1);
    EXPECT_EQ(flyer_face_test(0, 10.0f, far.x, far.y, far.z), 0) << "beyond the threshold";
    EXPECT_EQ(flyer_face_test(0, 10.0f, below.x, below.y, below.z), 0);
}

// The tests place faces with the matrices built once per part; this is the
// same chain rebuilt for every vertex, as the rules state it.
Vec3 place_per_vertex(float k, const PartRecord& p, Vec3 v, float tx, float ty, float tz, Vec3 origin)
{
    MATRIX_f m;
    get_scaling_matrix_f(&m, k * p.scale_x, k * p.scale_y, k * p.scale_z);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_x_rotate_matrix_f(&m, -p.rot_x * 256.0f / 360.0f);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_y_rotate_matrix_f(&m, -p.rot_y * 256.0f / 360.0f);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_z_rotate_matrix_f(&m, -p.rot_z * 256.0f / 360.0f);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_translation_matrix_f(&m, k * p.offset_x, k * p.offset_y, k * p.offset_z);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_rotation_matrix_f(&m, tx, ty, tz);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    get_translation_matrix_f(&m, origin.x, origin.y, origin.z);
    apply_matrix_f(&m, v.x, v.y, v.z, &v.x, &v.y, &v.z);
    return v;
}

TEST_F(HitTest, WalkerFacesLandBitForBitWhereThePerVertexChainPutsThem)
{
    init_walker_model();
    game.walker_mode = 0;
    game.walker_anim_key = 1;
    game.walker_walk_phase = 3.3f;
    animate_walker();
    game.walker_pitch = 7.5f;
    game.walker_roll = -3.0f;
    game.walker_model_yaw = 201.3f;
    const float tx = -game.walker_pitch * 256.0f / 360.0f;
    const float ty = -game.walker_model_yaw;
    const float tz = -game.walker_roll * 256.0f / 360.0f;
    struct Group {
        std::span<const PartRecord> parts;
        const FaceTable& faces;
    };
    const Group groups[] = {
        {walker_boxes, BOX_FACES}, {walker_spheres, SPHERE_PROXY_FACES}, {walker_cylinders, CYLINDER_PROXY_FACES}};
    std::srand(7);
    int hits = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const Vec3 probe = add(game.walker_pos, {float(std::rand() % 3000) / 100.0f - 15.0f,
                                                 float(std::rand() % 1400) / 100.0f,
                                                 float(std::rand() % 3000) / 100.0f - 15.0f});
        // The first face found by the rules, with its plane.
        bool found = false;
        Vec3 normal = {};
        float distance = 0.0f;
        for (const Group& g : groups) {
            for (const PartRecord& p : g.parts) {
                for (const Quad& face : g.faces) {
                    Quad placed;
                    for (int v = 0; v < 4; ++v)
                        placed[v] = place_per_vertex(WALKER_MODEL_SCALE, p, face[v], tx, ty, tz, game.walker_pos);
                    face_plane(placed, probe);
                    if (0.0f < face_distance && face_distance < 5.0f && point_in_face(placed.data(), 4, probe)) {
                        found = true;
                        normal = face_normal;
                        distance = face_distance;
                        break;
                    }
                }
                if (found)
                    break;
            }
            if (found)
                break;
        }
        ASSERT_EQ(walker_face_test(0, 5.0f, probe.x, probe.y, probe.z), found ? 1 : 0) << "trial " << trial;
        if (!found)
            continue;
        ++hits;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(face_normal.x), std::bit_cast<std::uint32_t>(normal.x));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(face_normal.y), std::bit_cast<std::uint32_t>(normal.y));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(face_normal.z), std::bit_cast<std::uint32_t>(normal.z));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(face_distance), std::bit_cast<std::uint32_t>(distance));
    }
    EXPECT_GT(hits, 20) << "the probes must reach the Walker often enough to compare";
}

} // namespace
