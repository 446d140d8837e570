// ellipse.h - the digital ellipse every curved figure is built from: the outline of one
// quadrant (integer error stepping, exact in 64/128-bit), the closed outline of ellipses
// and rounded rectangles, and the row spans of rounded-rectangle regions.
#ifndef STANDIN_GDI_RASTER_ELLIPSE_H
#define STANDIN_GDI_RASTER_ELLIPSE_H

#include "spans.h"

#include <vector>

namespace standin::gdi::raster {

// Outline points of one quadrant of the w x h ellipse (w, h >= 1), relative to the
// box's top-left corner: from (w-1, h/2) outwards until x drops below w/2, x never
// increasing and y never decreasing between neighbours.
std::vector<Point> EllipseQuadrant(int64_t w, int64_t h);
// The same for any sizes (an inside-out box has none or negative ones), stopping after
// maxPoints points; false if there would be more.
bool EllipseQuadrantUpTo(int64_t w, int64_t h, size_t maxPoints, std::vector<Point> &pts);

// Closed outline of a rounded rectangle over the half-open box (corner ellipse ew x eh,
// both >= 3 and at most the box's size), in drawing order starting on the right side,
// counter-clockwise on screen unless clockwise is set.
std::vector<Point> RoundRectOutline(const Box &box, int64_t ew, int64_t eh, bool clockwise);
// The same into pts (its memory kept from call to call).
void RoundRectOutline(const Box &box, int64_t ew, int64_t eh, bool clockwise, std::vector<Point> &pts);

// The same outline for drawing on a surface: the closed polyline itself (closed = true)
// for small figures; for large ones only its parts near `visible`, as open polylines
// that together light exactly the pixels the closed outline lights inside `visible`
// (which must include a margin of the pen's width around the surface).
std::vector<std::vector<Point>> RoundRectOutlinePieces(const Box &box, int64_t ew, int64_t eh, bool clockwise,
                                                       const Box &visible, bool &closed);

// Adds the pixels of a rounded-rectangle region whose box is already final (right and
// bottom exclusive) and whose corners are already clamped (ew, eh >= 2).
void AddRoundRectArea(SpanSet &set, const Box &box, int64_t ew, int64_t eh);

// CreateRoundRectRgn's pixels: corners normalised, right and bottom pulled in by one,
// corners clamped; small corners give a plain rectangle.
void AddRoundRectRegion(SpanSet &set, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh);
// The same region written on the surface through a mix as its rows are found.
void FillRoundRectRegion(Surface &s, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh, Mix mix);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_ELLIPSE_H
