// writer.cpp - ROP2 mixes and the run writers (a copy and an invert fast path, checked
// against the general per-pixel form by the tests).
#include "writer.h"

#include <algorithm>
#include <cstring>

namespace standin::gdi::raster {

Mix MixFor(int rop2, Pixel color)
{
    if (rop2 < 1 || rop2 > 16) rop2 = 11; // R2_NOP
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    // Bit (2p + d) of the table is the result for pen bit p and destination bit d.
    auto bit = [table](unsigned i) { return (table >> i) & 1u; };
    const uint32_t xorWhenPen0 = bit(0) ? ~0u : 0u;
    const uint32_t andWhenPen0 = (bit(0) ^ bit(1)) ? ~0u : 0u;
    const uint32_t xorWhenPen1 = bit(2) ? ~0u : 0u;
    const uint32_t andWhenPen1 = (bit(2) ^ bit(3)) ? ~0u : 0u;
    const uint32_t p = color & 0x00FFFFFFu;
    Mix m;
    m.andMask = ((p & andWhenPen1) | (~p & andWhenPen0)) & 0x00FFFFFFu;
    m.xorMask = ((p & xorWhenPen1) | (~p & xorWhenPen0)) & 0x00FFFFFFu;
    return m;
}

void WriteRunReference(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix)
{
    Pixel *row = s.Row(y);
    for (int32_t x = x0; x < x1; ++x) row[x] = (row[x] & mix.andMask) ^ mix.xorMask;
}

void WriteRun(Surface &s, int32_t y, int32_t x0, int32_t x1, Mix mix)
{
    if (x0 >= x1) return;
    Pixel *p = s.Row(y) + x0;
    Pixel *end = s.Row(y) + x1;
    if (mix.andMask == 0) {
        // A plain fill: a few pixels by hand, then doubling copies, which the C library
        // does at memory speed.
        const size_t n = static_cast<size_t>(end - p);
        const size_t seed = n < 64 ? n : 16;
        for (size_t i = 0; i < seed; ++i) p[i] = mix.xorMask;
        for (size_t done = seed; done < n;) {
            const size_t chunk = std::min(done, n - done);
            std::memcpy(p + done, p, chunk * sizeof(Pixel));
            done += chunk;
        }
    } else if (mix.andMask == 0x00FFFFFFu) {
        const uint32_t x = mix.xorMask;
        if (x == 0) return;
        for (; p != end; ++p) *p ^= x;
    } else {
        const uint32_t a = mix.andMask, x = mix.xorMask;
        for (; p != end; ++p) *p = (*p & a) ^ x;
    }
}

void WriteSpans(Surface &s, SpanSet &spans, Mix mix)
{
    for (const Span &sp : spans.Spans()) {
        if (sp.y < 0 || sp.y >= s.height) continue;
        WriteRun(s, sp.y, std::max(sp.x0, 0), std::min(sp.x1, s.width), mix);
    }
}

void WriteBox(Surface &s, const Box &box, Mix mix)
{
    Box c = box.Intersect(SurfaceBox(s));
    if (c.Empty()) return;
    const int32_t x0 = static_cast<int32_t>(c.left), x1 = static_cast<int32_t>(c.right);
    WriteRun(s, static_cast<int32_t>(c.top), x0, x1, mix);
    if (mix.IsCopy()) {
        // Every row of a plain fill is the first one again.
        const Pixel *first = s.Row(static_cast<int32_t>(c.top)) + x0;
        const size_t bytes = static_cast<size_t>(x1 - x0) * sizeof(Pixel);
        for (int64_t y = c.top + 1; y < c.bottom; ++y) std::memcpy(s.Row(static_cast<int32_t>(y)) + x0, first, bytes);
        return;
    }
    for (int64_t y = c.top + 1; y < c.bottom; ++y) WriteRun(s, static_cast<int32_t>(y), x0, x1, mix);
}

void WritePixel(Surface &s, int64_t x, int64_t y, Mix mix)
{
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    Pixel &p = s.Row(static_cast<int32_t>(y))[x];
    p = (p & mix.andMask) ^ mix.xorMask;
}

} // namespace standin::gdi::raster
