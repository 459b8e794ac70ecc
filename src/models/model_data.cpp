// The models' numbers. Each animated model is entered as its rest pose (key 0)
// followed by the fields that keys 1 and 2 change, cell by cell; the
// initialisers expand them into full keyframe tables.
#include "models/model_data.h"

#include <initializer_list>
#include <span>

KeyTable<PLAYER_GAIT_SETS, PLAYER_BOX_PARTS> PLAYER_KEYS{};
DurationTable<PLAYER_GAIT_SETS> PLAYER_KEY_DURATIONS{};
KeyTable<WALKER_GAIT_SETS, WALKER_BOX_PARTS> WALKER_BOX_KEYS{};
KeyTable<WALKER_GAIT_SETS, WALKER_SPHERE_PARTS> WALKER_SPHERE_KEYS{};
KeyTable<WALKER_GAIT_SETS, WALKER_CYLINDER_PARTS> WALKER_CYLINDER_KEYS{};
DurationTable<WALKER_GAIT_SETS> WALKER_KEY_DURATIONS{};
KeyTable<FLYER_GAIT_SETS, FLYER_SPHERE_PARTS> FLYER_SPHERE_KEYS{};
KeyTable<FLYER_GAIT_SETS, FLYER_CYLINDER_PARTS> FLYER_CYLINDER_KEYS{};
DurationTable<FLYER_GAIT_SETS> FLYER_KEY_DURATIONS{};
PartTable<CARRIER_BOX_PARTS> CARRIER_BOXES{};
PartTable<CARRIER_SPHERE_PARTS> CARRIER_SPHERES{};

