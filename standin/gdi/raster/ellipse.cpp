// ellipse.cpp - quadrant stepping (the error of the diagonal neighbour decides whether x,
// y or both move), its mirror images, and rounded-rectangle region rows.
#include "ellipse.h"
#include "quadrant.h"
#include "writer.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace standin::gdi::raster {
namespace {

using i128 = __int128;

// Stepping state of one quadrant, shared by the outline (walking inwards from the side)
// and the region rows (walking outwards from the middle row). 128 bits hold any size;
// 64 do for figures up to kNarrowLimit on a side, whose error terms stay below 2^60.
template <class Int> struct Stepper {
    Int asq, bsq, dx, dy, err;

    Stepper(int64_t w, int64_t h)
    {
        const Int a = w - 1, b = h - 1, odd = (h - 1) % 2;
        asq = 8 * a * a;
        bsq = 8 * b * b;
        dx = 4 * b * b * (1 - a);
        dy = 4 * a * a * (1 + odd);
        err = dx + dy + a * a * odd;
    }
    // One step: reports whether x and y move.
    void Step(bool &stepX, bool &stepY)
    {
        const Int e2 = 2 * err;
        stepX = e2 >= dx;
        if (stepX) { dx += bsq; err += dx; }
        stepY = e2 <= dy;
        if (stepY) { dy += asq; err += dy; }
    }
};

constexpr int64_t kNarrowLimit = int64_t{1} << 14;

bool Narrow(int64_t w, int64_t h)
{
    return FastPaths() && w > -kNarrowLimit && w < kNarrowLimit && h > -kNarrowLimit && h < kNarrowLimit;
}

template <class Int> bool QuadrantUpTo(int64_t w, int64_t h, size_t maxPoints, std::vector<Point> &pts)
{
    pts.clear();
    Stepper<Int> q(w, h);
    int64_t x = w - 1, y = h / 2;
    while (x >= w / 2) {
        if (pts.size() == maxPoints) return false;
        pts.push_back({x, y});
        bool sx, sy;
        q.Step(sx, sy);
        if (!sx && !sy) break;
        if (sx) --x;
        if (sy) ++y;
    }
    // Tall thin ellipses run out of x before reaching their top row: their tips are
    // completed straight up the middle column(s).
    if (w >= 1 && h >= 1 && !pts.empty()) {
        for (int64_t ty = pts.back().y + 1; ty <= h - 1; ++ty) {
            if (pts.size() == maxPoints) return false;
            pts.push_back({w / 2, ty});
        }
    }
    return true;
}

// Corner row insets of a rounded-rectangle region small enough to walk, from one walk of
// its quadrant (the same states QuadrantPath keeps for it): inset[j] for row half + j,
// j = 0 .. eh - 1 - half.
void NarrowInsets(int64_t ew, int64_t eh, std::vector<int64_t> &inset)
{
    const int64_t half = eh / 2, b = eh - 1, tipInset = (ew - 1) / 2;
    // The walk stays within rows 0 .. b + 1.
    thread_local std::vector<int64_t> firstK, lastK;
    if (firstK.size() < static_cast<size_t>(b + 2)) {
        firstK.resize(static_cast<size_t>(b + 2));
        lastK.resize(static_cast<size_t>(b + 2));
    }
    Stepper<int64_t> q(ew, eh);
    int64_t k = 0, j = 0, rows = 0;
    firstK[0] = 0;
    while (k <= ew / 2 + 1 && j <= b + 1) {
        lastK[static_cast<size_t>(j)] = k;
        rows = j + 1;
        bool sx, sy;
        q.Step(sx, sy);
        if (!sx && !sy) break;
        if (sx) ++k;
        if (sy) {
            ++j;
            if (j <= b + 1) firstK[static_cast<size_t>(j)] = k;
        }
    }
    inset.resize(static_cast<size_t>(eh - half));
    for (int64_t r = 1; r < eh - half; ++r) {
        if (r >= rows || lastK[static_cast<size_t>(r - 1)] > ew / 2) inset[static_cast<size_t>(r)] = tipInset;
        else inset[static_cast<size_t>(r)] = firstK[static_cast<size_t>(r)];
    }
}

} // namespace

std::vector<Point> EllipseQuadrant(int64_t w, int64_t h)
{
    std::vector<Point> pts;
    EllipseQuadrantUpTo(w, h, SIZE_MAX, pts);
    return pts;
}

