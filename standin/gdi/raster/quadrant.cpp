// quadrant.cpp - the quadrant path and its direct lookups.
//
// State (K, J) carries the error err(K, J) = err0 + 4b^2 K (K + 2 - a) + 4a^2 J (J + 2 + odd)
// (a = w-1, b = h-1): the sums of the increments the stepping adds, which do not depend on
// the order of the steps. At a state the path steps x when 2 err >= dx(K) and y when
// 2 err <= dy(J). err grows with J, and falls with K up to kDec, so:
//   - within a column the path climbs until the x test passes: a column's last row is
//     the first J passing it (or the row it came in on);
//   - within a row the path runs until the y test passes, likewise.
// Where the curve is steeper than 45 degrees every column adds at least one row, so a
// column's last row is exactly the first J passing the x test; where it is flatter, a
// row's last column is exactly the first K passing the y test. Around 45 degrees the path
// is walked a few rows and columns at a time. The signs of the large quadratic values are
// taken from an extended-precision estimate when far from zero, and otherwise computed
// exactly modulo 2^128 (exact there, since the true value is then small).
#include "quadrant.h"

#include <algorithm>
#include <cmath>

namespace standin::gdi::raster {

namespace {

using u128 = unsigned __int128;

int64_t walkLimitSetting = QuadrantPath::kWalkLimit;

} // namespace

int64_t QuadrantPath::WalkLimit() { return walkLimitSetting; }
void QuadrantPath::SetWalkLimitForTesting(int64_t limit) { walkLimitSetting = limit; }

QuadrantPath::QuadrantPath(int64_t w, int64_t h, int64_t walkLimit, int64_t outlineEndK)
    : a_(w - 1), b_(h - 1), odd_((h - 1) % 2)
{
    kDec_ = a_ >= 1 ? (a_ - 2) / 2 : -1;
    small_ = w + h <= walkLimit;
    if (small_) {
        // The whole path as far as any figure reads it, stepped incrementally (the same
        // decisions as StepX and StepY, without evaluating the error from scratch).
        const i128 a = a_, b = b_;
        const i128 asq = 8 * a * a, bsq = 8 * b * b;
        i128 dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + odd_);
        i128 err = dx + dy + a * a * odd_;
        PathState s{0, 0};
        walked_.reserve(static_cast<size_t>(std::max<int64_t>(0, w / 2 + 2 + h)));
        while (s.k <= w / 2 + 1 && s.j <= b_ + 1) {
            walked_.push_back(s);
            const i128 e2 = 2 * err;
            const bool x = e2 >= dx, y = e2 <= dy;
            if (!x && !y) break;
            if (x) { dx += bsq; err += dx; ++s.k; }
            if (y) { dy += asq; err += dy; ++s.j; }
        }
        IndexRows();
    } else {
        BuildZones();
    }
    if (outlineEndK < 0) return;
    leave_ = BaseExitColumn(outlineEndK);
    if (leave_.j == kNever) leave_ = {outlineEndK, 0};
    jTop_Outline = (h - 1) - h / 2;
    kEnd_ = outlineEndK;
    if (small_) {
        // Keep the plain path up to where it leaves the end column, then the climb.
        auto it = std::find(walked_.begin(), walked_.end(), leave_);
        if (it != walked_.end()) walked_.erase(it + 1, walked_.end());
        for (int64_t j = leave_.j + 1; j <= jTop_Outline; ++j) walked_.push_back({kEnd_, j});
        IndexRows();
    }
}

void QuadrantPath::IndexRows()
{
    rowStart_.clear();
    for (size_t i = 0; i < walked_.size(); ++i)
        while (static_cast<int64_t>(rowStart_.size()) <= walked_[i].j) rowStart_.push_back(static_cast<uint32_t>(i));
    rowStart_.push_back(static_cast<uint32_t>(walked_.size()));
}

QuadrantPath::i128 QuadrantPath::Dx(int64_t k) const
{
    const i128 b2 = static_cast<i128>(b_) * b_;
    return 4 * b2 * (1 - a_) + 8 * b2 * k;
}

QuadrantPath::i128 QuadrantPath::Dy(int64_t j) const
{
    const i128 a2 = static_cast<i128>(a_) * a_;
    return 4 * a2 * (1 + odd_) + 8 * a2 * j;
}

