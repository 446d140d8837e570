// polyfill.cpp - scanline polygon fill with exact edge crossings (128-bit), visiting only
// the clip box's rows, so a huge polygon costs what its visible part costs. Crossings are
// stepped, not divided out: edge by edge into per-row lists for polygons of short edges,
// along an active-edge table otherwise; the plain per-row division serves the tests.
#include "polyfill.h"
#include "writer.h"

#include <algorithm>
#include <type_traits>

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

// The edges of the polygon(s), horizontal ones left out; empty when there are none or a
// count runs past the points.
void CollectEdges(const std::vector<Point> &pts, const size_t *counts, size_t polygons, std::vector<Edge> &edges)
{
    edges.clear();
    size_t base = 0;
    for (size_t c = 0; c < polygons; ++c) {
        const size_t count = counts[c];
        if (base + count > pts.size()) break;
        for (size_t i = 0, before = count - 1; i < count && count >= 2; before = i++) {
            const Point &prev = pts[base + before];
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
}

// Spans of one row from its crossings, sorted by x.
template <class Sink> void EmitRow(Sink &sink, int64_t y, const Crossing *xs, size_t n, int fillMode)
{
    if (fillMode == kWinding) {
        int winding = 0;
        int64_t start = 0;
        for (size_t i = 0; i < n; ++i) {
            const int before = winding;
            winding += xs[i].dir;
            if (before == 0 && winding != 0) start = xs[i].x;
            else if (before != 0 && winding == 0) sink.AddSpan(y, start, xs[i].x);
        }
    } else {
        for (size_t i = 0; i + 1 < n; i += 2) sink.AddSpan(y, xs[i].x, xs[i + 1].x);
    }
}

// The plain way: every active edge's crossing worked out afresh on every row.
void PlainFill(SpanSet &set, std::vector<Edge> &edges, int fillMode, int64_t ymin, int64_t ymax)
{
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
        EmitRow(set, y, xs.data(), xs.size(), fillMode);
    }
}

// An edge on the active list, stepped from row to row: x = xTop + ceil(n / dy) for
// n = (y - top) * dx is kept as x and r = ceil(n / dy) * dy - n in [0, dy); each row adds
// dx = stepQ * dy + stepR (stepR in [0, dy)).
struct ActiveEdge {
    int64_t x, r, stepQ, stepR, dy, bottom;
    int dir;
};

ActiveEdge Activate(const Edge &e, int64_t y)
{
    ActiveEdge a;
    if (y == e.top) {
        // The usual case: the edge starts on this row, at its top point.
        a.x = e.xTop;
        a.r = 0;
    } else {
        a.x = e.CrossingAt(y);
        const i128 n = static_cast<i128>(y - e.top) * e.dx;
        a.r = static_cast<int64_t>(static_cast<i128>(a.x - e.xTop) * e.dy - n);
    }
    if (e.dy == 1) {
        // Never stepped (one row): no division for it.
        a.stepQ = e.dx;
        a.stepR = 0;
    } else {
        a.stepQ = e.dx / e.dy;
        a.stepR = e.dx % e.dy;
        if (a.stepR < 0) {
            --a.stepQ;
            a.stepR += e.dy;
        }
    }
    a.dy = e.dy;
    a.bottom = e.bottom;
    a.dir = e.dir;
    return a;
}

// The active-edge table: edges join in order of their top rows and leave at their bottom
// ones; crossings are stepped, not divided out, and the list is kept in order of them by
// insertion (edges seldom pass each other), so each row's spans are read straight off it.
template <class Sink>
void ActiveEdgeFill(Sink &sink, std::vector<Edge> &edges, int fillMode, int64_t ymin, int64_t ymax)
{
    std::sort(edges.begin(), edges.end(), [](const Edge &a, const Edge &b) { return a.top < b.top; });
    thread_local std::vector<ActiveEdge> list;
    struct Trim {
        ~Trim() { TrimScratch(list); }
    } trim;
    if (list.size() < edges.size()) list.resize(edges.size());
    // Plain pointers and counts: the pixel writes in between leave them in registers.
    ActiveEdge *const act = list.data();
    const Edge *const edge = edges.data();
    const size_t edgeCount = edges.size();
    size_t n = 0, next = 0;
    int64_t firstBottom = INT64_MAX; // the first row at which an active edge ends
    auto sortFrom = [act](size_t from, size_t count) {
        for (size_t k = std::max<size_t>(from, 1); k < count; ++k) {
            if (act[k - 1].x <= act[k].x) continue;
            const ActiveEdge e = act[k];
            size_t i = k;
            for (; i > 0 && act[i - 1].x > e.x; --i) act[i] = act[i - 1];
            act[i] = e;
        }
    };
    for (int64_t y = ymin; y < ymax;) {
        if (next < edgeCount && edge[next].top <= y) {
            const size_t first = n;
            for (; next < edgeCount && edge[next].top <= y; ++next) {
                if (edge[next].bottom <= y) continue;
                act[n++] = Activate(edge[next], y);
                firstBottom = std::min(firstBottom, edge[next].bottom);
            }
            sortFrom(first, n);
        }
        if (n == 0) {
            // Nothing until the next edge starts.
            if (next == edgeCount) return;
            y = edge[next].top;
            continue;
        }
        if (n == 2) {
            // Two edges (every convex figure, most rows of any): whichever way they wind,
            // the span between them, on every row until an edge ends or another starts.
            const int64_t until = std::min({ymax, firstBottom, next < edgeCount ? edge[next].top : ymax});
            ActiveEdge a = act[0], b = act[1];
            for (;;) {
                if (a.x <= b.x) sink.AddSpan(y, a.x, b.x);
                else sink.AddSpan(y, b.x, a.x);
                if (++y == until) break;
                a.x += a.stepQ;
                a.r -= a.stepR;
                const int64_t ca = a.r >> 63;
                a.x -= ca;
                a.r += a.dy & ca;
                b.x += b.stepQ;
                b.r -= b.stepR;
                const int64_t cb = b.r >> 63;
                b.x -= cb;
                b.r += b.dy & cb;
            }
            act[0] = a;
            act[1] = b;
            if (y >= ymax) return;
            // Back to the general step for the row the stretch ends on.
            --y;
        } else if (fillMode == kWinding) {
            int winding = 0;
            int64_t start = 0;
            for (size_t i = 0; i < n; ++i) {
                const int before = winding;
                winding += act[i].dir;
                if (before == 0) start = act[i].x;
                else if (winding == 0) sink.AddSpan(y, start, act[i].x);
            }
        } else {
            for (size_t i = 0; i + 1 < n; i += 2) sink.AddSpan(y, act[i].x, act[i + 1].x);
        }
        ++y;
        if (y >= firstBottom) {
            size_t kept = 0;
            firstBottom = INT64_MAX;
            for (size_t i = 0; i < n; ++i) {
                if (act[i].bottom <= y) continue;
                firstBottom = std::min(firstBottom, act[i].bottom);
                act[kept++] = act[i];
            }
            n = kept;
        }
        bool ordered = true;
        int64_t before = INT64_MIN;
        for (size_t i = 0; i < n; ++i) {
            ActiveEdge &e = act[i];
            const int64_t r = e.r - e.stepR;
            const int64_t carry = r >> 63; // all ones when r went below zero
            const int64_t x = e.x + e.stepQ - carry;
            e.x = x;
            e.r = r + (e.dy & carry);
            ordered &= before <= x;
            before = x;
        }
        if (!ordered) sortFrom(1, n);
    }
}

// Polygons of short edges (curves' outlines, a row or two each): each edge's crossings
// are stepped into per-row lists in one go, then each row's few are sorted and read off,
// with none of the table's upkeep per edge. False, having done nothing, when the lists
// would be large or the edges are tall; the active-edge table then does the work.
constexpr size_t kMaxBucketCrossings = size_t{1} << 14;

template <class Sink>
bool BucketFill(Sink &sink, const std::vector<Edge> &edges, int fillMode, int64_t ymin, int64_t ymax)
{
    const int64_t rows = ymax - ymin;
    if (rows > static_cast<int64_t>(kMaxBucketCrossings)) return false;
    size_t total = 0;
    for (const Edge &e : edges) {
        const int64_t lo = std::max(e.top, ymin), hi = std::min(e.bottom, ymax);
        if (lo < hi) total += static_cast<size_t>(hi - lo);
    }
    // Tall edges are better stepped together along the table.
    if (total > kMaxBucketCrossings || total > 8 * edges.size()) return false;
    thread_local std::vector<uint32_t> start;
    thread_local std::vector<Crossing> xs;
    // Row r's crossings go to xs[start[r] ..): counted as differences, summed twice.
    start.assign(static_cast<size_t>(rows) + 2, 0);
    for (const Edge &e : edges) {
        const int64_t lo = std::max(e.top, ymin), hi = std::min(e.bottom, ymax);
        if (lo >= hi) continue;
        ++start[static_cast<size_t>(lo - ymin) + 1];
        --start[static_cast<size_t>(hi - ymin) + 1];
    }
    uint32_t count = 0, sum = 0;
    for (size_t r = 1; r <= static_cast<size_t>(rows); ++r) {
        count += start[r];
        start[r] = sum;
        sum += count;
    }
    start[0] = 0;
    start[static_cast<size_t>(rows) + 1] = sum;
    // start[r + 1] is now where row r's crossings begin; filling moves it to where they end.
    xs.resize(total);
    for (const Edge &e : edges) {
        const int64_t lo = std::max(e.top, ymin), hi = std::min(e.bottom, ymax);
        if (lo >= hi) continue;
        if (e.dy == 1) {
            // One row (most of a curve's edges): its top point.
            xs[start[static_cast<size_t>(lo - ymin) + 1]++] = {e.xTop, e.dir};
            continue;
        }
        ActiveEdge a = Activate(e, lo);
        for (int64_t y = lo;;) {
            xs[start[static_cast<size_t>(y - ymin) + 1]++] = {a.x, a.dir};
            if (++y == hi) break;
            a.x += a.stepQ;
            a.r -= a.stepR;
            const int64_t carry = a.r >> 63;
            a.x -= carry;
            a.r += a.dy & carry;
        }
    }
    Crossing *const x = xs.data();
    for (int64_t r = 0; r < rows; ++r) {
        const size_t from = start[static_cast<size_t>(r)], to = start[static_cast<size_t>(r) + 1];
        if (from == to) continue;
        for (size_t k = from + 1; k < to; ++k) {
            const Crossing c = x[k];
            size_t i = k;
            for (; i > from && x[i - 1].x > c.x; --i) x[i] = x[i - 1];
            x[i] = c;
        }
        EmitRow(sink, ymin + r, x + from, to - from, fillMode);
    }
    return true;
}

// Rows [ymin, ymax) of the edges that the clip box shows; false when none.
bool VisibleRows(const std::vector<Edge> &edges, const Box &clip, int64_t &ymin, int64_t &ymax)
{
    if (edges.empty()) return false;
    ymin = edges[0].top;
    ymax = edges[0].bottom;
    for (const Edge &e : edges) {
        ymin = std::min(ymin, e.top);
        ymax = std::max(ymax, e.bottom);
    }
    ymin = std::max(ymin, clip.top);
    ymax = std::min(ymax, clip.bottom);
    return ymin < ymax;
}

template <class Sink>
void Fill(Sink &sink, const std::vector<Point> &pts, const size_t *counts, size_t polygons, int fillMode)
{
    thread_local std::vector<Edge> edges;
    struct Trim {
        ~Trim() { TrimScratch(edges); }
    } trim;
    CollectEdges(pts, counts, polygons, edges);
    int64_t ymin, ymax;
    if (!VisibleRows(edges, sink.Clip(), ymin, ymax)) return;
    if constexpr (std::is_same_v<Sink, SpanSet>) {
        if (!FastPaths()) {
            PlainFill(sink, edges, fillMode, ymin, ymax);
            return;
        }
    }
    if (!BucketFill(sink, edges, fillMode, ymin, ymax)) ActiveEdgeFill(sink, edges, fillMode, ymin, ymax);
}

} // namespace

