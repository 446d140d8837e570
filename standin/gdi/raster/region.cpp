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

void PaintRegion(Surface &s, const Region &rgn, Mix mix)
{
    SpanSet set(SurfaceBox(s));
    rgn.AddTo(set);
    WriteSpans(s, set, mix);
}

void InvertRegion(Surface &s, const Region &rgn) { PaintRegion(s, rgn, Mix{0x00FFFFFFu, 0x00FFFFFFu}); }

} // namespace standin::gdi::raster
