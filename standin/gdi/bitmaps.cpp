// bitmaps.cpp - bitmaps and pixel transfers: CreateCompatibleBitmap (and its discardable
// twin), BitBlt and StretchBlt with ternary raster operations, the stretch mode, and
// 24/32-bit DIBs in and out (SetDIBitsToDevice, StretchDIBits, GetDIBits).
#include "common/trace.h"
#include "gdi/dc.h"
#include "gdi/drawstate.h"
#include "gdi/raster/blit.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

using namespace standin;
using namespace standin::gdi;

namespace {

constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28; // 1 GiB of 32-bit pixels

HBITMAP NewBitmap(int64_t width, int64_t height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX || width * height > kMaxBitmapPixels)
        return nullptr;
    try {
        auto bmp = std::make_unique<Bitmap>();
        bmp->surface = Surface(static_cast<int32_t>(width), static_cast<int32_t>(height), 0);
        bmp->bitsPerPixel = bitsPerPixel;
        return static_cast<HBITMAP>(Register(std::move(bmp)));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

HBITMAP CompatibleBitmap(HDC hdc, int cx, int cy)
{
    DC *dc = FindDC(hdc);
    if (!dc) return nullptr;
    // No area gives GDI's 1x1 monochrome bitmap; otherwise the DC's own format.
    if (cx == 0 || cy == 0) return NewBitmap(1, 1, 1);
    return NewBitmap(cx, cy, IsMonochrome(*dc) ? 1 : 32);
}

bool RopUsesSource(DWORD rop) { return ((rop >> 2) & 0x330000u) != (rop & 0x330000u); }

// The pattern a rop combines: the DC's brush (black for a null brush: nothing to show).
Pixel PatternOf(DC &dc)
{
    const raster::DrawState st = DrawStateOf(dc);
    return st.brush.null ? 0 : st.brush.color;
}

// Source pixels as the destination takes them: monochrome to colour gives the
// destination's text colour for black and its background colour for white; colour to
// monochrome gives white exactly where the source shows its DC's background colour.
struct SourceConversion {
    enum class Kind { Same, MonoToColor, ColorToMono } kind = Kind::Same;
    Pixel fore = 0, back = 0xFFFFFF, sourceBack = 0xFFFFFF;

    Pixel operator()(Pixel p) const
    {
        switch (kind) {
        case Kind::MonoToColor: return p ? back : fore;
        case Kind::ColorToMono: return p == sourceBack ? 0xFFFFFFu : 0u;
        default: return p;
        }
    }
};

SourceConversion ConversionFor(DC &dst, DC &src)
{
    SourceConversion c;
    const bool dm = IsMonochrome(dst), sm = IsMonochrome(src);
    if (sm && !dm) {
        c.kind = SourceConversion::Kind::MonoToColor;
        c.fore = PixelFromColorref(dst.textColor & 0xFFFFFFu);
        c.back = PixelFromColorref(dst.bkColor & 0xFFFFFFu);
    } else if (dm && !sm) {
        c.kind = SourceConversion::Kind::ColorToMono;
        c.sourceBack = PixelFromColorref(src.bkColor & 0xFFFFFFu);
    }
    return c;
}

// A rop without a source over a box of the destination.
void PatternBlt(DC &dc, int64_t x, int64_t y, int64_t w, int64_t h, DWORD rop)
{
    Surface &s = *TargetSurface(dc);
    if (w < 0) { x += w; w = -w; }
    if (h < 0) { y += h; h = -h; }
    const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(x + w, s.width);
    const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(y + h, s.height);
    const Pixel pat = PatternOf(dc);
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    for (int64_t yy = y0; yy < y1; ++yy) {
        Pixel *row = s.Row(static_cast<int32_t>(yy));
        for (int64_t xx = x0; xx < x1; ++xx) row[xx] = raster::Rop3(code, pat, 0, row[xx]);
    }
    NoteDrawnBox(dc, x, y, x + w, y + h, 0);
}

BOOL Blit(HDC hdcDest, int xd, int yd, int wd, int hd, HDC hdcSrc, int xs, int ys, int ws, int hs, DWORD rop,
          bool stretch)
{
    DC *dst = FindDC(hdcDest);
    if (!dst) return FALSE;
    if (!RopUsesSource(rop)) {
        PatternBlt(*dst, xd, yd, wd, hd, rop);
        return TRUE;
    }
    DC *src = FindDC(hdcSrc);
    if (!src) return FALSE;
    if (wd == 0 || hd == 0) return TRUE; // no area: nothing to read or write
    Surface &out = *TargetSurface(*dst);
    const Surface &in = *TargetSurface(*src);
    const SourceConversion convert = ConversionFor(*dst, *src);
    const uint8_t code = static_cast<uint8_t>(rop >> 16);

    if (!stretch && rop == SRCCOPY && convert.kind == SourceConversion::Kind::Same && wd > 0 && hd > 0) {
        raster::CopyBlock(out, xd, yd, wd, hd, in, xs, ys);
    } else {
        // A blit within one surface reads what was there, from a copy; any other source is
        // read in place (a copy of a large bitmap would cost its whole size).
        std::optional<Surface> copy;
        if (&in == &out) {
            try {
                copy.emplace(in);
            } catch (const std::bad_alloc &) {
                return FALSE;
            }
        }
        const Surface &source = copy ? *copy : in;
        const Pixel pat = PatternOf(*dst);
        const int mode = stretch ? dst->stretchMode : raster::kColorOnColor;
        raster::StretchPixels(out.width, out.height, xd, yd, wd, hd, source, xs, ys, ws, hs, mode, stretch,
                              [&](int32_t x, int32_t y, Pixel p) {
                                  Pixel &d = out.Row(y)[x];
                                  d = raster::Rop3(code, pat, convert(p), d);
                              });
    }
    NoteDrawnBox(*dst, xd, yd, static_cast<int64_t>(xd) + wd, static_cast<int64_t>(yd) + hd, 0);
    return TRUE;
}

// A DIB the transfers can read: 24 or 32 bits per pixel, uncompressed (or 32-bit
// bitfields with the usual masks).
bool ReadableDib(const BITMAPINFO *bmi)
{
    if (!bmi) return false;
    const BITMAPINFOHEADER &h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return false;
    if (h.biBitCount == 24 && h.biCompression == BI_RGB) return true;
    return h.biBitCount == 32 && (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS);
}

// Writes an image pixel onto a DC's target: a monochrome target takes the nearer of
// black and white.
Pixel DibPixelFor(DC &dc, Pixel p)
{
    if (!IsMonochrome(dc)) return p;
    return TargetPixel(dc, ColorrefFromPixel(p), false);
}

} // namespace

extern "C" HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    if (trace::Enter("CreateCompatibleBitmap", hdc, cx, cy)) return nullptr;
    return CompatibleBitmap(hdc, cx, cy);
}

