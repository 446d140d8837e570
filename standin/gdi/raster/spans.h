// spans.h - a set of pixels as horizontal runs, held only inside one clip box (the
// surface): what every figure's geometry is turned into before anything is written.
#ifndef STANDIN_GDI_RASTER_SPANS_H
#define STANDIN_GDI_RASTER_SPANS_H

#include "types.h"

#include <vector>

namespace standin::gdi::raster {

struct Span {
    int32_t y;
    int32_t x0; // first pixel
    int32_t x1; // one past the last pixel
};

// Spans sorted by row then column, disjoint and not touching within a row, once
// Normalize() has run (the set operations call it themselves).
class SpanSet {
public:
    // The clip box is also cut to the 32-bit coordinate range spans are stored in.
    explicit SpanSet(Box clip)
        : clip_(clip.Intersect(Box{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}))
    {
    }

    const Box &Clip() const { return clip_; }
    // Add [x0, x1) on row y, cut to the clip box. Rows and columns may be anywhere.
    void AddSpan(int64_t y, int64_t x0, int64_t x1);
    void AddBox(const Box &b);
    void Add(const SpanSet &other);      // union
    void Subtract(const SpanSet &other); // set difference
    // Moves every span by (dx, dy) and cuts to the clip box again.
    void Offset(int64_t dx, int64_t dy);

    void Normalize();
    bool Empty() const { return spans_.empty(); }
    // Whether every pixel of the clip box is in the set (known after a Normalize); adding
    // to a full set changes nothing and costs nothing.
    bool Full() const { return full_; }
    const std::vector<Span> &Spans()
    {
        Normalize();
        return spans_;
    }
    bool Contains(int64_t x, int64_t y);

private:
    // Unsorted spans are merged once there are this many, and again each time their
    // number doubles: overlapping figures (a wide pen's discs) cannot pile up without end.
    static constexpr size_t kFirstCompaction = size_t{1} << 16;

    Box clip_;
    std::vector<Span> spans_;
    bool normalized_ = true;
    bool full_ = false;
    size_t compactAt_ = kFirstCompaction;
};

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_SPANS_H
