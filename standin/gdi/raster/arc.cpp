// arc.cpp - arc point lists. The quadrant outline is searched for the radials by cross
// products (exact, 128-bit), then walked through the four mirror images in drawing order.
#include "arc.h"
#include "ellipse.h"

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
    const int64_t w = box.right - box.left, h = box.bottom - box.top;
    std::vector<Point> q = EllipseQuadrant(w, h);
    const int64_t count = static_cast<int64_t>(q.size());
    if (count == 0) return {};
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

    std::vector<Point> pts;
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
    return pts;
}

} // namespace standin::gdi::raster
