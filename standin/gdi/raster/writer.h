// writer.h - the only code that writes figure pixels: runs of one row, spans and boxes,
// each combined with the destination through a ROP2 mix.
#ifndef STANDIN_GDI_RASTER_WRITER_H
#define STANDIN_GDI_RASTER_WRITER_H

#include "spans.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace standin::gdi::raster {

// A plain fill of n pixels: wide stores, the last one overlapping the one before.
inline void FillPixels(Pixel *p, size_t n, uint32_t v)
{
#if defined(__SSE2__)
    if (n >= 4) {
        const __m128i v4 = _mm_set1_epi32(static_cast<int>(v));
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(p + i), v4);
            _mm_storeu_si128(reinterpret_cast<__m128i *>(p + i + 4), v4);
        }
        if (i + 4 <= n) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(p + i), v4);
            i += 4;
        }
        if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i *>(p + n - 4), v4);
        return;
    }
#endif
    for (size_t i = 0; i < n; ++i) p[i] = v;
}

// Whether figures take their direct ways (pixels written as they are found) or the plain
// general ones (everything through span sets, per-pixel loops); tests switch them off
// to check one against the other.
bool FastPaths();
void SetFastPathsForTesting(bool on);

// Writes pixels [x0, x1) of row y, which must lie inside the surface.
void WriteRun(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix);
// The plain per-pixel version the fast one is checked against.
void WriteRunReference(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix);

void WriteSpans(Surface &s, SpanSet &spans, Mix mix);
// Writes a box, cut to the surface.
void WriteBox(Surface &s, const Box &box, Mix mix);
// Writes pixels [y0, y1) of column x, cut to the surface.
void WriteColumn(Surface &s, int64_t x, int64_t y0, int64_t y1, Mix mix);
// Sets one pixel if it is on the surface.
void WritePixel(Surface &s, int64_t x, int64_t y, Mix mix);

// A span receiver (what SpanSet offers figures) that writes each span at once, cut to the
// surface: for a figure whose spans never overlap, the pixels a SpanSet would get.
class SurfaceSpans {
public:
    SurfaceSpans(Surface &s, Mix mix) : s_(s), mix_(mix), clip_(SurfaceBox(s)) {}
    const Box &Clip() const { return clip_; }
    void AddSpan(int64_t y, int64_t x0, int64_t x1)
    {
        if (y < 0 || y >= s_.height) return;
        x0 = std::max<int64_t>(x0, 0);
        x1 = std::min<int64_t>(x1, s_.width);
        if (x0 >= x1) return;
        if (mix_.IsCopy())
            FillPixels(s_.Row(static_cast<int32_t>(y)) + x0, static_cast<size_t>(x1 - x0), mix_.xorMask);
        else
            WriteRun(s_, static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1), mix_);
    }
    void AddBox(const Box &b) { WriteBox(s_, b, mix_); }

private:
    Surface &s_;
    Mix mix_;
    Box clip_;
};

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_WRITER_H
