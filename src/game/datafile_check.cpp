// A datafile, once unpacked, is the magic "ALL.", an object count, and for each
// object its properties ("prop", type, size, bytes), its type and one chunk:
// the size in the file, the size unpacked (negative when the chunk is packed
// on its own) and the bytes. All numbers are big-endian 32-bit.
#include "game/datafile_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <allegro.h>

#include "game/game_data.h"
#include "game/resources.h"

namespace {

// Far above the few megabytes of the game's own file; anything bigger is not
// a datafile of this game.
constexpr std::size_t MAX_UNPACKED_BYTES = 64u << 20;
constexpr std::size_t MAX_NAME_BYTES = 255;
constexpr int BITMAP_HEADER_BYTES = 6;
constexpr int BITMAP_BITS = 24; // the depth the build writes
constexpr std::size_t BITMAP_PIXEL_BYTES = 3; // red, green, blue
constexpr int MAX_BITMAP_SIDE = 4096; // the game's largest picture is 1250 pixels a side

struct Bytes {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

bool read_be32(Bytes& in, std::int32_t& value)
{
    if (in.size - in.pos < 4)
        return false;
    const unsigned char* p = in.data + in.pos;
    value = std::int32_t(std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3]);
    in.pos += 4;
    return true;
}

bool take(Bytes& in, std::int32_t count, Bytes& part)
{
    if (count < 0 || in.size - in.pos < std::size_t(count))
        return false;
    part = {in.data + in.pos, std::size_t(count), 0};
    in.pos += std::size_t(count);
    return true;
}

// A file that is not packed starts with F_NOPACK_MAGIC and holds the rest as
// it is: read it in one go. The library's reader fetches a byte at a time,
// which on the game's 5 MB file took some 20 ms of start-up. Returns false
// when the file is not such a file (or cannot be read to its end).
bool read_plain(const char* path, std::vector<unsigned char>& out)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    unsigned char magic[4] = {};
    long size = -1;
    const bool plain = std::fread(magic, 1, 4, file) == 4 &&
                       (std::uint32_t(magic[0]) << 24 | std::uint32_t(magic[1]) << 16 | std::uint32_t(magic[2]) << 8 |
                        magic[3]) == std::uint32_t(F_NOPACK_MAGIC) &&
                       std::fseek(file, 0, SEEK_END) == 0 && (size = std::ftell(file)) >= 4 &&
                       std::size_t(size - 4) <= MAX_UNPACKED_BYTES && std::fseek(file, 4, SEEK_SET) == 0;
    if (plain) {
        out.resize(std::size_t(size - 4));
        out.resize(std::fread(out.data(), 1, out.size(), file));
    }
    const bool read = plain && !std::ferror(file) && out.size() == std::size_t(size - 4);
    std::fclose(file);
    return read;
}

// The whole file as the library reads it: unpacked when it was packed.
bool read_unpacked(const char* path, std::vector<unsigned char>& out)
{
    if (read_plain(path, out))
        return true;
    out.clear();
    PACKFILE* file = pack_fopen(path, F_READ_PACKED);
    if (file == nullptr)
        return false;
    unsigned char block[65536];
    long got = 0;
    bool ok = true;
    while ((got = pack_fread(block, sizeof block, file)) > 0) {
        if (out.size() + std::size_t(got) > MAX_UNPACKED_BYTES) {
            ok = false;
            break;
        }
        out.insert(out.end(), block, block + got);
    }
    ok = ok && !pack_ferror(file);
    pack_fclose(file);
    return ok;
}

// A packed chunk is unpacked with the library's own decoder, reading from the
// chunk's bytes in memory so that it can never run past them.
int memory_close(void*) { return 0; }
int memory_getc(void* user)
{
    auto* in = static_cast<Bytes*>(user);
    return in->pos < in->size ? in->data[in->pos++] : EOF;
}
int memory_ungetc(int c, void* user)
{
    auto* in = static_cast<Bytes*>(user);
    if (in->pos == 0)
        return EOF;
    --in->pos;
    return c;
}
long memory_read(void* p, long n, void* user)
{
    auto* in = static_cast<Bytes*>(user);
    const std::size_t count = std::min(in->size - in->pos, std::size_t(std::max(n, 0L)));
    std::memcpy(p, in->data + in->pos, count);
    in->pos += count;
    return long(count);
}
int memory_putc(int, void*) { return EOF; }
long memory_write(const void*, long, void*) { return 0; }
int memory_seek(void* user, int offset)
{
    auto* in = static_cast<Bytes*>(user);
    if (offset < 0 || in->size - in->pos < std::size_t(offset))
        return -1;
    in->pos += std::size_t(offset);
    return 0;
}
int memory_eof(void* user)
{
    auto* in = static_cast<Bytes*>(user);
    return in->pos >= in->size;
}
int memory_error(void*) { return 0; }

