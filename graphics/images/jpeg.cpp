// jpeg.cpp - reads a JPEG file into packed samples with libjpeg, and turns samples of any
// of the layouts the decoder hands out into the library's blue, green, red, 0 pixels.
#include "jpeg.h"

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <new>

#include <sys/stat.h>

// libjpeg's header expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace qg::images {

namespace {

SampleLayout LayoutOf(const jpeg_decompress_struct &decoder)
{
    switch (decoder.out_color_space) {
    case JCS_GRAYSCALE:
        return SampleLayout::Gray;
    case JCS_RGB:
        return SampleLayout::Rgb;
    case JCS_CMYK:
        // Writers that put an Adobe marker in (Photoshop first of all) store the inks
        // inverted; the decoder passes them on as stored.
        return decoder.saw_Adobe_marker ? SampleLayout::InvertedCmyk : SampleLayout::Cmyk;
    default:
        return SampleLayout::Unknown;
    }
}

// a * b / 255, rounded to nearest, for a and b in 0..255.
inline unsigned char Scale(unsigned a, unsigned b)
{
    const unsigned t = a * b + 128;
    return static_cast<unsigned char>((t + (t >> 8)) >> 8);
}

} // namespace

int ReadJpeg(const char *name, unsigned short &width, unsigned short &height, Samples &samples)
{
    std::FILE *file = std::fopen(name, "rb");
    if (!file)
        return -1;
    // POSIX opens a folder for reading where Windows refuses; its first read then fails,
    // which the decoder would take for an empty file and end the program.
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        return -1;
    }

    // The standard error manager stays as it is: a fatal error ends the process, so no
    // path below ever returns from inside the decoder with an error.
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, file);
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);

    // The decoder refuses dimensions above 65500, so both fit 16 bits.
    width = static_cast<unsigned short>(decoder.output_width);
    height = static_cast<unsigned short>(decoder.output_height);
    const unsigned components = static_cast<unsigned>(decoder.output_components);
    const std::size_t rowSize = std::size_t{width} * components;

    std::size_t bytes = 0;
    unsigned char *buffer =
        BufferSize(width, height, components, bytes) ? AllocateBytes(bytes) : nullptr;
    if (!buffer) {
        jpeg_destroy_decompress(&decoder);
        std::fclose(file);
        return -2;
    }
    std::memset(buffer, 0, bytes);

    JSAMPARRAY row = (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder),
                                                  JPOOL_IMAGE,
                                                  static_cast<JDIMENSION>(rowSize), 1);
    for (unsigned short y = 0; y < height; ++y) {
        jpeg_read_scanlines(&decoder, row, 1);
        std::memcpy(buffer + y * rowSize, row[0], rowSize);
    }

    samples.bytes = buffer;
    samples.components = components;
    samples.layout = LayoutOf(decoder);

    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    std::fclose(file);
    return 0;
}

void SamplesToPixels(const Samples &samples, std::size_t count, unsigned char *pixels)
{
    const unsigned char *s = samples.bytes;
    unsigned char *p = pixels;
    const unsigned char *const end = pixels + count * 4;
    switch (samples.layout) {
    case SampleLayout::Rgb:
        for (; p != end; p += 4, s += 3) {
            p[0] = s[2];
            p[1] = s[1];
            p[2] = s[0];
            p[3] = 0;
        }
        break;
    case SampleLayout::Cmyk:
        for (; p != end; p += 4, s += 4) {
            p[0] = Scale(255u - s[2], 255u - s[3]);
            p[1] = Scale(255u - s[1], 255u - s[3]);
            p[2] = Scale(255u - s[0], 255u - s[3]);
            p[3] = 0;
        }
        break;
    case SampleLayout::InvertedCmyk:
        for (; p != end; p += 4, s += 4) {
            p[0] = Scale(s[2], s[3]);
            p[1] = Scale(s[1], s[3]);
            p[2] = Scale(s[0], s[3]);
            p[3] = 0;
        }
        break;
    case SampleLayout::Gray:
    case SampleLayout::Unknown:
        for (; p != end; p += 4, s += samples.components) {
            p[0] = p[1] = p[2] = s[0];
            p[3] = 0;
        }
        break;
    }
}

bool BufferSize(std::size_t width, std::size_t height, std::size_t bytesPerPixel,
                std::size_t &bytes)
{
    // No buffer of 2 GiB or more, on any system: the 32-bit Windows build could never
    // have one, and on a 64-bit system that overcommits memory a few hundred bytes of
    // file claiming 65500 x 65500 would be granted 12 GB and the process killed while
    // filling it, instead of told.
    const std::size_t limit = std::min<std::size_t>(PTRDIFF_MAX, 0x7FFFFFFF);
    if (width != 0 && height > limit / width)
        return false;
    const std::size_t pixels = width * height;
    if (bytesPerPixel != 0 && pixels > limit / bytesPerPixel)
        return false;
    bytes = pixels * bytesPerPixel;
    return true;
}

unsigned char *AllocateBytes(std::size_t bytes)
{
    return new (std::nothrow) unsigned char[bytes];
}

} // namespace qg::images
