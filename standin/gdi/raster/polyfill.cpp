// polyfill.cpp - scanline polygon fill with exact edge crossings (128-bit), visiting only
// the clip box's rows, so a huge polygon costs what its visible part costs.
#include "polyfill.h"

#include <algorithm>

namespace standin::gdi::raster {
namespace {

using i128 = __int128;

struct Edge {
    int64_t top, bottom; // active on rows top .. bottom-1
    int64_t xTop;
    int64_t dx, dy;      // dy > 0
    int dir;             // +1 downwards in drawing order, -1 upwards

    // Leftmost pixel whose centre is at or right of the crossing with row y.
    int64_t CrossingAt(int64_t y) const
    {
        const int64_t dyRow = y - top;
        // Usually the product fits in 64 bits; otherwise 128 do.
        if (dyRow < (int64_t{1} << 31) && dx > -(int64_t{1} << 31) && dx < (int64_t{1} << 31)) {
            const int64_t n = dyRow * dx;
            int64_t q = n / dy;
            if (n % dy != 0 && n > 0) ++q;
            return xTop + q;
        }
        i128 num = static_cast<i128>(dyRow) * dx;
        i128 q = num / dy;
        if (num % dy != 0 && num > 0) ++q;
        return xTop + static_cast<int64_t>(q);
    }
};

struct Crossing {
    int64_t x;
    int dir;
};

} // namespace

void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, const std::vector<size_t> &counts,
                    int fillMode)
{
    std::vector<Edge> edges;
    size_t base = 0;
    for (size_t count : counts) {
        if (base + count > pts.size()) break;
        for (size_t i = 0; i < count && count >= 2; ++i) {
            const Point &prev = pts[base + (i + count - 1) % count];
            const Point &cur = pts[base + i];
            if (prev.y == cur.y) continue;
            Edge e;
            if (prev.y > cur.y) {
                e = {cur.y, prev.y, cur.x, prev.x - cur.x, prev.y - cur.y, -1};
            } else {
                e = {prev.y, cur.y, prev.x, cur.x - prev.x, cur.y - prev.y, 1};
            }
            edges.push_back(e);
        }
        base += count;
    }
    if (edges.empty()) return;
    const Box &clip = set.Clip();
    int64_t ymin = edges[0].top, ymax = edges[0].bottom;
    for (const Edge &e : edges) {
        ymin = std::min(ymin, e.top);
        ymax = std::max(ymax, e.bottom);
    }
    ymin = std::max(ymin, clip.top);
    ymax = std::min(ymax, clip.bottom);
    if (ymin >= ymax) return;

    std::sort(edges.begin(), edges.end(), [](const Edge &a, const Edge &b) { return a.top < b.top; });
    std::vector<const Edge *> active;
    std::vector<Crossing> xs;
    size_t next = 0;
    for (int64_t y = ymin; y < ymax; ++y) {
        while (next < edges.size() && edges[next].top <= y) {
            if (edges[next].bottom > y) active.push_back(&edges[next]);
            ++next;
        }
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [y](const Edge *e) { return e->bottom <= y; }),
                     active.end());
        if (active.empty()) continue;
        xs.clear();
        for (const Edge *e : active) xs.push_back({e->CrossingAt(y), e->dir});
        std::sort(xs.begin(), xs.end(), [](const Crossing &a, const Crossing &b) { return a.x < b.x; });
        if (fillMode == kWinding) {
            int winding = 0;
            int64_t start = 0;
            for (const Crossing &c : xs) {
                int before = winding;
                winding += c.dir;
                if (before == 0 && winding != 0) start = c.x;
                else if (before != 0 && winding == 0) set.AddSpan(y, start, c.x);
            }
        } else {
            for (size_t i = 0; i + 1 < xs.size(); i += 2) set.AddSpan(y, xs[i].x, xs[i + 1].x);
        }
    }
}

void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, int fillMode)
{
    AddPolygonFill(set, pts, std::vector<size_t>{pts.size()}, fillMode);
}

} // namespace standin::gdi::raster
