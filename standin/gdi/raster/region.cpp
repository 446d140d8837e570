// region.cpp - region descriptions and their rasterisation onto a surface.
#include "region.h"

#include "ellipse.h"
#include "polyfill.h"
#include "writer.h"

namespace standin::gdi::raster {

Region Region::Rect(int32_t l, int32_t t, int32_t r, int32_t b)
{
    Region g;
    g.kind_ = Kind::Rect;
    g.l_ = std::min(l, r);
    g.r_ = std::max(l, r);
    g.t_ = std::min(t, b);
    g.b_ = std::max(t, b);
    return g;
}

Region Region::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh)
{
    Region g;
    g.kind_ = Kind::RoundRect;
    g.l_ = l, g.t_ = t, g.r_ = r, g.b_ = b, g.ew_ = ew, g.eh_ = eh;
    return g;
}

Region Region::Elliptic(int32_t l, int32_t t, int32_t r, int32_t b)
{
    Region g;
    g.kind_ = Kind::RoundRect;
    g.l_ = l, g.t_ = t, g.r_ = r, g.b_ = b;
    g.ew_ = static_cast<int64_t>(r) - l;
    g.eh_ = static_cast<int64_t>(b) - t;
    return g;
}

Region Region::Polygon(std::vector<Point> pts, int fillMode)
{
    Region g;
    g.kind_ = Kind::Polygon;
    g.pts_ = std::move(pts);
    g.fillMode_ = fillMode;
    return g;
}

void Region::AddTo(SpanSet &set) const
{
    switch (kind_) {
    case Kind::Rect: set.AddBox(Box{l_, t_, r_, b_}); break;
    case Kind::RoundRect: AddRoundRectRegion(set, l_, t_, r_, b_, ew_, eh_); break;
    case Kind::Polygon:
        if (pts_.size() >= 3) AddPolygonFill(set, pts_, fillMode_ == kWinding ? kWinding : kAlternate);
        break;
    }
}

Box Region::Bounds() const
{
    switch (kind_) {
    case Kind::Rect: return Box{l_, t_, r_, b_};
    case Kind::RoundRect: {
        // Corners in order, then right and bottom pulled in by one; an empty box turns
        // inside out into the row or column before it.
        int64_t l = std::min(l_, r_), r = std::max(l_, r_) - 1;
        int64_t t = std::min(t_, b_), b = std::max(t_, b_) - 1;
        return Box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    }
    case Kind::Polygon:
        break;
    }
    if (pts_.empty()) return Box{};
    Box box{pts_[0].x, pts_[0].y, pts_[0].x, pts_[0].y};
    for (const Point &p : pts_) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

bool Region::IsPlainRect() const
{
    if (kind_ == Kind::Rect) return true;
    if (kind_ != Kind::RoundRect) return false;
    const Box b = Bounds();
    return std::min(b.right - b.left, Abs64(ew_)) < 2 || std::min(b.bottom - b.top, Abs64(eh_)) < 2;
}

void Region::Paint(Surface &s, Mix mix) const
{
    // Each kind's rows never overlap, so they are written as they are found.
    switch (kind_) {
    case Kind::Rect: WriteBox(s, Box{l_, t_, r_, b_}, mix); break;
    case Kind::RoundRect: FillRoundRectRegion(s, l_, t_, r_, b_, ew_, eh_, mix); break;
    case Kind::Polygon:
        if (pts_.size() >= 3) FillPolygon(s, pts_, fillMode_ == kWinding ? kWinding : kAlternate, mix);
        break;
    }
}

void PaintRegion(Surface &s, const Region &rgn, Mix mix)
{
    if (FastPaths()) {
        rgn.Paint(s, mix);
        return;
    }
    SpanSet set(SurfaceBox(s));
    rgn.AddTo(set);
    WriteSpans(s, set, mix);
}

void InvertRegion(Surface &s, const Region &rgn) { PaintRegion(s, rgn, Mix{0x00FFFFFFu, 0x00FFFFFFu}); }

} // namespace standin::gdi::raster
