// draw.cpp - the figure calls: LineTo, Rectangle, RoundRect, Ellipse, Arc,
// Pie, Chord, Polygon, Polyline, PolyBezier, the fill-mode and arc-direction setters and
// single pixels. Each checks its DC, hands the figure to the rasterizer with the DC's
// state and reports the touched area to the window system.
#include "common/trace.h"
#include "gdi/dc.h"
#include "gdi/drawstate.h"
#include "gdi/raster/shapes.h"
#include "gdi/raster/writer.h"

#include <algorithm>
#include <vector>

using namespace standin;
using namespace standin::gdi;

namespace {

// Margin that covers any pen around a figure's coordinates.
int64_t PenMargin(const raster::DrawState &st) { return st.pen.width + 2; }

// The points of one call: a few in memory kept from call to call, many in their own.
const std::vector<raster::Point> &ToPoints(const POINT *pts, size_t n, std::vector<raster::Point> &many)
{
    constexpr size_t kKept = 4096;
    thread_local std::vector<raster::Point> few;
    std::vector<raster::Point> &out = n <= kKept ? few : many;
    out.resize(n);
    for (size_t i = 0; i < n; ++i) out[i] = {pts[i].x, pts[i].y};
    return out;
}

void NoteDrawnPoints(DC &dc, const std::vector<raster::Point> &pts, int64_t margin)
{
    if (pts.empty() || dc.type != DCType::Window) return;
    int64_t l = pts[0].x, r = pts[0].x, t = pts[0].y, b = pts[0].y;
    for (const raster::Point &p : pts) {
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        t = std::min(t, p.y);
        b = std::max(b, p.y);
    }
    NoteDrawnBox(dc, l, t, r, b, margin);
}

// Runs a boxed figure: look the DC up, draw, note the box.
template <class F> BOOL BoxFigure(HDC hdc, int l, int t, int r, int b, F draw)
{
    DC *dc = FindDC(hdc);
    if (!dc) return FALSE;
    const raster::DrawState st = DrawStateOf(*dc);
    const bool ok = draw(*TargetSurface(*dc), st);
    NoteDrawnBox(*dc, l, t, r, b, PenMargin(st));
    return ok ? TRUE : FALSE;
}

} // namespace

extern "C" BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    if (trace::Enter("LineTo", hdc, x, y)) return FALSE;
    DC *dc = FindDC(hdc);
    if (!dc) return FALSE;
    const raster::DrawState st = DrawStateOf(*dc);
    const raster::Point from{dc->position.x, dc->position.y}, to{x, y};
    raster::DrawLine(*TargetSurface(*dc), st, from, to);
    NoteDrawnBox(*dc, from.x, from.y, to.x, to.y, PenMargin(st));
    dc->position = POINT{x, y};
    return TRUE;
}

extern "C" BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    if (trace::Enter("Rectangle", hdc, left, top, right, bottom)) return FALSE;
    return BoxFigure(hdc, left, top, right, bottom, [&](Surface &s, const raster::DrawState &st) {
        return raster::DrawRectangle(s, st, left, top, right, bottom);
    });
}

extern "C" BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    if (trace::Enter("RoundRect", hdc, left, top, right, bottom, width, height)) return FALSE;
    return BoxFigure(hdc, left, top, right, bottom, [&](Surface &s, const raster::DrawState &st) {
        return raster::DrawRoundRect(s, st, left, top, right, bottom, width, height);
    });
}

extern "C" BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    if (trace::Enter("Ellipse", hdc, left, top, right, bottom)) return FALSE;
    return BoxFigure(hdc, left, top, right, bottom, [&](Surface &s, const raster::DrawState &st) {
        return raster::DrawEllipse(s, st, left, top, right, bottom);
    });
}

namespace {

BOOL ArcFigure(raster::ArcKind kind, HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return BoxFigure(hdc, x1, y1, x2, y2, [&](Surface &s, const raster::DrawState &st) {
        return raster::DrawArc(s, st, kind, x1, y1, x2, y2, x3, y3, x4, y4);
    });
}

} // namespace

extern "C" BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (trace::Enter("Arc", hdc, x1, y1, x2, y2, x3, y3, x4, y4)) return FALSE;
    return ArcFigure(raster::ArcKind::Arc, hdc, x1, y1, x2, y2, x3, y3, x4, y4);
}