bool EllipseQuadrantUpTo(int64_t w, int64_t h, size_t maxPoints, std::vector<Point> &pts)
{
    return Narrow(w, h) ? QuadrantUpTo<int64_t>(w, h, maxPoints, pts) : QuadrantUpTo<i128>(w, h, maxPoints, pts);
}

void RoundRectOutline(const Box &box, int64_t ew, int64_t eh, bool clockwise, std::vector<Point> &pts)
{
    thread_local std::vector<Point> quad;
    EllipseQuadrantUpTo(ew, eh, SIZE_MAX, quad);
    const size_t count = quad.size();
    pts.resize(4 * count);
    for (size_t i = 0; i < count; ++i) {
        pts[i].x = box.right - ew + quad[i].x;
        pts[i].y = clockwise ? box.bottom - eh + quad[i].y : box.top + eh - 1 - quad[i].y;
    }
    // Mirror left-right, then top-bottom; a centre point shared by both halves is kept once.
    size_t end = 2 * count - 1;
    if (ew % 2 == 1 && ew == box.right - box.left) --end;
    for (size_t i = 0; i < count; ++i) pts[end - i] = {box.left + box.right - 1 - pts[i].x, pts[i].y};
    size_t n = end + 1;
    end = 2 * n - 1;
    if (eh % 2 == 1 && eh == box.bottom - box.top) --end;
    for (size_t i = 0; i < n; ++i) pts[end - i] = {pts[i].x, box.top + box.bottom - 1 - pts[i].y};
    pts.resize(end + 1);
}

std::vector<Point> RoundRectOutline(const Box &box, int64_t ew, int64_t eh, bool clockwise)
{
    std::vector<Point> pts;
    RoundRectOutline(box, ew, eh, clockwise, pts);
    return pts;
}

