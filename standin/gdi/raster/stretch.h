// stretch.h - where a block transfer (BitBlt, StretchBlt, StretchDIBits) puts which source
// pixels, as GDI lays it out: each axis clipped to both surfaces and then to the other,
// the per-axis pixel selection of its stretch, and the merging of shrunk pixels by the
// stretch mode. The transfer itself runs row by row (a column map worked out once, equal
// destination rows made once), with a plain per-pixel twin the tests hold it to.
#ifndef STANDIN_GDI_RASTER_STRETCH_H
#define STANDIN_GDI_RASTER_STRETCH_H

#include "types.h"

#include <vector>

namespace standin::gdi::raster {

// Stretch modes (SetStretchBltMode values).
constexpr int kBlackOnWhite = 1;
constexpr int kWhiteOnBlack = 2;
constexpr int kColorOnColor = 3;
constexpr int kHalftone = 4;

// A run [lo, hi) of one axis.
struct Range {
    int64_t lo = 0;
    int64_t hi = 0;
    bool Empty() const { return lo >= hi; }
};

// The pixels from an origin over a signed size: a negative size reaches back from the
// origin, which it covers (x 10, width -4 covers 7..10).
Range Covered(int64_t origin, int64_t size);

// One axis of a transfer: destination and source origins and signed sizes, and the runs
// of each that may be touched.
struct Axis {
    int64_t d0 = 0, dsize = 0;
    int64_t s0 = 0, ssize = 0;
    Range dvis, svis;
};

// Starts an axis: the covered runs cut to the destination and source surfaces.
Axis StartAxis(int64_t d0, int64_t dsize, int64_t dstExtent, int64_t s0, int64_t ssize, int64_t srcExtent);

// Fits the two runs of an axis to each other; false when nothing is left. Without a
// stretch (equal sizes on both axes) that is a plain intersection. With one, each run is
// mapped onto the other with a pixel to spare, and a mirrored transfer whose source was
// cut by its bitmap's edge keeps its destination unmirrored: the destination origin moves.
bool FitAxis(Axis &a, bool stretching);

// Which source pixels each destination pixel of one axis takes: destination lo + i takes
// the source pixels first[i] .. last[i], met in that order as the source is walked
// (last < first when the walk runs backwards). Empty when no pixel is drawn.
struct AxisMap {
    int32_t lo = 0;
    std::vector<int32_t> first, last;
    size_t Size() const { return first.size(); }
};

// The map of a fitted axis whose source spans ssize (signed) from s0; ssize may be one
// less than the axis's own where StretchBlt merges a pixel fewer. Destination step k
// shows source steps along the source's direction by GDI's stretch rule (replicating
// when enlarging, grouping when shrinking); only steps whose source and destination both
// lie in the axis's runs are drawn.
AxisMap MapAxis(const Axis &a, int64_t ssize);

// The same for a transfer without a stretch: destination dvis.lo + i takes svis.lo + i
// (for i below the smaller run's size).
AxisMap MapCopy(const Axis &a);

// Source index of destination step d (enlarging: replicate) or the group of source steps
// merged into it (shrinking), for sizes src -> dst, both > 0; first..last inclusive.
void StretchSource(int64_t srcSize, int64_t dstSize, int64_t d, int64_t &first, int64_t &last);

// A pixel read in place from memory of any type and alignment (a caller's DIB bytes).
typedef uint32_t __attribute__((may_alias, aligned(1))) LoosePixel;

// Rows of a source image, read in place. Row(y) points at pixel `left` of row y; the
// fourth byte of a pixel may hold anything.
class SourceRows {
public:
    virtual ~SourceRows() = default;
    virtual const LoosePixel *Row(int32_t y) = 0;
    int32_t left = 0;
};

// Receives each drawn destination row: n pixels from x0 on (the fourth byte may hold
// anything).
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void Put(int32_t y, int32_t x0, const Pixel *row, int32_t n) = 0;
    // Where a plain copy may write row y from x0 on itself (24-bit pixels), or null when
    // the sink combines what it gets with what is there.
    virtual Pixel *Direct(int32_t, int32_t) { return nullptr; }
};

// Transfers by the two maps. Groups of more than one pixel merge by the mode: AND
// (BLACKONWHITE), OR (WHITEONBLACK), the average (HALFTONE), or for COLORONCOLOR the last
// pixel of a group across and the first row of a group down.
void Transfer(const AxisMap &xs, const AxisMap &ys, SourceRows &src, int mode, RowSink &out);

// The same pixel by pixel, as plainly as it can be said: what Transfer must equal.
void TransferReference(const AxisMap &xs, const AxisMap &ys, SourceRows &src, int mode, RowSink &out);

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_STRETCH_H
