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

std::string decode_png(const unsigned char* bytes, std::size_t size, int most_side, int& width, int& height,
                       std::vector<std::uint8_t>& rgba)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes, size) == 0)
        return image.message;
    if (image.width == 0 || image.height == 0 || image.width > png_uint_32(most_side) ||
        image.height > png_uint_32(most_side)) {
        png_image_free(&image);
        return "a picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels";
    }
    image.format = PNG_FORMAT_RGBA;
    rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) == 0)
        return image.message;
    width = int(image.width);
    height = int(image.height);
    return {};
}
