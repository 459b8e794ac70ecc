// Reading the scenery list, expanding it once into world-space quads, and
// submitting them every frame. Loading happens at start-up only; drawing
// touches nothing but the quads made then.
#include "world/scenery.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <allegro.h>
#include <alleggl.h>

std::array<SceneryPart, SCENERY_PARTS> scenery_parts;
std::array<int, SCENERY_PARTS + 1> scenery_first_quad;
std::array<Quad, SCENERY_QUAD_CAPACITY> scenery_quads;
int scenery_part_count = 0;

namespace {

constexpr int FIELDS = 4 + SCENERY_MATRIX_NUMBERS;
constexpr int LINE_SIZE = 1024;
constexpr int REASON_SIZE = 160;
constexpr int MESSAGE_SIZE = 512;
constexpr float THIN_RADIUS = 2.0f; // cylinders narrower than this stay passable

const char* const COLOUR_NAMES[3] = {"red", "green", "blue"};

// The records of a file being read; copied into scenery_parts only when the
// whole file is good.
std::array<SceneryPart, SCENERY_PARTS> incoming;
char error_message[MESSAGE_SIZE] = "";

struct Reader {
    int line;                 // physical line being read, from 1
    char reason[REASON_SIZE]; // what is wrong with it
};

template <typename... Values>
bool fail(Reader& reader, const char* format, Values... values)
{
    std::snprintf(reader.reason, sizeof reader.reason, format, values...);
    return false;
}

bool parse_kind(const char* word, SceneryKind& kind)
{
    if (std::strcmp(word, "box") == 0)
        kind = SceneryKind::box;
    else if (std::strcmp(word, "cylinder") == 0)
        kind = SceneryKind::cylinder;
    else if (std::strcmp(word, "sphere") == 0)
        kind = SceneryKind::sphere;
    else
        return false;
    return true;
}

bool parse_colour(const char* word, std::uint8_t& value)
{
    int number = -1;
    const char* end = word + std::strlen(word);
    const auto [stop, error] = std::from_chars(word, end, number);
    if (error != std::errc() || stop != end || number < 0 || number > 255)
        return false;
    value = std::uint8_t(number);
    return true;
}

bool parse_number(const char* word, float& value)
{
    const char* end = word + std::strlen(word);
    const auto [stop, error] = std::from_chars(word, end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits a line at blanks, in place; returns the number of words, counting
// no further than one past `room`.
int split(char* line, char* words[], int room)
{
    int count = 0;
    char* c = line;
    while (true) {
        while (blank(*c))
            *c++ = '\0';
        if (*c == '\0' || count > room)
            return count;
        if (count < room)
            words[count] = c;
        ++count;
        while (*c != '\0' && !blank(*c))
            ++c;
    }
}

bool parse_record(Reader& reader, char* line, SceneryPart& part)
{
    char* words[FIELDS];
    const int count = split(line, words, FIELDS);
    if (count > FIELDS)
        return fail(reader, "more than %d fields (kind, red, green, blue, 12 matrix numbers)", FIELDS);
    if (count < FIELDS)
        return fail(reader, "%d fields, %d expected (kind, red, green, blue, 12 matrix numbers)", count, FIELDS);
    if (!parse_kind(words[0], part.kind))
        return fail(reader, "unknown kind \"%.40s\" (box, cylinder or sphere)", words[0]);
    std::uint8_t* const colour[3] = {&part.red, &part.green, &part.blue};
    for (int c = 0; c < 3; ++c)
        if (!parse_colour(words[1 + c], *colour[c]))
            return fail(reader, "%s \"%.40s\" is not a whole number 0..255", COLOUR_NAMES[c], words[1 + c]);
    for (int m = 0; m < SCENERY_MATRIX_NUMBERS; ++m)
        if (!parse_number(words[4 + m], part.matrix[m]))
            return fail(reader, "matrix number %d \"%.40s\" is not a finite number", m + 1, words[4 + m]);
    return true;
}

bool skipped(const char* line)
{
    while (blank(*line))
        ++line;
    return *line == '\0' || *line == '#';
}

bool read_records(Reader& reader, std::FILE* file)
{
    char line[LINE_SIZE];
    int records = 0;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        ++reader.line;
        if (std::strchr(line, '\n') == nullptr && !std::feof(file))
            return fail(reader, "line longer than %d characters", LINE_SIZE - 2);
        if (skipped(line))
            continue;
        if (records == SCENERY_PARTS)
            return fail(reader, "more than %d records", SCENERY_PARTS);
        if (!parse_record(reader, line, incoming[records]))
            return false;
        ++records;
    }
    if (records < SCENERY_PARTS)
        return fail(reader, "the file ends after %d records, %d expected", records, SCENERY_PARTS);
    return true;
}

const Quad* mesh_of(SceneryKind kind)
{
    switch (kind) {
    case SceneryKind::box:
        return BOX_MESH.data();
    case SceneryKind::cylinder:
        return CYLINDER_MESH.data();
    case SceneryKind::sphere:
        break;
    }
    return SPHERE_MESH.data();
}

void expand_scenery()
{
    int next = 0;
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const SceneryPart& part = scenery_parts[p];
        const Quad* mesh = mesh_of(part.kind);
        const bool mirrored = scenery_part_mirrored(part);
        scenery_first_quad[p] = next;
        for (int q = 0; q < scenery_mesh_quads(part.kind); ++q, ++next) {
            for (int v = 0; v < 4; ++v)
                scenery_quads[next][mirrored ? 3 - v : v] = scenery_point(part, mesh[q][v]);
        }
    }
    scenery_first_quad[SCENERY_PARTS] = next;
}

} // namespace

