// arc.h - the outline points of an elliptic arc between two radials, as used by Arc, Pie
// and Chord: whole outline pixels of the inscribed ellipse, from the first at or beyond
// the start radial up to (not including) the first at or beyond the end radial.
#ifndef STANDIN_GDI_RASTER_ARC_H
#define STANDIN_GDI_RASTER_ARC_H

#include "types.h"

#include <vector>

namespace standin::gdi::raster {

// box: the figure's final box (right/bottom exclusive). start and end are the radial
// points in device coordinates. Equal radials give the full turn.
std::vector<Point> ArcPoints(const Box &box, Point start, Point end, bool clockwise);
// The same with at most maxPoints points in all (GDI's room for them: three per unit of
// width plus height); false when more would be needed.
bool ArcPointsUpTo(const Box &box, Point start, Point end, bool clockwise, size_t maxPoints, std::vector<Point> &pts);

// Large arcs (boxes too big to walk): the arc's outline near `visible` as open polylines
// (for pie and chord including the closing lines, which are then already in the list),
// and, when interior is given, the pie's or chord's fill on interior's rows. Returns false
// for boxes small enough for ArcPoints, doing nothing.
enum class ArcClosure { Open, Chord, Pie };
bool LargeArc(const Box &box, Point start, Point end, bool clockwise, ArcClosure closure, const Box &visible,
              std::vector<std::vector<Point>> &pieces, class SpanSet *interior);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_ARC_H
