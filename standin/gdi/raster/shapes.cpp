// shapes.cpp - figure composition. With a one-pixel pen the brush covers the whole
// footprint and the outline is mixed over it (so R2_NOT inverts shared pixels twice, as
// GDI does); with a wide pen the outline is an area and the brush gets the rest.
#include "shapes.h"

#include "arc.h"
#include "bezier.h"
#include "ellipse.h"
#include "line.h"
#include "polyfill.h"
#include "quadrant.h"
#include "widepen.h"
#include "writer.h"

#include <algorithm>
#include <cstdlib>

namespace standin::gdi::raster {
namespace {

class Painter {
public:
    Painter(Surface &s, const DrawState &st)
        : s_(s), st_(st), penMix_(MixFor(st.rop2, st.pen.color)), brushMix_(MixFor(st.rop2, st.brush.color))
    {
    }

    bool HasPen() const { return st_.pen.kind != PenKind::Null; }
    bool HasBrush() const { return !st_.brush.null; }
    int64_t PenWidth() const { return HasPen() ? std::max<int64_t>(1, st_.pen.width) : 0; }
    bool WidePen() const { return PenWidth() > 1; }
    Box Clip() const { return SurfaceBox(s_); }
    const DrawState &State() const { return st_; }

    // The box a bounded figure is drawn in: corners put in order, and for an inside-frame
    // pen pulled in so the whole pen stays inside. False for a box with no area.
    bool FigureBox(int64_t l, int64_t t, int64_t r, int64_t b, Box &box) const
    {
        box = {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
        if (box.left == box.right || box.top == box.bottom) return false;
        if (st_.pen.kind == PenKind::InsideFrame) {
            const int64_t w = PenWidth();
            box.left += w / 2;
            box.top += w / 2;
            box.right -= (w - 1) / 2;
            box.bottom -= (w - 1) / 2;
        }
        return true;
    }

    // Outline along pts (closed if asked) over an interior (null: no fill).
    void Figure(const std::vector<Point> &pts, bool close, SpanSet *interior)
    {
        Figure(std::vector<std::vector<Point>>{pts}, close, interior);
    }

    // The same for an outline given as several polylines, all closed or all open.
    void Figure(const std::vector<std::vector<Point>> &pieces, bool close, SpanSet *interior)
    {
        if (WidePen()) {
            SpanSet pen(Clip());
            for (const std::vector<Point> &pts : pieces) AddWidePolyline(pen, pts, close, PenWidth());
            if (interior) {
                interior->Subtract(pen);
                WriteSpans(s_, *interior, brushMix_);
            }
            WriteSpans(s_, pen, penMix_);
            return;
        }
        if (interior) WriteSpans(s_, *interior, brushMix_);
        if (HasPen())
            for (const std::vector<Point> &pts : pieces) DrawCosmeticPolyline(s_, pts, close, penMix_);
    }

    // The surface grown by more than a pen width: what an outline must cover to draw
    // everything it shows.
    Box Reach() const
    {
        const int64_t m = PenWidth() + 2;
        const Box c = Clip();
        return Box{c.left - m, c.top - m, c.right + m, c.bottom + m};
    }

    Surface &s_;
    const DrawState &st_;
    Mix penMix_, brushMix_;
};

} // namespace

bool DrawLine(Surface &s, const DrawState &st, Point from, Point to)
{
    if (st.pen.kind == PenKind::Null) return true;
    if (st.pen.width <= 1) {
        DrawCosmeticLine(s, from, to, MixFor(st.rop2, st.pen.color));
        return true;
    }
    Painter p(s, st);
    if (FastPaths() && DrawWideSegment(s, from, to, p.PenWidth(), p.penMix_)) return true;
    p.Figure({from, to}, false, nullptr);
    return true;
}

bool DrawPolyline(Surface &s, const DrawState &st, const std::vector<Point> &pts)
{
    if (pts.size() < 2) return false;
    Painter p(s, st);
    if (!p.WidePen()) {
        if (p.HasPen()) DrawCosmeticPolyline(s, pts, false, p.penMix_);
        return true;
    }
    p.Figure(pts, false, nullptr);
    return true;
}

bool DrawRectangle(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b)
{
    Painter p(s, st);
    Box box;
    if (!p.FigureBox(l, t, r, b, box)) return true;
    // The outline runs through the border pixels: right and bottom pulled in by one.
    --box.right;
    --box.bottom;
    const Point pts[4] = {
        st.clockwise ? Point{box.right, box.bottom} : Point{box.right, box.top},
        st.clockwise ? Point{box.left, box.bottom} : Point{box.left, box.top},
        st.clockwise ? Point{box.left, box.top} : Point{box.left, box.bottom},
        st.clockwise ? Point{box.right, box.top} : Point{box.right, box.bottom},
    };

    if (p.WidePen()) {
        SpanSet interior(p.Clip());
        if (p.HasBrush()) interior.AddBox(box);
        p.Figure(std::vector<Point>(pts, pts + 4), true, p.HasBrush() ? &interior : nullptr);
        return true;
    }
    if (p.HasPen() && p.HasBrush() && p.penMix_.IsCopy() && FastPaths() && box.left <= 0 &&
        box.right + 1 >= s.width && (box.right > box.left || box.bottom > box.top)) {
        // A box as wide as the surface: the brush also goes under the outline, which a
        // copying pen then covers whatever lies there, so the fill is whole rows end to
        // end (the outline lights every border pixel of a box larger than one pixel).
        WriteBox(s, Box{box.left, box.top, box.right + 1, box.bottom + 1}, p.brushMix_);
        DrawCosmeticPolyline(s, pts, 4, true, p.penMix_);
        return true;
    }
    if (p.HasPen()) {
        if (FastPaths() && box.right > box.left && box.bottom > box.top) {
            // Larger than a line, the closed outline lights each border pixel once (the
            // corner each side starts on), in either direction: the border as four boxes.
            WriteBox(s, Box{box.left, box.top, box.right + 1, box.top + 1}, p.penMix_);
            WriteBox(s, Box{box.left, box.bottom, box.right + 1, box.bottom + 1}, p.penMix_);
            WriteColumn(s, box.left, box.top + 1, box.bottom, p.penMix_);
            WriteColumn(s, box.right, box.top + 1, box.bottom, p.penMix_);
        } else {
            DrawCosmeticPolyline(s, pts, 4, true, p.penMix_);
        }
    }
    if (p.HasBrush()) {
        // The brush fills what the pen leaves inside: with no pen, one less on the
        // right and bottom than the box.
        const int64_t w = p.PenWidth();
        Box inner{box.left + (w + 1) / 2, box.top + (w + 1) / 2, box.right - w / 2, box.bottom - w / 2};
        WriteBox(s, inner, p.brushMix_);
    }
    return true;
}

bool DrawRoundRect(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b,
                   int32_t ewIn, int32_t ehIn)
{
    Painter p(s, st);
    Box box;
    if (!p.FigureBox(l, t, r, b, box)) return true;
    const int64_t ew = std::min(box.right - box.left, Abs64(static_cast<int64_t>(ewIn)));
    const int64_t eh = std::min(box.bottom - box.top, Abs64(static_cast<int64_t>(ehIn)));
    if (ew <= 2 || eh <= 2) return DrawRectangle(s, st, l, t, r, b);

    if (!p.WidePen()) {
        if (p.HasBrush()) FillRoundRectRegion(s, box.left, box.top, box.right + 1, box.bottom + 1, ew, eh, p.brushMix_);
        if (!p.HasPen()) return true;
        if (ew + eh <= QuadrantPath::WalkLimit()) {
            thread_local std::vector<Point> outline;
            RoundRectOutline(box, ew, eh, st.clockwise, outline);
            DrawCosmeticPolyline(s, outline, true, p.penMix_);
            return true;
        }
        bool closed = true;
        for (const std::vector<Point> &pts : RoundRectOutlinePieces(box, ew, eh, st.clockwise, p.Reach(), closed))
            DrawCosmeticPolyline(s, pts, closed, p.penMix_);
        return true;
    }
    SpanSet interior(p.Clip());
    if (p.HasBrush()) AddRoundRectRegion(interior, box.left, box.top, box.right + 1, box.bottom + 1, ew, eh);
    bool closed = true;
    const std::vector<std::vector<Point>> pieces = RoundRectOutlinePieces(box, ew, eh, st.clockwise, p.Reach(), closed);
    p.Figure(pieces, closed, p.HasBrush() ? &interior : nullptr);
    return true;
}

bool DrawEllipse(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b)
{
    const int64_t w = static_cast<int64_t>(r) - l, h = static_cast<int64_t>(b) - t;
    // The corner ellipse is the whole box; sizes beyond 32 bits only ever get clamped.
    auto clampSize = [](int64_t v) { return static_cast<int32_t>(std::min<int64_t>(Abs64(v), INT32_MAX)); };
    return DrawRoundRect(s, st, l, t, r, b, clampSize(w), clampSize(h));
}

bool DrawArc(Surface &s, const DrawState &st, ArcKind kind, int32_t l, int32_t t, int32_t r, int32_t b,
             int32_t xs, int32_t ys, int32_t xe, int32_t ye)
{
    Painter p(s, st);
    Box box;
    if (!p.FigureBox(l, t, r, b, box)) return true;
    // An inside-frame pen wider than the box turns the box inside out. GDI sizes its
    // room for the curve's points by the box: with no room at all the call fails; with
    // too little for the (odd) curve it gets, nothing sensible can be drawn.
    const int64_t bw = box.right - box.left, bh = box.bottom - box.top;
    if (bw + bh < 0) return false;
    const bool insideOut = bw <= 0 || bh <= 0;
    const bool closed = kind != ArcKind::Arc;
    const bool fill = closed && p.HasBrush();
    {
        std::vector<std::vector<Point>> pieces;
        SpanSet interior(p.Clip());
        const ArcClosure closure =
            kind == ArcKind::Pie ? ArcClosure::Pie : kind == ArcKind::Chord ? ArcClosure::Chord : ArcClosure::Open;
        if (!insideOut &&
            LargeArc(box, {xs, ys}, {xe, ye}, st.clockwise, closure, p.Reach(), pieces, fill ? &interior : nullptr)) {
            p.Figure(pieces, false, fill ? &interior : nullptr);
            return true;
        }
    }
    thread_local std::vector<Point> pts;
    struct Trim {
        ~Trim() { TrimScratch(pts); }
    } trim;
    // An inside-out box far longer than any surface would need room for millions of
    // points of its odd curve, in memory and time: past kMaxInsideOutPoints it is drawn
    // as a curve with too little room, as nothing.
    constexpr size_t kMaxInsideOutPoints = size_t{1} << 20;
    const size_t room = std::min(static_cast<size_t>(3 * (bw + bh)), kMaxInsideOutPoints);
    if (!ArcPointsUpTo(box, {xs, ys}, {xe, ye}, st.clockwise, insideOut ? room : SIZE_MAX, pts)) return true;
    if (kind == ArcKind::Pie)
        pts.push_back({box.left + (box.right - box.left) / 2, box.top + (box.bottom - box.top) / 2});
    if (pts.size() < 2) return true;
    if (!p.WidePen()) {
        if (fill) FillPolygon(s, pts, kWinding, p.brushMix_);
        if (p.HasPen()) DrawCosmeticPolyline(s, pts, closed, p.penMix_);
        return true;
    }
    SpanSet interior(p.Clip());
    if (fill) AddPolygonFill(interior, pts, kWinding);
    p.Figure(pts, closed, fill ? &interior : nullptr);
    return true;
}

bool DrawPolygon(Surface &s, const DrawState &st, const std::vector<Point> &pts)
{
    if (pts.size() < 2) return false;
    Painter p(s, st);
    const int mode = st.polyFillMode == kWinding ? kWinding : kAlternate;
    if (!p.WidePen()) {
        // The brush's spans as they are found, then the outline over them.
        if (p.HasBrush()) FillPolygon(s, pts, mode, p.brushMix_);
        if (p.HasPen()) DrawCosmeticPolyline(s, pts, true, p.penMix_);
        return true;
    }
    SpanSet interior(p.Clip());
    if (p.HasBrush()) AddPolygonFill(interior, pts, mode);
    p.Figure(pts, true, p.HasBrush() ? &interior : nullptr);
    return true;
}

bool DrawPolyBezier(Surface &s, const DrawState &st, const std::vector<Point> &pts)
{
    thread_local std::vector<Point> line;
    struct Trim {
        ~Trim() { TrimScratch(line); }
    } trim;
    FlattenBeziers(pts, line);
    if (line.size() < 2) return false;
    return DrawPolyline(s, st, line);
}

} // namespace standin::gdi::raster
