// bezier.h - cubic Bezier flattening: each curve is halved (in 1/16-pixel fixed point)
// until it is close enough to its chord, at most 8 levels deep.
#ifndef STANDIN_GDI_RASTER_BEZIER_H
#define STANDIN_GDI_RASTER_BEZIER_H

#include "types.h"

#include <vector>

namespace standin::gdi::raster {

// pts holds 3n+1 points (n >= 1): start, two controls and end of each curve, each end
// starting the next. Returns the polyline that stands for them; empty for a bad count.
std::vector<Point> FlattenBeziers(const std::vector<Point> &pts);
// The same into out (its memory kept from call to call).
void FlattenBeziers(const std::vector<Point> &pts, std::vector<Point> &out);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_BEZIER_H
