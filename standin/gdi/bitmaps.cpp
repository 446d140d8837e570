// bitmaps.cpp - bitmaps and pixel transfers: CreateCompatibleBitmap (and its discardable
// twin), BitBlt and StretchBlt with ternary raster operations, the stretch mode, and
// 24/32-bit DIBs in and out (SetDIBitsToDevice, StretchDIBits, GetDIBits).
#include "common/trace.h"
#include "gdi/dc.h"
#include "gdi/drawstate.h"
#include "gdi/raster/blit.h"
#include "gdi/raster/stretch.h"

#include <algorithm>
#include <bit>
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

// Writes an image pixel onto a DC's target: a monochrome target takes the nearer of
// black and white.
Pixel DibPixelFor(DC &dc, Pixel p)
{
    if (!IsMonochrome(dc)) return p;
    return TargetPixel(dc, ColorrefFromPixel(p), false);
}

// The raster operation over the rows a transfer draws: each source pixel (converted as
// the surfaces need) with the DC's brush and what is there.
class RopSink : public raster::RowSink {
public:
    RopSink(DC &dc, DWORD rop, SourceConversion convert, bool fromDib)
        : out_(*TargetSurface(dc)), dc_(dc), convert_(convert), toMono_(fromDib && IsMonochrome(dc))
    {
        const raster::DrawState st = DrawStateOf(dc);
        const uint8_t code = static_cast<uint8_t>(rop >> 16);
        masks_ = st.brush.null ? raster::MasksForNullBrush(code) : raster::MasksFor(code, st.brush.color);
        converts_ = convert.kind != SourceConversion::Kind::Same;
        copy_ = code == 0xCC && !converts_ && !toMono_;
    }

    Pixel *Direct(int32_t y, int32_t x0) override { return copy_ ? out_.Row(y) + x0 : nullptr; }

    void Put(int32_t y, int32_t x0, const Pixel *__restrict row, int32_t n) override
    {
        Pixel *__restrict d = out_.Row(y) + x0;
        if (copy_) {
            for (int32_t i = 0; i < n; ++i) d[i] = row[i] & 0x00FFFFFFu;
            return;
        }
        if (!converts_ && !toMono_) {
            raster::ApplyRow(masks_, row, d, n);
            return;
        }
        for (int32_t i = 0; i < n; ++i) {
            const Pixel p = masks_(convert_(row[i] & 0x00FFFFFFu), d[i]);
            d[i] = toMono_ ? DibPixelFor(dc_, p) : p;
        }
    }

private:
    Surface &out_;
    DC &dc_;
    SourceConversion convert_;
    raster::RopMasks masks_;
    bool toMono_, converts_ = false, copy_ = false;
};

// A surface's rows, read in place, or from a copy of the part a transfer within one
// surface reads: its pixel (0, 0) stands for source pixel (x0, y0).
class SurfaceRows : public raster::SourceRows {
public:
    SurfaceRows(const Surface &s, int32_t x0, int32_t y0, int32_t leftmost) : surface_(s), x0_(x0), y0_(y0)
    {
        left = leftmost;
    }
    const raster::LoosePixel *Row(int32_t y) override { return surface_.Row(y - y0_) + (left - x0_); }

private:
    const Surface &surface_;
    int32_t x0_, y0_;
};

// A DIB's rows (row 0 the image's top), read in place; 24-bit rows are unpacked, once a row.
class DibRows : public raster::SourceRows {
public:
    DibRows(const void *bits, const BITMAPINFOHEADER &h, int32_t leftmost, int32_t count)
        : bits_(static_cast<const uint8_t *>(bits)), stride_(raster::DibStride(h.biWidth, h.biBitCount)),
          height_(raster::Abs64(h.biHeight)), bitCount_(h.biBitCount), topDown_(h.biHeight < 0), count_(count)
    {
        left = leftmost;
    }
    const raster::LoosePixel *Row(int32_t y) override
    {
        const uint8_t *row = bits_ + (topDown_ ? y : height_ - 1 - y) * stride_;
        if (bitCount_ == 32 && std::endian::native == std::endian::little)
            return reinterpret_cast<const raster::LoosePixel *>(row) + left;
        if (y != unpacked_) {
            scratch_.resize(static_cast<size_t>(count_));
            raster::DibRowToPixels(row, bitCount_, left, count_, scratch_.data());
            unpacked_ = y;
        }
        return scratch_.data();
    }

private:
    const uint8_t *bits_;
    int64_t stride_, height_;
    int bitCount_;
    bool topDown_;
    int32_t count_;
    int32_t unpacked_ = -1;
    std::vector<Pixel> scratch_;
};

// The source span a pair of maps reads.
raster::Range SourceSpan(const raster::AxisMap &m)
{
    raster::Range r{INT64_MAX, INT64_MIN};
    for (size_t i = 0; i < m.Size(); ++i) {
        r.lo = std::min<int64_t>(r.lo, std::min(m.first[i], m.last[i]));
        r.hi = std::max<int64_t>(r.hi, std::max(m.first[i], m.last[i]) + 1);
    }
    return r;
}

