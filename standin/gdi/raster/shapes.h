// shapes.h - the figures a DC draws, on a surface with a DrawState: GDI's geometry per
// figure, clipped once to the surface, then written through the ROP2 mix. Each returns
// what the GDI call returns (TRUE also for empty figures).
#ifndef STANDIN_GDI_RASTER_SHAPES_H
#define STANDIN_GDI_RASTER_SHAPES_H

#include "types.h"

#include <vector>

namespace standin::gdi::raster {

// LineTo: from the current position to (x1, y1); a one-pixel pen leaves out the end.
bool DrawLine(Surface &s, const DrawState &st, Point from, Point to);
bool DrawPolyline(Surface &s, const DrawState &st, const std::vector<Point> &pts);
bool DrawRectangle(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b);
bool DrawRoundRect(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b,
                   int32_t ew, int32_t eh);
bool DrawEllipse(Surface &s, const DrawState &st, int32_t l, int32_t t, int32_t r, int32_t b);

enum class ArcKind { Arc, Chord, Pie };
bool DrawArc(Surface &s, const DrawState &st, ArcKind kind, int32_t l, int32_t t, int32_t r, int32_t b,
             int32_t xs, int32_t ys, int32_t xe, int32_t ye);

// Polygon: fewer than two points fail.
bool DrawPolygon(Surface &s, const DrawState &st, const std::vector<Point> &pts);
// PolyBezier: 3n+1 points (n >= 1), else failure.
bool DrawPolyBezier(Surface &s, const DrawState &st, const std::vector<Point> &pts);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_SHAPES_H
