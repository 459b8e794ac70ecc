// The three face tests share one loop: for each group of parts, each part,
// each face of the group's proxy table, place the four vertices, take the
// face's plane, and keep the face when the probe is in the slab in front of
// it and inside its outline.
#include "models/hit_test.h"

#include <cmath>
#include <span>

#include <allegro.h>

#include "gameplay/player.h"
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
    return -degrees * 256.0f / 360.0f;
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

// True as soon as mode 0 finds a face; in mode 1 every touched face answers.
bool test_group(const HitFrame& frame, const ModelMatrices& model, std::span<const PartRecord> parts,
                const FaceTable& faces, Touch who, int mode, float threshold, const Vec3& probe)
{
    PartMatrices matrices;
    for (int part = 0; part < int(parts.size()); ++part) {
        build_part_matrices(frame, parts[part], matrices);
        for (int face = 0; face < 6; ++face) {
            Quad placed;
            for (int v = 0; v < 4; ++v)
                placed[v] = place_vertex(frame.part_rotation, model, matrices, faces[face][v]);
            face_plane(placed, probe);
            if (!(0.0f < face_distance && face_distance < threshold))
                continue;
            if (point_in_face(placed.data(), 4, probe) == 0)
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

HitFrame carrier_hit_frame()
{
    return {CARRIER_MODEL_SCALE, false, 0.0f, 64.0f - game.carrier_heading, 0.0f,
            {game.carrier_x, CARRIER_BASE_HEIGHT, game.carrier_z}};
}

} // namespace

void face_plane(const Quad& quad, const Vec3& probe)
{
    const Vec3& v0 = quad[0];
    const Vec3& v1 = quad[1];
    const Vec3& v2 = quad[2];
    const Vec3 u = {v1.x - v0.x, v1.y - v0.y, v1.z - v0.z};
    const Vec3 w = {v2.x - v1.x, v2.y - v1.y, v2.z - v1.z};
    Vec3 n = {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    // Three vertices on one line (or one point) have no normal: nothing can touch the face.
    if (!(vector_length_f(n.x, n.y, n.z) > 0.0f)) {
        face_normal = {0.0f, 0.0f, 0.0f};
        face_distance = 0.0f;
        return;
    }
    normalize_vector_f(&n.x, &n.y, &n.z);
    face_normal = n;
    face_distance = (probe.x - v1.x) * n.x + (probe.y - v1.y) * n.y + (probe.z - v1.z) * n.z;
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
    if (test_group(frame, model, CARRIER_BOXES, BOX_FACES, Touch::carrier, mode, threshold, probe))
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
    if (test_group(frame, model, walker_boxes, BOX_FACES, Touch::walker_box, mode, threshold, probe) ||
        test_group(frame, model, walker_spheres, SPHERE_PROXY_FACES, Touch::walker_sphere, mode, threshold, probe) ||
        test_group(frame, model, walker_cylinders, CYLINDER_PROXY_FACES, Touch::walker_cylinder, mode, threshold,
                   probe))
        return 1;
    return 0;
}

int flyer_face_test(int mode, float threshold, float x, float y, float z)
{
    const Vec3 probe = {x, y, z};
    const HitFrame frame = flyer_hit_frame();
    ModelMatrices model;
    build_model_matrices(frame, model);
    if (test_group(frame, model, flyer_spheres, SPHERE_PROXY_FACES, Touch::flyer, mode, threshold, probe) ||
        test_group(frame, model, flyer_cylinders, CYLINDER_PROXY_FACES, Touch::flyer, mode, threshold, probe))
        return 1;
    return 0;
}