// A rop without a source over a box of the destination. With the null brush only the
// operations that ignore the pattern (black, white, invert, nothing) do anything.
void PatternBlt(DC &dc, int64_t x, int64_t y, int64_t w, int64_t h, DWORD rop)
{
    Surface &s = *TargetSurface(dc);
    const raster::Range xs = raster::StartAxis(x, w, s.width, 0, 1, 1).dvis;
    const raster::Range ys = raster::StartAxis(y, h, s.height, 0, 1, 1).dvis;
    const raster::DrawState st = DrawStateOf(dc);
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    const raster::RopMasks masks = st.brush.null ? raster::MasksForNullBrush(code) : raster::MasksFor(code, st.brush.color);
    for (int64_t yy = ys.lo; yy < ys.hi; ++yy) {
        Pixel *row = s.Row(static_cast<int32_t>(yy));
        for (int64_t xx = xs.lo; xx < xs.hi; ++xx) row[xx] = masks(0, row[xx]);
    }
    NoteDrawnBox(dc, x, y, x + w, y + h, 0);
}

// The maps of a fitted transfer: a copy when the sizes (after StretchBlt's one-pixel
// habit) agree on both axes, a stretch otherwise.
void MapsFor(const raster::Axis &ax, const raster::Axis &ay, int64_t sw, int64_t sh, raster::AxisMap &xs,
             raster::AxisMap &ys, bool &stretched)
{
    stretched = sw != ax.dsize || sh != ay.dsize;
    xs = stretched ? raster::MapAxis(ax, sw) : raster::MapCopy(ax);
    ys = stretched ? raster::MapAxis(ay, sh) : raster::MapCopy(ay);
}