extern "C" HBITMAP WINAPI CreateDiscardableBitmap(HDC hdc, int cx, int cy)
{
    if (trace::Enter("CreateDiscardableBitmap", hdc, cx, cy)) return nullptr;
    return CompatibleBitmap(hdc, cx, cy);
}

extern "C" BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    if (trace::Enter("BitBlt", hdc, x, y, cx, cy, hdcSrc, x1, y1, rop)) return FALSE;
    return Blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop, false);
}

extern "C" BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                                  int ySrc, int wSrc, int hSrc, DWORD rop)
{
    if (trace::Enter("StretchBlt", hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop))
        return FALSE;
    return Blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop, true);
}

extern "C" int WINAPI SetStretchBltMode(HDC hdc, int mode)
{
    if (trace::Enter("SetStretchBltMode", hdc, mode)) return 0;
    DC *dc = FindDC(hdc);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int previous = dc->stretchMode;
    dc->stretchMode = mode;
    return previous;
}

extern "C" int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                                        UINT StartScan, UINT cLines, const void *lpvBits, const BITMAPINFO *lpbmi,
                                        UINT ColorUse)
{
    if (trace::Enter("SetDIBitsToDevice", hdc, xDest, yDest, w, h, xSrc, ySrc, StartScan, cLines, lpvBits, lpbmi,
                     ColorUse))
        return 0;
    DC *dc = FindDC(hdc);
    if (!dc || !lpvBits || !ReadableDib(lpbmi) || ColorUse > 1) return 0;
    const BITMAPINFOHEADER &hdr = lpbmi->bmiHeader;
    const bool topDown = hdr.biHeight < 0;
    const int64_t height = raster::Abs64(hdr.biHeight);
    const int64_t cx = w, cy = h;
    int64_t lines = cLines;
    if (lines == 0 || StartScan >= height) return 0;
    if (!topDown && lines > height - StartScan) lines = height - StartScan;
    // The buffer holds `lines` scan lines from StartScan on. The source rectangle counts
    // up from the image's lower-left corner; in the buffer's top-down terms its top row is:
    int64_t sy = static_cast<int64_t>(StartScan) + lines - (static_cast<int64_t>(ySrc) + cy);
    if (sy > 0) {
        if (topDown) {
            if (sy >= lines) return static_cast<int>(lines);
        } else {
            // Bottom-up: the lines above the rectangle are simply not used.
            if (sy >= lines) return 0;
            lines -= sy;
            sy = 0;
        }
    }
    // The band: the buffer's first bandHeight scan lines, read in place. Its row r is
    // buffer line r when top-down and bandHeight - 1 - r otherwise.
    const int64_t bandHeight = topDown ? std::min(lines, height) : lines;
    const int64_t stride = raster::DibStride(hdr.biWidth, hdr.biBitCount);
    const auto *bits = static_cast<const uint8_t *>(lpvBits);
    // The source rectangle within the band, and where it lands.
    const int64_t x0 = std::max<int64_t>(xSrc, 0), x1 = std::min<int64_t>(static_cast<int64_t>(xSrc) + cx, hdr.biWidth);
    const int64_t y0 = std::max<int64_t>(sy, 0), y1 = std::min<int64_t>(sy + cy, bandHeight);
    if (x0 >= x1 || y0 >= y1) return 0;
    Surface &out = *TargetSurface(*dc);
    const int64_t dx = static_cast<int64_t>(xDest) - xSrc, dy = static_cast<int64_t>(yDest) - sy;
    const int64_t xa = std::max(x0, -dx), xb = std::min(x1, out.width - dx);
    const bool monochrome = IsMonochrome(*dc);
    for (int64_t y = std::max(y0, -dy); y < std::min(y1, out.height - dy) && xa < xb; ++y) {
        const int64_t line = topDown ? y : bandHeight - 1 - y;
        Pixel *dst = out.Row(static_cast<int32_t>(y + dy)) + xa + dx;
        raster::DibRowToPixels(bits + line * stride, hdr.biBitCount, xa, xb - xa, dst);
        if (monochrome)
            for (int64_t x = 0; x < xb - xa; ++x) dst[x] = DibPixelFor(*dc, dst[x]);
    }
    NoteDrawnBox(*dc, xDest, yDest, xDest + cx, yDest + cy, 0);
    return static_cast<int>(lines);
}

