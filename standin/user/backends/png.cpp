// PNG output through libpng. Errors come back through a setjmp scope kept to one small
// function with nothing in it that has a destructor.
#include "user/backends/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace standin::user {

namespace {

// rows[y] points at width * 3 bytes of R, G, B.
bool Encode(FILE *file, int width, int height, png_bytep *rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::string &path, const gdi::Surface &surface, std::string &error)
{
    if (surface.width <= 0 || surface.height <= 0)
        return error = "the window has no drawing area", false;
    std::vector<png_byte> bytes(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height) * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(surface.height));
    for (int32_t y = 0; y < surface.height; ++y) {
        png_bytep out = bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(surface.width) * 3;
        rows[static_cast<size_t>(y)] = out;
        const gdi::Pixel *in = surface.Row(y);
        for (int32_t x = 0; x < surface.width; ++x) {
            *out++ = static_cast<png_byte>(in[x] >> 16);
            *out++ = static_cast<png_byte>(in[x] >> 8);
            *out++ = static_cast<png_byte>(in[x]);
        }
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return error = std::strerror(errno), false;
    const bool encoded = Encode(file, surface.width, surface.height, rows.data());
    const bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        std::remove(path.c_str());
        return error = "the picture could not be written", false;
    }
    return true;
}

} // namespace standin::user
