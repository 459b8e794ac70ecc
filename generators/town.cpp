// Reads the town source, turns every part into its 3 x 4 world matrix, sets
// each object down on the terrain and writes the scenery list.
#include "generators/town.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "gameplay/terrain.h"

namespace {

// An object's lowest point goes this far below the lowest ground under it, so
// that no edge shows a gap over uneven ground.
constexpr double SINK = 0.2;
// Parts whose lowest point is this close to the object's lowest point stand
// on the ground and decide how low the object is set.
constexpr double STANDING = 0.5;
constexpr int MIN_SAMPLES_PER_AXIS = 9;
constexpr int MAX_SAMPLES_PER_AXIS = 400;

struct Colour {
    int red, green, blue;
};

// A 3 x 4 affine transform, row by row, in double precision until written.
struct Affine {
    double m[3][4];
};

Affine compose(const Affine& a, const Affine& b)
{
    Affine r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
            if (j == 3)
                r.m[i][j] += a.m[i][3];
        }
    }
    return r;
}

Affine translation(double x, double y, double z)
{
    return {{{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}}};
}

Affine scaling(double x, double y, double z)
{
    return {{{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}}};
}

// Cosine and sine of whole or fractional degrees, exact at multiples of 90.
void cos_sin(double degrees, double& c, double& s)
{
    const double turns = degrees / 90.0;
    if (turns == std::round(turns)) {
        const int quarter = ((int(std::round(turns)) % 4) + 4) % 4;
        constexpr double C[4] = {1, 0, -1, 0};
        constexpr double S[4] = {0, 1, 0, -1};
        c = C[quarter];
        s = S[quarter];
        return;
    }
    c = std::cos(degrees * std::numbers::pi / 180.0);
    s = std::sin(degrees * std::numbers::pi / 180.0);
}

// About y, the game's heading: +z turns towards +x.
Affine rotation_y(double degrees)
{
    double c, s;
    cos_sin(degrees, c, s);
    return {{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}}};
}

// About x: +y tips towards +z.
Affine rotation_x(double degrees)
{
    double c, s;
    cos_sin(degrees, c, s);
    return {{{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}}};
}

// About z: +x tips towards +y.
Affine rotation_z(double degrees)
{
    double c, s;
    cos_sin(degrees, c, s);
    return {{{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}}};
}

Vec3 apply(const Affine& a, double x, double y, double z)
{
    return {float(a.m[0][0] * x + a.m[0][1] * y + a.m[0][2] * z + a.m[0][3]),
            float(a.m[1][0] * x + a.m[1][1] * y + a.m[1][2] * z + a.m[1][3]),
            float(a.m[2][0] * x + a.m[2][1] * y + a.m[2][2] * z + a.m[2][3])};
}

struct TownPart {
    SceneryKind kind;
    Colour colour;
    Affine local; // unit mesh to the object's frame, base at y = 0
};

struct TownObject {
    std::string name;
    int line;
    double x, z, heading;
    std::vector<TownPart> parts;
};

const Quad* mesh_of(SceneryKind kind)
{
    if (kind == SceneryKind::box)
        return BOX_MESH.data();
    return kind == SceneryKind::cylinder ? CYLINDER_MESH.data() : SPHERE_MESH.data();
}

double lowest_point(const TownPart& part)
{
    double low = 1e30;
    const Quad* mesh = mesh_of(part.kind);
    for (int q = 0; q < scenery_mesh_quads(part.kind); ++q)
        for (const Vec3& v : mesh[q])
            low = std::min(low, double(apply(part.local, v.x, v.y, v.z).y));
    return low;
}

bool inside_unit_shape(SceneryKind kind, double u, double v, double w)
{
    if (kind == SceneryKind::cylinder)
        return u * u + w * w <= 1.0001;
    if (kind == SceneryKind::sphere)
        return u * u + v * v + w * w <= 1.0001;
    return true;
}

// Samples about half a unit apart along one of the part's axes.
int samples_along(const Affine& a, int axis)
{
    const double length = 2.0 * std::hypot(a.m[0][axis], a.m[1][axis], a.m[2][axis]);
    return std::clamp(int(std::ceil(2.0 * length)) + 1, MIN_SAMPLES_PER_AXIS, MAX_SAMPLES_PER_AXIS);
}

