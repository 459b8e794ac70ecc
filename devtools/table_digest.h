// Fingerprints of the models' tables: FNV-1a (64 bits) over the bits of every
// float, record by record, field by field, and over durations as 32-bit words.
// The model data test pins them; build/dump_model_tables prints them.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "models/part_record.h"

inline std::uint64_t table_digest(std::span<const std::uint32_t> words)
{
    std::uint64_t h = 0xcbf29ce484222325u;
    for (std::uint32_t w : words)
        for (int byte = 0; byte < 4; ++byte) {
            h ^= (w >> (8 * byte)) & 0xFFu;
            h *= 0x100000001b3u;
        }
    return h;
}

inline std::uint64_t table_digest(std::span<const PartRecord> records)
{
    std::vector<std::uint32_t> words;
    for (const PartRecord& r : records)
        for (float PartRecord::*member : PART_FIELD_MEMBERS)
            words.push_back(std::bit_cast<std::uint32_t>(r.*member));
    return table_digest(words);
}

inline std::uint64_t table_digest(std::span<const int> durations)
{
    std::vector<std::uint32_t> words(durations.begin(), durations.end());
    return table_digest(words);
}
