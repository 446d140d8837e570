// widepen.cpp - wide pen areas. Diagonal bands are quadrilaterals whose half-widths are
// rounded from the exact perpendicular offsets; the pen's disc is the elliptic region of
// a w x w box.
#include "widepen.h"
#include "ellipse.h"
#include "polyfill.h"
#include "writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace standin::gdi::raster {
namespace {

int64_t RoundHalfAway(double f) { return static_cast<int64_t>(f > 0 ? f + 0.5 : f - 0.5); }

// The band of a diagonal segment: a parallelogram whose half-widths along x and y are
// rounded from the exact perpendicular offsets.
std::vector<Point> BandQuad(const Point &p1, const Point &p2, int64_t w)
{
    const int64_t dx = p2.x - p1.x, dy = p2.y - p1.y;
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double widthX = static_cast<double>(w) * static_cast<double>(Abs64(dy)) / len;
    const double widthY = static_cast<double>(w) * static_cast<double>(Abs64(dx)) / len;
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
    return {{p1.x - narrow.x, p1.y + narrow.y},
            {p1.x + wide.x, p1.y - wide.y},
            {p2.x + wide.x, p2.y - wide.y},
            {p2.x - narrow.x, p2.y + narrow.y}};
}

class WidePen {
public:
    // The disc is made once and moved to each point, for the rows that can show at any of
    // the points that reach the clip box: a pen far wider than the surface needs only a
    // surface's height of it, not a row for each of its own. When even those rows are
    // more than the discs would look up one by one (points spread far apart), each disc is
    // made where it lies, cut to the clip box.
    WidePen(SpanSet &set, int64_t w, const std::vector<Point> &points)
        : set_(set), w_(w), lo_(-(w / 2)), disc_(Box{})
    {
        const Box &clip = set_.Clip();
        int64_t first = INT64_MAX, last = INT64_MIN, reaching = 0;
        for (const Point &p : points) {
            if (!Reaches(p)) continue;
            ++reaching;
            first = std::min(first, clip.top - p.y);
            last = std::max(last, clip.bottom - p.y);
        }
        first = std::max(first, lo_);
        last = std::min(last, lo_ + w);
        if (first >= last) return;
        const int64_t rowsEach = std::min(w, clip.bottom - clip.top);
        perDisc_ = (last - first) / std::max<int64_t>(reaching, 1) > rowsEach;
        if (perDisc_) return;
        disc_ = SpanSet(Box{-w, first, w + 1, last});
        AddRoundRectArea(disc_, Box{lo_, lo_, lo_ + w, lo_ + w}, w, w);
        disc_.Normalize();
    }

    void Disc(const Point &p)
    {
        if (!Reaches(p) || set_.Full()) return;
        if (perDisc_) {
            AddRoundRectArea(set_, Box{p.x + lo_, p.y + lo_, p.x + lo_ + w_, p.y + lo_ + w_}, w_, w_);
            return;
        }
        // Only the disc's rows on the clip box.
        const Box &clip = set_.Clip();
        const std::vector<Span> &spans = disc_.Spans();
        auto it = std::lower_bound(spans.begin(), spans.end(), clip.top - p.y,
                                   [](const Span &s, int64_t row) { return s.y < row; });
        for (; it != spans.end() && it->y < clip.bottom - p.y; ++it) set_.AddSpan(p.y + it->y, p.x + it->x0, p.x + it->x1);
    }

    // The band of one segment; false for a zero-length one.
    bool Segment(const Point &p1, const Point &p2)
    {
        const int64_t dx = p2.x - p1.x, dy = p2.y - p1.y;
        if (dx == 0 && dy == 0) return false;
        if (set_.Full()) return true;
        if (dy == 0) {
            const int64_t top = p1.y - w_ / 2;
            set_.AddBox(Box{std::min(p1.x, p2.x), top, std::max(p1.x, p2.x), top + w_});
        } else if (dx == 0) {
            const int64_t left = p1.x - w_ / 2;
            set_.AddBox(Box{left, std::min(p1.y, p2.y), left + w_, std::max(p1.y, p2.y)});
        } else {
            AddPolygonFill(set_, BandQuad(p1, p2, w_), kAlternate);
        }
        return true;
    }

private:
    bool Reaches(const Point &p) const
    {
        const Box &clip = set_.Clip();
        return p.x + w_ >= clip.left && p.x - w_ < clip.right && p.y + w_ >= clip.top && p.y - w_ < clip.bottom;
    }

    SpanSet &set_;
    int64_t w_;
    int64_t lo_;
    SpanSet disc_;
    bool perDisc_ = false;
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

