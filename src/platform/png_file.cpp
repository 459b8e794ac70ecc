// libpng reports errors by longjmp, so the encoder keeps no object with a
// destructor alive across png_write_* calls: the bytes go to a string owned
// by the caller through the write callback.
#include "platform/png_file.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void no_flush(png_structp) {}

} // namespace

std::string encode_png(const std::uint8_t* rgb, int width, int height, std::string& out)
{
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return "libpng could not start";
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return "libpng could not encode the picture";
    }
    png_set_write_fn(png, &out, append_bytes, no_flush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgb + std::size_t(y) * std::size_t(width) * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}
