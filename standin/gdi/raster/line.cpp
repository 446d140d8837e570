// line.cpp - exact clipped Bresenham: the first visible pixel is found by solving for it
// (128-bit arithmetic), so far-away end points cost nothing; then each pixel is written
// straight into the surface (the row-run form serves span sets and the tests).
#include "line.h"
#include "writer.h"

#include <cstdlib>

namespace standin::gdi::raster {
namespace {

using i128 = __int128;

// Rounds num/den (den > 0) up.
i128 CeilDiv(i128 num, i128 den)
{
    i128 q = num / den;
    if (num % den != 0 && num > 0) ++q;
    return q;
}

// Along the major axis step i gives major = m0 + i*sm and the minor offset
// ceil((2*i*dn - adm) / (2*adm)): the nearest minor value, halves towards the smaller.
struct Axis {
    int64_t m0, n0;
    int64_t sm;  // +1 or -1
    int64_t adm; // |major delta| > 0
    int64_t dn;  // signed minor delta, |dn| <= adm

    int64_t MinorAt(i128 i) const
    {
        return n0 + static_cast<int64_t>(CeilDiv(2 * i * dn - adm, 2 * static_cast<i128>(adm)));
    }
    int64_t MajorAt(int64_t i) const { return m0 + i * sm; }
};

// First i in [lo, hi) for which pred holds, pred being false then true along i.
template <typename Pred> int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred)
{
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (pred(mid)) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

// Range of steps [ilo, ihi) whose pixel lies inside [mlo, mhi) x [nlo, nhi).
void VisibleSteps(const Axis &a, int64_t n, int64_t mlo, int64_t mhi, int64_t nlo, int64_t nhi,
                  int64_t &ilo, int64_t &ihi)
{
    ilo = 0;
    ihi = n;
    // Major axis: linear in i.
    if (a.sm > 0) {
        ilo = std::max(ilo, mlo - a.m0);
        ihi = std::min(ihi, mhi - a.m0);
    } else {
        ilo = std::max(ilo, a.m0 - (mhi - 1));
        ihi = std::min(ihi, a.m0 - mlo + 1);
    }
    if (ilo >= ihi) return;
    // Minor axis: monotone in i.
    if (a.dn >= 0) {
        int64_t lo = FirstTrue(ilo, ihi, [&](int64_t i) { return a.MinorAt(i) >= nlo; });
        int64_t hi = FirstTrue(ilo, ihi, [&](int64_t i) { return a.MinorAt(i) >= nhi; });
        ilo = lo;
        ihi = hi;
    } else {
        int64_t lo = FirstTrue(ilo, ihi, [&](int64_t i) { return a.MinorAt(i) < nhi; });
        int64_t hi = FirstTrue(ilo, ihi, [&](int64_t i) { return a.MinorAt(i) < nlo; });
        ilo = lo;
        ihi = hi;
    }
}

// A segment's visible steps [ilo, ihi) and the walk's state at ilo: minor = n0 + q, with
// r = 2*i*dn - adm - q*2*adm in (-2*adm, 0].
struct Walk {
    bool xMajor;
    Axis a;
    int64_t ilo, ihi;
    int64_t q, r;
};

// False when no pixel of the segment is inside clip.
bool StartWalk(Point p0, Point p1, const Box &clip, Walk &w)
{
    const int64_t dx = p1.x - p0.x, dy = p1.y - p0.y;
    const int64_t adx = Abs64(dx), ady = Abs64(dy);
    if (adx == 0 && ady == 0) return false;
    if (clip.Empty()) return false;
    w.xMajor = adx > ady;
    int64_t mlo, mhi, nlo, nhi;
    if (w.xMajor) {
        w.a = {p0.x, p0.y, dx > 0 ? 1 : -1, adx, dy};
        mlo = clip.left, mhi = clip.right, nlo = clip.top, nhi = clip.bottom;
    } else {
        w.a = {p0.y, p0.x, dy > 0 ? 1 : -1, ady, dx};
        mlo = clip.top, mhi = clip.bottom, nlo = clip.left, nhi = clip.right;
    }
    w.ilo = 0;
    w.ihi = w.a.adm;
    // Segments wholly on the clip box (the usual case) need no search for their ends.
    const bool inside = std::min(p0.x, p1.x) >= clip.left && std::max(p0.x, p1.x) < clip.right &&
                        std::min(p0.y, p1.y) >= clip.top && std::max(p0.y, p1.y) < clip.bottom;
    if (!inside) {
        VisibleSteps(w.a, w.a.adm, mlo, mhi, nlo, nhi, w.ilo, w.ihi);
        if (w.ilo >= w.ihi) return false;
    }
    const int64_t twoAdm = 2 * w.a.adm;
    w.q = 0;
    w.r = -w.a.adm; // step 0
    if (w.ilo != 0) {
        const i128 num = 2 * static_cast<i128>(w.ilo) * w.a.dn - w.a.adm;
        w.q = static_cast<int64_t>(CeilDiv(num, twoAdm));
        w.r = static_cast<int64_t>(num - static_cast<i128>(w.q) * twoAdm);
    }
    return true;
}

// The line walk as row runs, with the run callback inlined by the compiler.
template <class Run> void Runs(Point p0, Point p1, const Box &clip, Run &&run)
{
    Walk w;
    if (!StartWalk(p0, p1, clip, w)) return;
    const Axis &a = w.a;
    const bool xMajor = w.xMajor;
    const int64_t ilo = w.ilo, ihi = w.ihi;
    if (a.dn == 0) {
        // Straight along the major axis: one run (x-major) or a column of pixels.
        const int64_t m0 = a.MajorAt(ilo), m1 = a.MajorAt(ihi - 1);
        if (xMajor) {
            run(static_cast<int32_t>(a.n0), static_cast<int32_t>(std::min(m0, m1)),
                static_cast<int32_t>(std::max(m0, m1) + 1));
        } else {
            for (int64_t m = std::min(m0, m1); m <= std::max(m0, m1); ++m)
                run(static_cast<int32_t>(m), static_cast<int32_t>(a.n0), static_cast<int32_t>(a.n0 + 1));
        }
        return;
    }

    const int64_t twoAdm = 2 * a.adm;
    int64_t q = w.q, r = w.r;
    int64_t major = a.MajorAt(ilo);
    const int64_t step2 = 2 * a.dn;

    if (xMajor) {
        // A whole row's run at a time: the steps until the error term makes y move.
        for (int64_t i = ilo; i < ihi;) {
            const int64_t k = step2 > 0 ? -r / step2 + 1 : (r + twoAdm + (-step2) - 1) / (-step2);
            const int64_t len = std::min(k, ihi - i);
            const int64_t last = major + (len - 1) * a.sm;
            run(static_cast<int32_t>(a.n0 + q), static_cast<int32_t>(std::min(major, last)),
                static_cast<int32_t>(std::max(major, last) + 1));
            i += len;
            major += len * a.sm;
            r += len * step2;
            if (len == k) {
                if (step2 > 0) { ++q; r -= twoAdm; }
                else { --q; r += twoAdm; }
            }
        }
    } else {
        for (int64_t i = ilo; i < ihi; ++i) {
            int64_t x = a.n0 + q;
            run(static_cast<int32_t>(major), static_cast<int32_t>(x), static_cast<int32_t>(x + 1));
            major += a.sm;
            r += step2;
            if (r > 0) { ++q; r -= twoAdm; }
            else if (r <= -twoAdm) { --q; r += twoAdm; }
        }
    }
}

// How a pixel is mixed, fixed for a whole walk so the loop holds no test of it.
enum class MixKind { Copy, Xor, General };

template <MixKind K> inline void Apply(Pixel &p, Mix m)
{
    if constexpr (K == MixKind::Copy) p = m.xorMask;
    else if constexpr (K == MixKind::Xor) p ^= m.xorMask;
    else p = (p & m.andMask) ^ m.xorMask;
}

// The walk straight into the surface. The position is an offset into the pixels; each
// step moves it along the major axis, and along the minor one when the error term
// (e in [-2*adm, 0), raised by inc a step, lowered by 2*adm on a move) reaches zero.
// Stepping e pixel by pixel would chain every pixel to the one before, so the walk goes
// by runs: straight runs between moves where moves are the rarer, diagonal runs between
// straight steps where they are the more common; each run's length follows from the last
// by one comparison (it takes one of two values), and its pixels are written in a plain
// loop.
constexpr int64_t kShortWalk = 24;

template <MixKind K> void WalkPixels(Surface &s, const Walk &w, Mix mix)
{
    const Axis &a = w.a;
    const int64_t stride = s.width;
    const int64_t twoAdm = 2 * a.adm;
    int64_t x, y, majorStep, minorStep;
    if (w.xMajor) {
        x = a.MajorAt(w.ilo), y = a.n0 + w.q;
        majorStep = a.sm, minorStep = a.dn > 0 ? stride : -stride;
    } else {
        y = a.MajorAt(w.ilo), x = a.n0 + w.q;
        majorStep = a.sm * stride, minorStep = a.dn > 0 ? 1 : -1;
    }
    // The minor coordinate moves when r > 0 going up and when r <= -2*adm going down.
    const int64_t inc = 2 * Abs64(a.dn);
    int64_t e = a.dn > 0 ? w.r - 1 : -(w.r + twoAdm);
    Pixel *const base = s.pixels.data();
    int64_t at = y * stride + x;
    int64_t remaining = w.ihi - w.ilo;
    auto line = [&](int64_t len, int64_t step) {
        for (; len > 0; --len, at += step) Apply<K>(base[at], mix);
    };
    if (inc == 0) {
        line(remaining, majorStep);
        return;
    }
    if (remaining < kShortWalk) {
        // Too short for the runs' divisions to pay: pixel by pixel, branch free.
        for (; remaining > 0; --remaining) {
            Apply<K>(base[at], mix);
            at += majorStep;
            e += inc;
            const int64_t move = ~(e >> 63); // all ones when e >= 0
            at += minorStep & move;
            e -= twoAdm & move;
        }
        return;
    }
    if (inc <= twoAdm - inc) {
        // Straight runs of k pixels, a move after each: k = ceil(-e / inc) at first, then
        // kmin or kmin + 1, as e + kmin * inc reaches zero or not.
        const int64_t kmin = twoAdm / inc; // ceil((twoAdm - inc + 1) / inc)
        const int64_t kminInc = kmin * inc, afterShort = kminInc - twoAdm, afterLong = afterShort + inc;
        auto run = [&](int64_t len) {
            if (K == MixKind::Copy && w.xMajor) {
                FillPixels(base + (majorStep > 0 ? at : at - len + 1), static_cast<size_t>(len), mix.xorMask);
                at += len * majorStep;
            } else {
                line(len, majorStep);
            }
        };
        const int64_t first = (-e + inc - 1) / inc;
        if (first >= remaining) {
            run(remaining);
            return;
        }
        run(first);
        remaining -= first;
        e += first * inc - twoAdm;
        at += minorStep;
        // Whole runs while they fit, then what is left of the last.
        while (remaining > kmin) {
            const bool shortRun = e + kminInc >= 0;
            const int64_t k = shortRun ? kmin : kmin + 1;
            run(k);
            remaining -= k;
            e += shortRun ? afterShort : afterLong;
            at += minorStep;
        }
        if (remaining > 0) run(remaining);
        return;
    }
    // Diagonal runs of m pixels, each followed by a move, then one pixel followed by none
    // (a move lowers e by dec): m = floor((e + inc) / dec) + 1 at first (none if e < -inc),
    // then mmin or mmin + 1.
    const int64_t dec = twoAdm - inc, diagonal = majorStep + minorStep;
    if (dec == 0) {
        line(remaining, diagonal);
        return;
    }
    const int64_t mmin = (inc - dec) / dec + 1;
    const int64_t mminDec = mmin * dec, afterShort = inc - mminDec, afterLong = afterShort - dec;
    const int64_t first = e < -inc ? 0 : (e + inc) / dec + 1;
    if (first >= remaining) {
        line(remaining, diagonal);
        return;
    }
    line(first, diagonal);
    line(1, majorStep);
    remaining -= first + 1;
    e += inc - first * dec;
    // Whole runs and their straight step while they fit, then what is left.
    while (remaining > mmin + 1) {
        const bool longRun = e + inc >= mminDec;
        const int64_t m = longRun ? mmin + 1 : mmin;
        line(m, diagonal);
        line(1, majorStep);
        remaining -= m + 1;
        e += longRun ? afterLong : afterShort;
    }
    const int64_t m = e + inc >= mminDec ? mmin + 1 : mmin;
    const int64_t last = std::min(m, remaining);
    line(last, diagonal);
    if (remaining > last) line(1, majorStep);
}

// One segment, start pixel in and end pixel out, cut to the surface.
void Segment(Surface &s, Point a, Point b, Mix mix)
{
    const Box clip = SurfaceBox(s);
    if (!FastPaths()) {
        Runs(a, b, clip, [&](int32_t y, int32_t x0, int32_t x1) { WriteRunReference(s, y, x0, x1, mix); });
        return;
    }
    Walk w;
    if (!StartWalk(a, b, clip, w)) return;
    if (w.a.dn == 0 && w.xMajor) {
        const int64_t m0 = w.a.MajorAt(w.ilo), m1 = w.a.MajorAt(w.ihi - 1);
        WriteRun(s, static_cast<int32_t>(w.a.n0), static_cast<int32_t>(std::min(m0, m1)),
                 static_cast<int32_t>(std::max(m0, m1) + 1), mix);
        return;
    }
    if (mix.IsCopy()) WalkPixels<MixKind::Copy>(s, w, mix);
    else if (mix.andMask == 0x00FFFFFFu) WalkPixels<MixKind::Xor>(s, w, mix);
    else WalkPixels<MixKind::General>(s, w, mix);
}

} // namespace

void LineRuns(Point p0, Point p1, const Box &clip, const std::function<void(int32_t, int32_t, int32_t)> &run)
{
    Runs(p0, p1, clip, run);
}

namespace {

// A step to a neighbouring pixel (curve outlines are made of them) lights just its start.
inline void Step(Surface &s, const Point &a, const Point &b, Mix mix)
{
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
        if ((dx != 0 || dy != 0) && a.x >= 0 && a.y >= 0 && a.x < s.width && a.y < s.height) {
            Pixel &p = s.Row(static_cast<int32_t>(a.y))[a.x];
            p = (p & mix.andMask) ^ mix.xorMask;
        }
        return;
    }
    Segment(s, a, b, mix);
}

} // namespace

