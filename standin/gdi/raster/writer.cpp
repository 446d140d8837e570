// writer.cpp - ROP2 mixes and the run writers (a copy and an invert fast path, checked
// against the general per-pixel form by the tests).
#include "writer.h"

#include <algorithm>

namespace standin::gdi::raster {
namespace {

bool fastPaths = true;

// A fill of many whole rows at once: the string store runs at the memory's speed, as the C
// library's memset does; per row it starts too slowly to pay.
void FillLong(Pixel *p, size_t n, uint32_t v)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (n & 1) {
        *p++ = v;
        --n;
    }
    size_t words = n / 2;
    const uint64_t v2 = v | (static_cast<uint64_t>(v) << 32);
    asm volatile("rep stosq" : "+D"(p), "+c"(words) : "a"(v2) : "memory");
#else
    FillPixels(p, n, v);
#endif
}

void XorRun(Pixel *p, size_t n, uint32_t x)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i x4 = _mm_set1_epi32(static_cast<int>(x));
    for (; i + 4 <= n; i += 4) {
        __m128i *q = reinterpret_cast<__m128i *>(p + i);
        _mm_storeu_si128(q, _mm_xor_si128(_mm_loadu_si128(q), x4));
    }
#endif
    for (; i < n; ++i) p[i] ^= x;
}

void MixRun(Pixel *p, size_t n, uint32_t a, uint32_t x)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i a4 = _mm_set1_epi32(static_cast<int>(a)), x4 = _mm_set1_epi32(static_cast<int>(x));
    for (; i + 4 <= n; i += 4) {
        __m128i *q = reinterpret_cast<__m128i *>(p + i);
        _mm_storeu_si128(q, _mm_xor_si128(_mm_and_si128(_mm_loadu_si128(q), a4), x4));
    }
#endif
    for (; i < n; ++i) p[i] = (p[i] & a) ^ x;
}

} // namespace

bool FastPaths() { return fastPaths; }
void SetFastPathsForTesting(bool on) { fastPaths = on; }

namespace {

// For each ROP2 code, the and/xor masks a pen bit of 0 and of 1 gives: bit (2p + d) of
// (code - 1) is the result for pen bit p and destination bit d.
struct MixMasks {
    uint32_t and0, xor0, and1, xor1;
};

constexpr MixMasks MasksFor(int rop2)
{
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    auto bit = [table](unsigned i) { return (table >> i) & 1u; };
    return {(bit(0) ^ bit(1)) ? ~0u : 0u, bit(0) ? ~0u : 0u, (bit(2) ^ bit(3)) ? ~0u : 0u, bit(2) ? ~0u : 0u};
}

constexpr MixMasks kMasks[16] = {MasksFor(1),  MasksFor(2),  MasksFor(3),  MasksFor(4),  MasksFor(5),  MasksFor(6),
                                 MasksFor(7),  MasksFor(8),  MasksFor(9),  MasksFor(10), MasksFor(11), MasksFor(12),
                                 MasksFor(13), MasksFor(14), MasksFor(15), MasksFor(16)};

} // namespace

Mix MixFor(int rop2, Pixel color)
{
    if (rop2 < 1 || rop2 > 16) rop2 = 11; // R2_NOP
    const MixMasks &k = kMasks[rop2 - 1];
    const uint32_t p = color & 0x00FFFFFFu;
    Mix m;
    m.andMask = ((p & k.and1) | (~p & k.and0)) & 0x00FFFFFFu;
    m.xorMask = ((p & k.xor1) | (~p & k.xor0)) & 0x00FFFFFFu;
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
    const size_t n = static_cast<size_t>(x1 - x0);
    if (mix.andMask == 0) FillPixels(p, n, mix.xorMask);
    else if (mix.andMask == 0x00FFFFFFu) {
        if (mix.xorMask != 0) XorRun(p, n, mix.xorMask);
    } else {
        MixRun(p, n, mix.andMask, mix.xorMask);
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
    if (mix.IsCopy() && x0 == 0 && x1 == s.width && fastPaths) {
        // Whole rows lie end to end: one long fill.
        FillLong(s.Row(static_cast<int32_t>(c.top)),
                 static_cast<size_t>(c.bottom - c.top) * static_cast<size_t>(s.width), mix.xorMask);
        return;
    }
    for (int64_t y = c.top; y < c.bottom; ++y) WriteRun(s, static_cast<int32_t>(y), x0, x1, mix);
}

void WriteColumn(Surface &s, int64_t x, int64_t y0, int64_t y1, Mix mix)
{
    if (x < 0 || x >= s.width) return;
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, s.height);
    if (y0 >= y1) return;
    const size_t stride = static_cast<size_t>(s.width);
    Pixel *p = s.Row(static_cast<int32_t>(y0)) + x;
    const uint32_t a = mix.andMask, v = mix.xorMask;
    if (a == 0)
        for (int64_t n = y1 - y0; n > 0; --n, p += stride) *p = v;
    else
        for (int64_t n = y1 - y0; n > 0; --n, p += stride) *p = (*p & a) ^ v;
}

void WritePixel(Surface &s, int64_t x, int64_t y, Mix mix)
{
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    Pixel &p = s.Row(static_cast<int32_t>(y))[x];
    p = (p & mix.andMask) ^ mix.xorMask;
}

} // namespace standin::gdi::raster
