// image.cpp - the image type: construction, deep copies, and Open, which decodes a JPEG
// file into the 32-bit top-down pixel layout that the DIB calls take.
#include "../graphics.h"
#include "buffers.h"
#include "jpeg.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

using namespace qg::images;

namespace {

void ErrorLine(const char *text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

static_assert(sizeof(BITMAPINFOHEADER) == 40, "the DIB calls take a 40-byte header");

namespace qg::images {

std::unique_ptr<BITMAPINFOHEADER> NewHeader(unsigned short width, unsigned short height)
{
    std::unique_ptr<BITMAPINFOHEADER> header(new (std::nothrow) BITMAPINFOHEADER{});
    if (!header)
        throw ERROR_OUT_OF_MEMORY;
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -static_cast<LONG>(height);
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    return header;
}

std::unique_ptr<unsigned char[]> NewPixels(unsigned short width, unsigned short height)
{
    std::size_t bytes = 0;
    std::unique_ptr<unsigned char[]> pixels(
        BufferSize(width, height, 4, bytes) ? AllocateBytes(bytes) : nullptr);
    if (!pixels)
        throw ERROR_OUT_OF_MEMORY;
    return pixels;
}

} // namespace qg::images

// Delegating to the default constructor makes the object complete before Open runs, so a
// throwing Open still has the destructor release whatever it had allocated.
image::image(const char *pszFile, imagetype type) : image()
{
    Open(pszFile, type);
}

image::image(std::string strFile, imagetype type) : image()
{
    Open(strFile.c_str(), type);
}

image::image(const image &source) : image()
{
    *this = source;
}

void image::operator=(const image &source)
{
    if (&source == this)
        return;
    // Everything new is made before anything old goes, so a failed allocation leaves the
    // image as it was.
    std::unique_ptr<BITMAPINFOHEADER> header = NewHeader(source.usWidth, source.usHeight);
    std::unique_ptr<unsigned char[]> pixels;
    if (source.ucpPixels) {
        pixels = NewPixels(source.usWidth, source.usHeight);
        std::memcpy(pixels.get(), source.ucpPixels,
                    std::size_t{source.usWidth} * source.usHeight * 4);
    }
    delete bmapInfo;
    delete[] ucpPixels;
    iType = source.iType;
    usWidth = source.usWidth;
    usHeight = source.usHeight;
    bmapInfo = header.release();
    ucpPixels = pixels.release();
}

image::~image()
{
    delete bmapInfo;
    delete[] ucpPixels;
}

void image::Open(std::string strFile, imagetype type)
{
    Open(strFile.c_str(), type);
}

void image::Open(const char *pszFile, imagetype type)
{
    if (!pszFile)
        throw ERROR_FILE_NOT_FOUND;
    iType = type;

    // The old picture goes before the new file is read, so two never coexist in memory.
    // Until the decode succeeds the image is empty: a failure below leaves it so.
    delete bmapInfo;
    bmapInfo = nullptr;
    delete[] ucpPixels;
    ucpPixels = nullptr;
    usWidth = usHeight = 0;

    bmapInfo = NewHeader(0, 0).release();
    if (type != IMAGE_JPEG) {
        ErrorLine("Fatal Error: Unsupported image type!");
        return;
    }

    unsigned short width = 0, height = 0;
    Samples samples;
    switch (ReadJpeg(pszFile, width, height, samples)) {
    case -1:
        throw ERROR_FILE_NOT_FOUND;
    case -2:
        delete bmapInfo;
        bmapInfo = nullptr;
        throw ERROR_OUT_OF_MEMORY;
    }
    const std::unique_ptr<unsigned char[]> sampleBuffer(samples.bytes);

    std::unique_ptr<unsigned char[]> pixels = NewPixels(width, height);
    SamplesToPixels(samples, std::size_t{width} * height, pixels.get());

    usWidth = width;
    usHeight = height;
    bmapInfo->biWidth = width;
    bmapInfo->biHeight = -static_cast<LONG>(height);
    ucpPixels = pixels.release();
}
