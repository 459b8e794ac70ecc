// The three face tests share one loop: for each group of parts, each part,
// each face of the group's proxy table, place the four vertices, take the
// face's plane, and keep the face when the probe is in the slab in front of
// it and inside its outline.
#include "gameplay/hit_test.h"

#include <array>
#include <cmath>
#include <cstring>
#include <span>

#include <allegro.h>

#include "game/game_state.h"
#include "gameplay/hit_record.h"
#include "gameplay/player.h"
#include "maths/angles.h"
#include "models/model_data.h"
#include "models/part_record.h"

Vec3 face_normal = {0.0f, 0.0f, 0.0f};
float face_distance = 0.0f;

namespace {

constexpr int NO_PART = 99;

// A face pointing more than this far down is an underside: the player is below the part.
constexpr float UNDERSIDE_NORMAL_Y = -0.05f;
// Closer than this under an underside, the player is pushed down.
constexpr float UNDERSIDE_PUSH_DISTANCE = 1.5f;
// Each of the two Carrier tests of a tick carries the rider this share of the Carrier's step.
constexpr float CARRIER_CARRY_SHARE = 1.25f;

constexpr float WALKER_BOX_SHOVE = 2.0f;
constexpr int WALKER_BOX_DAMAGE = 5;
constexpr float WALKER_SPHERE_SHOVE = 20.0f;
constexpr int WALKER_SPHERE_DAMAGE = 10;

// How a model's proxies are placed: model scale, whether the parts turn by
// their rotation fields, the model rotation (binary degrees) and origin.
struct HitFrame {
    float k;
    bool part_rotation;
    float turn_x, turn_y, turn_z;
    Vec3 origin;
};

// Who answers a touch in mode 1.
enum class Touch { carrier, walker_box, walker_sphere, walker_cylinder, flyer };

float negated_binary(float degrees)
{
    return float(-binary_angle(degrees));
}

// The matrices that carry a proxy vertex into the world, in the order they
// apply: the model's are the same for every part, a part's for every vertex.
// Each is built once and applied one after the other, exactly as if it were
// rebuilt for every vertex.
struct ModelMatrices {
    MATRIX_f turn;
    MATRIX_f origin;
};

struct PartMatrices {
    MATRIX_f scale;
    MATRIX_f turn_x, turn_y, turn_z;
    MATRIX_f offset;
};

// A part's proxy faces as last placed in the world, with their unit normals
// (zero for a face that spans no plane), and the bits of the frame and the
// part record they were placed from. Placing is a pure function of those, so
// while a model keeps its pose (a whole tick, with its many probes) each part
// is placed once and the result is the same to the bit.
constexpr int PLACEMENT_KEY_FLOATS = 8 + 12;
struct PlacedPart {
    bool placed = false;
    std::array<float, PLACEMENT_KEY_FLOATS> key{};
    std::array<Quad, 6> quads{};
    std::array<Vec3, 6> normals{};
};

std::array<PlacedPart, CARRIER_BOX_PARTS> placed_carrier_boxes;
std::array<PlacedPart, WALKER_BOX_PARTS> placed_walker_boxes;
std::array<PlacedPart, WALKER_SPHERE_PARTS> placed_walker_spheres;
std::array<PlacedPart, WALKER_CYLINDER_PARTS> placed_walker_cylinders;
std::array<PlacedPart, FLYER_SPHERE_PARTS> placed_flyer_spheres;
std::array<PlacedPart, FLYER_CYLINDER_PARTS> placed_flyer_cylinders;

void build_model_matrices(const HitFrame& frame, ModelMatrices& m)
{
    get_rotation_matrix_f(&m.turn, frame.turn_x, frame.turn_y, frame.turn_z);
    get_translation_matrix_f(&m.origin, frame.origin.x, frame.origin.y, frame.origin.z);
}

void build_part_matrices(const HitFrame& frame, const PartRecord& part, PartMatrices& m)
{
    const float k = frame.k;
    get_scaling_matrix_f(&m.scale, k * part.scale_x, k * part.scale_y, k * part.scale_z);
    if (frame.part_rotation) {
        get_x_rotate_matrix_f(&m.turn_x, negated_binary(part.rot_x));
        get_y_rotate_matrix_f(&m.turn_y, negated_binary(part.rot_y));
        get_z_rotate_matrix_f(&m.turn_z, negated_binary(part.rot_z));
    }
    get_translation_matrix_f(&m.offset, k * part.offset_x, k * part.offset_y, k * part.offset_z);
}

Vec3 place_vertex(bool part_rotation, const ModelMatrices& model, const PartMatrices& part, const Vec3& v)
{
    float x = v.x;
    float y = v.y;
    float z = v.z;
    apply_matrix_f(&part.scale, x, y, z, &x, &y, &z);
    if (part_rotation) {
        apply_matrix_f(&part.turn_x, x, y, z, &x, &y, &z);
        apply_matrix_f(&part.turn_y, x, y, z, &x, &y, &z);
        apply_matrix_f(&part.turn_z, x, y, z, &x, &y, &z);
    }
    apply_matrix_f(&part.offset, x, y, z, &x, &y, &z);
    apply_matrix_f(&model.turn, x, y, z, &x, &y, &z);
    apply_matrix_f(&model.origin, x, y, z, &x, &y, &z);
    return {x, y, z};
}

// The player rides the part it touches and is pushed out of it; under an
// underside it is pushed down and its jump ends.
void touch_carrier(int part, int face)
{
    game.carrier_riding = 1;
    game.riding_part = part;
    game.riding_face = face;
    player_proposed_xz.x += face_normal.x;
    if (face_normal.y < UNDERSIDE_NORMAL_Y) {
        if (face_distance < UNDERSIDE_PUSH_DISTANCE)
            player_position.y += face_normal.y;
        end_jump();
    }
    player_proposed_xz.z += face_normal.z;
}

// Each axis of the shove is the face normal times the Walker's own direction
// on that axis, so a Walker walking along x shoves only along x.
void shove_player(float factor)
{
    const float s = game.walker_speed;
    player_proposed_xz.x += factor * face_normal.x * game.walker_dir.x * s;
    player_proposed_xz.z += factor * face_normal.z * game.walker_dir.z * s;
}

// Box and sphere faces hurt once per hit period; the first one sets the flag.
void hurt_player(float shove, int damage)
{
    if (game.player_hit_flag != 0)
        return;
    shove_player(shove);
    game.player_hit_flag = 1;
    hit_record.player_hurt_by = Hurt::walker;
    game.player_health -= damage;
    game.player_hit_time = game.game_clock.load();
}

void touch(Touch who, int part, int face)
{
    switch (who) {
    case Touch::carrier:
        touch_carrier(part, face);
        break;
    case Touch::walker_box:
        hurt_player(WALKER_BOX_SHOVE, WALKER_BOX_DAMAGE);
        break;
    case Touch::walker_sphere:
        hurt_player(WALKER_SPHERE_SHOVE, WALKER_SPHERE_DAMAGE);
        break;
    case Touch::walker_cylinder:
        shove_player(1.0f);
        break;
    case Touch::flyer:
        break;
    }
}

// A face is touched only by a probe less than threshold in front of its plane
// whose projection along the plane's dominant axis falls inside it: such a
// probe lies within sqrt(3) x threshold of the face. Every proxy vertex lies
// in the unit cube, so a placed part lies within k x |scale| of its placed
// centre. A part farther away than that, with twice the threshold and a unit
// to spare for rounding, has no face the probe can touch and is skipped
// before its matrices and vertices are computed.
bool part_out_of_reach(const HitFrame& frame, const ModelMatrices& model, const PartRecord& part, float threshold,
                       const Vec3& probe)
{
    float cx = frame.k * part.offset_x;
    float cy = frame.k * part.offset_y;
    float cz = frame.k * part.offset_z;
    apply_matrix_f(&model.turn, cx, cy, cz, &cx, &cy, &cz);
    const double dx = double(probe.x) - (double(cx) + double(frame.origin.x));
    const double dy = double(probe.y) - (double(cy) + double(frame.origin.y));
    const double dz = double(probe.z) - (double(cz) + double(frame.origin.z));
    const double sx = double(part.scale_x), sy = double(part.scale_y), sz = double(part.scale_z);
    const double reach = std::fabs(double(frame.k)) * std::sqrt(sx * sx + sy * sy + sz * sz) + 2.0 * double(threshold) + 1.0;
    return dx * dx + dy * dy + dz * dz > reach * reach;
}

Vec3 face_unit_normal(const Quad& quad)
{
    const Vec3& v0 = quad[0];
    const Vec3& v1 = quad[1];
    const Vec3& v2 = quad[2];
    const Vec3 u = {v1.x - v0.x, v1.y - v0.y, v1.z - v0.z};
    const Vec3 w = {v2.x - v1.x, v2.y - v1.y, v2.z - v1.z};
    Vec3 n = {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    // Three vertices on one line (or one point) have no normal: nothing can touch the face.
    if (!(vector_length_f(n.x, n.y, n.z) > 0.0f))
        return {0.0f, 0.0f, 0.0f};
    normalize_vector_f(&n.x, &n.y, &n.z);
    return n;
}

void set_face_plane(const Quad& quad, const Vec3& normal, const Vec3& probe)
{
    face_normal = normal;
    if (normal.x == 0.0f && normal.y == 0.0f && normal.z == 0.0f) {
        face_distance = 0.0f;
        return;
    }
    const Vec3& v1 = quad[1];
    face_distance = (probe.x - v1.x) * normal.x + (probe.y - v1.y) * normal.y + (probe.z - v1.z) * normal.z;
}

// The part's faces in the world for this frame and record, placed afresh only
// when either has changed since they were last placed.
const PlacedPart& placed_part(PlacedPart& cache, const HitFrame& frame, const ModelMatrices& model,
                              const PartRecord& part, const FaceTable& faces)
{
    std::array<float, PLACEMENT_KEY_FLOATS> key = {
        frame.k, frame.part_rotation ? 1.0f : 0.0f, frame.turn_x, frame.turn_y, frame.turn_z,
        frame.origin.x, frame.origin.y, frame.origin.z};
    std::memcpy(&key[8], &part, sizeof part);
    if (cache.placed && std::memcmp(key.data(), cache.key.data(), sizeof key) == 0)
        return cache;
    PartMatrices matrices;
    build_part_matrices(frame, part, matrices);
    for (int face = 0; face < 6; ++face) {
        for (int v = 0; v < 4; ++v)
            cache.quads[face][v] = place_vertex(frame.part_rotation, model, matrices, faces[face][v]);
        cache.normals[face] = face_unit_normal(cache.quads[face]);
    }
    cache.key = key;
    cache.placed = true;
    return cache;
}

// True as soon as mode 0 finds a face; in mode 1 every touched face answers.
bool test_group(const HitFrame& frame, const ModelMatrices& model, std::span<const PartRecord> parts,
                std::span<PlacedPart> placements, const FaceTable& faces, Touch who, int mode, float threshold,
                const Vec3& probe)
{
    for (int part = 0; part < int(parts.size()); ++part) {
        if (part_out_of_reach(frame, model, parts[part], threshold, probe))
            continue;
        const PlacedPart& placed = placed_part(placements[part], frame, model, parts[part], faces);
        for (int face = 0; face < 6; ++face) {
            set_face_plane(placed.quads[face], placed.normals[face], probe);
            if (!(0.0f < face_distance && face_distance < threshold))
                continue;
            if (point_in_face(placed.quads[face].data(), 4, probe) == 0)
                continue;
            if (mode == HIT_QUERY)
                return true;
            touch(who, part, face);
        }
    }
    return false;
}

HitFrame walker_hit_frame()
{
    return {WALKER_MODEL_SCALE, true, negated_binary(game.walker_pitch), -game.walker_model_yaw,
            negated_binary(game.walker_roll), game.walker_pos};
}

HitFrame flyer_hit_frame()
{
    return {FLYER_MODEL_SCALE, true, negated_binary(game.flyer_pitch), -game.flyer_model_yaw,
            negated_binary(game.flyer_roll), game.flyer_pos};
}

// 64 - heading here, heading - 64 in drawing: Allegro's rotation matrices turn
// the opposite way to the quaternion drawing hands to glRotatef, so the same
// turn takes the opposite angle. The Walker's and the Flyer's angles are
// negated above for the same reason.
HitFrame carrier_hit_frame()
{
    return {CARRIER_MODEL_SCALE, false, 0.0f, 64.0f - game.carrier_heading, 0.0f,
            {game.carrier_x, CARRIER_BASE_HEIGHT, game.carrier_z}};
}

} // namespace

void face_plane(const Quad& quad, const Vec3& probe)
{
    set_face_plane(quad, face_unit_normal(quad), probe);
}

int point_in_face(const Vec3* polygon, int count, const Vec3& probe)
{
    const float nx = std::fabs(face_normal.x);
    const float ny = std::fabs(face_normal.y);
    const float nz = std::fabs(face_normal.z);
    // Keep the two coordinates (a, b) of the plane that drops the dominant axis.
    float Vec3::*a_axis = &Vec3::y;
    float Vec3::*b_axis = &Vec3::z;
    if (!(nx >= ny && nx >= nz)) {
        if (ny >= nz) {
            a_axis = &Vec3::x;
            b_axis = &Vec3::z;
        } else {
            a_axis = &Vec3::x;
            b_axis = &Vec3::y;
        }
    }
    const float pa = probe.*a_axis;
    const float pb = probe.*b_axis;
    int inside = 0;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const float ai = polygon[i].*a_axis;
        const float bi = polygon[i].*b_axis;
        const float aj = polygon[j].*a_axis;
        const float bj = polygon[j].*b_axis;
        // The edge straddles the probe's b, so bj - bi is never 0 here.
        if (((bi <= pb && pb < bj) || (bj <= pb && pb < bi)) && pa < ai + (aj - ai) * (pb - bi) / (bj - bi))
            inside ^= 1;
    }
    return inside;
}