bool load_scenery(const char* path)
{
    Reader reader{0, ""};
    std::FILE* file = std::fopen(path, "r");
    bool ok = false;
    if (file == nullptr) {
        fail(reader, "%s", "the file cannot be opened");
    } else {
        ok = read_records(reader, file);
        std::fclose(file);
    }
    if (!ok) {
        if (reader.line > 0)
            std::snprintf(error_message, sizeof error_message, "Error loading %s!\nline %d: %s\n\n", path, reader.line,
                          reader.reason);
        else
            std::snprintf(error_message, sizeof error_message, "Error loading %s!\n%s\n\n", path, reader.reason);
        return false;
    }
    scenery_parts = incoming;
    expand_scenery();
    scenery_part_count = SCENERY_PARTS;
    return true;
}

const char* scenery_error_message()
{
    return error_message;
}

void draw_scenery()
{
    for (int p = 0; p < scenery_part_count; ++p) {
        const SceneryPart& part = scenery_parts[p];
        glColor3ub(part.red, part.green, part.blue);
        for (int q = scenery_first_quad[p]; q < scenery_first_quad[p + 1]; ++q)
            for (const Vec3& v : scenery_quads[q])
                glVertex3f(v.x, v.y, v.z);
    }
}

int scenery_mesh_quads(SceneryKind kind)
{
    switch (kind) {
    case SceneryKind::box:
        return BOX_QUADS;
    case SceneryKind::cylinder:
        return CYLINDER_QUADS;
    case SceneryKind::sphere:
        break;
    }
    return SPHERE_QUADS;
}

Vec3 scenery_point(const SceneryPart& part, Vec3 local)
{
    const auto& m = part.matrix;
    return {m[0] * local.x + m[1] * local.y + m[2] * local.z + m[3],
            m[4] * local.x + m[5] * local.y + m[6] * local.z + m[7],
            m[8] * local.x + m[9] * local.y + m[10] * local.z + m[11]};
}

bool scenery_part_mirrored(const SceneryPart& part)
{
    const auto& m = part.matrix;
    const double det = double(m[0]) * (double(m[5]) * m[10] - double(m[6]) * m[9]) -
                       double(m[1]) * (double(m[4]) * m[10] - double(m[6]) * m[8]) +
                       double(m[2]) * (double(m[4]) * m[9] - double(m[5]) * m[8]);
    return det < 0.0;
}

bool scenery_part_blocks(const SceneryPart& part)
{
    if (part.kind == SceneryKind::sphere)
        return false;
    if (part.kind == SceneryKind::box)
        return true;
    // The tube's radii are the lengths of the mesh's x and z axes in the world.
    const auto& m = part.matrix;
    const float radius_x = std::hypot(m[0], m[4], m[8]);
    const float radius_z = std::hypot(m[2], m[6], m[10]);
    return radius_x >= THIN_RADIUS || radius_z >= THIN_RADIUS;
}