int QuadrantPath::Sign2ErrMinus(PathState s, bool againstDx) const
{
    const long double a = static_cast<long double>(a_), b = static_cast<long double>(b_);
    const long double k = static_cast<long double>(s.k), j = static_cast<long double>(s.j);
    const long double odd = static_cast<long double>(odd_);
    const long double err0 = 4 * b * b * (1 - a) + 4 * a * a * (1 + odd) + a * a * odd;
    const long double err = err0 + 4 * b * b * k * (k + 2 - a) + 4 * a * a * j * (j + 2 + odd);
    const long double other =
        againstDx ? 4 * b * b * (1 - a) + 8 * b * b * k : 4 * a * a * (1 + odd) + 8 * a * a * j;
    const long double approx = 2 * err - other;
    if (std::fabs(approx) > 0x1p90L) return approx > 0 ? 1 : -1;
    // Small: exact modulo 2^128.
    const u128 ua = static_cast<u128>(static_cast<i128>(a_)), ub = static_cast<u128>(static_cast<i128>(b_));
    const u128 uk = static_cast<u128>(static_cast<i128>(s.k)), uj = static_cast<u128>(static_cast<i128>(s.j));
    const u128 uodd = static_cast<u128>(odd_);
    const u128 e0 = 4 * ub * ub * (1 - ua) + 4 * ua * ua * (1 + uodd) + ua * ua * uodd;
    const u128 e = e0 + 4 * ub * ub * uk * (uk + 2 - ua) + 4 * ua * ua * uj * (uj + 2 + uodd);
    const u128 o = againstDx ? static_cast<u128>(Dx(s.k)) : static_cast<u128>(Dy(s.j));
    const i128 v = static_cast<i128>(2 * e - o);
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

bool QuadrantPath::StepX(PathState s) const { return Sign2ErrMinus(s, true) >= 0; }
bool QuadrantPath::StepY(PathState s) const { return Sign2ErrMinus(s, false) <= 0; }

PathState QuadrantPath::BaseNext(PathState s) const
{
    const bool x = StepX(s), y = StepY(s);
    return {s.k + (x ? 1 : 0), s.j + (y ? 1 : 0)};
}

QuadrantPath QuadrantPath::Outline(int64_t w, int64_t h) { return QuadrantPath(w, h, WalkLimit(), (w - 1) - w / 2); }

PathState QuadrantPath::Next(PathState s) const
{
    if (kEnd_ < 0 || s.k != kEnd_ || s.j < leave_.j) return BaseNext(s);
    // On the end column from where the plain path leaves it: straight up to the top.
    return s.j < jTop_Outline ? PathState{kEnd_, s.j + 1} : s;
}

PathState QuadrantPath::EnterRow(int64_t j) const
{
    if (kEnd_ >= 0 && j > leave_.j) return j <= jTop_Outline ? PathState{kEnd_, j} : PathState{kNever, j};
    return BaseEnterRow(j);
}

PathState QuadrantPath::EnterColumn(int64_t k) const
{
    if (kEnd_ >= 0 && k > kEnd_) return {k, kNever};
    return BaseEnterColumn(k);
}

PathState QuadrantPath::ExitRow(int64_t j) const
{
    if (kEnd_ >= 0 && j >= leave_.j) return j <= jTop_Outline ? PathState{kEnd_, j} : PathState{kNever, j};
    return BaseExitRow(j);
}

PathState QuadrantPath::ExitColumn(int64_t k) const
{
    if (kEnd_ >= 0 && k >= kEnd_) return k == kEnd_ ? PathState{kEnd_, std::max(leave_.j, jTop_Outline)} : PathState{k, kNever};
    return BaseExitColumn(k);
}

PathState QuadrantPath::Prev(PathState s) const
{
    // The first state of a row came from the end of the row before; any other from the
    // state to its left.
    const PathState entry = EnterRow(s.j);
    if (entry == s) return ExitRow(s.j - 1);
    return {s.k - 1, s.j};
}

int64_t QuadrantPath::FirstJStepX(int64_t k) const
{
    if (StepX({k, 0})) return 0;
    int64_t lo = 0, hi = 1; // StepX false at lo, to be true at hi
    while (!StepX({k, hi})) {
        lo = hi;
        if (hi > (int64_t{1} << 40)) return kNever;
        hi *= 2;
    }
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        (StepX({k, mid}) ? hi : lo) = mid;
    }
    return hi;
}

int64_t QuadrantPath::FirstKStepY(int64_t j, int64_t from) const
{
    if (from > kDec_) {
        // Past kDec the error only grows: the test passes now or never.
        return StepY({from, j}) ? from : kNever;
    }
    if (!StepY({kDec_, j})) return kNever;
    int64_t lo = from, hi = kDec_;
    if (StepY({lo, j})) return lo;
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        (StepY({mid, j}) ? hi : lo) = mid;
    }
    return hi;
}