extern "C" int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                                    int SrcWidth, int SrcHeight, const void *lpBits, const BITMAPINFO *lpbmi,
                                    UINT iUsage, DWORD rop)
{
    if (trace::Enter("StretchDIBits", hdc, xDest, yDest, DestWidth, DestHeight, xSrc, ySrc, SrcWidth, SrcHeight,
                     lpBits, lpbmi, iUsage, rop))
        return 0;
    DC *dc = FindDC(hdc);
    if (!dc || !lpBits || !ReadableDib(lpbmi) || iUsage > 1) return 0;
    const BITMAPINFOHEADER &hdr = lpbmi->bmiHeader;
    const int64_t height = raster::Abs64(hdr.biHeight);
    const bool topDown = hdr.biHeight < 0;
    int64_t sx = xSrc, sy = ySrc, sw = SrcWidth, sh = SrcHeight;
    const int64_t dw = DestWidth, dh = DestHeight;
    // One destination pixel wide or high takes one source pixel fewer, as StretchBlt does.
    if (dw == 1 && sw > 1) --sw;
    if (dh == 1 && sh > 1) --sh;
    // The source rectangle counts up from the image's lower-left corner (a plain copy of
    // a top-down image from its origin aside, where both readings agree).
    const bool fromOrigin = xSrc == 0 && ySrc == 0 && SrcWidth == DestWidth && SrcHeight == DestHeight;
    if (!topDown || (rop == SRCCOPY && !fromOrigin)) sy = height - sy - sh;
    const int64_t srcLeft = std::min(sx, sx + sw), srcRight = std::max(sx, sx + sw);
    const int64_t srcTop = std::min(sy, sy + sh), srcBottom = std::max(sy, sy + sh);
    if (std::max<int64_t>(srcLeft, 0) >= std::min<int64_t>(srcRight, hdr.biWidth) ||
        std::max<int64_t>(srcTop, 0) >= std::min<int64_t>(srcBottom, height))
        return 0;
    const Surface img = raster::SurfaceFromDib(lpBits, hdr.biWidth, hdr.biHeight, hdr.biBitCount, 0, height, nullptr);
    Surface &out = *TargetSurface(*dc);
    const Pixel pat = PatternOf(*dc);
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    raster::StretchPixels(out.width, out.height, xDest, yDest, dw, dh, img, sx, sy, sw, sh, dc->stretchMode, false,
                          [&](int32_t x, int32_t y, Pixel p) {
                              Pixel &d = out.Row(y)[x];
                              d = DibPixelFor(*dc, raster::Rop3(code, pat, p, d));
                          });
    NoteDrawnBox(*dc, xDest, yDest, static_cast<int64_t>(xDest) + DestWidth, static_cast<int64_t>(yDest) + DestHeight,
                 0);
    // GDI reports the source's height, signed like the header's for any rop but a copy.
    return static_cast<int>(rop == SRCCOPY ? height : hdr.biHeight);
}