PACKFILE_VTABLE MEMORY_STREAM = {memory_close, memory_getc, memory_ungetc, memory_read, memory_putc,
                                 memory_write, memory_seek, memory_eof, memory_error};

// The loader reads a packed chunk until it has unpacked the size it states,
// wherever that leaves it, and takes the next bytes as the next object: a
// chunk is sound only when unpacking it ends exactly at its last byte.
bool unpack_chunk(Bytes packed, std::size_t unpacked_size, std::vector<unsigned char>& out)
{
    if (unpacked_size > MAX_UNPACKED_BYTES)
        return false;
    out.assign(unpacked_size, 0);
    PACKFILE* file = pack_fopen_vtable(&MEMORY_STREAM, &packed);
    LZSS_UNPACK_DATA* state = create_lzss_unpack_data();
    if (file == nullptr || state == nullptr) {
        if (state != nullptr)
            free_lzss_unpack_data(state);
        if (file != nullptr)
            pack_fclose(file);
        return false;
    }
    const int got = unpacked_size == 0 ? 0 : lzss_read(file, state, int(unpacked_size), out.data());
    free_lzss_unpack_data(state);
    pack_fclose(file);
    return got == int(unpacked_size) && packed.pos == packed.size;
}

// The terrain reads a 100 x 100 grid from objects 0 and 1; the building map
// and the banner are read only inside their own bounds.
bool bitmap_is_sound(const unsigned char* data, std::size_t size, int index)
{
    if (size < BITMAP_HEADER_BYTES)
        return false;
    const int bits = std::int16_t(std::uint16_t(data[0] << 8 | data[1]));
    const int w = data[2] << 8 | data[3];
    const int h = data[4] << 8 | data[5];
    const bool terrain = index == TERRAIN_HEIGHT_BITMAP || index == TERRAIN_COLOUR_BITMAP;
    const int min_side = terrain ? TERRAIN_BITMAP_MIN_SIZE : 1;
    return bits == BITMAP_BITS && w >= min_side && h >= min_side && w <= MAX_BITMAP_SIDE && h <= MAX_BITMAP_SIDE &&
           size == BITMAP_HEADER_BYTES + std::size_t(w) * std::size_t(h) * BITMAP_PIXEL_BYTES;
}

bool name_is_sound(const Bytes& name)
{
    return name.size >= 1 && name.size <= MAX_NAME_BYTES &&
           std::all_of(name.data, name.data + name.size, [](unsigned char c) { return c >= ' ' && c <= '~'; });
}

// One object: an optional NAME property, the type BMP and its chunk.
bool object_is_sound(Bytes& in, int index, std::vector<unsigned char>& scratch)
{
    std::int32_t type = 0;
    if (!read_be32(in, type))
        return false;
    if (type == DAT_PROPERTY) {
        std::int32_t property_type = 0, size = 0;
        Bytes name{};
        if (!read_be32(in, property_type) || property_type != DAT_NAME || !read_be32(in, size) ||
            !take(in, size, name) || !name_is_sound(name) || !read_be32(in, type))
            return false;
    }
    if (type != DAT_BITMAP)
        return false;

    std::int32_t file_size = 0, unpacked_size = 0;
    Bytes chunk{};
    if (!read_be32(in, file_size) || !read_be32(in, unpacked_size) || !take(in, file_size, chunk))
        return false;
    Bytes contents = chunk;
    if (unpacked_size < 0) {
        if (!unpack_chunk(chunk, std::size_t(-std::int64_t(unpacked_size)), scratch))
            return false;
        contents = {scratch.data(), scratch.size(), 0};
    } else if (unpacked_size != file_size) {
        return false;
    }
    return bitmap_is_sound(contents.data, contents.size, index);
}

} // namespace

bool datafile_is_sound(const char* path)
{
    std::vector<unsigned char> bytes;
    if (!read_unpacked(path, bytes))
        return false;
    Bytes in{bytes.data(), bytes.size(), 0};
    std::int32_t magic = 0, count = 0;
    if (!read_be32(in, magic) || magic != DAT_MAGIC || !read_be32(in, count) || count != GAME_DATA_OBJECTS)
        return false;
    std::vector<unsigned char> scratch;
    for (int index = 0; index < GAME_DATA_OBJECTS; ++index)
        if (!object_is_sound(in, index, scratch))
            return false;
    return in.pos == in.size;
}
