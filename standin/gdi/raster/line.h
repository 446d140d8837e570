// line.h - one-pixel ("cosmetic") lines: which pixels a segment lights, cut to a box.
// A segment lights max(|dx|,|dy|) pixels: its start but not its end; on a tie the pixel
// with the smaller minor coordinate wins, whatever the direction.
#ifndef STANDIN_GDI_RASTER_LINE_H
#define STANDIN_GDI_RASTER_LINE_H

#include "spans.h"

#include <functional>
#include <vector>

namespace standin::gdi::raster {

// Calls run(y, x0, x1) for the segment's pixels inside clip, row runs in drawing order.
// Work is proportional to the pixels inside clip, whatever the end points.
void LineRuns(Point p0, Point p1, const Box &clip,
              const std::function<void(int32_t, int32_t, int32_t)> &run);

// Draws one segment with a one-pixel pen (a step to a neighbouring pixel lights its start).
void DrawCosmeticLine(Surface &s, Point a, Point b, Mix mix);

// Draws the segments of a polyline (closed when asked) with a one-pixel pen, segment by
// segment: a pixel two segments share is mixed twice, as GDI does.
void DrawCosmeticPolyline(Surface &s, const std::vector<Point> &pts, bool close, Mix mix);
void DrawCosmeticPolyline(Surface &s, const Point *pts, size_t n, bool close, Mix mix);

// Adds the pixels of the polyline's segments to a span set.
void AddCosmeticPolyline(SpanSet &set, const std::vector<Point> &pts, bool close);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_LINE_H
