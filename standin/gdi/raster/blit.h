// blit.h - pixel transfers between surfaces: 1:1 block copies and stretches (GDI's
// per-axis pixel selection and its stretch modes), plus reading and writing 32-bit
// device-independent bitmaps.
#ifndef STANDIN_GDI_RASTER_BLIT_H
#define STANDIN_GDI_RASTER_BLIT_H

#include "types.h"

#include <functional>
#include <vector>

namespace standin::gdi::raster {

// SRCCOPY of a w x h block. Destination pixels whose source pixel lies off the source
// surface are left alone; dst and src may be the same surface, overlapping.
void CopyBlock(Surface &dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Surface &src,
               int64_t sx, int64_t sy);

// Stretch modes (SetStretchBltMode values).
constexpr int kBlackOnWhite = 1;
constexpr int kWhiteOnBlack = 2;
constexpr int kColorOnColor = 3;
constexpr int kHalftone = 4;

// Source index of each destination index along one axis (enlarging: replicate) or the
// group of source indices merged into it (shrinking), for size src -> dst, both > 0.
// Exposed for tests; first..last inclusive.
void StretchSource(int64_t srcSize, int64_t dstSize, int64_t d, int64_t &first, int64_t &last);

// Stretch (sw x sh at sx,sy) onto (dw x dh at dx,dy); negative sizes mirror. Pixels merged
// by shrinking combine by the mode (AND, OR, last one, or average). oneSourceLess:
// StretchBlt's habit of merging one source pixel fewer when the destination is a single
// pixel wide or high.
void StretchBlock(Surface &dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh, const Surface &src,
                  int64_t sx, int64_t sy, int64_t sw, int64_t sh, int mode, bool oneSourceLess);

// The same, handing each destination pixel on a dstWidth x dstHeight surface to put.
void StretchPixels(int32_t dstWidth, int32_t dstHeight, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                   const Surface &src, int64_t sx, int64_t sy, int64_t sw, int64_t sh, int mode, bool oneSourceLess,
                   const std::function<void(int32_t, int32_t, Pixel)> &put);

// A ternary raster operation (the high byte of a BitBlt rop code) on pattern, source and
// destination pixels.
uint32_t Rop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest);

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


} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_BLIT_H
