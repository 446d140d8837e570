// widepen.h - the area a wide pen (width > 1, round caps and joins) covers along a
// polyline: a band of the pen's width per segment (extra row or column on the top/left
// for even widths), plus a disc of the pen's width at every joint and open end.
#ifndef STANDIN_GDI_RASTER_WIDEPEN_H
#define STANDIN_GDI_RASTER_WIDEPEN_H

#include "spans.h"

#include <vector>

namespace standin::gdi::raster {

void AddWidePolyline(SpanSet &set, std::vector<Point> pts, bool close, int64_t width);

// The same area for a single open segment, written on the surface through a mix row by
// row (band and end discs merged per row); false, having drawn nothing, for the shapes
// it leaves to the span-set way (bands with two spans on a row, very wide pens).
bool DrawWideSegment(Surface &s, Point p0, Point p1, int64_t width, Mix mix);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_WIDEPEN_H
