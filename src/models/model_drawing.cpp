// Each part goes through the same chain: model origin, model orientation,
// scaled offset, the part's own rotation, scaled size. Every part has its own
// push/pop pair and its own GL_QUADS batch.
#include "models/model_drawing.h"

#include <cmath>
#include <span>

#include <allegro.h>
#include <alleggl.h>

#include "game/game_state.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "models/part_record.h"

namespace {

enum class Primitive { box, sphere, cylinder };

// Raised while the fire key is held, lowered while standing still.
constexpr int PLAYER_ARM_PART = 5;
constexpr float ARM_RAISED_ROT_X = 90.0f;
constexpr float ARM_RAISED_HEIGHT = 1.5f;
constexpr float ARM_REST_HEIGHT = 1.15f;

constexpr float PLAYER_HIT_ALPHA = 0.4f;

// How a model's parts are coloured while it is drawn.
struct Shade {
    bool translucent;
    float brightness; // 0..1, translucent only
    float alpha;      // translucent only
};

constexpr Shade OPAQUE = {false, 1.0f, 1.0f};

// A hit actor flashes darker and more transparent the more it is damaged.
// A full health of 0 would leave nothing to divide by; it shows as spent.
Shade damaged_shade(float health, float max_health)
{
    const float h = max_health != 0.0f ? health / max_health : 0.0f;
    return {true, h, 0.25f + 0.5f * h};
}

// Colour fields are truncated toward zero and only their low 8 bits are used.
GLubyte colour_byte(float value)
{
    return GLubyte(static_cast<int>(value) & 0xFF);
}

void set_opaque_colour(const PartRecord& part)
{
    glColor3ub(colour_byte(part.colour_r), colour_byte(part.colour_g), colour_byte(part.colour_b));
}

void set_colour(const PartRecord& part, const Shade& shade)
{
    if (!shade.translucent) {
        set_opaque_colour(part);
        return;
    }
    glColor4f(part.colour_r / 255.0f * shade.brightness, part.colour_g / 255.0f * shade.brightness,
              part.colour_b / 255.0f * shade.brightness, shade.alpha);
}

void begin_shade(const Shade& shade)
{
    if (shade.translucent)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The rest of the game draws with blending one, zero.
void end_shade(const Shade& shade)
{
    if (shade.translucent)
        glBlendFunc(GL_ONE, GL_ZERO);
}

// Pushes the matrix and sets it up so that the unit primitive lands where the
// part belongs. The caller pops it.
void place_part(const ModelFrame& frame, float k, const PartRecord& part, PartRotation mode)
{
    glPushMatrix();
    glTranslatef(frame.origin.x, frame.origin.y, frame.origin.z);
    rotate_by_binary_angles(frame.turn_x, frame.turn_y, frame.turn_z);
    glTranslatef(k * part.offset_x, k * part.offset_y, k * part.offset_z);
    switch (mode) {
    case PartRotation::axis_angle: {
        // The vector's length is the angle in degrees; a zero vector turns nothing.
        const float length =
            std::sqrt(part.rot_x * part.rot_x + part.rot_y * part.rot_y + part.rot_z * part.rot_z);
        if (length != 0.0f)
            glRotatef(length, part.rot_x, part.rot_y, part.rot_z);
        break;
    }
    case PartRotation::euler_xyz:
        glRotatef(part.rot_x, 1.0f, 0.0f, 0.0f);
        glRotatef(part.rot_y, 0.0f, 1.0f, 0.0f);
        glRotatef(part.rot_z, 0.0f, 0.0f, 1.0f);
        break;
    case PartRotation::none:
        break;
    }
    glScalef(k * part.scale_x, k * part.scale_y, k * part.scale_z);
}

void emit_primitive(Primitive primitive)
{
    switch (primitive) {
    case Primitive::box:
        draw_box_mesh();
        break;
    case Primitive::sphere:
        draw_sphere_mesh();
        break;
    case Primitive::cylinder:
        draw_cylinder_mesh();
        break;
    }
}

void draw_part(const ModelFrame& frame, float k, const PartRecord& part, PartRotation mode, Primitive primitive,
               const Shade& shade)
{
    place_part(frame, k, part, mode);
    glBegin(GL_QUADS);
    set_colour(part, shade);
    emit_primitive(primitive);
    glEnd();
    glPopMatrix();
}

void draw_table(std::span<const PartRecord> table, const ModelFrame& frame, float k, PartRotation mode,
                Primitive primitive, const Shade& shade)
{
    for (const PartRecord& part : table)
        draw_part(frame, k, part, mode, primitive, shade);
}

// The arm follows the fire key and the walk cycle; the rewrite stays in the
// live table until the next walk-cycle step.
void pose_player_arm()
{
    PartRecord& arm = player_boxes[PLAYER_ARM_PART];
    if (game.fire_held == 1) {
        arm.rot_x = ARM_RAISED_ROT_X;
        arm.offset_y = ARM_RAISED_HEIGHT;
    } else if (game.walk_anim_active == 0) {
        arm.offset_y = ARM_REST_HEIGHT;
        arm.rot_x = 0.0f;
    }
}

// One batch per box; each face takes the part's colour, or magenta when it is
// the face the player touches.
void draw_carrier_box(const ModelFrame& frame, int index, const PartRecord& part)
{
    place_part(frame, CARRIER_MODEL_SCALE, part, PartRotation::none);
    glBegin(GL_QUADS);
    for (int face = 0; face < 6; ++face) {
        if (index == game.riding_part && face == game.riding_face)
            glColor3ub(255, 0, 255);
        else
            set_opaque_colour(part);
        for (const Vec3& v : BOX_FACES[face])
            glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
    glPopMatrix();
}

} // namespace

void draw_player_model()
{
    const Shade shade = game.player_hit_flag == 1 ? Shade{true, 1.0f, PLAYER_HIT_ALPHA} : OPAQUE;
    const ModelFrame frame = player_frame();
    begin_shade(shade);
    for (int i = 0; i < PLAYER_BOX_PARTS; ++i) {
        if (i == PLAYER_ARM_PART)
            pose_player_arm();
        draw_part(frame, PLAYER_MODEL_SCALE, player_boxes[i], PartRotation::axis_angle, Primitive::box, shade);
    }
    end_shade(shade);
}

void draw_carrier_model()
{
    const ModelFrame frame = carrier_frame();
    for (int i = 0; i < CARRIER_BOX_PARTS; ++i)
        draw_carrier_box(frame, i, CARRIER_BOXES[i]);
    draw_table(CARRIER_SPHERES, frame, CARRIER_MODEL_SCALE, PartRotation::none, Primitive::sphere, OPAQUE);
}

void draw_walker_model()
{
    const Shade shade =
        game.walker_hit_flag == 1 ? damaged_shade(game.walker_health, game.walker_max_health) : OPAQUE;
    const ModelFrame frame = walker_frame();
    const float k = WALKER_MODEL_SCALE;
    begin_shade(shade);
    draw_table(walker_boxes, frame, k, PartRotation::euler_xyz, Primitive::box, shade);
    draw_table(walker_spheres, frame, k, PartRotation::euler_xyz, Primitive::sphere, shade);
    draw_table(walker_cylinders, frame, k, PartRotation::euler_xyz, Primitive::cylinder, shade);
    end_shade(shade);
}

void draw_flyer_model()
{
    const Shade shade = game.flyer_hit_flag == 1 ? damaged_shade(game.flyer_health, game.flyer_max_health) : OPAQUE;
    const ModelFrame frame = flyer_frame();
    const float k = FLYER_MODEL_SCALE;
    begin_shade(shade);
    draw_table(flyer_spheres, frame, k, PartRotation::axis_angle, Primitive::sphere, shade);
    draw_table(flyer_cylinders, frame, k, PartRotation::axis_angle, Primitive::cylinder, shade);
    end_shade(shade);
}

void rotate_by_binary_angles(float x, float y, float z)
{
    QUAT orientation;
    get_rotation_quat(&orientation, x, y, z);
    float angle = 0.0f;
    float axis_x = 0.0f;
    float axis_y = 0.0f;
    float axis_z = 0.0f;
    allegro_gl_quat_to_glrotatef(&orientation, &angle, &axis_x, &axis_y, &axis_z);
    glRotatef(angle, axis_x, axis_y, axis_z);
}
