// arc.cpp - arc point lists. The quadrant outline is searched for the radials by cross
// products (exact, 128-bit), then walked through the four mirror images in drawing order.
#include "arc.h"
#include "ellipse.h"
#include "polyfill.h"
#include "quadrant.h"
#include "spans.h"

#include <algorithm>

namespace standin::gdi::raster {
namespace {

using i128 = __int128;

// Position of the radial (x, y) (y up) along the outline, counted in quadrant points
// from 3 o'clock: 0..count-1 first quadrant, then the second, third and fourth.
int64_t RadialIndex(const std::vector<Point> &q, int64_t x, int64_t y)
{
    const int64_t count = static_cast<int64_t>(q.size());
    auto cross = [](int64_t a, int64_t b) { return static_cast<i128>(a) * b; };
    int64_t i = 0;
    if (y >= 0) {
        if (x >= 0) {
            while (i < count && !(cross(q[i].x, y) <= cross(q[i].y, x))) ++i;
            return i;
        }
        while (i < count && !(cross(q[i].x, y) < cross(q[i].y, -x))) ++i;
        return 2 * count - i;
    }
    if (x >= 0) {
        while (i < count && !(cross(q[i].x, -y) <= cross(q[i].y, x))) ++i;
        return 4 * count - i;
    }
    while (i < count && !(cross(q[i].x, -y) < cross(q[i].y, -x))) ++i;
    return 2 * count + i;
}

} // namespace

std::vector<Point> ArcPoints(const Box &box, Point start, Point end, bool clockwise)
{
    std::vector<Point> pts;
    ArcPointsUpTo(box, start, end, clockwise, SIZE_MAX, pts);
    return pts;
}

bool ArcPointsUpTo(const Box &box, Point start, Point end, bool clockwise, size_t maxPoints, std::vector<Point> &pts)
{
    pts.clear();
    const int64_t w = box.right - box.left, h = box.bottom - box.top;
    thread_local std::vector<Point> q;
    struct Trim {
        ~Trim() { TrimScratch(q); }
    } trim;
    if (!EllipseQuadrantUpTo(w, h, maxPoints, q)) return false;
    const int64_t count = static_cast<int64_t>(q.size());
    if (count == 0) return true;
    for (Point &p : q) {
        p.x -= w / 2;
        p.y -= h / 2;
    }
    const int64_t cx = box.left + w / 2, cy = box.top + h / 2;
    start = {start.x - cx, start.y - cy};
    end = {end.x - cx, end.y - cy};
    if (!clockwise) {
        start.y = -start.y;
        end.y = -end.y;
    }
    const int64_t from = RadialIndex(q, start.x, start.y);
    int64_t to = RadialIndex(q, end.x, end.y);
    if (to <= from) to += 4 * count;

    // The quadrant and the arc share GDI's room for points.
    if (static_cast<uint64_t>(count) + static_cast<uint64_t>(to - from) > maxPoints) return false;
    pts.reserve(static_cast<size_t>(to - from));
    const int64_t left = box.left + w / 2, right = box.right - 1 - w / 2;
    const int64_t top = box.top + h / 2, bottom = box.bottom - 1 - h / 2;
    for (int64_t i = from; i < to; ++i) {
        const Point &fwd = q[static_cast<size_t>(i % count)];
        const Point &back = q[static_cast<size_t>(count - 1 - i % count)];
        Point p;
        switch ((i / count) % 4) {
        case 0: p = {left + fwd.x, clockwise ? top + fwd.y : bottom - fwd.y}; break;
        case 1: p = {right - back.x, clockwise ? top + back.y : bottom - back.y}; break;
        case 2: p = {right - fwd.x, clockwise ? bottom - fwd.y : top + fwd.y}; break;
        default: p = {left + back.x, clockwise ? bottom - back.y : top + back.y}; break;
        }
        pts.push_back(p);
    }
    return true;
}

} // namespace standin::gdi::raster

// ---- large arcs ----

