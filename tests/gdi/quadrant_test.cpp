// The direct lookups along the quadrant path against walking it step by step, for many
// sizes and shapes: round, flat, tall, tiny.
#include "gdi/raster/quadrant.h"

#include <gtest/gtest.h>

#include <random>

namespace raster = standin::gdi::raster;
using raster::PathState;
using raster::QuadrantPath;

namespace {

void CheckSize(int64_t w, int64_t h)
{
    const QuadrantPath walked(w, h, INT64_MAX); // always walked from the start
    const QuadrantPath direct(w, h, 0);         // never walked
    const int64_t b = h - 1;
    for (int64_t j = 0; j <= b + 1; ++j) {
        const PathState e1 = walked.EnterRow(j), e2 = direct.EnterRow(j);
        if (e1.k == QuadrantPath::kNever) continue; // past where the figures read
        ASSERT_EQ(e1, e2) << w << "x" << h << " row " << j;
        const PathState x1 = walked.ExitRow(j), x2 = direct.ExitRow(j);
        if (x1.k <= w / 2) {
            ASSERT_EQ(x1, x2) << w << "x" << h << " row exit " << j;
        }
    }
    for (int64_t k = 0; k <= w / 2; ++k) {
        const PathState e1 = walked.EnterColumn(k), e2 = direct.EnterColumn(k);
        if (e1.j == QuadrantPath::kNever) continue;
        ASSERT_EQ(e1, e2) << w << "x" << h << " column " << k;
    }
    // A window in the middle of the path gives the same states either way.
    std::vector<PathState> v1, v2;
    walked.Visit(w / 8, w / 3, h / 10, h / 4, w / 2, [&](PathState s) { v1.push_back(s); });
    direct.Visit(w / 8, w / 3, h / 10, h / 4, w / 2, [&](PathState s) { v2.push_back(s); });
    ASSERT_EQ(v1, v2) << w << "x" << h;
}

} // namespace

TEST(QuadrantPath, DirectLookupsEqualTheWalkForManySizes)
{
    for (int64_t w : {1, 2, 3, 4, 7, 20, 101}) {
        for (int64_t h : {1, 2, 3, 5, 8, 33, 250}) CheckSize(w, h);
    }
    std::mt19937 rng(2024);
    for (int i = 0; i < 60; ++i) {
        const int64_t w = 2 + static_cast<int64_t>(rng() % 1500), h = 2 + static_cast<int64_t>(rng() % 1500);
        CheckSize(w, h);
    }
    CheckSize(4000, 3);
    CheckSize(3, 4000);
    CheckSize(2500, 2600);
}

TEST(QuadrantPath, HugeEllipsesAreCheapAndStayOnTheCurve)
{
    // A circle of radius 2^30: the row at 3/5 of the radius holds the point near 4/5 of it.
    const int64_t d = int64_t{1} << 31;
    const QuadrantPath q(d, d);
    const int64_t r = d / 2;
    const PathState s = q.EnterRow(r * 3 / 5);
    const int64_t x = (d - 1) - s.k - (d - 1) / 2; // distance from the centre column
    EXPECT_NEAR(static_cast<double>(x), 0.8 * static_cast<double>(r), 2.0);
    int count = 0;
    q.Visit(0, q.kNever - 1, r * 3 / 5, r * 3 / 5 + 100, d, [&](PathState) { ++count; });
    EXPECT_GE(count, 100);
    EXPECT_LE(count, 300);
}