void DrawCosmeticLine(Surface &s, Point a, Point b, Mix mix) { Step(s, a, b, mix); }

namespace {

// A polyline wholly on the surface (curve outlines, mostly steps to a neighbour): no
// pixel needs its own bounds test.
template <MixKind K> void InsidePolyline(Surface &s, const Point *pts, size_t n, bool close, Mix mix)
{
    Pixel *base = s.pixels.data();
    const int64_t stride = s.width;
    auto step = [&](const Point &a, const Point &b) {
        const int64_t dx = b.x - a.x, dy = b.y - a.y;
        const uint64_t ux = static_cast<uint64_t>(dx + 1), uy = static_cast<uint64_t>(dy + 1);
        if (ux <= 2 && uy <= 2) {
            if (ux != 1 || uy != 1) Apply<K>(base[a.y * stride + a.x], mix);
            return;
        }
        const int64_t adx = Abs64(dx), ady = Abs64(dy);
        const bool xMajor = adx > ady;
        const int64_t adm = xMajor ? adx : ady, dn = xMajor ? dy : dx;
        if (adm >= kShortWalk) {
            Segment(s, a, b, mix);
            return;
        }
        // A short segment between two pixels on the surface: the walk from its start,
        // pixel by pixel (minor step when e >= 0, e starting as StartWalk leaves it).
        const int64_t majorStep = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? stride : -stride);
        const int64_t minorStep = xMajor ? (dy > 0 ? stride : -stride) : (dx > 0 ? 1 : -1);
        const int64_t twoAdm = 2 * adm, inc = 2 * Abs64(dn);
        int64_t e = dn > 0 ? -adm - 1 : -adm;
        int64_t at = a.y * stride + a.x;
        for (int64_t k = adm; k > 0; --k) {
            Apply<K>(base[at], mix);
            at += majorStep;
            e += inc;
            const int64_t move = ~(e >> 63);
            at += minorStep & move;
            e -= twoAdm & move;
        }
    };
    for (size_t i = 0; i + 1 < n; ++i) step(pts[i], pts[i + 1]);
    if (close) step(pts[n - 1], pts[0]);
}

} // namespace

