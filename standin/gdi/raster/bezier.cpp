// bezier.cpp - recursive midpoint subdivision with GDI's flatness test (control points
// between the ends and within one pixel of the chord).
#include "bezier.h"

#include <cstdlib>

namespace standin::gdi::raster {
namespace {

constexpr int kShift = 4;
constexpr int64_t kPixel = int64_t{1} << kShift;
constexpr int kMaxDepth = 8;

int64_t ShiftDown(int64_t v) { return (v + (int64_t{1} << (kShift - 1))) >> kShift; }

Point Middle(const Point &a, const Point &b)
{
    auto mid = [](int64_t p, int64_t q) {
        // GDI adds one and halves with C's division, which truncates towards zero: halves
        // round up for sums of -1 and more, but an even negative sum comes out one above
        // its half (-4 gives -1). Curves at negative coordinates show it (conformance
        // group beziers-negative); a floor instead moves their pixels.
        return (p + q + 1) / 2;
    };
    return {mid(a.x, b.x), mid(a.y, b.y)};
}

// Whether the control points lie between the ends (along the main axis) and within a
// pixel of the chord.
bool FlatEnough(const Point *p)
{
    int64_t dx = p[3].x - p[0].x, dy = p[3].y - p[0].y;
    auto between = [](int64_t c, int64_t a, int64_t b) {
        if (c < a) return c >= b;
        return c <= b;
    };
    if (Abs64(dy) <= Abs64(dx)) {
        if (!between(p[1].x, p[0].x, p[3].x) || !between(p[2].x, p[0].x, p[3].x)) return false;
        dx = ShiftDown(dx);
        if (dx == 0) return true;
        const int64_t slope = dy / dx;
        return Abs64(p[1].y - p[0].y - slope * ShiftDown(p[1].x - p[0].x)) <= kPixel &&
               Abs64(p[2].y - p[0].y - slope * ShiftDown(p[2].x - p[0].x)) <= kPixel;
    }
    if (!between(p[1].y, p[0].y, p[3].y) || !between(p[2].y, p[0].y, p[3].y)) return false;
    dy = ShiftDown(dy);
    if (dy == 0) return true;
    const int64_t slope = dx / dy;
    return Abs64(p[1].x - p[0].x - slope * ShiftDown(p[1].y - p[0].y)) <= kPixel &&
           Abs64(p[2].x - p[0].x - slope * ShiftDown(p[2].y - p[0].y)) <= kPixel;
}

void Subdivide(Point *p, std::vector<Point> &out, int level)
{
    if (level == 0 || FlatEnough(p)) {
        if (out.empty()) out.push_back({ShiftDown(p[0].x), ShiftDown(p[0].y)});
        out.push_back({ShiftDown(p[3].x), ShiftDown(p[3].y)});
        return;
    }
    Point second[4];
    second[3] = p[3];
    second[2] = Middle(p[2], p[3]);
    second[0] = Middle(p[1], p[2]);
    second[1] = Middle(second[0], second[2]);
    p[1] = Middle(p[0], p[1]);
    p[2] = Middle(p[1], second[0]);
    p[3] = Middle(p[2], second[1]);
    second[0] = p[3];
    Subdivide(p, out, level - 1);
    Subdivide(second, out, level - 1);
}

} // namespace

std::vector<Point> FlattenBeziers(const std::vector<Point> &pts)
{
    std::vector<Point> out;
    FlattenBeziers(pts, out);
    return out;
}

void FlattenBeziers(const std::vector<Point> &pts, std::vector<Point> &out)
{
    out.clear();
    if (pts.size() < 4 || (pts.size() - 1) % 3 != 0) return;
    for (size_t c = 0; c + 3 < pts.size(); c += 3) {
        Point p[4];
        for (int i = 0; i < 4; ++i) p[i] = {pts[c + i].x * kPixel, pts[c + i].y * kPixel};
        Subdivide(p, out, kMaxDepth);
    }
}

} // namespace standin::gdi::raster