// The lowest ground under the part: under its mesh vertices and under points
// filling its solid shape.
double lowest_ground(const TownPart& part, const Affine& to_world)
{
    const Affine a = compose(to_world, part.local);
    double low = 1e30;
    const Quad* mesh = mesh_of(part.kind);
    for (int q = 0; q < scenery_mesh_quads(part.kind); ++q) {
        for (const Vec3& v : mesh[q]) {
            const Vec3 p = apply(a, v.x, v.y, v.z);
            low = std::min(low, double(terrain_height_at(p.x, p.z)));
        }
    }
    const int nu = samples_along(a, 0), nv = samples_along(a, 1), nw = samples_along(a, 2);
    for (int i = 0; i < nu; ++i) {
        const double u = -1.0 + 2.0 * i / (nu - 1);
        for (int j = 0; j < nv; ++j) {
            const double v = -1.0 + 2.0 * j / (nv - 1);
            for (int k = 0; k < nw; ++k) {
                const double w = -1.0 + 2.0 * k / (nw - 1);
                if (!inside_unit_shape(part.kind, u, v, w))
                    continue;
                const Vec3 p = apply(a, u, v, w);
                low = std::min(low, double(terrain_height_at(p.x, p.z)));
            }
        }
    }
    return low;
}

// Sets the object down: its lowest point SINK below the lowest ground under
// the parts it stands on.
void place_object(const TownObject& object, std::vector<SceneryPart>& out)
{
    std::vector<double> lows;
    for (const TownPart& part : object.parts)
        lows.push_back(lowest_point(part));
    const double object_low = *std::min_element(lows.begin(), lows.end());
    const Affine turned = compose(translation(object.x, 0.0, object.z), rotation_y(object.heading));
    double ground = 1e30;
    for (size_t p = 0; p < object.parts.size(); ++p)
        if (lows[p] <= object_low + STANDING)
            ground = std::min(ground, lowest_ground(object.parts[p], turned));
    const double base = ground - SINK - object_low;
    const Affine to_world = compose(translation(0.0, base, 0.0), turned);
    for (const TownPart& part : object.parts) {
        const Affine a = compose(to_world, part.local);
        SceneryPart record{part.kind, std::uint8_t(part.colour.red), std::uint8_t(part.colour.green),
                           std::uint8_t(part.colour.blue), {}};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 4; ++j)
                record.matrix[4 * i + j] = float(a.m[i][j]);
        out.push_back(record);
    }
}

using Colours = std::map<std::string, Colour>;

// The shapes a part line can name: the three meshes, and a roof, which is a
// box turned a quarter about z to stand on its edge and stretched so that its
// upper half is a gable closed at both ends.
enum class Shape { box, cylinder, sphere, roof };

bool parse_shape(const std::string& word, Shape& shape)
{
    constexpr std::array<std::pair<const char*, Shape>, 4> NAMES = {
        {{"box", Shape::box}, {"cylinder", Shape::cylinder}, {"sphere", Shape::sphere}, {"roof", Shape::roof}}};
    for (const auto& [name, value] : NAMES) {
        if (word == name) {
            shape = value;
            return true;
        }
    }
    return false;
}