namespace {

template <class Sink> void RoundRectArea(Sink &set, const Box &box, int64_t ew, int64_t eh)
{
    const Box &clip = set.Clip();
    if (box.Empty() || !box.Overlaps(clip)) return;
    // Corner row i (0 = top row of the corner ellipse) is pulled in by inset(i). Row eh/2
    // is the widest; stepping outwards from it (K x steps, J y steps) sets row eh/2 + J to
    // the K the path enters that row with, for as long as the stepping carries on (while
    // K stays within ew/2); rows above the middle mirror those below it.
    const int64_t half = eh / 2;
    // Thin ellipses stop stepping before their last rows; those rows are the tips, as
    // narrow as the ellipse allows.
    const int64_t tipInset = (ew - 1) / 2;
    thread_local std::vector<int64_t> table;
    const bool narrow = ew + eh <= QuadrantPath::WalkLimit() && Narrow(ew, eh);
    std::optional<QuadrantPath> path;
    if (narrow) NarrowInsets(ew, eh, table);
    else path.emplace(ew, eh);
    auto inset = [&](int64_t i) -> int64_t {
        const int64_t j = i - half;
        if (j <= 0) return 0;
        if (narrow) return table[static_cast<size_t>(j)];
        const PathState before = path->ExitRow(j - 1);
        if (before.k == QuadrantPath::kNever || before.k > ew / 2) return tipInset;
        const PathState entry = path->EnterRow(j);
        return entry.k == QuadrantPath::kNever ? tipInset : entry.k;
    };
    // Only the corner rows on the clip box are looked at.
    const int64_t topFirst = std::max<int64_t>(0, clip.top - box.top);
    const int64_t topLast = std::min<int64_t>(half - 1, clip.bottom - 1 - box.top);
    for (int64_t i = topFirst; i <= topLast; ++i) {
        const int64_t in = inset(eh - 1 - i);
        set.AddSpan(box.top + i, box.left + in, box.right - in);
    }
    const int64_t midTop = box.top + half, midBottom = box.bottom - eh + half + 1;
    set.AddBox(Box{box.left, midTop, box.right, midBottom});
    const int64_t bottomFirst = std::max<int64_t>(half + 1, clip.top - (box.bottom - eh));
    const int64_t bottomLast = std::min<int64_t>(eh - 1, clip.bottom - 1 - (box.bottom - eh));
    for (int64_t i = bottomFirst; i <= bottomLast; ++i) {
        const int64_t in = inset(i);
        set.AddSpan(box.bottom - eh + i, box.left + in, box.right - in);
    }
}

template <class Sink>
void RoundRectRegion(Sink &set, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    --r;
    --b;
    ew = std::min(r - l, Abs64(ew));
    eh = std::min(b - t, Abs64(eh));
    if (ew < 2 || eh < 2) {
        // An empty box pulled in by one turns inside out: it becomes the pixel row or
        // column just before it, as in GDI.
        set.AddBox(Box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
        return;
    }
    RoundRectArea(set, Box{l, t, r, b}, ew, eh);
}

} // namespace

void AddRoundRectArea(SpanSet &set, const Box &box, int64_t ew, int64_t eh) { RoundRectArea(set, box, ew, eh); }

std::vector<std::vector<Point>> RoundRectOutlinePieces(const Box &box, int64_t ew, int64_t eh, bool clockwise,
                                                       const Box &visible, bool &closed)
{
    if (ew + eh <= QuadrantPath::WalkLimit()) {
        closed = true;
        return {RoundRectOutline(box, ew, eh, clockwise)};
    }
    const QuadrantPath path = QuadrantPath::Outline(ew, eh);
    closed = false;
    // The quadrant's points map to the four corners; the outline runs through corner A
    // (top right, or bottom right clockwise) along the path, B (its left-right mirror)
    // backwards, C (B's top-bottom mirror) forwards and D (A's mirror) backwards. Each
    // corner is x = xBase + xSign*K, y = yBase + ySign*J.
    const int64_t c = eh - 1 - eh / 2;
    struct Corner {
        int64_t xBase, xSign, yBase, ySign;
        bool backwards;
    };
    const int64_t yA = clockwise ? box.bottom - eh + eh / 2 : box.top + c;
    const int64_t ySignA = clockwise ? 1 : -1;
    const int64_t yMirror = box.top + box.bottom - 1 - yA;
    const Corner corners[4] = {
        {box.right - 1, -1, yA, ySignA, false},
        {box.left, 1, yA, ySignA, true},
        {box.left, 1, yMirror, -ySignA, false},
        {box.right - 1, -1, yMirror, -ySignA, true},
    };
    auto map = [](const Corner &cn, PathState s) { return Point{cn.xBase + cn.xSign * s.k, cn.yBase + cn.ySign * s.j}; };
    // Steps range [lo, hi] whose coordinate base + sign*t lies in [from, to).
    auto steps = [](int64_t base, int64_t sign, int64_t from, int64_t to, int64_t &lo, int64_t &hi) {
        if (sign > 0) {
            lo = from - base;
            hi = to - 1 - base;
        } else {
            lo = base - to + 1;
            hi = base - from;
        }
    };
    const int64_t kEnd = (ew - 1) - ew / 2; // the outline keeps points with x >= ew/2
    const PathState first{0, 0};
    const PathState last = path.ExitColumn(kEnd);
    std::vector<std::vector<Point>> pieces;
    for (int i = 0; i < 4; ++i) {
        const Corner &cn = corners[i];
        int64_t k0, k1, j0, j1;
        steps(cn.xBase, cn.xSign, visible.left, visible.right, k0, k1);
        steps(cn.yBase, cn.ySign, visible.top, visible.bottom, j0, j1);
        std::vector<Point> run;
        path.Visit(k0, k1, j0, j1, kEnd, [&](PathState s) { run.push_back(map(cn, s)); });
        if (cn.backwards) std::reverse(run.begin(), run.end());
        if (run.size() >= 2) pieces.push_back(std::move(run));
        // The segment from this corner's last point to the next corner's first.
        const Corner &next = corners[(i + 1) % 4];
        const PathState from = cn.backwards ? first : last;
        const PathState to = next.backwards ? last : first;
        pieces.push_back({map(cn, from), map(next, to)});
    }
    return pieces;
}

void AddRoundRectRegion(SpanSet &set, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh)
{
    RoundRectRegion(set, l, t, r, b, ew, eh);
}

void FillRoundRectRegion(Surface &s, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh, Mix mix)
{
    if (!FastPaths()) {
        SpanSet set(SurfaceBox(s));
        RoundRectRegion(set, l, t, r, b, ew, eh);
        WriteSpans(s, set, mix);
        return;
    }
    SurfaceSpans sink(s, mix);
    RoundRectRegion(sink, l, t, r, b, ew, eh);
}

} // namespace standin::gdi::raster
