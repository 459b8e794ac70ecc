// The part record every model is built from, the fixed lengths of the models'
// part tables, their scales and the frames (origin and orientation) that place
// each model in the world.
#pragma once

#include <array>

#include "maths/vectors.h"

// One part: a unit primitive stretched, turned, placed and coloured. The
// twelve floats are in this order and there is nothing else in the record.
struct PartRecord {
    float scale_x, scale_y, scale_z;    // model units; half-extent along the primitive's axes
    float rot_x, rot_y, rot_z;          // degrees; meaning set by the model's rotation mode
    float offset_x, offset_y, offset_z; // model units; the part's centre in the model frame
    float colour_r, colour_g, colour_b; // 0..255, fractions allowed
};
static_assert(sizeof(PartRecord) == 12 * sizeof(float));

// The twelve fields in record order, so poses can be handled field by field.
enum class Field { scale_x, scale_y, scale_z, rot_x, rot_y, rot_z, offset_x, offset_y, offset_z, colour_r, colour_g, colour_b };
constexpr int PART_FIELDS = 12;

constexpr std::array<float PartRecord::*, PART_FIELDS> PART_FIELD_MEMBERS = {
    &PartRecord::scale_x,  &PartRecord::scale_y,  &PartRecord::scale_z,  &PartRecord::rot_x,
    &PartRecord::rot_y,    &PartRecord::rot_z,    &PartRecord::offset_x, &PartRecord::offset_y,
    &PartRecord::offset_z, &PartRecord::colour_r, &PartRecord::colour_g, &PartRecord::colour_b,
};

constexpr float& field_of(PartRecord& part, Field field)
{
    return part.*PART_FIELD_MEMBERS[int(field)];
}

constexpr float field_of(const PartRecord& part, Field field)
{
    return part.*PART_FIELD_MEMBERS[int(field)];
}

// Table lengths: one table per model and primitive kind.
constexpr int PLAYER_BOX_PARTS = 9;
constexpr int WALKER_BOX_PARTS = 7;
constexpr int WALKER_SPHERE_PARTS = 9;
constexpr int WALKER_CYLINDER_PARTS = 6;
constexpr int FLYER_SPHERE_PARTS = 6;
constexpr int FLYER_CYLINDER_PARTS = 2;
constexpr int CARRIER_BOX_PARTS = 10;
constexpr int CARRIER_SPHERE_PARTS = 9;

// A fixed-length table of records of one primitive kind of one model, drawn
// and tested in index order.
template <int N>
using PartTable = std::array<PartRecord, N>;

// The live tables that drawing and hit testing read. The animation steps
// write the player's, the Walker's and the Flyer's from their keyframes; the
// Carrier's live tables are CARRIER_BOXES and CARRIER_SPHERES (model_data.h).
extern PartTable<PLAYER_BOX_PARTS> player_boxes;
extern PartTable<WALKER_BOX_PARTS> walker_boxes;
extern PartTable<WALKER_SPHERE_PARTS> walker_spheres;
extern PartTable<WALKER_CYLINDER_PARTS> walker_cylinders;
extern PartTable<FLYER_SPHERE_PARTS> flyer_spheres;
extern PartTable<FLYER_CYLINDER_PARTS> flyer_cylinders;

// World units per model unit.
constexpr float PLAYER_MODEL_SCALE = 5.0f;
constexpr float WALKER_MODEL_SCALE = 5.0f;
constexpr float FLYER_MODEL_SCALE = 15.0f;
constexpr float CARRIER_MODEL_SCALE = 19.0f;

// The Carrier travels at a fixed height.
constexpr float CARRIER_BASE_HEIGHT = 40.0f;

// How a model turns each part about its centre: the player and the Flyer read
// the rotation as an axis-angle vector, the Walker as Euler angles applied
// x, then y, then z; the Carrier ignores its rotation fields.
enum class PartRotation { axis_angle, euler_xyz, none };

// Where a model stands and how it is turned: the three angles are handed to
// Allegro's get_rotation_quat in binary degrees (256 per turn).
struct ModelFrame {
    Vec3 origin;
    float turn_x, turn_y, turn_z;
};

// Pitch and roll are kept in degrees and converted here; the model yaws are
// already binary degrees.
ModelFrame player_frame();
ModelFrame walker_frame();
ModelFrame flyer_frame();
// The Carrier's heading is turned back by a quarter turn (64 binary degrees):
// at heading 64 the model stands on its own axes. The hit test turns it by
// 64 - heading instead, since Allegro's rotation matrices turn the opposite
// way to the quaternion that drawing hands to glRotatef; the two agree, as a
// drawing test checks at a turned heading.
ModelFrame carrier_frame();
