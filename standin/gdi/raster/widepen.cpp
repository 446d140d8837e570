// widepen.cpp - wide pen areas. Diagonal bands are quadrilaterals whose half-widths are
// rounded from the exact perpendicular offsets; the pen's disc is the elliptic region of
// a w x w box.
#include "widepen.h"
#include "ellipse.h"
#include "polyfill.h"

#include <cmath>
#include <cstdlib>

namespace standin::gdi::raster {
namespace {

int64_t RoundHalfAway(double f) { return static_cast<int64_t>(f > 0 ? f + 0.5 : f - 0.5); }

class WidePen {
public:
    WidePen(SpanSet &set, int64_t w) : set_(set), w_(w), disc_(Box{-w, -w, w + 1, w + 1})
    {
        const int64_t lo = -(w / 2);
        AddRoundRectArea(disc_, Box{lo, lo, lo + w, lo + w}, w, w);
        disc_.Normalize();
    }

    void Disc(const Point &p)
    {
        const Box &clip = set_.Clip();
        if (p.x + w_ < clip.left || p.x - w_ >= clip.right || p.y + w_ < clip.top || p.y - w_ >= clip.bottom)
            return;
        for (const Span &s : disc_.Spans()) set_.AddSpan(p.y + s.y, p.x + s.x0, p.x + s.x1);
    }

    // The band of one segment; false for a zero-length one.
    bool Segment(const Point &p1, const Point &p2)
    {
        const int64_t dx = p2.x - p1.x, dy = p2.y - p1.y;
        if (dx == 0 && dy == 0) return false;
        if (dy == 0) {
            const int64_t top = p1.y - w_ / 2;
            set_.AddBox(Box{std::min(p1.x, p2.x), top, std::max(p1.x, p2.x), top + w_});
        } else if (dx == 0) {
            const int64_t left = p1.x - w_ / 2;
            set_.AddBox(Box{left, std::min(p1.y, p2.y), left + w_, std::max(p1.y, p2.y)});
        } else {
            const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
            const double widthX = static_cast<double>(w_) * static_cast<double>(Abs64(dy)) / len;
            const double widthY = static_cast<double>(w_) * static_cast<double>(Abs64(dx)) / len;
            Point narrow{RoundHalfAway(widthX / 2), RoundHalfAway(widthY / 2)};
            Point wide{RoundHalfAway((widthX + 1) / 2), RoundHalfAway((widthY + 1) / 2)};
            if (dx < 0) {
                wide.y = -wide.y;
                narrow.y = -narrow.y;
            }
            if (dy < 0) {
                std::swap(narrow, wide);
                wide.x = -wide.x;
                narrow.x = -narrow.x;
            }
            std::vector<Point> quad = {{p1.x - narrow.x, p1.y + narrow.y},
                                       {p1.x + wide.x, p1.y - wide.y},
                                       {p2.x + wide.x, p2.y - wide.y},
                                       {p2.x - narrow.x, p2.y + narrow.y}};
            AddPolygonFill(set_, quad, kAlternate);
        }
        return true;
    }

private:
    SpanSet &set_;
    int64_t w_;
    SpanSet disc_;
};

} // namespace

void AddWidePolyline(SpanSet &set, std::vector<Point> pts, bool close, int64_t width)
{
    if (pts.size() < 2) return;
    // Repeated points at either end add nothing but would move the caps.
    size_t first = 0, num = pts.size();
    while (num - first > 2 && pts[first] == pts[first + 1]) ++first;
    while (num - first > 2 && pts[num - 1] == pts[num - 2]) --num;
    std::vector<Point> p(pts.begin() + static_cast<std::ptrdiff_t>(first),
                         pts.begin() + static_cast<std::ptrdiff_t>(num));
    const size_t n = p.size();

    WidePen pen(set, width);
    const size_t segments = close ? n : n - 1;
    if (!close) {
        pen.Disc(p.front());
        pen.Disc(p.back());
    }
    if (segments == 1) {
        pen.Segment(p[0], p[1]);
        return;
    }
    pen.Segment(p[0], p[1]);
    for (size_t i = 1; i + 1 < segments; ++i)
        if (pen.Segment(p[i], p[i + 1])) pen.Disc(p[i]);
    const Point &last = p[segments - 1];
    const Point &end = close ? p[0] : p[n - 1];
    pen.Segment(last, end);
    pen.Disc(last);
    if (close) pen.Disc(end);
}

} // namespace standin::gdi::raster