// The rest of a part line after its shape:
//   box|cylinder|sphere COLOUR X Y Z WIDTH HEIGHT DEPTH [YAW [PITCH [ROLL]]]
//   roof COLOUR X Y Z WIDTH RISE DEPTH [YAW]
// A roof's eaves run through (X, Y, Z), its ridge RISE above them and DEPTH
// long along z; its lower half is meant to sit inside the walls. Spheres are
// mirrored in x, which the game draws with reversed quads.
bool parse_part(Shape shape, std::istringstream& words, const Colours& colours, TownPart& part, std::string& problem)
{
    std::string colour;
    double x, y, z, width, height, depth;
    if (!(words >> colour >> x >> y >> z >> width >> height >> depth)) {
        problem = shape == Shape::roof ? "expected: roof COLOUR X Y Z WIDTH RISE DEPTH [YAW]"
                                       : "expected: KIND COLOUR X Y Z WIDTH HEIGHT DEPTH [YAW [PITCH [ROLL]]]";
        return false;
    }
    const auto found = colours.find(colour);
    if (found == colours.end()) {
        problem = "unknown colour " + colour;
        return false;
    }
    double angles[3] = {0.0, 0.0, 0.0};
    const int angle_count = shape == Shape::roof ? 1 : 3;
    for (int a = 0; a < angle_count; ++a)
        if (!(words >> angles[a]))
            break;
    words.clear();
    std::string rest;
    if (words >> rest) {
        problem = "unexpected " + rest;
        return false;
    }
    part.colour = found->second;
    const Affine placed = compose(translation(x, y, z), rotation_y(angles[0]));
    if (shape == Shape::roof) {
        const double root2 = std::numbers::sqrt2;
        part.kind = SceneryKind::box;
        part.local = compose(placed, compose(scaling(width / (2.0 * root2), height / root2, depth / 2.0),
                                             rotation_z(45.0)));
        return true;
    }
    part.kind = shape == Shape::box ? SceneryKind::box
                : shape == Shape::cylinder ? SceneryKind::cylinder : SceneryKind::sphere;
    const double mirror = shape == Shape::sphere ? -1.0 : 1.0;
    part.local = compose(compose(placed, compose(rotation_x(angles[1]), rotation_z(angles[2]))),
                         scaling(mirror * width / 2.0, height / 2.0, depth / 2.0));
    return true;
}

bool read_town(const std::string& path, std::vector<TownObject>& objects)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "make_height_data: cannot read %s\n", path.c_str());
        return false;
    }
    Colours colours;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#')
            continue;
        std::string problem;
        Shape shape;
        if (first == "colour") {
            std::string name;
            Colour c{};
            if (!(words >> name >> c.red >> c.green >> c.blue) || std::min({c.red, c.green, c.blue}) < 0 ||
                std::max({c.red, c.green, c.blue}) > 255)
                problem = "expected: colour NAME RED GREEN BLUE (0..255)";
            colours[name] = c;
        } else if (first == "object") {
            TownObject object{"", number, 0, 0, 0, {}};
            if (!(words >> object.name >> object.x >> object.z >> object.heading))
                problem = "expected: object NAME X Z HEADING";
            objects.push_back(object);
        } else if (parse_shape(first, shape)) {
            TownPart part{};
            if (objects.empty())
                problem = "a part before the first object";
            else if (parse_part(shape, words, colours, part, problem))
                objects.back().parts.push_back(part);
        } else {
            problem = "unknown line";
        }
        if (!problem.empty()) {
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, problem.c_str());
            return false;
        }
    }
    for (const TownObject& object : objects) {
        if (object.parts.empty()) {
            std::fprintf(stderr, "%s:%d: object %s has no parts\n", path.c_str(), object.line, object.name.c_str());
            return false;
        }
    }
    return true;
}

// Four decimals without trailing zeros: "1487.3", "0", "-12.0625".
std::string number_text(float value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", double(value));
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

} // namespace

bool build_town(const std::string& path, std::vector<SceneryPart>& parts)
{
    std::vector<TownObject> objects;
    if (!read_town(path, objects))
        return false;
    for (const TownObject& object : objects)
        place_object(object, parts);
    return true;
}

// The scenery list's word for each kind. A kind added to SceneryKind and not
// named here does not compile.
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic error "-Wswitch"
const char* kind_name(SceneryKind kind)
{
    switch (kind) {
    case SceneryKind::box: return "box";
    case SceneryKind::cylinder: return "cylinder";
    case SceneryKind::sphere: return "sphere";
    }
    return "";
}
#pragma GCC diagnostic pop

} // namespace

bool write_scenery(const std::string& path, const std::vector<SceneryPart>& parts)
{
    std::ofstream out(path);
    out << "# Ironstep scenery, generated from data/town.txt by generators/make_height_data.\n"
           "# kind red green blue, then the 3 x 4 matrix row by row (unit mesh to world).\n";
    for (const SceneryPart& part : parts) {
        out << kind_name(part.kind) << ' ' << int(part.red) << ' ' << int(part.green) << ' ' << int(part.blue);
        for (float m : part.matrix)
            out << ' ' << number_text(m);
        out << '\n';
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_height_data: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
