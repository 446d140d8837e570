// draw.cpp - pictures between an image and the window's drawing surface (dcActive, the back
// buffer when there is one): DrawImage hands the pixels to the DIB calls as they are,
// StoreImage reads a block of the surface back through a temporary bitmap.
#include "../graphics.h"
#include "../window/report.h"
#include "buffers.h"

#include <cstdint>
#include <cstring>
#include <memory>

using namespace qg::images;

void window::DrawImage(const image &img, int x, int y, int width, int height)
{
    DrawImage(&img, x, y, width, height);
}

void window::DrawImage(const image *img, int x, int y, int width, int height)
{
    PumpMessages();
    // An image without pixels or header has nothing the DIB calls could read.
    if (!img || img->usWidth == 0 || img->usHeight == 0 || !img->ucpPixels || !img->bmapInfo)
        return;
    if (img->iType != IMAGE_JPEG && img->iType != IMAGE_CAPTURED) {
        ReportError("Fatal Error: Unsupported image type!");
        return;
    }
    const auto *info = reinterpret_cast<const BITMAPINFO *>(img->bmapInfo);
    if (width == -1 || height == -1) {
        if (SetDIBitsToDevice(dcActive, x, y, img->usWidth, img->usHeight, 0, 0, 0, img->usHeight,
                              img->ucpPixels, info, DIB_RGB_COLORS) == 0)
            ReportError("Fatal Error: Failed to SetDIBitsToDevice in DrawImage!");
        return;
    }
    // The platform signals failure with 0, and some versions with GDI_ERROR; a copy of a
    // top-down picture returns its positive row count.
    const int rows = StretchDIBits(dcActive, x, y, width, height, 0, 0, img->usWidth, img->usHeight,
                                   img->ucpPixels, info, DIB_RGB_COLORS, SRCCOPY);
    if (rows == 0 || rows == -1)
        ReportError("Fatal Error: Failed to StretchDIBits in DrawImage!");
}

void window::StoreImage(image &imgThis, unsigned int x, unsigned short y, unsigned short width,
                        unsigned short height)
{
    StoreImage(&imgThis, x, y, width, height);
}

void window::StoreImage(image *imgThis, unsigned int x, unsigned short y, unsigned short width,
                        unsigned short height)
{
    PumpMessages();
    if (!imgThis)
        return;
    // x alone may be near 2^32: the sums must not wrap round into the window.
    if (std::int64_t{x} + width > iWindowWidth || std::int64_t{y} + height > iWindowHeight) {
        ReportError("Fatal Error: StoreImage selection extends outside the window!");
        return;
    }

    // Both buffers exist before the old ones go, so running out of memory leaves the image
    // whole. The pixels start black: a failed read-back must not leave stale heap bytes in
    // a picture that can be drawn. An empty block needs no pixels at all.
    std::unique_ptr<BITMAPINFOHEADER> header = NewHeader(width, height);
    std::unique_ptr<unsigned char[]> pixels;
    if (width != 0 && height != 0) {
        pixels = NewPixels(width, height);
        std::memset(pixels.get(), 0, std::size_t{width} * height * 4);
    }
    delete imgThis->bmapInfo;
    delete[] imgThis->ucpPixels;
    imgThis->usWidth = width;
    imgThis->usHeight = height;
    imgThis->iType = IMAGE_CAPTURED;
    imgThis->bmapInfo = header.release();
    imgThis->ucpPixels = pixels.release();
    // Nothing to copy; the platform would make a stand-in bitmap and refuse the read-back.
    if (!imgThis->ucpPixels)
        return;

    imgThis->dcTempBuffer = CreateCompatibleDC(dcActive);
    imgThis->bmapTempBuffer = CreateCompatibleBitmap(dcActive, width, height);
    const HGDIOBJ kept = SelectObject(imgThis->dcTempBuffer, imgThis->bmapTempBuffer);

    if (BitBlt(imgThis->dcTempBuffer, 0, 0, width, height, dcActive, static_cast<int>(x), y,
               SRCCOPY) != 1)
        ReportError("Fatal Error: Failed to BitBlt in StoreImage!");
    if (GetDIBits(dcActive, imgThis->bmapTempBuffer, 0, height, imgThis->ucpPixels,
                  reinterpret_cast<BITMAPINFO *>(imgThis->bmapInfo), DIB_RGB_COLORS) == 0)
        ReportError("Fatal Error: Failed to GetDIBits in StoreImage!");

    SelectObject(imgThis->dcTempBuffer, kept);
    if (DeleteObject(imgThis->bmapTempBuffer) != 1)
        ReportError("Fatal Error: Failed to delete imgThis->bmapTempBuffer in StoreImage!");
    if (DeleteDC(imgThis->dcTempBuffer) != 1)
        ReportError("Fatal Error: Failed to delete imgThis->dcTempBuffer in StoreImage!");
}