extern "C" BOOL WINAPI Pie(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (trace::Enter("Pie", hdc, x1, y1, x2, y2, x3, y3, x4, y4)) return FALSE;
    return ArcFigure(raster::ArcKind::Pie, hdc, x1, y1, x2, y2, x3, y3, x4, y4);
}

extern "C" BOOL WINAPI Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (trace::Enter("Chord", hdc, x1, y1, x2, y2, x3, y3, x4, y4)) return FALSE;
    return ArcFigure(raster::ArcKind::Chord, hdc, x1, y1, x2, y2, x3, y3, x4, y4);
}

namespace {

template <class F> BOOL PointFigure(HDC hdc, const POINT *apt, size_t n, F draw)
{
    DC *dc = FindDC(hdc);
    if (!dc || !apt) return FALSE;
    std::vector<raster::Point> many;
    const std::vector<raster::Point> &pts = ToPoints(apt, n, many);
    const raster::DrawState st = DrawStateOf(*dc);
    const bool ok = draw(*TargetSurface(*dc), st, pts);
    if (ok) NoteDrawnPoints(*dc, pts, PenMargin(st));
    return ok ? TRUE : FALSE;
}

} // namespace

extern "C" BOOL WINAPI Polygon(HDC hdc, const POINT *apt, int cpt)
{
    if (trace::Enter("Polygon", hdc, apt, cpt)) return FALSE;
    if (cpt < 2) return FALSE;
    return PointFigure(hdc, apt, static_cast<size_t>(cpt),
                       [](Surface &s, const raster::DrawState &st, const std::vector<raster::Point> &pts) {
                           return raster::DrawPolygon(s, st, pts);
                       });
}

extern "C" BOOL WINAPI Polyline(HDC hdc, const POINT *apt, int cpt)
{
    if (trace::Enter("Polyline", hdc, apt, cpt)) return FALSE;
    if (cpt < 2) return FALSE;
    return PointFigure(hdc, apt, static_cast<size_t>(cpt),
                       [](Surface &s, const raster::DrawState &st, const std::vector<raster::Point> &pts) {
                           return raster::DrawPolyline(s, st, pts);
                       });
}

extern "C" BOOL WINAPI PolyBezier(HDC hdc, const POINT *apt, DWORD cpt)
{
    if (trace::Enter("PolyBezier", hdc, apt, cpt)) return FALSE;
    if (cpt < 4 || (cpt - 1) % 3 != 0) return FALSE;
    // The current position is neither used nor changed.
    return PointFigure(hdc, apt, cpt,
                       [](Surface &s, const raster::DrawState &st, const std::vector<raster::Point> &pts) {
                           return raster::DrawPolyBezier(s, st, pts);
                       });
}

extern "C" int WINAPI SetPolyFillMode(HDC hdc, int mode)
{
    if (trace::Enter("SetPolyFillMode", hdc, mode)) return 0;
    DC *dc = FindDC(hdc);
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int previous = dc->polyFillMode;
    dc->polyFillMode = mode;
    return previous;
}

extern "C" int WINAPI SetArcDirection(HDC hdc, int dir)
{
    if (trace::Enter("SetArcDirection", hdc, dir)) return 0;
    DC *dc = FindDC(hdc);
    if (!dc || (dir != AD_COUNTERCLOCKWISE && dir != AD_CLOCKWISE)) return 0;
    const int previous = dc->arcDirection;
    dc->arcDirection = dir;
    return previous;
}

extern "C" COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    if (trace::Enter("GetPixel", hdc, x, y)) return CLR_INVALID;
    DC *dc = FindDC(hdc);
    if (!dc) return CLR_INVALID;
    const Surface &s = *TargetSurface(*dc);
    if (!s.Contains(x, y)) return CLR_INVALID;
    return ColorrefFromPixel(s.Row(y)[x] & 0x00FFFFFFu);
}

extern "C" COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    if (trace::Enter("SetPixel", hdc, x, y, color)) return CLR_INVALID;
    DC *dc = FindDC(hdc);
    if (!dc) return CLR_INVALID;
    // The colour the surface can hold is stored (through the mix mode) and returned, also
    // when the pixel lies off the surface.
    const Pixel p = TargetPixel(*dc, color, false);
    raster::WritePixel(*TargetSurface(*dc), x, y, raster::MixFor(dc->rop2, p));
    NoteDrawnBox(*dc, x, y, x, y, 0);
    return ColorrefFromPixel(p);
}
