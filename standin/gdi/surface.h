// surface.h - the pixel surface every stand-in drawing target is: a window's client
// area, a bitmap, a printer page. 32-bit B,G,R,X, top-down, rows tightly packed.
#ifndef STANDIN_GDI_SURFACE_H
#define STANDIN_GDI_SURFACE_H

#include <standin/win32.h>

#include <cstdint>
#include <vector>

namespace standin::gdi {

// One pixel as a little-endian 32-bit value: 0x00RRGGBB, bytes B, G, R, 0 in memory.
using Pixel = uint32_t;

constexpr Pixel PixelFromColorref(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr COLORREF ColorrefFromPixel(Pixel p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Pixel> pixels; // width * height, row y at y * width

    Surface() = default;
    Surface(int32_t w, int32_t h, Pixel fill = 0)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    Pixel *Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    const Pixel *Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

} // namespace standin::gdi

#endif // STANDIN_GDI_SURFACE_H
