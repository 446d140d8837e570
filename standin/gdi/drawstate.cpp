// drawstate.cpp - DC state to rasterizer state.
#include "gdi/drawstate.h"

#include <algorithm>

namespace standin::gdi {

namespace {

// The nearer of black and white (black on a tie), as a one-bit device picks it.
Pixel NearestMono(COLORREF c)
{
    const int64_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int64_t toBlack = r * r + g * g + b * b;
    const int64_t toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? 0xFFFFFFu : 0u;
}

} // namespace

bool IsMonochrome(DC &dc)
{
    if (dc.type != DCType::Memory) return false;
    const Bitmap *b = FindBitmap(dc.bitmap);
    return b && b->bitsPerPixel == 1;
}

namespace {

Pixel TargetPixelOn(DC &dc, bool monochrome, COLORREF color, bool monoFixup)
{
    color &= 0x00FFFFFFu;
    if (!monochrome) return PixelFromColorref(color);
    if (!monoFixup) return NearestMono(color);
    if (color == 0) return 0;
    if (color == 0xFFFFFFu) return 0xFFFFFFu;
    const COLORREF bk = dc.bkColor & 0x00FFFFFFu;
    const Pixel bg = NearestMono(bk);
    return color == bk ? bg : (bg ^ 0xFFFFFFu);
}

} // namespace

Pixel TargetPixel(DC &dc, COLORREF color, bool monoFixup)
{
    return TargetPixelOn(dc, IsMonochrome(dc), color, monoFixup);
}

raster::DrawState DrawStateOf(DC &dc)
{
    raster::DrawState st;
    const bool monochrome = IsMonochrome(dc); // once: it takes a lookup of the bitmap
    if (const Pen *pen = FindPen(dc.pen)) {
        switch (pen->style) {
        case PS_NULL: st.pen.kind = raster::PenKind::Null; break;
        case PS_INSIDEFRAME: st.pen.kind = raster::PenKind::InsideFrame; break;
        default: st.pen.kind = raster::PenKind::Solid; break;
        }
        // Width 0 is the one-pixel cosmetic pen.
        st.pen.width = std::max(1, pen->width);
        st.pen.color = TargetPixelOn(dc, monochrome, pen->color, true);
    } else {
        st.pen.kind = raster::PenKind::Null;
    }
    if (const Brush *brush = FindBrush(dc.brush); brush && brush->style != BS_NULL) {
        st.brush.null = false;
        st.brush.color = TargetPixelOn(dc, monochrome, brush->color, true);
    } else {
        st.brush.null = true;
    }
    st.rop2 = dc.rop2;
    st.polyFillMode = dc.polyFillMode;
    st.clockwise = dc.arcDirection == AD_CLOCKWISE;
    return st;
}

void NoteDrawnBox(DC &dc, int64_t l, int64_t t, int64_t r, int64_t b, int64_t margin)
{
    if (dc.type != DCType::Window) return;
    auto clamp = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    RECT area{clamp(std::min(l, r) - margin), clamp(std::min(t, b) - margin), clamp(std::max(l, r) + margin + 1),
              clamp(std::max(t, b) + margin + 1)};
    NoteDrawn(dc, area);
}

} // namespace standin::gdi
