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

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_ARC_H