    WidePen pen(set, width, p);
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

namespace {

// A row interval [x0, x1); empty when x0 >= x1.
struct Interval {
    int64_t x0, x1;
};

// The pen's disc at the origin, row by row (rows lo .. lo + w - 1), made once per width.
const std::vector<Interval> &DiscRows(int64_t w)
{
    thread_local int64_t madeFor = -1;
    thread_local std::vector<Interval> rows;
    if (madeFor == w) return rows;
    const int64_t lo = -(w / 2);
    SpanSet disc(Box{-w, lo, w + 1, lo + w});
    AddRoundRectArea(disc, Box{lo, lo, lo + w, lo + w}, w, w);
    rows.assign(static_cast<size_t>(w), Interval{0, 0});
    for (const Span &sp : disc.Spans()) rows[static_cast<size_t>(sp.y - lo)] = {sp.x0, sp.x1};
    madeFor = w;
    return rows;
}

} // namespace

bool DrawWideSegment(Surface &s, Point p0, Point p1, int64_t w, Mix mix)
{
    constexpr int64_t kMaxWidth = 1024;
    if (w < 2 || w > kMaxWidth) return false;
    const int64_t lo = -(w / 2);
    // Every row the discs or the band can reach, on the surface.
    const int64_t top = std::max<int64_t>(0, std::min(p0.y, p1.y) - w - 1);
    const int64_t bottom = std::min<int64_t>(s.height, std::max(p0.y, p1.y) + w + 2);
    if (top >= bottom) return true;
    const Box clip{0, top, s.width, bottom};

    // The band's span on each row (a parallelogram has one); two on a row (a band too thin
    // to be one) are left to the general way.
    thread_local std::vector<Interval> band;
    band.assign(static_cast<size_t>(bottom - top), Interval{0, 0});
    struct BandRows {
        Interval *rows;
        int64_t top;
        bool twice = false;
    } rows{band.data(), top};
    const int64_t dx = p1.x - p0.x, dy = p1.y - p0.y;
    if (dy == 0 && dx != 0) {
        const int64_t y0 = std::max(top, p0.y - w / 2), y1 = std::min(bottom, p0.y - w / 2 + w);
        for (int64_t y = y0; y < y1; ++y) band[static_cast<size_t>(y - top)] = {std::min(p0.x, p1.x), std::max(p0.x, p1.x)};
    } else if (dx == 0 && dy != 0) {
        const int64_t y0 = std::max(top, std::min(p0.y, p1.y)), y1 = std::min(bottom, std::max(p0.y, p1.y));
        for (int64_t y = y0; y < y1; ++y) band[static_cast<size_t>(y - top)] = {p0.x - w / 2, p0.x - w / 2 + w};
    } else if (dx != 0) {
        PolygonSpans(BandQuad(p0, p1, w), kAlternate, clip,
                     [](void *context, int64_t y, int64_t x0, int64_t x1) {
                         auto &r = *static_cast<BandRows *>(context);
                         if (x0 >= x1) return;
                         Interval &row = r.rows[y - r.top];
                         if (row.x0 < row.x1) r.twice = true;
                         row = {x0, x1};
                     },
                     &rows);
        if (rows.twice) return false;
    }

    // Each row: the band and the two discs' spans, merged, each pixel written once.
    const std::vector<Interval> &disc = DiscRows(w);
    for (int64_t y = top; y < bottom; ++y) {
        Interval parts[3]; // filled before use
        int n = 0;
        auto add = [&](Interval v) {
            if (v.x0 >= v.x1) return;
            int i = n++;
            for (; i > 0 && parts[i - 1].x0 > v.x0; --i) parts[i] = parts[i - 1];
            parts[i] = v;
        };
        add(band[static_cast<size_t>(y - top)]);
        for (const Point &c : {p0, p1}) {
            const int64_t r = y - c.y - lo;
            if (r >= 0 && r < w) add({c.x + disc[static_cast<size_t>(r)].x0, c.x + disc[static_cast<size_t>(r)].x1});
        }
        for (int i = 0; i < n;) {
            int64_t x0 = parts[i].x0, x1 = parts[i].x1;
            for (++i; i < n && parts[i].x0 <= x1; ++i) x1 = std::max(x1, parts[i].x1);
            x0 = std::max<int64_t>(x0, 0);
            x1 = std::min<int64_t>(x1, s.width);
            if (x0 >= x1) continue;
            if (mix.IsCopy()) FillPixels(s.Row(static_cast<int32_t>(y)) + x0, static_cast<size_t>(x1 - x0), mix.xorMask);
            else WriteRun(s, static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1), mix);
        }
    }
    return true;
}

} // namespace standin::gdi::raster
