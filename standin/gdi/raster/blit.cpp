// blit.cpp - block copies, raster operations and DIB rows.
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

RopMasks MasksFor(uint8_t code, uint32_t pattern)
{
    // Code bit 4p + 2s + d is the result for pattern bit p, source bit s, destination bit d.
    auto mask = [&](unsigned sd) {
        const uint32_t withPattern = ((code >> (4 + sd)) & 1u) ? ~0u : 0u;
        const uint32_t without = ((code >> sd) & 1u) ? ~0u : 0u;
        return (pattern & withPattern) | (~pattern & without);
    };
    return {mask(3), mask(2), mask(1), mask(0)};
}

namespace {

// What each code makes of S and D with the null brush, measured on real GDI (the
// conformance group rop-codes holds the measurement): digit c, bit 3 - (2s + d) is the
// result for source bit s and destination bit d.
constexpr char kNullBrushTable[] =
    "018c8a9886a4c21a111111478bebedee81214822828b2dedc123456786a7cdec41244148844b8deba125156786abc7ea6"
    "12646628664624971274727877777e7818888888d8b8de79b294962d96b6de6ae83ea6889aeadeabe274b478bebbdeec"
    "12c856889cbceecde2d47278ddbedeeee2e4e478eeeeeeea12c4a6789aecdef";
static_assert(sizeof kNullBrushTable == 257);

} // namespace

RopMasks MasksForNullBrush(uint8_t code)
{
    const char digit = kNullBrushTable[code];
    const unsigned f = static_cast<unsigned>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
    auto all = [](unsigned bit) { return bit ? ~0u : 0u; };
    return {all(f & 8), all(f & 4), all(f & 2), all(f & 1)};
}

int64_t DibStride(int32_t width, int bitCount)
{
    return ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
}

// Wider vectors where the processor has them: long rows are the bulk of big pictures.
__attribute__((target_clones("avx2", "default"))) void DibRowToPixels(const void *row, int bitCount, int64_t first,
                                                                      int64_t count, Pixel *out)
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
