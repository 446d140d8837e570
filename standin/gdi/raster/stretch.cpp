// stretch.cpp - the layout of block transfers and the row-by-row transfer. The layout
// follows real GDI step by step, odd corners included (checked against it by the
// conformance cases and the random scenes under tests/win32).
#include "stretch.h"

#include <algorithm>
#include <cstring>

namespace standin::gdi::raster {

namespace {

Range Intersect(Range a, Range b) { return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

Range Ordered(int64_t a, int64_t b) { return a <= b ? Range{a, b} : Range{b, a}; }

// Steps k in [0, len) whose position origin + k * dir lies in r.
Range StepsWithin(int64_t origin, int64_t dir, int64_t len, Range r)
{
    Range k = dir > 0 ? Range{r.lo - origin, r.hi - origin} : Range{origin - r.hi + 1, origin - r.lo + 1};
    return Intersect(k, {0, len});
}

bool Within(int64_t v, Range r) { return v >= r.lo && v < r.hi; }

} // namespace

Range Covered(int64_t origin, int64_t size)
{
    return size >= 0 ? Range{origin, origin + size} : Range{origin + size + 1, origin + 1};
}

Axis StartAxis(int64_t d0, int64_t dsize, int64_t dstExtent, int64_t s0, int64_t ssize, int64_t srcExtent)
{
    Axis a;
    a.d0 = d0;
    a.dsize = dsize;
    a.s0 = s0;
    a.ssize = ssize;
    a.dvis = Intersect(Covered(d0, dsize), {0, dstExtent});
    a.svis = Intersect(Covered(s0, ssize), {0, srcExtent});
    return a;
}

bool FitAxis(Axis &a, bool stretching)
{
    if (a.dvis.Empty() || a.svis.Empty()) return false;
    if (!stretching) {
        const int64_t shift = a.d0 - a.s0;
        const Range r = Intersect({a.svis.lo + shift, a.svis.hi + shift}, a.dvis);
        if (r.Empty()) return false;
        a.dvis = r;
        a.svis = {r.lo - shift, r.hi - shift};
        return true;
    }
    const int64_t D = a.dsize, S = a.ssize;
    // The source run in destination terms, relative to the origins; divisions truncate.
    const int64_t sBack = S < 0 ? 1 : 0, dBack = D < 0 ? 1 : 0;
    const Range m = Ordered((a.svis.lo - a.s0 - sBack) * D / S, (a.svis.hi - a.s0 - sBack) * D / S);
    // A mirrored transfer whose source the bitmap cuts is not mirrored in its destination:
    // the destination origin moves by what was cut. (GDI's test on a backwards source
    // overlooks a cut of one pixel at its right.)
    if (S < 0 && D > 0 && (a.s0 + S + 1 < a.svis.lo || a.s0 > a.svis.hi))
        a.d0 += (D - m.hi) - m.lo;
    else if (S > 0 && D < 0 && (a.s0 < a.svis.lo || a.s0 + S > a.svis.hi))
        a.d0 -= m.hi - (D - m.lo);
    a.dvis = Intersect({m.lo + a.d0 - 1, m.hi + a.d0 + 1}, a.dvis);
    if (a.dvis.Empty()) return false;
    // And back: the destination run in source terms, again with a pixel to spare.
    const Range b = Ordered(a.s0 + (a.dvis.lo - a.d0 - dBack) * S / D, a.s0 + (a.dvis.hi - a.d0 - dBack) * S / D);
    a.svis = Intersect({b.lo - 1, b.hi + 1}, a.svis);
    return !a.svis.Empty();
}

void StretchSource(int64_t srcSize, int64_t dstSize, int64_t d, int64_t &first, int64_t &last)
{
    using i128 = __int128;
    const i128 S = srcSize, D = dstSize;
    if (D >= S) {
        // Enlarging: destination d shows source floor((S(2d+1) - 1) / 2D).
        first = last = static_cast<int64_t>((S * (2 * static_cast<i128>(d) + 1) - 1) / (2 * D));
        return;
    }
    // Shrinking: source s goes to destination floor((D(2s+1) - 1) / 2S); the sources of
    // d are those s for which that is d.
    auto firstWith = [&](i128 target) {
        // Smallest s with D(2s+1) - 1 >= 2S*target.
        i128 num = 2 * S * target + 1 - D;
        if (num <= 0) return static_cast<i128>(0);
        return (num + 2 * D - 1) / (2 * D);
    };
    first = static_cast<int64_t>(firstWith(d));
    last = static_cast<int64_t>(std::min<i128>(firstWith(d + 1), S) - 1);
}

AxisMap MapAxis(const Axis &a, int64_t ssize)
{
    AxisMap map;
    const int64_t ad = Abs64(a.dsize), as = Abs64(ssize);
    if (ad == 0 || as == 0) return map;
    const int64_t dinc = a.dsize > 0 ? 1 : -1, sinc = ssize > 0 ? 1 : -1;
    // The drawn (destination, source) pairs in walk order; both coordinates move
    // monotonically, so the drawn destinations form one run.
    std::vector<std::pair<int64_t, int64_t>> pairs;
    // Along the longer of the two, step k meets step floor((n(2k+1) - 1) / 2m) of the
    // shorter (n, m its size and the longer's): one division for the first step, then a
    // running remainder.
    const bool enlarging = ad >= as;
    const int64_t longer = enlarging ? ad : as, shorter = enlarging ? as : ad;
    const Range k = enlarging ? StepsWithin(a.d0, dinc, ad, a.dvis) : StepsWithin(a.s0, sinc, as, a.svis);
    if (!k.Empty()) {
        const __int128 numerator = static_cast<__int128>(shorter) * (2 * k.lo + 1) - 1;
        int64_t j = static_cast<int64_t>(numerator / (2 * longer));
        int64_t rest = static_cast<int64_t>(numerator % (2 * longer));
        for (int64_t step = k.lo; step < k.hi; ++step) {
            const int64_t d = enlarging ? a.d0 + step * dinc : a.d0 + j * dinc;
            const int64_t s = enlarging ? a.s0 + j * sinc : a.s0 + step * sinc;
            if (Within(s, a.svis) && Within(d, a.dvis)) pairs.push_back({d, s});
            rest += 2 * shorter;
            if (rest >= 2 * longer) {
                rest -= 2 * longer;
                ++j;
            }
        }
    }
    if (pairs.empty()) return map;
    const int64_t lo = std::min(pairs.front().first, pairs.back().first);
    const int64_t hi = std::max(pairs.front().first, pairs.back().first);
    map.lo = static_cast<int32_t>(lo);
    map.first.assign(static_cast<size_t>(hi - lo + 1), 0);
    map.last.assign(map.first.size(), 0);
    int64_t previous = INT64_MIN;
    for (const auto &[d, s] : pairs) {
        const size_t i = static_cast<size_t>(d - lo);
        if (d != previous) map.first[i] = static_cast<int32_t>(s);
        map.last[i] = static_cast<int32_t>(s);
        previous = d;
    }
    return map;
}

AxisMap MapCopy(const Axis &a)
{
    AxisMap map;
    map.lo = static_cast<int32_t>(a.dvis.lo);
    // The runs agree in size unless StretchBlt's one-pixel habit made a stretch a copy.
    const int64_t n = std::min(a.dvis.hi - a.dvis.lo, a.svis.hi - a.svis.lo);
    for (int64_t d = a.dvis.lo; d < a.dvis.lo + n; ++d) {
        const auto s = static_cast<int32_t>(a.svis.lo + (d - a.dvis.lo));
        map.first.push_back(s);
        map.last.push_back(s);
    }
    return map;
}

namespace {

uint32_t Merge(int mode, uint32_t acc, uint32_t p) { return mode == kWhiteOnBlack ? acc | p : acc & p; }

bool AllSingle(const AxisMap &m)
{
    for (size_t i = 0; i < m.Size(); ++i)
        if (m.first[i] != m.last[i]) return false;
    return true;
}

} // namespace

namespace {

// Where each destination column reads in a source row, worked out once a transfer: the
// picked column, or the run [from, to] of its group (index 0 = the source's `left`).
struct ColumnPlan {
    std::vector<int32_t> from, to;
    bool pick = true;   // one column each (`from`)
    bool pairs = false; // groups of one or two columns: from and to merged, nothing between
    int32_t top = 0;    // the rightmost column read
};

ColumnPlan PlanColumns(const AxisMap &xs, int32_t left, bool pick)
{
    ColumnPlan plan;
    const size_t n = xs.Size();
    plan.pick = pick;
    plan.from.resize(n);
    plan.to.resize(n);
    plan.pairs = true;
    for (size_t i = 0; i < n; ++i) {
        // COLORONCOLOR keeps the last of a group across.
        plan.from[i] = (pick ? xs.last[i] : std::min(xs.first[i], xs.last[i])) - left;
        plan.to[i] = (pick ? xs.last[i] : std::max(xs.first[i], xs.last[i])) - left;
        plan.pairs = plan.pairs && plan.to[i] - plan.from[i] <= 1;
        plan.top = std::max(plan.top, plan.to[i]);
    }
    return plan;
}

// One source row through the column plan: the picked column of each destination column,
// or the AND / OR of its group.
void ReadRow(const LoosePixel *p, const ColumnPlan &plan, int mode, Pixel *__restrict into)
{
    const size_t n = plan.from.size();
    const int32_t *from = plan.from.data(), *to = plan.to.data();
    if (plan.pick) {
        for (size_t i = 0; i < n; ++i) into[i] = p[from[i]];
    } else if (plan.pairs) {
        if (mode == kWhiteOnBlack)
            for (size_t i = 0; i < n; ++i) into[i] = p[from[i]] | p[to[i]];
        else
            for (size_t i = 0; i < n; ++i) into[i] = p[from[i]] & p[to[i]];
    } else {
        for (size_t i = 0; i < n; ++i) {
            uint32_t acc = p[from[i]];
            if (mode == kWhiteOnBlack)
                for (int32_t c = from[i] + 1; c <= to[i]; ++c) acc |= p[c];
            else
                for (int32_t c = from[i] + 1; c <= to[i]; ++c) acc &= p[c];
            into[i] = acc;
        }
    }
}

} // namespace

void Transfer(const AxisMap &xs, const AxisMap &ys, SourceRows &src, int mode, RowSink &out)
{
    if (xs.Size() == 0 || ys.Size() == 0) return;
    if (mode == kHalftone) {
        TransferReference(xs, ys, src, mode, out);
        return;
    }
    const size_t n = xs.Size();
    const ColumnPlan plan = PlanColumns(xs, src.left, mode == kColorOnColor || AllSingle(xs));
    // Rows of a group down are merged first, over the columns read (AND and OR do not
    // mind the order), and the merged row goes through the column plan once.
    const size_t span = static_cast<size_t>(plan.top) + 1;
    std::vector<Pixel> row(n), merged;
    bool have = false;
    int32_t shownFirst = 0, shownLast = 0;
    const Pixel *shownAt = nullptr; // the destination row that already shows them, if any
    for (size_t j = 0; j < ys.Size(); ++j) {
        const int32_t y = ys.lo + static_cast<int32_t>(j);
        // COLORONCOLOR keeps the first row of a group down.
        const int32_t f = ys.first[j], l = mode == kColorOnColor ? ys.first[j] : ys.last[j];
        const bool same = have && f == shownFirst && l == shownLast;
        Pixel *direct = out.Direct(y, xs.lo);
        if (direct && plan.pick && f == l) {
            // A plain copy of one source row: straight into the destination, or a copy of
            // the destination row made from the same source row.
            if (same && shownAt) {
                std::memcpy(direct, shownAt, n * sizeof(Pixel));
            } else {
                const LoosePixel *p = src.Row(f);
                const int32_t *column = plan.from.data();
                for (size_t i = 0; i < n; ++i) direct[i] = p[column[i]] & 0x00FFFFFFu;
            }
            have = true;
            shownFirst = f;
            shownLast = l;
            shownAt = direct;
            continue;
        }
        if (!same || shownAt) {
            if (f == l) {
                ReadRow(src.Row(f), plan, mode, row.data());
            } else {
                // A row's pointer may not outlive the next Row call: each is merged at once.
                merged.resize(span);
                Pixel *__restrict m = merged.data();
                std::memcpy(m, src.Row(f), span * sizeof(Pixel));
                const int32_t step = l > f ? 1 : -1;
                for (int32_t r = f + step;; r += step) {
                    const LoosePixel *p = src.Row(r);
                    if (mode == kWhiteOnBlack)
                        for (size_t i = 0; i < span; ++i) m[i] |= p[i];
                    else
                        for (size_t i = 0; i < span; ++i) m[i] &= p[i];
                    if (r == l) break;
                }
                ReadRow(m, plan, mode, row.data());
            }
            have = true;
            shownFirst = f;
            shownLast = l;
            shownAt = nullptr;
        }
        out.Put(y, xs.lo, row.data(), static_cast<int32_t>(n));
    }
}

void TransferReference(const AxisMap &xs, const AxisMap &ys, SourceRows &src, int mode, RowSink &out)
{
    std::vector<Pixel> row(xs.Size());
    for (size_t j = 0; j < ys.Size(); ++j) {
        for (size_t i = 0; i < xs.Size(); ++i) {
            if (mode == kColorOnColor) {
                row[i] = src.Row(ys.first[j])[xs.last[i] - src.left];
                continue;
            }
            uint32_t acc = 0, r = 0, g = 0, b = 0, count = 0;
            for (int32_t y = std::min(ys.first[j], ys.last[j]); y <= std::max(ys.first[j], ys.last[j]); ++y)
                for (int32_t x = std::min(xs.first[i], xs.last[i]); x <= std::max(xs.first[i], xs.last[i]); ++x) {
                    const Pixel p = src.Row(y)[x - src.left];
                    acc = count == 0 ? p : Merge(mode, acc, p);
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                    ++count;
                }
            row[i] = mode == kHalftone ? ((r / count) << 16) | ((g / count) << 8) | (b / count) : acc;
        }
        if (!row.empty()) out.Put(ys.lo + static_cast<int32_t>(j), xs.lo, row.data(), static_cast<int32_t>(row.size()));
    }
}

} // namespace standin::gdi::raster