PathState QuadrantPath::RowExitFrom(PathState entry) const
{
    const int64_t k = FirstKStepY(entry.j, entry.k);
    return {k, entry.j};
}

PathState QuadrantPath::ColumnExitFrom(PathState entry) const
{
    const int64_t j = FirstJStepX(entry.k);
    return {entry.k, j == kNever ? kNever : std::max(entry.j, j)};
}

void QuadrantPath::BuildZones()
{
    const long double A = static_cast<long double>(a_) / 2, B = static_cast<long double>(b_) / 2;
    const long double R = std::sqrt(A * A + B * B);
    // Where the curve runs at 45 degrees (a flat or tall sliver has no such place).
    const long double k45 = R > 0 ? A - A * A / R : 0, j45 = R > 0 ? B * B / R : 0;
    kSteep_ = static_cast<int64_t>(std::floor(k45)) - 4;
    if (kSteep_ < 0) kSteep_ = -1;

    PathState cur{0, 0};
    if (kSteep_ >= 0) {
        jSteepExit_ = FirstJStepX(kSteep_);
        const PathState exit{kSteep_, jSteepExit_};
        cur = {exit.k + 1, exit.j + (StepY(exit) ? 1 : 0)};
    }
    for (int guard = 0; guard < 100000; ++guard) {
        if (static_cast<long double>(cur.k) < k45) {
            const PathState exit = ColumnExitFrom(cur);
            if (exit.j == kNever) {
                middle_.push_back({cur, {cur.k, kNever}});
                endsInMiddle_ = true;
                return;
            }
            middle_.push_back({cur, exit});
            cur = {exit.k + 1, exit.j + (StepY(exit) ? 1 : 0)};
            continue;
        }
        const PathState exit = RowExitFrom(cur);
        middle_.push_back({cur, exit});
        if (exit.k == kNever) {
            endsInMiddle_ = true;
            jTop_ = cur.j;
            return;
        }
        if (static_cast<long double>(cur.j) >= j45 + 4 && exit.k == FirstKStepY(cur.j, 0)) {
            jBase_ = cur.j;
            kBaseExit_ = exit.k;
            break;
        }
        cur = {exit.k + (StepX(exit) ? 1 : 0), exit.j + 1};
    }
    if (jBase_ < 0) {
        endsInMiddle_ = true;
        return;
    }
    // The last row: the first whose y test fails even where the error is least.
    auto open = [this](int64_t j) { return kDec_ >= 0 && StepY({kDec_, j}); };
    int64_t lo = jBase_, hi = jBase_ + 1;
    while (open(hi)) {
        lo = hi;
        hi = jBase_ + 2 * (hi - jBase_);
    }
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        (open(mid) ? lo : hi) = mid;
    }
    jTop_ = hi;
}

PathState QuadrantPath::BaseEnterRow(int64_t j) const
{
    if (j < 0) return {kNever, j};
    if (small_) {
        if (j + 1 >= static_cast<int64_t>(rowStart_.size())) return {kNever, j};
        return walked_[rowStart_[static_cast<size_t>(j)]];
    }
    if (kSteep_ >= 0 && j <= jSteepExit_) {
        // The first steep column reaching row j: the first whose x test still fails in
        // row j - 1 (the test only passes more easily higher up a column).
        int64_t lo = 0, hi = kSteep_;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (j <= 0 || !StepX({mid, j - 1})) hi = mid;
            else lo = mid + 1;
        }
        return {lo, j};
    }
    for (const Segment &seg : middle_) {
        if (seg.from.j == seg.to.j) {
            if (seg.from.j == j) return seg.from;
        } else if (seg.from.j <= j && j <= seg.to.j) {
            return {seg.from.k, j};
        }
    }
    if (endsInMiddle_ || j <= jBase_ || j > jTop_) return {kNever, j};
    const int64_t prevExit = j - 1 == jBase_ ? kBaseExit_ : FirstKStepY(j - 1, 0);
    return {prevExit + (StepX({prevExit, j - 1}) ? 1 : 0), j};
}

