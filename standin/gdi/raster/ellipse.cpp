// ellipse.cpp - quadrant stepping (the error of the diagonal neighbour decides whether x,
// y or both move), its mirror images, and rounded-rectangle region rows.
#include "ellipse.h"

#include <algorithm>
#include <cstdlib>

namespace standin::gdi::raster {
namespace {

using i128 = __int128;

// Stepping state of one quadrant, shared by the outline (walking inwards from the side)
// and the region rows (walking outwards from the middle row).
struct QuadrantStepper {
    i128 asq, bsq, dx, dy, err;

    QuadrantStepper(int64_t w, int64_t h)
    {
        const i128 a = w - 1, b = h - 1, odd = (h - 1) % 2;
        asq = 8 * a * a;
        bsq = 8 * b * b;
        dx = 4 * b * b * (1 - a);
        dy = 4 * a * a * (1 + odd);
        err = dx + dy + a * a * odd;
    }
    // One step: reports whether x and y move.
    void Step(bool &stepX, bool &stepY)
    {
        const i128 e2 = 2 * err;
        stepX = e2 >= dx;
        if (stepX) { dx += bsq; err += dx; }
        stepY = e2 <= dy;
        if (stepY) { dy += asq; err += dy; }
    }
};

} // namespace

std::vector<Point> EllipseQuadrant(int64_t w, int64_t h)
{
    std::vector<Point> pts;
    QuadrantStepper q(w, h);
    int64_t x = w - 1, y = h / 2;
    while (x >= w / 2) {
        pts.push_back({x, y});
        bool sx, sy;
        q.Step(sx, sy);
        if (!sx && !sy) break; // only for degenerate sizes; a real ellipse always moves
        if (sx) --x;
        if (sy) ++y;
    }
    return pts;
}

std::vector<Point> RoundRectOutline(const Box &box, int64_t ew, int64_t eh, bool clockwise)
{
    std::vector<Point> quad = EllipseQuadrant(ew, eh);
    const size_t count = quad.size();
    std::vector<Point> pts(4 * count);
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
    return pts;
}

void AddRoundRectArea(SpanSet &set, const Box &box, int64_t ew, int64_t eh)
{
    const Box &clip = set.Clip();
    if (box.Empty() || !box.Overlaps(clip)) return;
    // inset[i] is how far corner row i (0 = top row of the corner ellipse) is pulled in.
    // Row h/2 is the widest; stepping outwards from it sets the rows below it, and the
    // rows above are their mirror images.
    const int64_t half = eh / 2;
    std::vector<int64_t> inset(static_cast<size_t>(eh), -1);
    QuadrantStepper q(ew, eh);
    int64_t x = 0, y = half;
    inset[static_cast<size_t>(y)] = 0;
    while (x <= ew / 2) {
        bool sx, sy;
        q.Step(sx, sy);
        if (!sx && !sy) break;
        if (sx) ++x;
        if (sy) {
            ++y;
            if (y >= eh) break;
            inset[static_cast<size_t>(y)] = x;
        }
    }
    // Thin ellipses end the stepping before reaching their last rows; those rows are
    // the tips, as narrow as the ellipse allows.
    const int64_t tipInset = (ew - 1) / 2;
    for (int64_t i = half + 1; i < eh; ++i)
        if (inset[static_cast<size_t>(i)] < 0) inset[static_cast<size_t>(i)] = tipInset;
    for (int64_t i = 0; i < half; ++i) inset[static_cast<size_t>(i)] = inset[static_cast<size_t>(eh - 1 - i)];

    for (int64_t i = 0; i < half; ++i) {
        const int64_t in = inset[static_cast<size_t>(i)];
        set.AddSpan(box.top + i, box.left + in, box.right - in);
    }
    const int64_t midTop = box.top + half, midBottom = box.bottom - eh + half + 1;
    set.AddBox(Box{box.left, midTop, box.right, midBottom});
    for (int64_t i = half + 1; i < eh; ++i) {
        const int64_t in = inset[static_cast<size_t>(i)];
        set.AddSpan(box.bottom - eh + i, box.left + in, box.right - in);
    }
}

void AddRoundRectRegion(SpanSet &set, int64_t l, int64_t t, int64_t r, int64_t b, int64_t ew, int64_t eh)
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
    AddRoundRectArea(set, Box{l, t, r, b}, ew, eh);
}

} // namespace standin::gdi::raster