extern "C" int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, BITMAPINFO *lpbmi,
                                UINT usage)
{
    if (trace::Enter("GetDIBits", hdc, hbm, start, cLines, lpvBits, lpbmi, usage)) return 0;
    DC *dc = FindDC(hdc);
    Bitmap *bmp = FindBitmap(hbm);
    if (!dc || !bmp || !lpbmi || usage > 1) return 0;
    BITMAPINFOHEADER &hdr = lpbmi->bmiHeader;
    if (hdr.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    const Surface &s = bmp->surface;
    const int64_t height = raster::Abs64(hdr.biHeight);
    if (cLines == 0 || start >= height) lpvBits = nullptr;
    if (!lpvBits && hdr.biBitCount == 0) {
        // Only the header is wanted: describe the bitmap.
        hdr.biWidth = s.width;
        hdr.biHeight = s.height;
        hdr.biPlanes = 1;
        hdr.biBitCount = static_cast<WORD>(bmp->bitsPerPixel);
        hdr.biCompression = bmp->bitsPerPixel == 32 ? BI_BITFIELDS : BI_RGB;
        hdr.biSizeImage = static_cast<DWORD>(raster::DibStride(s.width, bmp->bitsPerPixel) * s.height);
        return 1;
    }
    if (hdr.biWidth <= 0 || hdr.biHeight == 0 || hdr.biPlanes != 1) return 0;
    if (!((hdr.biBitCount == 32 && (hdr.biCompression == BI_RGB || hdr.biCompression == BI_BITFIELDS)) ||
          (hdr.biBitCount == 24 && hdr.biCompression == BI_RGB)))
        return 0;
    const int64_t stride = raster::DibStride(hdr.biWidth, hdr.biBitCount);
    hdr.biSizeImage = static_cast<DWORD>(stride * height);
    if (!lpvBits) return 1;

    // The band: scan lines [start, start + lines) counted up from the bottom of a DIB of
    // |biHeight| rows whose bottom row is the bitmap's row |biHeight| - 1 - offset... that
    // is, band row i (from the band's top) shows bitmap row i + offset.
    const bool topDown = hdr.biHeight < 0;
    int64_t lines = cLines;
    int64_t offset;
    if (!topDown) {
        lines = std::min<int64_t>(lines, height - start);
        offset = height - lines - start;
    } else {
        offset = height - lines - start;
        if (offset < 0) {
            offset = 0;
            lines = height - start;
        }
    }
    // Band rows that exist in the bitmap.
    const int64_t first = std::max<int64_t>(0, -offset), last = std::min<int64_t>(lines, s.height - offset);
    const int64_t width = std::min<int64_t>(hdr.biWidth, s.width);
    uint8_t *base = static_cast<uint8_t *>(lpvBits);
    const int bytes = hdr.biBitCount / 8;
    // Buffer row of band row i: top-down buffers run down the band, bottom-up ones up it.
    auto bufferRow = [&](int64_t i) { return base + (topDown ? i : lines - 1 - i) * stride; };
    for (int64_t i = 0; i < lines; ++i) {
        uint8_t *dst = bufferRow(i);
        if (i < first || i >= last) {
            std::memset(dst, 0, static_cast<size_t>(stride)); // rows past the bitmap read as zero
            continue;
        }
        const Pixel *src = s.Row(static_cast<int32_t>(i + offset));
        for (int64_t x = 0; x < width; ++x) {
            const Pixel p = src[x];
            dst[x * bytes] = static_cast<uint8_t>(p);
            dst[x * bytes + 1] = static_cast<uint8_t>(p >> 8);
            dst[x * bytes + 2] = static_cast<uint8_t>(p >> 16);
            if (bytes == 4) dst[x * bytes + 3] = 0;
        }
    }
    return static_cast<int>(std::max<int64_t>(0, last - first));
}
