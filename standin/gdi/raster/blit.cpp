// blit.cpp - block copies and stretches. Index mapping per axis is closed-form, so only
// the destination pixels on the surface are visited.
#include "blit.h"

#include <cstdlib>
#include <cstring>

namespace standin::gdi::raster {

void CopyBlock(Surface &dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Surface &src,
               int64_t sx, int64_t sy)
{
    if (w <= 0 || h <= 0) return;
    // Cut the source to its surface, moving the destination along.
    int64_t x0 = std::max<int64_t>(0, -sx), y0 = std::max<int64_t>(0, -sy);
    int64_t x1 = std::min<int64_t>(w, src.width - sx), y1 = std::min<int64_t>(h, src.height - sy);
    // Then to the destination surface.
    x0 = std::max(x0, -dx);
    y0 = std::max(y0, -dy);
    x1 = std::min(x1, dst.width - dx);
    y1 = std::min(y1, dst.height - dy);
    if (x0 >= x1 || y0 >= y1) return;
    const size_t n = static_cast<size_t>(x1 - x0) * sizeof(Pixel);
    auto copyRow = [&](int64_t y) {
        std::memmove(dst.Row(static_cast<int32_t>(dy + y)) + dx + x0,
                     src.Row(static_cast<int32_t>(sy + y)) + sx + x0, n);
    };
    // Within one surface, rows are copied in the order that never reads a row already
    // overwritten.
    if (&dst == &src && dy > sy) {
        for (int64_t y = y1 - 1; y >= y0; --y) copyRow(y);
    } else {
        for (int64_t y = y0; y < y1; ++y) copyRow(y);
    }
}

void StretchSource(int64_t srcSize, int64_t dstSize, int64_t d, int64_t &first, int64_t &last)
{
    using i128 = __int128;
    const i128 S = srcSize, D = dstSize;
    if (D >= S) {
        // Enlarging: destination d shows source floor((S(2d+1) - 1) / 2D).
        first = last = static_cast<int64_t>((S * (2 * static_cast<i128>(d) + 1) - 1) / (2 * D));
        return;
    }
    // Shrinking: source s goes to destination floor((D(2s+1) - 1) / 2S); the sources of
    // d are those s for which that is d.
    auto firstWith = [&](i128 target) {
        // Smallest s with D(2s+1) - 1 >= 2S*target.
        i128 num = 2 * S * target + 1 - D;
        if (num <= 0) return static_cast<i128>(0);
        return (num + 2 * D - 1) / (2 * D);
    };
    first = static_cast<int64_t>(firstWith(d));
    last = static_cast<int64_t>(std::min<i128>(firstWith(d + 1), S) - 1);
}

void StretchBlock(Surface &dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const Surface &src,
                  int64_t sx, int64_t sy, int64_t sw, int64_t sh, int mode, bool oneSourceLess)
{
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    // A negative size runs its rectangle backwards from its origin; mirroring happens when
    // source and destination run opposite ways.
    bool mirrorX = (dw < 0) != (sw < 0), mirrorY = (dh < 0) != (sh < 0);
    if (dw < 0) { dx += dw + 1; dw = -dw; }
    if (dh < 0) { dy += dh + 1; dh = -dh; }
    if (sw < 0) { sx += sw + 1; sw = -sw; }
    if (sh < 0) { sy += sh + 1; sh = -sh; }
    if (oneSourceLess) {
        if (dw == 1 && sw > 1) --sw;
        if (dh == 1 && sh > 1) --sh;
    }
    const int64_t x0 = std::max<int64_t>(0, -dx), x1 = std::min<int64_t>(dw, dst.width - dx);
    const int64_t y0 = std::max<int64_t>(0, -dy), y1 = std::min<int64_t>(dh, dst.height - dy);
    if (x0 >= x1 || y0 >= y1) return;

    // Source columns of each visible destination column.
    std::vector<int64_t> colFirst(static_cast<size_t>(x1 - x0)), colLast(static_cast<size_t>(x1 - x0));
    for (int64_t x = x0; x < x1; ++x) {
        const int64_t d = mirrorX ? dw - 1 - x : x;
        StretchSource(sw, dw, d, colFirst[static_cast<size_t>(x - x0)], colLast[static_cast<size_t>(x - x0)]);
    }
    auto combine = [mode](uint32_t acc, uint32_t p, bool firstOne) -> uint32_t {
        if (firstOne) return p;
        switch (mode) {
        case kWhiteOnBlack: return acc | p;
        case kColorOnColor: return p;
        default: return acc & p;
        }
    };
    std::vector<Pixel> out(static_cast<size_t>(x1 - x0));
    std::vector<bool> have(static_cast<size_t>(x1 - x0));
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t d = mirrorY ? dh - 1 - y : y;
        int64_t rowFirst, rowLast;
        StretchSource(sh, dh, d, rowFirst, rowLast);
        std::fill(have.begin(), have.end(), false);
        for (int64_t x = x0; x < x1; ++x) {
            const size_t i = static_cast<size_t>(x - x0);
            uint32_t acc = 0, r = 0, g = 0, b = 0, n = 0;
            bool any = false;
            for (int64_t srow = rowFirst; srow <= rowLast; ++srow) {
                const int64_t py = sy + srow;
                if (py < 0 || py >= src.height) continue;
                const Pixel *row = src.Row(static_cast<int32_t>(py));
                for (int64_t scol = colFirst[i]; scol <= colLast[i]; ++scol) {
                    const int64_t px = sx + (mirrorX ? scol : scol);
                    if (px < 0 || px >= src.width) continue;
                    const Pixel p = row[px];
                    if (mode == kHalftone) {
                        r += (p >> 16) & 0xFF;
                        g += (p >> 8) & 0xFF;
                        b += p & 0xFF;
                        ++n;
                    } else {
                        acc = combine(acc, p, !any);
                    }
                    any = true;
                }
            }
            if (!any) continue;
            if (mode == kHalftone) acc = ((r / n) << 16) | ((g / n) << 8) | (b / n);
            out[i] = acc & 0x00FFFFFFu;
            have[i] = true;
        }
        Pixel *drow = dst.Row(static_cast<int32_t>(dy + y));
        for (int64_t x = x0; x < x1; ++x)
            if (have[static_cast<size_t>(x - x0)]) drow[dx + x] = out[static_cast<size_t>(x - x0)];
    }
}

Surface SurfaceFromDib32(const void *bits, int32_t width, int32_t height, int64_t firstScan, int64_t lines,
                         std::vector<bool> *present)
{
    const bool topDown = height < 0;
    const int64_t h = Abs64(static_cast<int64_t>(height));
    Surface img(width, static_cast<int32_t>(h), 0);
    if (present) present->assign(static_cast<size_t>(h), false);
    const uint8_t *base = static_cast<const uint8_t *>(bits);
    const int64_t stride = static_cast<int64_t>(width) * 4;
    for (int64_t k = std::max<int64_t>(0, firstScan); k < std::min(h, firstScan + lines); ++k) {
        // Scan lines count from the buffer start; the buffer's first line is the image's
        // top row for top-down DIBs and its bottom row otherwise.
        const int64_t row = topDown ? k : h - 1 - k;
        const uint8_t *srcRow = base + (k - firstScan) * stride;
        Pixel *d = img.Row(static_cast<int32_t>(row));
        for (int64_t x = 0; x < width; ++x) {
            uint32_t p;
            std::memcpy(&p, srcRow + x * 4, 4);
            d[x] = p & 0x00FFFFFFu;
        }
        if (present) (*present)[static_cast<size_t>(row)] = true;
    }
    return img;
}

} // namespace standin::gdi::raster