PathState QuadrantPath::BaseEnterColumn(int64_t k) const
{
    if (k < 0) return {k, kNever};
    if (small_) {
        auto it = std::lower_bound(walked_.begin(), walked_.end(), k,
                                   [](const PathState &s, int64_t col) { return s.k < col; });
        if (it == walked_.end() || it->k != k) return {k, kNever};
        return *it;
    }
    if (k <= kSteep_) {
        if (k == 0) return {0, 0};
        const PathState prevExit{k - 1, FirstJStepX(k - 1)};
        return {k, prevExit.j + (StepY(prevExit) ? 1 : 0)};
    }
    for (const Segment &seg : middle_) {
        if (seg.from.k == seg.to.k) {
            if (seg.from.k == k) return seg.from;
        } else if (seg.from.k <= k && k <= seg.to.k) {
            return {k, seg.from.j};
        }
    }
    if (endsInMiddle_ || k <= kBaseExit_) return {k, kNever};
    // The first flat row whose last column reaches k, the top row running on for ever:
    // the first row whose y test still fails in column k - 1 (or, past kDec, fails at all).
    int64_t lo = jBase_ + 1, hi = jTop_;
    const PathState probe{std::max<int64_t>(0, std::min(k - 1, kDec_)), 0};
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (!StepY({probe.k, mid})) hi = mid;
        else lo = mid + 1;
    }
    return {k, lo};
}

PathState QuadrantPath::BaseExitRow(int64_t j) const
{
    const PathState entry = BaseEnterRow(j);
    if (entry.k == kNever) return entry;
    if (small_) return walked_[rowStart_[static_cast<size_t>(j) + 1] - 1];
    return RowExitFrom(entry);
}

PathState QuadrantPath::BaseExitColumn(int64_t k) const
{
    const PathState entry = BaseEnterColumn(k);
    if (entry.j == kNever) return entry;
    if (small_) {
        auto it = std::upper_bound(walked_.begin(), walked_.end(), k,
                                   [](int64_t col, const PathState &s) { return col < s.k; });
        return *(it - 1);
    }
    return ColumnExitFrom(entry);
}

void QuadrantPath::Visit(int64_t k0, int64_t k1, int64_t j0, int64_t j1, int64_t kLimit,
                         const std::function<void(PathState)> &visit) const
{
    k0 = std::max<int64_t>(k0, 0);
    j0 = std::max<int64_t>(j0, 0);
    k1 = std::min(k1, kLimit);
    if (k0 > k1 || j0 > j1) return;
    const PathState row = EnterRow(j0);
    if (row.k == kNever) return;
    PathState s = row;
    if (row.k < k0) {
        s = EnterColumn(k0);
        if (s.j == kNever) return;
    }
    // The walk ends by column k1 and by the end of row j1, whichever comes first.
    const PathState lastRow = ExitRow(j1);
    const int64_t kLast = lastRow.k == kNever ? k1 : std::min(k1, lastRow.k);
    if (kLast < s.k || j1 < s.j) return;
    if ((kLast - s.k) + (j1 - s.j) > kMaxVisitWalk) {
        VisitSampled(s, kLast, j0, j1, visit);
        return;
    }
    while (s.k <= k1 && s.j <= j1) {
        visit(s);
        const PathState n = Next(s);
        if (n == s) return;
        s = n;
    }
}

void QuadrantPath::VisitSampled(PathState first, int64_t kLast, int64_t j0, int64_t j1,
                                const std::function<void(PathState)> &visit) const
{
    // Far too many states to walk (a pen far wider than the surface reaches that far):
    // the first and last state of evenly spread columns and rows stand for the rest, so
    // the outline runs through them in chords. Where the path runs along a row or a
    // column, those two states are its ends, and nothing of the run is lost.
    std::vector<PathState> states;
    auto keep = [&](PathState t) {
        if (t.k == kNever || t.j == kNever || Before(t, first)) return;
        if (t.k > kLast || t.j < j0 || t.j > j1) return;
        states.push_back(t);
    };
    const i128 kSpan = kLast - first.k, jSpan = j1 - first.j;
    for (int64_t i = 0; i <= kVisitSamples; ++i) {
        const int64_t k = first.k + static_cast<int64_t>(kSpan * i / kVisitSamples);
        const int64_t j = first.j + static_cast<int64_t>(jSpan * i / kVisitSamples);
        keep(EnterColumn(k));
        keep(ExitColumn(k));
        keep(EnterRow(j));
        keep(ExitRow(j));
    }
    keep(first);
    std::sort(states.begin(), states.end(), Before);
    states.erase(std::unique(states.begin(), states.end()), states.end());
    for (const PathState &t : states) visit(t);
}

} // namespace standin::gdi::raster
