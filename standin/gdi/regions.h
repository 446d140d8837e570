// regions.h - region objects: a GDI object holding a region description, found by handle
// like the other objects.
#ifndef STANDIN_GDI_REGIONS_H
#define STANDIN_GDI_REGIONS_H

#include "gdi/objects.h"
#include "gdi/raster/region.h"

namespace standin::gdi {

struct RegionObject : Object {
    RegionObject() : Object(HandleKind::Region) {}
    raster::Region region;
};

inline RegionObject *FindRegion(const void *h) { return Find<RegionObject>(h, HandleKind::Region); }

} // namespace standin::gdi

#endif // STANDIN_GDI_REGIONS_H
