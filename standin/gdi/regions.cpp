// regions.cpp - the region calls: creating rectangular, rounded, elliptic and polygon
// regions, painting and inverting them on a DC, their bounding box and hit test.
#include "gdi/regions.h"

#include "common/trace.h"
#include "gdi/dc.h"
#include "gdi/drawstate.h"
#include "gdi/raster/writer.h"

#include <new>
#include <vector>

using namespace standin;
using namespace standin::gdi;

namespace {

HRGN MakeRegion(raster::Region region)
{
    try {
        auto object = std::make_unique<RegionObject>();
        object->region = std::move(region);
        return static_cast<HRGN>(Register(std::move(object)));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

// Writes the region on the DC's target through a mix.
void Paint(DC &dc, const raster::Region &region, raster::Mix mix)
{
    raster::PaintRegion(*TargetSurface(dc), region, mix);
    const raster::Box b = region.Bounds();
    NoteDrawnBox(dc, b.left, b.top, b.right, b.bottom, 1);
}

// The region's exact extent and kind, scanning only its bounding box.
int Extent(const raster::Region &region, RECT &box)
{
    if (!region.IsPolygon()) {
        // Rectangles and rounded rectangles fill their box's every row and column.
        const raster::Box b = region.Bounds();
        if (b.Empty()) {
            box = RECT{0, 0, 0, 0};
            return NULLREGION;
        }
        box = RECT{static_cast<LONG>(b.left), static_cast<LONG>(b.top), static_cast<LONG>(b.right),
                   static_cast<LONG>(b.bottom)};
        return region.IsPlainRect() ? SIMPLEREGION : COMPLEXREGION;
    }
    raster::SpanSet set(region.Bounds());
    region.AddTo(set);
    const std::vector<raster::Span> &spans = set.Spans();
    if (spans.empty()) {
        box = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    box = RECT{spans[0].x0, spans[0].y, spans[0].x1, spans[0].y + 1};
    bool simple = true;
    for (size_t i = 0; i < spans.size(); ++i) {
        const raster::Span &s = spans[i];
        box.left = std::min<LONG>(box.left, s.x0);
        box.right = std::max<LONG>(box.right, s.x1);
        box.bottom = std::max<LONG>(box.bottom, s.y + 1);
        if (i > 0 && (s.y != spans[i - 1].y + 1 || s.x0 != spans[0].x0 || s.x1 != spans[0].x1)) simple = false;
    }
    return simple ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

extern "C" HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2)
{
    if (trace::Enter("CreateRectRgn", x1, y1, x2, y2)) return nullptr;
    return MakeRegion(raster::Region::Rect(x1, y1, x2, y2));
}

extern "C" HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
{
    if (trace::Enter("CreateRoundRectRgn", x1, y1, x2, y2, w, h)) return nullptr;
    return MakeRegion(raster::Region::RoundRect(x1, y1, x2, y2, w, h));
}

extern "C" HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    if (trace::Enter("CreateEllipticRgn", x1, y1, x2, y2)) return nullptr;
    return MakeRegion(raster::Region::Elliptic(x1, y1, x2, y2));
}

extern "C" HRGN WINAPI CreatePolygonRgn(const POINT *pptl, int cPoint, int iMode)
{
    if (trace::Enter("CreatePolygonRgn", pptl, cPoint, iMode)) return nullptr;
    if (!pptl || cPoint < 0) return nullptr;
    std::vector<raster::Point> pts(static_cast<size_t>(cPoint));
    for (size_t i = 0; i < pts.size(); ++i) pts[i] = {pptl[i].x, pptl[i].y};
    // Any mode but WINDING fills alternately, as GDI does.
    return MakeRegion(raster::Region::Polygon(std::move(pts), iMode == WINDING ? WINDING : ALTERNATE));
}

extern "C" BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn)
{
    if (trace::Enter("InvertRgn", hdc, hrgn)) return FALSE;
    DC *dc = FindDC(hdc);
    RegionObject *rgn = FindRegion(hrgn);
    if (!dc || !rgn) return FALSE;
    Paint(*dc, rgn->region, raster::MixFor(R2_NOT, 0));
    return TRUE;
}

extern "C" BOOL WINAPI PaintRgn(HDC hdc, HRGN hrgn)
{
    if (trace::Enter("PaintRgn", hdc, hrgn)) return FALSE;
    DC *dc = FindDC(hdc);
    RegionObject *rgn = FindRegion(hrgn);
    if (!dc || !rgn) return FALSE;
    const raster::DrawState st = DrawStateOf(*dc);
    if (!st.brush.null) Paint(*dc, rgn->region, raster::MixFor(st.rop2, st.brush.color));
    return TRUE;
}

extern "C" BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr)
{
    if (trace::Enter("FillRgn", hdc, hrgn, hbr)) return FALSE;
    DC *dc = FindDC(hdc);
    RegionObject *rgn = FindRegion(hrgn);
    Brush *brush = FindBrush(hbr);
    if (!dc || !rgn || !brush) return FALSE;
    if (brush->style != BS_NULL) Paint(*dc, rgn->region, raster::MixFor(dc->rop2, TargetPixel(*dc, brush->color)));
    return TRUE;
}

extern "C" int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc)
{
    if (trace::Enter("GetRgnBox", hrgn, lprc)) return ERROR;
    RegionObject *rgn = FindRegion(hrgn);
    if (!rgn || !lprc) return ERROR;
    return Extent(rgn->region, *lprc);
}

extern "C" BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y)
{
    if (trace::Enter("PtInRegion", hrgn, x, y)) return FALSE;
    RegionObject *rgn = FindRegion(hrgn);
    if (!rgn) return FALSE;
    raster::SpanSet set(raster::Box{x, y, static_cast<int64_t>(x) + 1, static_cast<int64_t>(y) + 1});
    rgn->region.AddTo(set);
    return set.Empty() ? FALSE : TRUE;
}