void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, const std::vector<size_t> &counts,
                    int fillMode)
{
    Fill(set, pts, counts.data(), counts.size(), fillMode);
}

namespace {

struct CallbackSpans {
    Box clip;
    SpanFn fn;
    void *context;
    const Box &Clip() const { return clip; }
    void AddSpan(int64_t y, int64_t x0, int64_t x1) { fn(context, y, x0, x1); }
};

} // namespace

void PolygonSpans(const std::vector<Point> &pts, int fillMode, const Box &clip, SpanFn fn, void *context)
{
    CallbackSpans sink{clip, fn, context};
    const size_t count = pts.size();
    Fill(sink, pts, &count, 1, fillMode);
}

void FillPolygon(Surface &s, const std::vector<Point> &pts, int fillMode, Mix mix)
{
    const size_t count = pts.size();
    if (!FastPaths()) {
        SpanSet set(SurfaceBox(s));
        Fill(set, pts, &count, 1, fillMode);
        WriteSpans(s, set, mix);
        return;
    }
    SurfaceSpans sink(s, mix);
    Fill(sink, pts, &count, 1, fillMode);
}

void AddPolygonFill(SpanSet &set, const std::vector<Point> &pts, int fillMode)
{
    const size_t count = pts.size();
    Fill(set, pts, &count, 1, fillMode);
}

} // namespace standin::gdi::raster
