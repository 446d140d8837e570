// polyfill.h - polygon interiors. Pixel (x, y) is inside when its centre is, edges
// crossing row y at X: a span (XL, XR) fills XL <= x < XR, so left and top boundaries
// are in and right and bottom ones out. Horizontal edges never count.
#ifndef STANDIN_GDI_RASTER_POLYFILL_H
#define STANDIN_GDI_RASTER_POLYFILL_H

#include "spans.h"

#include <vector>

namespace standin::gdi::raster {

constexpr int kAlternate = 1;
constexpr int kWinding = 2;

// Adds the interior of the closed polygon(s) to set. Each entry of counts is the number
// of points of one polygon, taken in turn from pts. Only rows inside set's clip are
// visited.
void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, const std::vector<size_t> &counts,
                    int fillMode);
void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, int fillMode);
// Hands one polygon's interior spans on clip's rows to fn, row by row (columns not cut).
using SpanFn = void (*)(void *context, int64_t y, int64_t x0, int64_t x1);
void PolygonSpans(const std::vector<Point> &pts, int fillMode, const Box &clip, SpanFn fn, void *context);
// Fills one polygon's interior on the surface through a mix, span by span as found.
void FillPolygon(Surface &s, const std::vector<Point> &pts, int fillMode, Mix mix);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_POLYFILL_H
