// region.h - regions as GDI builds them (rectangle, rounded rectangle, ellipse, polygon),
// kept as their description so that a region of any size costs nothing until it is
// painted, and then only its rows on the surface are visited.
#ifndef STANDIN_GDI_RASTER_REGION_H
#define STANDIN_GDI_RASTER_REGION_H

#include "spans.h"

#include <vector>

namespace standin::gdi::raster {

class Region {
public:
    static Region Rect(int32_t l, int32_t t, int32_t r, int32_t b);
    static Region RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh);
    static Region Elliptic(int32_t l, int32_t t, int32_t r, int32_t b);
    static Region Polygon(std::vector<Point> pts, int fillMode);

    // Adds the region's pixels inside set's clip box.
    void AddTo(SpanSet &set) const;
    // Writes the region's pixels on the surface through a mix.
    void Paint(Surface &s, Mix mix) const;
    // A box holding every pixel of the region (exact but for polygons).
    Box Bounds() const;
    bool IsPolygon() const { return kind_ == Kind::Polygon; }
    // Whether a rectangle or rounded-rectangle region came out a plain rectangle.
    bool IsPlainRect() const;

private:
    enum class Kind { Rect, RoundRect, Polygon };
    Kind kind_ = Kind::Rect;
    int64_t l_ = 0, t_ = 0, r_ = 0, b_ = 0, ew_ = 0, eh_ = 0;
    std::vector<Point> pts_;
    int fillMode_ = 1;
};

// InvertRgn: every colour bit of every pixel of the region flips; ROP2 and brush play
// no part.
void InvertRegion(Surface &s, const Region &rgn);
// PaintRgn / FillRgn: the region through a mix.
void PaintRegion(Surface &s, const Region &rgn, Mix mix);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_REGION_H