namespace standin::gdi::raster {
namespace {

// A place on the outline: quadrant image m (0..3, and 4.. after a full turn) and a path
// state. Even images run along the path, odd ones against it.
struct ArcPos {
    int64_t m;
    PathState s;
};

class LargeArcBuilder {
public:
    LargeArcBuilder(const Box &box, bool clockwise)
        : box_(box), w_(box.right - box.left), h_(box.bottom - box.top), cw_(clockwise),
          path_(QuadrantPath::Outline(w_, h_))
    {
        kEnd_ = (w_ - 1) - w_ / 2;
        last_ = path_.ExitColumn(kEnd_);
    }


    // Relative coordinates of a state (x right, y up from the centre, first quadrant).
    int64_t Qx(PathState s) const { return (w_ - 1) - s.k - w_ / 2; }
    int64_t Qy(PathState s) const { return s.j; }

    // The screen point of image m's state s.
    Point Screen(int64_t m, PathState s) const
    {
        const int64_t left = box_.left + w_ / 2, right = box_.right - 1 - w_ / 2;
        const int64_t top = box_.top + h_ / 2, bottom = box_.bottom - 1 - h_ / 2;
        const int64_t qx = Qx(s), qy = Qy(s);
        switch (m % 4) {
        case 0: return {left + qx, cw_ ? top + qy : bottom - qy};
        case 1: return {right - qx, cw_ ? top + qy : bottom - qy};
        case 2: return {right - qx, cw_ ? bottom - qy : top + qy};
        default: return {left + qx, cw_ ? bottom - qy : top + qy};
        }
    }

    // First state (up to the outline's last) where pred turns true, or none.
    template <class Pred> bool FirstWhere(Pred pred, PathState &out) const
    {
        auto rowExit = [&](int64_t j) {
            if (j >= last_.j) return last_;
            return path_.ExitRow(j);
        };
        if (!pred(last_)) return false;
        int64_t lo = 0, hi = last_.j;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (pred(rowExit(mid))) hi = mid;
            else lo = mid + 1;
        }
        const PathState entry = path_.EnterRow(lo), exit = rowExit(lo);
        int64_t k0 = entry.k, k1 = exit.k;
        while (k0 < k1) {
            const int64_t mid = k0 + (k1 - k0) / 2;
            if (pred(PathState{mid, lo})) k1 = mid;
            else k0 = mid + 1;
        }
        out = {k0, lo};
        return true;
    }

    // Where the radial through (x, y) (y up) meets the outline, as GDI's index rule has it.
    ArcPos Radial(int64_t x, int64_t y) const
    {
        using i128 = __int128;
        auto mul = [](int64_t p, int64_t q) { return static_cast<i128>(p) * q; };
        PathState s;
        if (y >= 0 && x >= 0) {
            if (FirstWhere([&](PathState t) { return mul(Qx(t), y) <= mul(Qy(t), x); }, s)) return {0, s};
            return {1, last_};
        }
        if (y >= 0) {
            if (!FirstWhere([&](PathState t) { return mul(Qx(t), y) < mul(Qy(t), -x); }, s)) return {1, last_};
            if (s == PathState{0, 0}) return {2, s};
            return {1, path_.Prev(s)};
        }
        if (x >= 0) {
            if (!FirstWhere([&](PathState t) { return mul(Qx(t), -y) <= mul(Qy(t), x); }, s)) return {3, last_};
            if (s == PathState{0, 0}) return {4, s};
            return {3, path_.Prev(s)};
        }
        if (FirstWhere([&](PathState t) { return mul(Qx(t), -y) < mul(Qy(t), -x); }, s)) return {2, s};
        return {3, last_};
    }

    // Whether p comes before q along the outline.
    static bool PosBefore(const ArcPos &p, const ArcPos &q)
    {
        if (p.m != q.m) return p.m < q.m;
        return p.m % 2 == 0 ? QuadrantPath::Before(p.s, q.s) : QuadrantPath::Before(q.s, p.s);
    }

