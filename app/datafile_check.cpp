// A datafile, once unpacked, is the magic "ALL.", an object count, and for each
// object its properties ("prop", type, size, bytes), its type and one chunk:
// the size in the file, the size unpacked (negative when the chunk is packed
// on its own) and the bytes. All numbers are big-endian 32-bit.
#include "app/datafile_check.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <allegro.h>

namespace {

// Far above the few megabytes of the game's own file; anything bigger is not
// a datafile of this game.
constexpr std::size_t MAX_UNPACKED_BYTES = 64u << 20;
constexpr int BITMAP_HEADER_BYTES = 6;

// Allegro's built-in object types other than bitmaps: the library would parse
// their contents, which this check does not follow, and the game has no use
// for them. Any other type is loaded as plain bytes.
constexpr int PARSED_TYPES[] = {
    DAT_FILE, DAT_FONT, DAT_SAMPLE, DAT_MIDI, DAT_PATCH, DAT_FLI,
    DAT_RLE_SPRITE, DAT_C_SPRITE, DAT_XC_SPRITE, DAT_PALETTE, DAT_END,
};

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

// The whole file as the library reads it: unpacked when it was packed.
bool read_unpacked(const char* path, std::vector<unsigned char>& out)
{
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
    return got == int(unpacked_size);
}

// Bytes per pixel of a datafile bitmap by its stored depth; 0 for none.
int bitmap_pixel_bytes(int bits)
{
    switch (bits) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24:
    case 32: return 3; // 32-bit pixels are stored as red, green, blue
    case -32: return 4; // with an alpha channel
    default: return 0;
    }
}

bool bitmap_is_sound(const unsigned char* data, std::size_t size)
{
    if (size < BITMAP_HEADER_BYTES)
        return false;
    const int bits = std::int16_t(std::uint16_t(data[0] << 8 | data[1]));
    const std::uint64_t w = std::uint16_t(data[2] << 8 | data[3]);
    const std::uint64_t h = std::uint16_t(data[4] << 8 | data[5]);
    const int pixel_bytes = bitmap_pixel_bytes(bits);
    return pixel_bytes != 0 && w >= 1 && h >= 1 && size == BITMAP_HEADER_BYTES + w * h * std::uint64_t(pixel_bytes);
}

bool object_is_sound(Bytes& in, std::vector<unsigned char>& scratch)
{
    std::int32_t type = 0;
    if (!read_be32(in, type))
        return false;
    while (type == DAT_PROPERTY) {
        std::int32_t property_type = 0, size = 0;
        Bytes property{};
        // The library ends an object's property list at a property of the
        // end type, so one of that type would be lost and its bytes leaked.
        if (!read_be32(in, property_type) || property_type == DAT_END || !read_be32(in, size) ||
            !take(in, size, property) || !read_be32(in, type))
            return false;
    }
    if (std::find(std::begin(PARSED_TYPES), std::end(PARSED_TYPES), type) != std::end(PARSED_TYPES))
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
    return type != DAT_BITMAP || bitmap_is_sound(contents.data, contents.size);
}

} // namespace

bool datafile_is_sound(const char* path)
{
    std::vector<unsigned char> bytes;
    if (!read_unpacked(path, bytes))
        return false;
    Bytes in{bytes.data(), bytes.size(), 0};
    std::int32_t magic = 0, count = 0;
    if (!read_be32(in, magic) || magic != DAT_MAGIC || !read_be32(in, count) || count < 0)
        return false;
    std::vector<unsigned char> scratch;
    for (std::int32_t k = 0; k < count; ++k)
        if (!object_is_sound(in, scratch))
            return false;
    return in.pos == in.size;
}
