// blit.h - pixel transfers between surfaces: 1:1 block copies, the ternary raster
// operations, and reading 24- and 32-bit device-independent bitmaps. Where a stretch puts
// which pixel is stretch.h.
#ifndef STANDIN_GDI_RASTER_BLIT_H
#define STANDIN_GDI_RASTER_BLIT_H

#include "types.h"

#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace standin::gdi::raster {

// SRCCOPY of a w x h block. Destination pixels whose source pixel lies off the source
// surface are left alone; dst and src may be the same surface, overlapping.
void CopyBlock(Surface &dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Surface &src,
               int64_t sx, int64_t sy);

// A ternary raster operation (the high byte of a BitBlt rop code) on pattern, source and
// destination pixels.
uint32_t Rop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest);

// A ternary raster operation with its pattern fixed, reduced to four masks: the result
// takes, bit by bit, the mask of the source and destination bits met there. What the
// transfers apply to every pixel; equal to Rop3.
struct RopMasks {
    uint32_t sd = 0, sNotD = 0, notSD = 0, notSNotD = 0;
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        return ((s & d & sd) | (s & ~d & sNotD) | (~s & d & notSD) | (~s & ~d & notSNotD)) & 0x00FFFFFFu;
    }
};
RopMasks MasksFor(uint8_t code, uint32_t pattern);
// d[i] = masks(s[i], d[i]) over a row, as two selects by the destination's bits and one by
// the source's: a few word operations for four pixels at a time.
inline void ApplyRow(const RopMasks &m, const uint32_t *__restrict s, uint32_t *__restrict d, int64_t n)
{
    const uint32_t hi = m.sd ^ m.sNotD, lo = m.notSD ^ m.notSNotD;
    int64_t x = 0;
#ifdef __SSE2__
    const __m128i vHi = _mm_set1_epi32(static_cast<int>(hi)), vLo = _mm_set1_epi32(static_cast<int>(lo));
    const __m128i vSNotD = _mm_set1_epi32(static_cast<int>(m.sNotD));
    const __m128i vNotSNotD = _mm_set1_epi32(static_cast<int>(m.notSNotD)), colour = _mm_set1_epi32(0x00FFFFFF);
    for (; x + 4 <= n; x += 4) {
        const __m128i vs = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + x));
        const __m128i vd = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + x));
        const __m128i withS = _mm_xor_si128(vSNotD, _mm_and_si128(vHi, vd));
        const __m128i withoutS = _mm_xor_si128(vNotSNotD, _mm_and_si128(vLo, vd));
        const __m128i r = _mm_xor_si128(withoutS, _mm_and_si128(_mm_xor_si128(withS, withoutS), vs));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + x), _mm_and_si128(r, colour));
    }
#endif
    for (; x < n; ++x) {
        const uint32_t withS = m.sNotD ^ (hi & d[x]), withoutS = m.notSNotD ^ (lo & d[x]);
        d[x] = (withoutS ^ ((withS ^ withoutS) & s[x])) & 0x00FFFFFFu;
    }
}
// With the null brush selected GDI leaves out the steps that would bring in the pattern,
// so each operation comes down to a function of source and destination alone (one
// without a source to nothing at all, unless it ignores the pattern too).
RopMasks MasksForNullBrush(uint8_t code);


// A 32-bit BI_RGB DIB as an image surface, top row first (negative heights are
// top-down). Only scan lines [firstScan, firstScan + lines) of the buffer are present;
// rows that are not come back as false in present.
Surface SurfaceFromDib32(const void *bits, int32_t width, int32_t height, int64_t firstScan, int64_t lines,
                         std::vector<bool> *present);
// The same for 24 or 32 bits per pixel (B, G, R bytes, rows padded to 4 bytes).
Surface SurfaceFromDib(const void *bits, int32_t width, int32_t height, int bitCount, int64_t firstScan,
                       int64_t lines, std::vector<bool> *present);
// Bytes per row of a DIB.
int64_t DibStride(int32_t width, int bitCount);
// Pixels first .. first + count - 1 of one row of a 24- or 32-bit DIB into out; the
// fourth byte of a 32-bit pixel is not part of its colour.
void DibRowToPixels(const void *row, int bitCount, int64_t first, int64_t count, Pixel *out);
// The same for 32 bits on a little-endian machine, inline for the short rows of small
// pictures: the fourth byte cleared, four pixels a step.
inline void Dib32RowToPixels(const uint8_t *row, int64_t count, Pixel *out)
{
    int64_t x = 0;
#ifdef __SSE2__
    const __m128i mask = _mm_set1_epi32(0x00FFFFFF);
    for (; x + 4 <= count; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x),
                         _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(row + x * 4)), mask));
#endif
    for (; x < count; ++x) {
        uint32_t word;
        std::memcpy(&word, row + x * 4, 4);
        out[x] = word & 0xFFFFFFu;
    }
}


} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_BLIT_H