namespace {

using enum Field;

struct FieldValue {
    Field field;
    float value;
};

// The fields of one part that differ from the rest pose in one key of one set.
struct KeyChange {
    int set;
    int key;
    int part;
    int count;
    std::array<FieldValue, 5> fields;
};

constexpr KeyChange change(int set, int key, int part, std::initializer_list<FieldValue> fields)
{
    KeyChange result{set, key, part, 0, {}};
    for (const FieldValue& f : fields)
        result.fields[result.count++] = f;
    return result;
}

// Rows: scale (x, y, z), rotation (x, y, z), offset (x, y, z), colour (r, g, b).

// The player's walking machine; axis-angle rotation.
constexpr PartTable<PLAYER_BOX_PARTS> PLAYER_REST = {{
    {0.2957f, 0.14f, 0.4074f, 0, 0, 0, -0.3253f, 0.1365f, -0.1991f, 20.91f, 20.91f, 20.91f},         // 0
    {0.2957f, 0.14f, 0.2263f, 0, 0, 0, -0.3253f, 0.4224f, -0.01326f, 86.7f, 86.7f, 86.7f},           // 1
    {0.2957f, 0.14f, 0.4074f, 0, 0, 0, 0.3034f, 0.1365f, -0.1991f, 20.91f, 20.91f, 20.91f},          // 2
    {0.2957f, 0.14f, 0.2263f, 0, 0, 0, 0.3034f, 0.4224f, -0.01326f, 86.7f, 86.7f, 86.7f},            // 3
    {0.6311f, 0.518f, 0.3293f, 0, 0, 0, -0.01086f, 1.08f, -0.01326f, 102, 127.5f, 255},              // 4
    {0.1753f, 0.518f, 0.2263f, -5.009e-06f, -1.002e-05f, 0, 0.7889f, 1.18f, -0.01326f, 0, 94.35f, 0},  // 5
    {0.1753f, 0.518f, 0.2263f, -5.009e-06f, -1.002e-05f, 0, -0.8255f, 1.18f, -0.01326f, 0, 94.35f, 0}, // 6
    {0.3786f, 0.3394f, 0.1977f, 0, 0, 0, -0.01086f, 1.266f, 0.5155f, 20.91f, 20.91f, 20.91f},         // 7
    {0.4625f, 0.2934f, 0.2343f, 0, 0, 0, -0.01086f, 1.88f, -0.01326f, 51, 0, 0},                      // 8
}};

// The legs (0-3) swing by 45 degrees about x, the pair at -x against the pair
// at +x; the arms (5, 6) swing in opposite phase to each other.
constexpr KeyChange PLAYER_CHANGES[] = {
    change(0, 1, 0, {{rot_x, -45}, {offset_y, 0.1476f}, {offset_z, 0.1227f}}),
    change(0, 2, 0, {{rot_x, 45}, {offset_y, 0.2503f}, {offset_z, -0.2219f}}),
    change(0, 1, 1, {{rot_x, -45}, {offset_y, 0.4811f}, {offset_z, 0.05191f}}),
    change(0, 2, 1, {{rot_x, 45}, {offset_y, 0.3211f}, {offset_z, 0.1116f}}),
    change(0, 1, 2, {{rot_x, 45}, {offset_y, 0.3324f}, {offset_z, -0.2968f}}),
    change(0, 2, 2, {{rot_x, -45}, {offset_y, 0.2297f}, {offset_z, 0.1446f}}),
    change(0, 1, 3, {{rot_x, 45}, {offset_y, 0.4031f}, {offset_z, 0.03673f}}),
    change(0, 2, 3, {{rot_x, -45}, {offset_y, 0.5632f}, {offset_z, 0.07389f}}),
    change(0, 1, 5, {{rot_x, -45}, {rot_y, -7.085e-06f}, {rot_z, 7.085e-06f}, {offset_y, 1.132f}, {offset_z, 0.1803f}}),
    change(0, 2, 5, {{rot_x, 45}, {rot_y, 0}, {rot_z, 7e-06f}, {offset_y, 1.132f}, {offset_z, -0.11f}}),
    change(0, 1, 6, {{rot_x, 45}, {rot_y, -7.085e-06f}, {offset_y, 1.132f}, {offset_z, -0.1584f}}),
    change(0, 2, 6, {{rot_x, -45}, {rot_y, -7e-06f}, {offset_y, 1.132f}, {offset_z, 0.03512f}}),
};

// The Walker; Euler X-Y-Z rotation. Set 0 is the chase gait, set 1 the wander gait.
constexpr PartTable<WALKER_BOX_PARTS> WALKER_BOX_REST = {{
    {0.6387f, 0.3889f, 0.3481f, 0, 0, 0, 7.367e-09f, 1, 0.5111f, 204, 191.25f, 0},            // 0
    {0.5464f, 0.3154f, 0.2752f, 0, 0, 0, 7.989e-09f, 1, -0.07327f, 170.85f, 84.15f, 0},       // 1
    {0.6387f, 0.3889f, 0.3481f, 0, 0, 0, 7.367e-09f, 1, -0.6444f, 204, 191.25f, 0},           // 2
    {0.2151f, 0.155f, 0.2949f, -44, 0, 0, 0, 1.489f, 0.8444f, 20.91f, 20.91f, 20.91f},        // 3
    {0.4217f, 0.2219f, 0.2894f, 0, 0, 0, 0, 1.727f, 1.127f, 109.65f, 109.65f, 109.65f},       // 4
    {0.08609f, 0.07692f, 0.05986f, 0, 0, 0, -0.2667f, 2.015f, 1.011f, 102, 94.35f, 0},        // 5
    {0.08609f, 0.07692f, 0.05986f, 0, 0, 0, 0.2667f, 2.015f, 1.011f, 102, 94.35f, 0},         // 6
}};

constexpr KeyChange WALKER_BOX_CHANGES[] = {
    change(0, 1, 0, {{rot_x, -9}, {offset_y, 1.111f}}),
    change(0, 2, 0, {{rot_x, 6}, {offset_y, 1.048f}}),
    change(0, 1, 1, {{scale_z, 0.3241f}, {offset_y, 1.063f}}),
    change(0, 2, 1, {{scale_z, 0.3241f}, {offset_y, 0.9996f}}),
    change(0, 1, 2, {{rot_x, 13}, {offset_y, 1.111f}}),
    change(0, 2, 2, {{rot_x, -5}, {offset_y, 1.048f}}),
    change(0, 1, 3, {{rot_x, -53}, {offset_y, 1.6f}}),
    change(0, 2, 3, {{rot_x, -53}, {offset_y, 1.537f}}),
    change(1, 1, 3, {{rot_x, -43}, {offset_y, 1.47f}, {offset_z, 0.8732f}}),
    change(1, 2, 3, {{rot_x, -49}, {offset_y, 1.47f}, {offset_z, 0.8732f}}),
    change(0, 1, 4, {{rot_x, -12}, {offset_y, 1.817f}, {offset_z, 1.144f}}),
    change(0, 2, 4, {{rot_x, 5}, {offset_y, 1.778f}, {offset_z, 1.138f}}),
    change(1, 1, 4, {{rot_x, 10}, {offset_y, 1.752f}, {offset_z, 1.117f}}),
    change(1, 2, 4, {{rot_x, 2}, {offset_y, 1.744f}, {offset_z, 1.129f}}),
    change(0, 1, 5, {{rot_x, -12}, {offset_y, 2.074f}, {offset_z, 0.9709f}}),
    change(0, 2, 5, {{rot_x, 5}, {offset_y, 2.075f}, {offset_z, 1.047f}}),
    change(1, 1, 5, {{rot_x, 10}, {offset_y, 2.055f}, {offset_z, 1.053f}}),
    change(1, 2, 5, {{rot_x, 2}, {offset_y, 2.035f}, {offset_z, 1.023f}}),
    change(0, 1, 6, {{rot_x, -12}, {offset_y, 2.074f}, {offset_z, 0.9709f}}),
    change(0, 2, 6, {{rot_x, 5}, {offset_y, 2.075f}, {offset_z, 1.047f}}),
    change(1, 1, 6, {{rot_x, 10}, {offset_y, 2.055f}, {offset_z, 1.053f}}),
    change(1, 2, 6, {{rot_x, 2}, {offset_y, 2.035f}, {offset_z, 1.023f}}),
};

constexpr PartTable<WALKER_SPHERE_PARTS> WALKER_SPHERE_REST = {{
    {0.2f, 0.1311f, 0.2467f, 0, 0, 0, -0.4222f, 0.1333f, 0.6222f, 51, 0, 0},                  // 0
    {0.2f, 0.1311f, 0.2467f, 0, 0, 0, -0.4222f, 0.1333f, -0.5778f, 51, 0, 0},                 // 1
    {0.1778f, 0.1778f, 0.1778f, 0, 0, 0, 0, 1, -1.489f, 0, 0, 56.1f},                          // 2
    {0.08015f, 0.08015f, 0.08015f, 0, 0, 0, 0, 1.787f, 1.556f, 102, 30.6f, 0},                 // 3
    {0.08015f, 0.07036f, 0.0636f, 0, 0, 0, 0.2222f, 1.851f, 1.412f, 204, 63.75f, 0},           // 4
    {0.08015f, 0.07036f, 0.0636f, 0, 0, 0, -0.2444f, 1.851f, 1.412f, 204, 63.75f, 0},          // 5
    {0.3723f, 0.03237f, 0.0636f, 0, 0, 0, 8.754e-08f, 1.582f, 1.393f, 102, 127.5f, 84.15f},    // 6
    {0.2f, 0.1311f, 0.2467f, 0, 0, 0, 0.4222f, 0.1333f, 0.6222f, 51, 0, 0},                   // 7
    {0.2f, 0.1311f, 0.2467f, 0, 0, 0, 0.4222f, 0.1333f, -0.5778f, 51, 0, 0},                  // 8
}};

constexpr KeyChange WALKER_SPHERE_CHANGES[] = {
    change(0, 1, 0, {{rot_x, -26}, {offset_y, 0.3709f}, {offset_z, 0.8417f}}),
    change(0, 2, 0, {{rot_x, 8}, {offset_y, 0.2243f}, {offset_z, 0.3679f}}),
    change(1, 1, 0, {{rot_x, -7}, {offset_y, 0.1447f}, {offset_z, 0.6459f}}),
    change(1, 2, 0, {{rot_x, 10}, {offset_y, 0.1428f}, {offset_z, 0.5872f}}),
    change(0, 1, 1, {{rot_x, 30}, {offset_y, 0.3089f}, {offset_z, -0.7519f}}),
    change(0, 2, 1, {{rot_x, -15}, {offset_y, 0.2574f}, {offset_z, -0.4594f}}),
    change(1, 1, 1, {{rot_x, -10}, {offset_y, 0.1555f}, {offset_z, -0.544f}}),
    change(1, 2, 1, {{rot_x, 20}, {offset_y, 0.1626f}, {offset_z, -0.6463f}}),
    change(0, 1, 2, {{rot_x, 18}, {offset_y, 1.348f}, {offset_z, -1.479f}}),
    change(0, 2, 2, {{rot_x, -9}, {offset_y, 0.933f}, {offset_z, -1.487f}}),
    change(1, 1, 2, {{rot_x, -11}, {offset_y, 0.9608f}, {offset_z, -1.485f}}),
    change(1, 2, 2, {{rot_x, 3}, {offset_y, 1.013f}, {offset_z, -1.486f}}),
    change(0, 1, 3, {{rot_x, -12}, {offset_y, 1.965f}, {offset_z, 1.551f}}),
    change(0, 2, 3, {{rot_x, 5}, {offset_y, 1.8f}, {offset_z, 1.57f}}),
    change(1, 1, 3, {{rot_x, 10}, {offset_y, 1.736f}, {offset_z, 1.55f}}),
    change(1, 2, 3, {{rot_x, 2}, {offset_y, 1.789f}, {offset_z, 1.56f}}),
    change(0, 1, 4, {{rot_x, -12}, {offset_y, 1.997f}, {offset_z, 1.397f}}),
    change(0, 2, 4, {{rot_x, 5}, {offset_y, 1.876f}, {offset_z, 1.432f}}),
    change(1, 1, 4, {{rot_x, 10}, {offset_y, 1.824f}, {offset_z, 1.419f}}),
    change(1, 2, 4, {{rot_x, 2}, {offset_y, 1.857f}, {offset_z, 1.418f}}),
    change(0, 1, 5, {{rot_x, -12}, {offset_y, 1.997f}, {offset_z, 1.397f}}),
    change(0, 2, 5, {{rot_x, 5}, {offset_y, 1.876f}, {offset_z, 1.432f}}),
    change(1, 1, 5, {{rot_x, 10}, {offset_y, 1.824f}, {offset_z, 1.419f}}),
    change(1, 2, 5, {{rot_x, 2}, {offset_y, 1.857f}, {offset_z, 1.418f}}),
    change(0, 1, 6, {{rot_x, -12}, {offset_y, 1.73f}, {offset_z, 1.435f}}),
    change(0, 2, 6, {{rot_x, 5}, {offset_y, 1.61f}, {offset_z, 1.39f}}),
    change(1, 1, 6, {{rot_x, 10}, {offset_y, 1.563f}, {offset_z, 1.354f}}),
    change(1, 2, 6, {{rot_x, 2}, {offset_y, 1.59f}, {offset_z, 1.39f}}),
    change(0, 1, 7, {{rot_x, -26}, {offset_y, 0.3709f}, {offset_z, 0.8417f}}),
    change(0, 2, 7, {{rot_x, 8}, {offset_y, 0.2243f}, {offset_z, 0.3679f}}),
    change(1, 1, 7, {{rot_x, 11}, {offset_y, 0.1364f}, {offset_z, 0.585f}}),
    change(1, 2, 7, {{rot_x, -12}, {offset_y, 0.1685f}, {offset_z, 0.6662f}}),
    change(0, 1, 8, {{rot_x, 30}, {offset_y, 0.3089f}, {offset_z, -0.7519f}}),
    change(0, 2, 8, {{rot_x, -15}, {offset_y, 0.2574f}, {offset_z, -0.4594f}}),
    change(1, 1, 8, {{rot_x, 12}, {offset_y, 0.1376f}, {offset_z, -0.6182f}}),
    change(1, 2, 8, {{rot_x, -12}, {offset_y, 0.1518f}, {offset_z, -0.5332f}}),
};

// Cylinders 2 and 3 are turned about x in every key.
constexpr PartTable<WALKER_CYLINDER_PARTS> WALKER_CYLINDER_REST = {{
    {0.1406f, 0.2756f, 0.1406f, 0, 0, 0, -0.4222f, 0.3778f, 0.5111f, 204, 94.35f, 0},          // 0
    {0.1406f, 0.2756f, 0.1406f, 0, 0, 0, -0.4222f, 0.3778f, -0.6667f, 204, 94.35f, 0},         // 1
    {0.1333f, 0.2778f, 0.1333f, -90, 0, 0, 0, 1, -1.178f, 153, 158.1f, 84.15f},                // 2
    {0.07704f, 0.08821f, 0.05908f, -97, 0, 0, 0, 1.758f, 1.431f, 20.91f, 20.91f, 20.91f},      // 3
    {0.1406f, 0.2756f, 0.1406f, 0, 0, 0, 0.4222f, 0.3778f, 0.5111f, 204, 94.35f, 0},           // 4
    {0.1406f, 0.2756f, 0.1406f, 0, 0, 0, 0.4222f, 0.3778f, -0.6667f, 204, 94.35f, 0},          // 5
}};

constexpr KeyChange WALKER_CYLINDER_CHANGES[] = {
    change(0, 1, 0, {{rot_x, -26}, {offset_y, 0.5419f}, {offset_z, 0.6347f}}),
    change(0, 2, 0, {{rot_x, 28}, {offset_y, 0.4924f}, {offset_z, 0.3846f}}),
    change(1, 1, 0, {{rot_x, -7}, {offset_y, 0.3738f}, {offset_z, 0.5058f}}),
    change(1, 2, 0, {{rot_x, 10}, {offset_y, 0.4028f}, {offset_z, 0.5202f}}),
    change(0, 1, 1, {{rot_x, 30}, {offset_y, 0.5651f}, {offset_z, -0.7066f}}),
    change(0, 2, 1, {{rot_x, -15}, {offset_y, 0.4705f}, {offset_z, -0.6086f}}),
    change(1, 1, 1, {{rot_x, -10}, {offset_y, 0.3808f}, {offset_z, -0.674f}}),
    change(1, 2, 1, {{rot_x, 20}, {offset_y, 0.4228f}, {offset_z, -0.6463f}}),
    change(0, 1, 2, {{rot_x, -72}, {offset_y, 1.251f}, {offset_z, -1.183f}}),
    change(0, 2, 2, {{rot_x, -99}, {offset_y, 0.9816f}, {offset_z, -1.18f}}),
    change(1, 1, 2, {{rot_x, -101}, {offset_y, 1.02f}, {offset_z, -1.18f}}),
    change(1, 2, 2, {{rot_x, -87}, {offset_y, 0.9965f}, {offset_z, -1.176f}}),
    change(0, 1, 3, {{rot_x, -109}, {offset_y, 1.91f}, {offset_z, 1.435f}}),
    change(0, 2, 3, {{rot_x, -92}, {offset_y, 1.782f}, {offset_z, 1.443f}}),
    change(1, 1, 3, {{rot_x, -87}, {offset_y, 1.73f}, {offset_z, 1.422f}}),
    change(1, 2, 3, {{rot_x, -95}, {offset_y, 1.764f}, {offset_z, 1.434f}}),
    change(0, 1, 4, {{rot_x, -26}, {offset_y, 0.5419f}, {offset_z, 0.6347f}}),
    change(0, 2, 4, {{rot_x, 28}, {offset_y, 0.4924f}, {offset_z, 0.3846f}}),
    change(1, 1, 4, {{rot_x, 11}, {offset_y, 0.3976f}, {offset_z, 0.5226f}}),
    change(1, 2, 4, {{rot_x, -12}, {offset_y, 0.3845f}, {offset_z, 0.5067f}}),
    change(0, 1, 5, {{rot_x, 30}, {offset_y, 0.5651f}, {offset_z, -0.7066f}}),
    change(0, 2, 5, {{rot_x, -15}, {offset_y, 0.4705f}, {offset_z, -0.6086f}}),
    change(1, 1, 5, {{rot_x, 12}, {offset_y, 0.3952f}, {offset_z, -0.6544f}}),
    change(1, 2, 5, {{rot_x, -12}, {offset_y, 0.3724f}, {offset_z, -0.671f}}),
};

// The Flyer; axis-angle rotation. Key 0 on the ground, key 1 in flight.
constexpr PartTable<FLYER_SPHERE_PARTS> FLYER_SPHERE_GROUND = {{
    {0.933f, 0.4021f, 0.933f, 0, 0, 0, -0.01052f, -0.7997f, -1.863e-09f, 0, 0, 0},            // 0
    {0.3079f, 0.3079f, 0.1619f, 0, 0, 0, -0.01052f, 0.4921f, 1.003f, 153, 30.6f, 0},           // 1
    {1.667f, 0.1946f, 1.667f, 0, 0, 0, -0.01052f, 1.322f, -1.863e-09f, 252.45f, 204, 61.2f},   // 2
    {0.3694f, 0.3694f, 0.3694f, 0, 0, 0, 0.02024f, 2.553f, -1.863e-09f, 51, 30.6f, 0},         // 3
    {0.3694f, 0.3694f, 0.3694f, 0, 0, 0, -0.009122f, 0.1557f, -0.0001737f, 102, 63.75f, 0},    // 4
    {0.5918f, 0.1687f, 0.1549f, 0, 0, 0, 0.02024f, 2.553f, -3.539e-08f, 51, 30.6f, 0},         // 5 rotor
}};

constexpr PartTable<FLYER_SPHERE_PARTS> FLYER_SPHERE_FLIGHT = {{
    {1.075f, 0.6695f, 1.075f, 0, 0, 0, -0.0107f, -1.835f, -3.728e-09f, 51, 158.1f, 170.85f},   // 0
    {0.3471f, 0.5016f, 0.1825f, 0, 0, 0, -0.0107f, 0.2696f, 1.127f, 153, 30.6f, 0},            // 1
    {1.879f, 0.317f, 1.879f, 0, 0, 0, -0.0107f, 1.622f, -3.728e-09f, 102, 30.6f, 0},           // 2
    {0.4164f, 0.6017f, 0.4164f, 0, 0, 0, 0.02397f, 3.627f, -3.728e-09f, 20.91f, 20.91f, 20.91f}, // 3
    {4.265f, 0.3807f, 0.4164f, 0, 0, 0, -0.009123f, -0.2784f, -0.0001958f, 51, 30.6f, 0},      // 4
    {2.481f, 0.1948f, 0.2234f, 0, 0, 0, 0.02397f, 3.627f, 2.839e-08f, 51, 127.5f, 84.15f},     // 5 rotor
}};

constexpr PartTable<FLYER_CYLINDER_PARTS> FLYER_CYLINDER_GROUND = {{
    {1, 1, 1, 0, 0, 0, -0.04128f, 0.1845f, -1.863e-09f, 20.91f, 20.91f, 20.91f},               // 0
    {0.1667f, 0.5694f, 0.1667f, 0, 0, 0, 0.02023f, 2.091f, -1.863e-09f, 51, 30.6f, 0},         // 1
}};

constexpr PartTable<FLYER_CYLINDER_PARTS> FLYER_CYLINDER_FLIGHT = {{
    {1.127f, 1.629f, 1.127f, 0, 0, 0, -0.04537f, -0.2315f, -3.728e-09f, 102, 127.5f, 84.15f},  // 0
    {0.1879f, 0.9275f, 0.1879f, 0, 0, 0, 0.02396f, 2.874f, -3.728e-09f, 86.7f, 86.7f, 86.7f},  // 1
}};

// Key 2 turns the rotor by 359 degrees about -y and centres it.
constexpr KeyChange FLYER_ROTOR_CHANGE = change(0, 2, FLYER_ROTOR_PART, {{rot_y, -359}, {offset_z, 0}});

// The Carrier; its rotation fields are never applied. Boxes 7-9 and spheres
// 5-8 mirror boxes 2-4 and spheres 1-4 across x = 0.
constexpr PartTable<CARRIER_BOX_PARTS> CARRIER_BOX_PARTS_DATA = {{
    {0.7881f, 0.185f, 1.467f, 0, 0, 0, 0, 1.356f, 0.1556f, 51, 0, 0},                          // 0
    {0.9993f, 0.1682f, 1.972f, 0, 0, 0, 7.105e-15f, -0.1778f, 0.2222f, 45.9f, 45.9f, 45.9f},   // 1
    {0.1214f, 0.6056f, 0.1793f, 0, 0, 1.366e-05f, -0.5778f, 0.6f, 1.289f, 102, 30.6f, 0},      // 2
    {0.1214f, 0.2961f, 1.235f, 0, 0, 1.366e-05f, -0.5778f, 0.3333f, -0.06667f, 102, 30.6f, 0}, // 3
    {0.06414f, 0.2793f, 0.1793f, 0, 0, 1.366e-05f, -0.5778f, 0.9333f, -0.02222f, 153, 153, 153}, // 4
    {0.8833f, 0.7738f, 0.4572f, 0, 0, 0, 0, 0.6667f, -1.711f, 102, 0, 0},                      // 5
    {1.031f, 0.1962f, 0.3912f, 0, 0, 0, 0, -0.2f, -1.911f, 20.91f, 20.91f, 20.91f},            // 6
    {0.1214f, 0.6056f, 0.1793f, -180, 0, 180, 0.5948f, 0.6f, 1.282f, 102, 30.6f, 0},           // 7
    {0.1214f, 0.2961f, 1.245f, -180, 0, 180, 0.5948f, 0.3333f, -0.06786f, 102, 30.6f, 0},      // 8
    {0.06414f, 0.2793f, 0.1793f, -180, 0, 180, 0.5948f, 0.9333f, -0.007673f, 153, 153, 153},   // 9
}};

constexpr PartTable<CARRIER_SPHERE_PARTS> CARRIER_SPHERE_PARTS_DATA = {{
    {0.2304f, 0.1578f, 0.1815f, 0, 0, 0, 0, 1.022f, -2.178f, 204, 158.1f, 0},                  // 0
    {0.1488f, 0.3778f, 0.4163f, 0, 0, 1.366e-05f, -1.044f, -0.2f, 1.378f, 20.91f, 20.91f, 20.91f},   // 1
    {0.1488f, 0.3778f, 0.4163f, 0, 0, 1.366e-05f, -1.044f, -0.2f, 0.5111f, 20.91f, 20.91f, 20.91f},  // 2
    {0.1488f, 0.3778f, 0.4163f, 0, 0, 1.366e-05f, -1.044f, -0.2f, -0.5111f, 20.91f, 20.91f, 20.91f}, // 3
    {0.1488f, 0.3778f, 0.4163f, 0, 0, 1.366e-05f, -1.044f, -0.2f, -1.378f, 20.91f, 20.91f, 20.91f},  // 4
    {0.1488f, 0.3778f, 0.4163f, -180, 0, 180, 1.061f, -0.2f, -1.408f, 20.91f, 20.91f, 20.91f},       // 5
    {0.1488f, 0.3778f, 0.4163f, -180, 0, 180, 1.061f, -0.2f, -0.541f, 20.91f, 20.91f, 20.91f},       // 6
    {0.1488f, 0.3778f, 0.4163f, -180, 0, 180, 1.061f, -0.2f, 0.4812f, 20.91f, 20.91f, 20.91f},       // 7
    {0.1488f, 0.3778f, 0.4163f, -180, 0, 180, 1.061f, -0.2f, 1.348f, 20.91f, 20.91f, 20.91f},        // 8
}};

void apply(std::span<PartRecord> keys, int parts, const KeyChange& c)
{
    PartRecord& record = keys[key_index(c.set, c.key, c.part, parts)];
    for (int i = 0; i < c.count; ++i)
        field_of(record, c.fields[i].field) = c.fields[i].value;
}

// Every key of every set starts as the rest pose; then the listed fields change.
void expand_keys(std::span<PartRecord> keys, std::span<const PartRecord> rest, std::span<const KeyChange> changes)
{
    const int parts = int(rest.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = rest[i % rest.size()];
    for (const KeyChange& c : changes)
        apply(keys, parts, c);
}

// Key `key` of a model with a single gait set takes the whole pose.
void set_key(std::span<PartRecord> keys, int key, std::span<const PartRecord> pose)
{
    const int parts = int(pose.size());
    for (int part = 0; part < parts; ++part)
        keys[key_index(0, key, part, parts)] = pose[part];
}

} // namespace

void init_player_model()
{
    expand_keys(PLAYER_KEYS, PLAYER_REST, PLAYER_CHANGES);
    PLAYER_KEY_DURATIONS = {10, 20, 10};
    player_boxes = PLAYER_REST;
}

void init_walker_model()
{
    expand_keys(WALKER_BOX_KEYS, WALKER_BOX_REST, WALKER_BOX_CHANGES);
    expand_keys(WALKER_SPHERE_KEYS, WALKER_SPHERE_REST, WALKER_SPHERE_CHANGES);
    expand_keys(WALKER_CYLINDER_KEYS, WALKER_CYLINDER_REST, WALKER_CYLINDER_CHANGES);
    WALKER_KEY_DURATIONS = {10, 7, 5, 10, 20, 10};
}

void init_flyer_model()
{
    set_key(FLYER_SPHERE_KEYS, 0, FLYER_SPHERE_GROUND);
    set_key(FLYER_SPHERE_KEYS, 1, FLYER_SPHERE_FLIGHT);
    set_key(FLYER_SPHERE_KEYS, 2, FLYER_SPHERE_FLIGHT);
    apply(FLYER_SPHERE_KEYS, FLYER_SPHERE_PARTS, FLYER_ROTOR_CHANGE);
    set_key(FLYER_CYLINDER_KEYS, 0, FLYER_CYLINDER_GROUND);
    set_key(FLYER_CYLINDER_KEYS, 1, FLYER_CYLINDER_FLIGHT);
    set_key(FLYER_CYLINDER_KEYS, 2, FLYER_CYLINDER_FLIGHT);
    FLYER_KEY_DURATIONS = {100, 5, 5};
}

void init_carrier_model()
{
    CARRIER_BOXES = CARRIER_BOX_PARTS_DATA;
    CARRIER_SPHERES = CARRIER_SPHERE_PARTS_DATA;
}
