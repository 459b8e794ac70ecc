// The scenery loader over any bytes as "scenery.txt". A refused file leaves a
// message naming the file and keeps the scenery loaded before; an accepted
// one yields every part with quads inside the expanded list.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "world/scenery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = input_as_file(data, size);
    const int count_before = scenery_part_count;
    const auto parts_before = scenery_parts;
    if (!load_scenery(path)) {
        if (std::strstr(scenery_error_message(), path) == nullptr)
            fuzz_fault("the refusal does not name the file");
        if (scenery_part_count != count_before ||
            std::memcmp(&parts_before, &scenery_parts, sizeof parts_before) != 0)
            fuzz_fault("a refused file changed the loaded scenery");
        return 0;
    }
    if (scenery_part_count != SCENERY_PARTS || scenery_first_quad[0] != 0 ||
        scenery_first_quad[SCENERY_PARTS] > SCENERY_QUAD_CAPACITY)
        fuzz_fault("the expanded list does not hold every part");
    for (int p = 0; p < SCENERY_PARTS; ++p) {
        const SceneryPart& part = scenery_parts[p];
        if (scenery_first_quad[p + 1] - scenery_first_quad[p] != scenery_mesh_quads(part.kind))
            fuzz_fault("a part owns the wrong number of quads");
        for (float m : part.matrix)
            if (!std::isfinite(m))
                fuzz_fault("a matrix number that is not finite was accepted");
        // The building map's view of the part must take any accepted matrix.
        static_cast<void>(scenery_part_blocks(part));
    }
    return 0;
}