    // One image's part of the arc: path states [lo, hi] (path order), drawn forwards or
    // backwards.
    struct Part {
        int64_t m;
        PathState lo, hi;
    };

    std::vector<Part> Parts(ArcPos from, ArcPos to) const
    {
        std::vector<Part> parts;
        if (!PosBefore(from, to)) to.m += 4; // equal radials: the full turn
        for (int64_t m = from.m; m <= to.m; ++m) {
            const bool fwd = m % 2 == 0;
            // Drawing-order bounds: first position, and the excluded end if in this image.
            PathState first = m == from.m ? from.s : (fwd ? PathState{0, 0} : last_);
            PathState lo, hi;
            if (fwd) {
                lo = first;
                if (m == to.m) {
                    if (to.s == PathState{0, 0} || !QuadrantPath::Before(lo, to.s)) continue;
                    hi = path_.Prev(to.s);
                } else {
                    hi = last_;
                }
            } else {
                hi = first;
                if (m == to.m) {
                    if (to.s == last_ || !QuadrantPath::Before(to.s, hi)) continue;
                    lo = path_.Next(to.s);
                } else {
                    lo = PathState{0, 0};
                }
            }
            parts.push_back({m, lo, hi});
        }
        return parts;
    }

    // Screen positions of a part's ends in drawing order.
    Point PartStart(const Part &p) const { return Screen(p.m, p.m % 2 == 0 ? p.lo : p.hi); }
    Point PartEnd(const Part &p) const { return Screen(p.m, p.m % 2 == 0 ? p.hi : p.lo); }

    // The part's points near `visible`, in drawing order.
    std::vector<Point> VisibleRun(const Part &p, const Box &visible) const
    {
        const Point a = Screen(p.m, {0, 0});
        const Point kStep = Screen(p.m, {1, 0}), jStep = Screen(p.m, {0, 1});
        const int64_t xs = kStep.x - a.x, ys = jStep.y - a.y; // +1 or -1
        auto range = [](int64_t base, int64_t sign, int64_t from, int64_t to, int64_t &lo, int64_t &hi) {
            if (sign > 0) {
                lo = from - base;
                hi = to - 1 - base;
            } else {
                lo = base - to + 1;
                hi = base - from;
            }
        };
        int64_t k0, k1, j0, j1;
        range(a.x, xs, visible.left, visible.right, k0, k1);
        range(a.y, ys, visible.top, visible.bottom, j0, j1);
        std::vector<Point> run;
        path_.Visit(k0, k1, j0, j1, kEnd_, [&](PathState s) {
            if (QuadrantPath::Before(s, p.lo) || QuadrantPath::Before(p.hi, s)) return;
            run.push_back(Screen(p.m, s));
        });
        if (p.m % 2 == 1) std::reverse(run.begin(), run.end());
        return run;
    }

    // Adds the crossings of a part's chain with screen row y: (x, +1 going down / -1 up).
    void PartCrossing(const Part &p, int64_t y, std::vector<std::pair<int64_t, int>> &xs) const
    {
        const Point a = Screen(p.m, {0, 0});
        const int64_t ys = Screen(p.m, {0, 1}).y - a.y;
        // The chain steps from row J to J + 1 between the last state of row J and the
        // first of row J + 1; that edge is active on the upper of the two screen rows and
        // crosses it at the upper vertex.
        const int64_t j = ys > 0 ? y - a.y : a.y - 1 - y;
        if (j < 0) return;
        const PathState s1 = path_.ExitRow(j);
        if (s1.k == QuadrantPath::kNever) return;
        const PathState s2 = path_.Next(s1);
        if (s2.j != j + 1) return;
        if (QuadrantPath::Before(s1, p.lo) || QuadrantPath::Before(p.hi, s2)) return;
        const Point top = Screen(p.m, ys > 0 ? s1 : s2);
        const bool alongPath = p.m % 2 == 0;
        const int dir = (ys > 0) == alongPath ? 1 : -1;
        xs.push_back({top.x, dir});
    }