BOOL Blit(HDC hdcDest, int xd, int yd, int wd, int hd, HDC hdcSrc, int xs, int ys, int ws, int hs, DWORD rop)
{
    DC *dst = FindDC(hdcDest);
    if (!dst) return FALSE;
    if (!RopUsesSource(rop)) {
        PatternBlt(*dst, xd, yd, wd, hd, rop);
        return TRUE;
    }
    DC *src = FindDC(hdcSrc);
    if (!src) return FALSE;
    Surface &out = *TargetSurface(*dst);
    const Surface &in = *TargetSurface(*src);
    // Each axis cut to both surfaces and fitted to the other; nothing left draws nothing.
    raster::Axis ax = raster::StartAxis(xd, wd, out.width, xs, ws, in.width);
    raster::Axis ay = raster::StartAxis(yd, hd, out.height, ys, hs, in.height);
    const bool stretching = ws != wd || hs != hd;
    if (!raster::FitAxis(ax, stretching) || !raster::FitAxis(ay, stretching)) return TRUE;
    const SourceConversion convert = ConversionFor(*dst, *src);
    if (!stretching && &in != &out) {
        // Without a stretch the fitted runs are the transfer: row by row, no maps.
        const int64_t w = ax.dvis.hi - ax.dvis.lo, h = ay.dvis.hi - ay.dvis.lo;
        if (rop == SRCCOPY && convert.kind == SourceConversion::Kind::Same) {
            raster::CopyBlock(out, ax.dvis.lo, ay.dvis.lo, w, h, in, ax.svis.lo, ay.svis.lo);
        } else {
            RopSink sink(*dst, rop, convert, false);
            for (int64_t y = 0; y < h; ++y)
                sink.Put(static_cast<int32_t>(ay.dvis.lo + y), static_cast<int32_t>(ax.dvis.lo),
                         in.Row(static_cast<int32_t>(ay.svis.lo + y)) + ax.svis.lo, static_cast<int32_t>(w));
        }
        NoteDrawnBox(*dst, xd, yd, static_cast<int64_t>(xd) + wd, static_cast<int64_t>(yd) + hd, 0);
        return TRUE;
    }
    // A destination one pixel wide or high merges one source pixel fewer.
    const int64_t sw = wd == 1 && ws > 1 ? ws - 1 : ws, sh = hd == 1 && hs > 1 ? hs - 1 : hs;
    raster::AxisMap mx, my;
    bool stretched;
    MapsFor(ax, ay, sw, sh, mx, my, stretched);
    // A stretch whose pixel selection meets no source pixel inside the fitted runs fails.
    if (!mx.Size() || !my.Size()) return FALSE;
    if (!stretched && rop == SRCCOPY && convert.kind == SourceConversion::Kind::Same) {
        raster::CopyBlock(out, mx.lo, my.lo, static_cast<int64_t>(mx.Size()), static_cast<int64_t>(my.Size()), in,
                          mx.first.empty() ? 0 : mx.first[0], my.first.empty() ? 0 : my.first[0]);
    } else {
        const raster::Range cols = SourceSpan(mx), rows = SourceSpan(my);
        RopSink sink(*dst, rop, convert, false);
        const int mode = stretched ? dst->stretchMode : raster::kColorOnColor;
        if (&in != &out) {
            SurfaceRows source(in, 0, 0, static_cast<int32_t>(cols.lo));
            raster::Transfer(mx, my, source, mode, sink);
        } else {
            // Within one surface the transfer reads what was there before it: a copy of the
            // part it reads.
            Surface part;
            try {
                part = Surface(static_cast<int32_t>(cols.hi - cols.lo), static_cast<int32_t>(rows.hi - rows.lo));
            } catch (const std::bad_alloc &) {
                return FALSE;
            }
            for (int64_t y = rows.lo; y < rows.hi; ++y)
                std::memcpy(part.Row(static_cast<int32_t>(y - rows.lo)), in.Row(static_cast<int32_t>(y)) + cols.lo,
                            static_cast<size_t>(part.width) * sizeof(Pixel));
            SurfaceRows source(part, static_cast<int32_t>(cols.lo), static_cast<int32_t>(rows.lo),
                               static_cast<int32_t>(cols.lo));
            raster::Transfer(mx, my, source, mode, sink);
        }
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
    return Blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

extern "C" BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                                  int ySrc, int wSrc, int hSrc, DWORD rop)
{
    if (trace::Enter("StretchBlt", hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop))
        return FALSE;
    return Blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
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
    const int64_t ya = std::max(y0, -dy), yb = std::min(y1, out.height - dy), n = xb - xa;
    if (n > 0 && ya < yb) {
        // Rows walk down the destination and, in the buffer, down or up by one stride.
        const uint8_t *srcRow = bits + (topDown ? ya : bandHeight - 1 - ya) * stride;
        const int64_t srcStep = topDown ? stride : -stride;
        Pixel *dst = out.Row(static_cast<int32_t>(ya + dy)) + xa + dx;
        if (hdr.biBitCount == 32 && std::endian::native == std::endian::little && !monochrome) {
            // Short rows inline; long ones through the widest vectors the processor has.
            for (int64_t y = ya; y < yb; ++y, srcRow += srcStep, dst += out.width)
                if (n < 64)
                    raster::Dib32RowToPixels(srcRow + xa * 4, n, dst);
                else
                    raster::DibRowToPixels(srcRow, 32, xa, n, dst);
        } else {
            for (int64_t y = ya; y < yb; ++y, srcRow += srcStep, dst += out.width) {
                raster::DibRowToPixels(srcRow, hdr.biBitCount, xa, n, dst);
                if (monochrome)
                    for (int64_t x = 0; x < n; ++x) dst[x] = DibPixelFor(*dc, dst[x]);
            }
        }
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
    int64_t dx = xDest, dy = yDest, dw = DestWidth, dh = DestHeight;
    int64_t sx = xSrc, sy = ySrc, sw = SrcWidth, sh = SrcHeight;
    const bool fromOrigin = sx == 0 && sy == 0 && sw == dw && sh == dh;
    // One destination pixel wide or high takes one source pixel fewer, except in a
    // stretching copy.
    if (rop != SRCCOPY || fromOrigin) {
        if (dw == 1 && sw > 1) --sw;
        if (dh == 1 && sh > 1) --sh;
    }
    // Other rops turn an equal negative pair of sizes round, one pixel off.
    if (rop != SRCCOPY) {
        if (dw < 0 && dw == sw) {
            dx += dw;
            sx += sw;
            dw = -dw;
            sw = -sw;
        }
        if (dh < 0 && dh == sh) {
            dy += dh;
            sy += sh;
            dh = -dh;
            sh = -sh;
        }
    }
    // The source rectangle counts up from the image's lower-left corner (a top-down image
    // read by another rop or copied whole from its origin aside), and a backwards one is
    // pulled to the image's edge when it lies past it.
    if (!topDown || (rop == SRCCOPY && !fromOrigin)) sy = height - sy - sh;
    if (sy >= height && sy + sh + 1 < height)
        sy = height - 1;
    else if (sy > 0 && sy + sh + 1 < 0)
        sy = -sh - 1;
    Surface &out = *TargetSurface(*dc);
    raster::Axis ax = raster::StartAxis(dx, dw, out.width, sx, sw, hdr.biWidth);
    raster::Axis ay = raster::StartAxis(dy, dh, out.height, sy, sh, height);
    if (ax.svis.Empty() || ay.svis.Empty()) return 0;
    // GDI reports the source's height, signed like the header's for any rop but a copy.
    const int result = static_cast<int>(rop == SRCCOPY ? height : hdr.biHeight);
    const bool stretching = sw != dw || sh != dh;
    if (!raster::FitAxis(ax, stretching) || !raster::FitAxis(ay, stretching)) return result;
    raster::AxisMap mx, my;
    bool stretched;
    MapsFor(ax, ay, sw, sh, mx, my, stretched);
    if (!mx.Size() || !my.Size()) return 0; // the stretch meets no source pixel: a failure
    const raster::Range cols = SourceSpan(mx);
    DibRows source(lpBits, hdr, static_cast<int32_t>(cols.lo), static_cast<int32_t>(cols.hi - cols.lo));
    RopSink sink(*dc, rop, SourceConversion{}, true);
    raster::Transfer(mx, my, source, stretched ? dc->stretchMode : raster::kColorOnColor, sink);
    NoteDrawnBox(*dc, xDest, yDest, static_cast<int64_t>(xDest) + DestWidth, static_cast<int64_t>(yDest) + DestHeight,
                 0);
    return result;
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
