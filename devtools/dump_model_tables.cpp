// Prints every model table, mesh and face table after the start-up
// initialisers have run, one record per line with exact hexadecimal floats,
// then the digests of the tables that the model data test pins.
#include <cstdio>
#include <span>

#include "models/meshes.h"
#include "models/model_data.h"
#include "models/model_tables.h"
#include "devtools/table_digest.h"

namespace {

void dump_records(const char* name, std::span<const PartRecord> records)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::printf("%s %zu", name, i);
        for (float PartRecord::*member : PART_FIELD_MEMBERS)
            std::printf(" %a", double(records[i].*member));
        std::printf("\n");
    }
}

void dump_durations(const char* name, std::span<const int> durations)
{
    std::printf("%s", name);
    for (int d : durations)
        std::printf(" %d", d);
    std::printf("\n");
}

template <class Table>
void dump_digest(const char* name, const Table& table)
{
    std::printf("digest %s 0x%016llx\n", name, static_cast<unsigned long long>(table_digest(table)));
}

void dump_quads(const char* name, std::span<const Quad> quads)
{
    for (std::size_t i = 0; i < quads.size(); ++i) {
        std::printf("%s %zu", name, i);
        for (const Vec3& v : quads[i])
            std::printf(" %a %a %a", double(v.x), double(v.y), double(v.z));
        std::printf("\n");
    }
}

} // namespace

int main()
{
    init_model_tables();

    dump_records("PLAYER_KEYS", PLAYER_KEYS);
    dump_records("WALKER_BOX_KEYS", WALKER_BOX_KEYS);
    dump_records("WALKER_SPHERE_KEYS", WALKER_SPHERE_KEYS);
    dump_records("WALKER_CYLINDER_KEYS", WALKER_CYLINDER_KEYS);
    dump_records("FLYER_SPHERE_KEYS", FLYER_SPHERE_KEYS);
    dump_records("FLYER_CYLINDER_KEYS", FLYER_CYLINDER_KEYS);
    dump_records("CARRIER_BOXES", CARRIER_BOXES);
    dump_records("CARRIER_SPHERES", CARRIER_SPHERES);
    dump_records("player_boxes", player_boxes);
    dump_durations("PLAYER_KEY_DURATIONS", PLAYER_KEY_DURATIONS);
    dump_durations("WALKER_KEY_DURATIONS", WALKER_KEY_DURATIONS);
    dump_durations("FLYER_KEY_DURATIONS", FLYER_KEY_DURATIONS);
    dump_quads("BOX_MESH", BOX_MESH);
    dump_quads("CYLINDER_MESH", CYLINDER_MESH);
    dump_quads("SPHERE_MESH", SPHERE_MESH);
    dump_quads("BOX_FACES", BOX_FACES);
    dump_quads("SPHERE_PROXY_FACES", SPHERE_PROXY_FACES);
    dump_quads("CYLINDER_PROXY_FACES", CYLINDER_PROXY_FACES);

    dump_digest("PLAYER_KEYS", PLAYER_KEYS);
    dump_digest("WALKER_BOX_KEYS", WALKER_BOX_KEYS);
    dump_digest("WALKER_SPHERE_KEYS", WALKER_SPHERE_KEYS);
    dump_digest("WALKER_CYLINDER_KEYS", WALKER_CYLINDER_KEYS);
    dump_digest("FLYER_SPHERE_KEYS", FLYER_SPHERE_KEYS);
    dump_digest("FLYER_CYLINDER_KEYS", FLYER_CYLINDER_KEYS);
    dump_digest("CARRIER_BOXES", CARRIER_BOXES);
    dump_digest("CARRIER_SPHERES", CARRIER_SPHERES);
    dump_digest("PLAYER_KEY_DURATIONS", PLAYER_KEY_DURATIONS);
    dump_digest("WALKER_KEY_DURATIONS", WALKER_KEY_DURATIONS);
    dump_digest("FLYER_KEY_DURATIONS", FLYER_KEY_DURATIONS);
    dump_digest("player_boxes", player_boxes);
    return 0;
}
