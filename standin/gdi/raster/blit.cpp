// blit.cpp - block copies and stretches. Index mapping per axis is closed-form, so only
// the destination pixels on the surface are visited.
#include "blit.h"

#include <bit>
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
    StretchPixels(dst.width, dst.height, dx, dy, dw, dh, src, sx, sy, sw, sh, mode, oneSourceLess,
                  [&dst](int32_t x, int32_t y, Pixel p) { dst.Row(y)[x] = p; });
}

void StretchPixels(int32_t dstWidth, int32_t dstHeight, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                   const Surface &src, int64_t sx, int64_t sy, int64_t sw, int64_t sh, int mode, bool oneSourceLess,
                   const std::function<void(int32_t, int32_t, Pixel)> &put)
{
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    // Each axis runs from its origin in the direction of its size's sign: destination
    // step k along it shows source steps StretchSource(k) along the source's direction.
    const int64_t adw = Abs64(dw), adh = Abs64(dh);
    int64_t asw = Abs64(sw), ash = Abs64(sh);
    if (oneSourceLess) {
        if (adw == 1 && asw > 1) --asw;
        if (adh == 1 && ash > 1) --ash;
    }
    const int64_t xdir = dw > 0 ? 1 : -1, ydir = dh > 0 ? 1 : -1;
    const int64_t sxdir = sw > 0 ? 1 : -1, sydir = sh > 0 ? 1 : -1;
    // Destination steps that land on the surface.
    auto visible = [](int64_t origin, int64_t dir, int64_t len, int64_t size, int64_t &k0, int64_t &k1) {
        if (dir > 0) {
            k0 = std::max<int64_t>(0, -origin);
            k1 = std::min<int64_t>(len, size - origin);
        } else {
            k0 = std::max<int64_t>(0, origin - (size - 1));
            k1 = std::min<int64_t>(len, origin + 1);
        }
    };
    int64_t kx0, kx1, ky0, ky1;
    visible(dx, xdir, adw, dstWidth, kx0, kx1);
    visible(dy, ydir, adh, dstHeight, ky0, ky1);
    if (kx0 >= kx1 || ky0 >= ky1) return;

    const size_t n = static_cast<size_t>(kx1 - kx0);
    std::vector<int64_t> colFirst(n), colLast(n);
    for (int64_t k = kx0; k < kx1; ++k)
        StretchSource(asw, adw, k, colFirst[static_cast<size_t>(k - kx0)], colLast[static_cast<size_t>(k - kx0)]);
    auto combine = [mode](uint32_t acc, uint32_t p) -> uint32_t {
        switch (mode) {
        case kWhiteOnBlack: return acc | p;
        case kColorOnColor: return p;
        default: return acc & p;
        }
    };
    std::vector<Pixel> out(n);
    std::vector<char> have(n);
    for (int64_t ky = ky0; ky < ky1; ++ky) {
        int64_t rowFirst, rowLast;
        StretchSource(ash, adh, ky, rowFirst, rowLast);
        std::fill(have.begin(), have.end(), 0);
        for (size_t i = 0; i < n; ++i) {
            uint32_t acc = 0, r = 0, g = 0, b = 0, count = 0;
            bool any = false;
            for (int64_t srow = rowFirst; srow <= rowLast; ++srow) {
                const int64_t py = sy + srow * sydir;
                if (py < 0 || py >= src.height) continue;
                const Pixel *row = src.Row(static_cast<int32_t>(py));
                for (int64_t scol = colFirst[i]; scol <= colLast[i]; ++scol) {
                    const int64_t px = sx + scol * sxdir;
                    if (px < 0 || px >= src.width) continue;
                    const Pixel p = row[px];
                    if (mode == kHalftone) {
                        r += (p >> 16) & 0xFF;
                        g += (p >> 8) & 0xFF;
                        b += p & 0xFF;
                        ++count;
                    } else {
                        acc = any ? combine(acc, p) : p;
                    }
                    any = true;
                }
            }
            if (!any) continue;
            if (mode == kHalftone) acc = ((r / count) << 16) | ((g / count) << 8) | (b / count);
            out[i] = acc & 0x00FFFFFFu;
            have[i] = 1;
        }
        const int32_t y = static_cast<int32_t>(dy + ky * ydir);
        for (size_t i = 0; i < n; ++i)
            if (have[i]) put(static_cast<int32_t>(dx + (kx0 + static_cast<int64_t>(i)) * xdir), y, out[i]);
    }
}

uint32_t Rop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest)
{
    // Bit i of the code is the result for pattern bit (i >> 2), source bit (i >> 1) & 1 and
    // destination bit i & 1: OR together the minterms it names.
    uint32_t result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((code >> i) & 1u)) continue;
        const uint32_t p = (i & 4) ? pattern : ~pattern;
        const uint32_t s = (i & 2) ? source : ~source;
        const uint32_t d = (i & 1) ? dest : ~dest;
        result |= p & s & d;
    }
    return result & 0x00FFFFFFu;
}

int64_t DibStride(int32_t width, int bitCount)
{
    return ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
}

void DibRowToPixels(const void *row, int bitCount, int64_t first, int64_t count, Pixel *out)
{
    const uint8_t *p = static_cast<const uint8_t *>(row);
    if (bitCount == 32 && std::endian::native == std::endian::little) {
        // B, G, R, X in memory is 0xXXRRGGBB as a word: one load and a mask, which the
        // compiler turns into vector code for whole pictures.
        p += first * 4;
        for (int64_t x = 0; x < count; ++x) {
            uint32_t word;
            std::memcpy(&word, p + x * 4, 4);
            out[x] = word & 0xFFFFFFu;
        }
        return;
    }
    const int bytes = bitCount / 8;
    p += first * bytes;
    for (int64_t x = 0; x < count; ++x, p += bytes)
        out[x] = static_cast<Pixel>(p[0]) | (static_cast<Pixel>(p[1]) << 8) | (static_cast<Pixel>(p[2]) << 16);
}

Surface SurfaceFromDib(const void *bits, int32_t width, int32_t height, int bitCount, int64_t firstScan,
                       int64_t lines, std::vector<bool> *present)
{
    const bool topDown = height < 0;
    const int64_t h = Abs64(height);
    Surface img(width, static_cast<int32_t>(h), 0);
    if (present) present->assign(static_cast<size_t>(h), false);
    const uint8_t *base = static_cast<const uint8_t *>(bits);
    const int64_t stride = DibStride(width, bitCount);
    for (int64_t k = std::max<int64_t>(0, firstScan); k < std::min(h, firstScan + lines); ++k) {
        // Scan lines count from the buffer start; the buffer's first line is the image's
        // top row for top-down DIBs and its bottom row otherwise.
        const int64_t row = topDown ? k : h - 1 - k;
        const uint8_t *srcRow = base + (k - firstScan) * stride;
        DibRowToPixels(srcRow, bitCount, 0, width, img.Row(static_cast<int32_t>(row)));
        if (present) (*present)[static_cast<size_t>(row)] = true;
    }
    return img;
}

Surface SurfaceFromDib32(const void *bits, int32_t width, int32_t height, int64_t firstScan, int64_t lines,
                         std::vector<bool> *present)
{
    return SurfaceFromDib(bits, width, height, 32, firstScan, lines, present);
}

} // namespace standin::gdi::raster