int carrier_face_test(int mode, float threshold, float x, float y, float z)
{
    const Vec3 probe = {x, y, z};
    if (mode != HIT_QUERY) {
        game.carrier_riding = 0;
        game.riding_part = NO_PART;
        game.riding_face = NO_PART;
    }
    const HitFrame frame = carrier_hit_frame();
    ModelMatrices model;
    build_model_matrices(frame, model);
    if (test_group(frame, model, CARRIER_BOXES, placed_carrier_boxes, BOX_FACES, Touch::carrier, mode, threshold,
                   probe))
        return 1;
    if (mode != HIT_QUERY && game.carrier_riding == 1) {
        player_proposed_xz.x += CARRIER_CARRY_SHARE * game.carrier_dir.x;
        player_proposed_xz.z += CARRIER_CARRY_SHARE * game.carrier_dir.z;
    }
    return 0;
}

int walker_face_test(int mode, float threshold, float x, float y, float z)
{
    const Vec3 probe = {x, y, z};
    const HitFrame frame = walker_hit_frame();
    ModelMatrices model;
    build_model_matrices(frame, model);
    if (test_group(frame, model, walker_boxes, placed_walker_boxes, BOX_FACES, Touch::walker_box, mode, threshold,
                   probe) ||
        test_group(frame, model, walker_spheres, placed_walker_spheres, SPHERE_PROXY_FACES, Touch::walker_sphere,
                   mode, threshold, probe) ||
        test_group(frame, model, walker_cylinders, placed_walker_cylinders, CYLINDER_PROXY_FACES,
                   Touch::walker_cylinder, mode, threshold, probe))
        return 1;
    return 0;
}

int flyer_face_test(int mode, float threshold, float x, float y, float z)
{
    const Vec3 probe = {x, y, z};
    const HitFrame frame = flyer_hit_frame();
    ModelMatrices model;
    build_model_matrices(frame, model);
    if (test_group(frame, model, flyer_spheres, placed_flyer_spheres, SPHERE_PROXY_FACES, Touch::flyer, mode,
                   threshold, probe) ||
        test_group(frame, model, flyer_cylinders, placed_flyer_cylinders, CYLINDER_PROXY_FACES, Touch::flyer, mode,
                   threshold, probe))
        return 1;
    return 0;
}
