// widepen.h - the area a wide pen (width > 1, round caps and joins) covers along a
// polyline: a band of the pen's width per segment (extra row or column on the top/left
// for even widths), plus a disc of the pen's width at every joint and open end.
#ifndef STANDIN_GDI_RASTER_WIDEPEN_H
#define STANDIN_GDI_RASTER_WIDEPEN_H

#include "spans.h"

#include <vector>

namespace standin::gdi::raster {

void AddWidePolyline(SpanSet &set, std::vector<Point> pts, bool close, int64_t width);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_WIDEPEN_H