void DrawCosmeticPolyline(Surface &s, const Point *pts, size_t n, bool close, Mix mix)
{
    if (n < 2) return;
    if (FastPaths() && n >= 8) {
        int64_t l = pts[0].x, r = pts[0].x, t = pts[0].y, b = pts[0].y;
        for (size_t i = 1; i < n; ++i) {
            l = std::min(l, pts[i].x);
            r = std::max(r, pts[i].x);
            t = std::min(t, pts[i].y);
            b = std::max(b, pts[i].y);
        }
        if (l >= 0 && t >= 0 && r < s.width && b < s.height) {
            if (mix.IsCopy()) InsidePolyline<MixKind::Copy>(s, pts, n, close, mix);
            else if (mix.andMask == 0x00FFFFFFu) InsidePolyline<MixKind::Xor>(s, pts, n, close, mix);
            else InsidePolyline<MixKind::General>(s, pts, n, close, mix);
            return;
        }
    }
    for (size_t i = 0; i + 1 < n; ++i) Step(s, pts[i], pts[i + 1], mix);
    if (close) Step(s, pts[n - 1], pts[0], mix);
}

void DrawCosmeticPolyline(Surface &s, const std::vector<Point> &pts, bool close, Mix mix)
{
    DrawCosmeticPolyline(s, pts.data(), pts.size(), close, mix);
}

void AddCosmeticPolyline(SpanSet &set, const std::vector<Point> &pts, bool close)
{
    if (pts.size() < 2) return;
    auto add = [&](int32_t y, int32_t x0, int32_t x1) { set.AddSpan(y, x0, x1); };
    for (size_t i = 0; i + 1 < pts.size(); ++i) Runs(pts[i], pts[i + 1], set.Clip(), add);
    if (close) Runs(pts.back(), pts.front(), set.Clip(), add);
}

} // namespace standin::gdi::raster