    Point Centre() const { return {box_.left + w_ / 2, box_.top + h_ / 2}; }

private:
    Box box_;
    int64_t w_, h_;
    bool cw_;
    QuadrantPath path_;
    int64_t kEnd_;
    PathState last_;
};

// Crossing of a straight edge with row y, GDI's polygon rule (or none).
bool EdgeCrossing(Point p, Point q, int64_t y, int64_t &x, int &dir)
{
    if (p.y == q.y) return false;
    dir = q.y > p.y ? 1 : -1;
    if (p.y > q.y) std::swap(p, q);
    if (y < p.y || y >= q.y) return false;
    using i128 = __int128;
    const i128 num = static_cast<i128>(y - p.y) * (q.x - p.x);
    const int64_t dy = q.y - p.y;
    i128 qd = num / dy;
    if (num % dy != 0 && num > 0) ++qd;
    x = p.x + static_cast<int64_t>(qd);
    return true;
}

} // namespace

bool LargeArc(const Box &box, Point start, Point end, bool clockwise, ArcClosure closure, const Box &visible,
              std::vector<std::vector<Point>> &pieces, SpanSet *interior)
{
    const int64_t w = box.right - box.left, h = box.bottom - box.top;
    if (w + h <= QuadrantPath::WalkLimit()) return false;
    const LargeArcBuilder arc(box, clockwise);
    const int64_t cx = box.left + w / 2, cy = box.top + h / 2;
    Point s{start.x - cx, start.y - cy}, e{end.x - cx, end.y - cy};
    if (!clockwise) {
        s.y = -s.y;
        e.y = -e.y;
    }
    const std::vector<LargeArcBuilder::Part> parts = arc.Parts(arc.Radial(s.x, s.y), arc.Radial(e.x, e.y));
    if (parts.empty()) return true;
    // Like any polyline, fewer than two points (the centre of a pie counts) draw nothing.
    const bool onePoint = parts.size() == 1 && parts[0].lo == parts[0].hi;
    if (onePoint && closure != ArcClosure::Pie) return true;

    // Outline: each part's visible run, the lines joining consecutive parts, and the
    // closing lines.
    std::vector<std::pair<Point, Point>> lines;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::vector<Point> run = arc.VisibleRun(parts[i], visible);
        if (run.size() >= 2) pieces.push_back(std::move(run));
        if (i + 1 < parts.size()) lines.push_back({arc.PartEnd(parts[i]), arc.PartStart(parts[i + 1])});
    }
    const Point first = arc.PartStart(parts.front()), lastPt = arc.PartEnd(parts.back());
    if (closure == ArcClosure::Pie) {
        lines.push_back({lastPt, arc.Centre()});
        lines.push_back({arc.Centre(), first});
    } else if (closure == ArcClosure::Chord) {
        lines.push_back({lastPt, first});
    }
    for (const auto &[p, q] : lines) pieces.push_back({p, q});

    if (interior && closure != ArcClosure::Open) {
        // The filled polygon row by row, winding rule: the parts' chains cross each row at
        // most once each, the joining and closing lines are plain edges.
        const Box &clip = interior->Clip();
        std::vector<std::pair<int64_t, int>> xs;
        for (int64_t y = clip.top; y < clip.bottom; ++y) {
            xs.clear();
            for (const auto &part : parts) arc.PartCrossing(part, y, xs);
            for (const auto &[p, q] : lines) {
                int64_t x;
                int dir;
                if (EdgeCrossing(p, q, y, x, dir)) xs.push_back({x, dir});
            }
            if (xs.empty()) continue;
            std::sort(xs.begin(), xs.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
            int winding = 0;
            int64_t from = 0;
            for (const auto &[x, dir] : xs) {
                const int before = winding;
                winding += dir;
                if (before == 0 && winding != 0) from = x;
                else if (before != 0 && winding == 0) interior->AddSpan(y, from, x);
            }
        }
    }
    return true;
}

} // namespace standin::gdi::raster
