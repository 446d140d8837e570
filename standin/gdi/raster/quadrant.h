// quadrant.h - the outline path of one quadrant of a w x h digital ellipse, walked in
// "step counts": K steps along x and J steps along y from the start (the point at the
// middle of the side). Every curved figure is made of this path. For large ellipses the
// path is not walked from its start: its state at any row or column is found directly
// (the stepping decisions have closed forms), so only the visible part costs time.
#ifndef STANDIN_GDI_RASTER_QUADRANT_H
#define STANDIN_GDI_RASTER_QUADRANT_H

#include "types.h"

#include <functional>
#include <vector>

namespace standin::gdi::raster {

struct PathState {
    int64_t k = 0; // x steps taken
    int64_t j = 0; // y steps taken
    friend bool operator==(const PathState &, const PathState &) = default;
};

class QuadrantPath {
public:
    // w, h >= 1. Paths whose w + h is at most walkLimit are walked from the start once
    // (tests lower it to check the direct way against the walk).
    static constexpr int64_t kWalkLimit = 4096;
    QuadrantPath(int64_t w, int64_t h, int64_t walkLimit = WalkLimit(), int64_t outlineEndK = -1);

    // The path as an outline takes it: it stops at column kEnd = (w-1) - w/2, and if it
    // leaves that column below the top row (jTop = (h-1) - h/2: tall thin ellipses) it
    // climbs straight up the column to the top instead, completing the tip.
    static QuadrantPath Outline(int64_t w, int64_t h);
    int64_t OutlineEndK() const { return kEnd_; }

    // The size limit for walking; tests lower it so that the direct lookups and the
    // piecewise figures built on them are checked against the plain walk.
    static int64_t WalkLimit();
    static void SetWalkLimitForTesting(int64_t limit);

    // The stepping decisions at a state on the path.
    bool StepX(PathState s) const;
    bool StepY(PathState s) const;
    PathState Next(PathState s) const;
    // The state before s on the path (s must be on it and not the start).
    PathState Prev(PathState s) const;
    // Path order: whether s comes before t (both on the path).
    static bool Before(PathState s, PathState t) { return s.k < t.k || (s.k == t.k && s.j < t.j); }

    // The first state in row j (J == j) and in column k (K == k); kNever in the other
    // coordinate when the path never gets there.
    static constexpr int64_t kNever = INT64_MAX;
    PathState EnterRow(int64_t j) const;
    PathState EnterColumn(int64_t k) const;
    // The last state of row j and of column k.
    PathState ExitRow(int64_t j) const;
    PathState ExitColumn(int64_t k) const;
    // Whether the path is walked from the start (small) or looked up directly (large).
    bool Walked() const { return small_; }

    // Calls visit for every state with k in [k0, k1] and j in [j0, j1], in path order,
    // stopping for good after the first state whose k exceeds kLimit. A stretch longer
    // than kMaxVisitWalk steps (a pen thousands of pixels wide reaches that far around a
    // surface) is not walked: about kVisitSamples columns and rows of it are visited.
    static constexpr int64_t kMaxVisitWalk = int64_t{1} << 13;
    static constexpr int64_t kVisitSamples = 512;
    void Visit(int64_t k0, int64_t k1, int64_t j0, int64_t j1, int64_t kLimit,
               const std::function<void(PathState)> &visit) const;

private:
    using i128 = __int128;
    int Sign2ErrMinus(PathState s, bool againstDx) const;
    i128 Dx(int64_t k) const;
    i128 Dy(int64_t j) const;
    int64_t FirstJStepX(int64_t k) const;               // min J >= 0 with StepX(k, J)
    int64_t FirstKStepY(int64_t j, int64_t from) const; // min K in [from, kDec_] with StepY, or kNever
    PathState RowExitFrom(PathState entry) const;
    void VisitSampled(PathState first, int64_t kLast, int64_t j0, int64_t j1,
                      const std::function<void(PathState)> &visit) const;
    PathState ColumnExitFrom(PathState entry) const;
    void BuildZones();
    void IndexRows();

    PathState BaseNext(PathState s) const;
    PathState BaseEnterRow(int64_t j) const;
    PathState BaseEnterColumn(int64_t k) const;
    PathState BaseExitRow(int64_t j) const;
    PathState BaseExitColumn(int64_t k) const;

    int64_t a_, b_, odd_;
    // Outline paths: the end column, the top row, and where the plain path leaves the
    // end column (-1 for plain paths).
    int64_t kEnd_ = -1, jTop_Outline = -1;
    PathState leave_{};
    std::vector<PathState> walked_; // the whole path, for small ellipses
    std::vector<uint32_t> rowStart_; // index in walked_ of each row's first state, and the end
    int64_t kDec_; // err falls with K on [0, kDec_]
    bool small_;   // walked from the start: cheap enough, and the zones need room

    // Steep zone: columns [0, kSteep] exit at FirstJStepX; the last of them in row jSteepExit.
    int64_t kSteep_ = -1;
    int64_t jSteepExit_ = -1;
    // Transition zone: explicit row and column segments, in path order.
    struct Segment {
        PathState from, to; // within one row or one column
    };
    std::vector<Segment> middle_;
    // Flat zone: rows (jBase, jTop] exit at FirstKStepY; the path ends in row jTop
    // (exit kNever) unless it ended earlier in the middle.
    int64_t jBase_ = -1, kBaseExit_ = 0, jTop_ = -1;
    bool endsInMiddle_ = false;
};

} // namespace standin::gdi::raster

#endif // STANDIN_GDI_RASTER_QUADRANT_H
