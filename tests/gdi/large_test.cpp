// Large figures: the direct path lookups and piecewise outlines (used for figures too big
// to walk) against the plain walk, pixel for pixel; and coordinates at the ends of the
// 32-bit range, which must cost only what is visible.
#include "raster_test_util.h"

#include "gdi/raster/quadrant.h"
#include "gdi/raster/region.h"
#include "gdi/raster/shapes.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace rastertest;
using raster::QuadrantPath;

namespace {

// Draws with the given walking limit (0: every figure takes the large-figure way).
template <class F> Surface DrawWith(int64_t limit, F draw)
{
    QuadrantPath::SetWalkLimitForTesting(limit);
    Surface s = Blank(48, 40);
    draw(s);
    QuadrantPath::SetWalkLimitForTesting(QuadrantPath::kWalkLimit);
    return s;
}

} // namespace

TEST(LargeFigures, PiecewiseCurvesEqualTheWalkedOnes)
{
    std::mt19937 rng(99);
    auto coord = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
    for (int iter = 0; iter < 1200; ++iter) {
        const int l = coord(-60, 40), t = coord(-60, 35);
        const int r = l + coord(3, 120), b = t + coord(3, 110);
        const int ew = coord(-30, 130), eh = coord(-30, 130);
        raster::DrawState st = State(static_cast<int>(rng() % 8), rng() % 2 == 0,
                                     rng() % 3 == 0 ? raster::PenKind::InsideFrame : raster::PenKind::Solid);
        st.rop2 = rng() % 3 == 0 ? 6 : 13;
        st.clockwise = rng() % 2 == 0;
        const int kind = iter % 6;
        const int xs = coord(-80, 120), ys = coord(-80, 120), xe = coord(-80, 120), ye = coord(-80, 120);
        auto draw = [&](Surface &s) {
            if (kind == 0) raster::DrawEllipse(s, st, l, t, r, b);
            else if (kind == 1) raster::DrawRoundRect(s, st, l, t, r, b, ew, eh);
            else if (kind == 2) raster::InvertRegion(s, raster::Region::RoundRect(l, t, r, b, ew, eh));
            else if (kind == 3) raster::DrawArc(s, st, raster::ArcKind::Arc, l, t, r, b, xs, ys, xe, ye);
            else if (kind == 4) raster::DrawArc(s, st, raster::ArcKind::Pie, l, t, r, b, xs, ys, xe, ye);
            else raster::DrawArc(s, st, raster::ArcKind::Chord, l, t, r, b, xs, ys, xe, ye);
        };
        const Surface walked = DrawWith(QuadrantPath::kWalkLimit, draw);
        const Surface direct = DrawWith(0, draw);
        ASSERT_EQ(walked.pixels, direct.pixels)
            << "kind " << kind << " box " << l << "," << t << "," << r << "," << b << " corner " << ew << "x" << eh
            << " pen " << st.pen.width << " radials " << xs << "," << ys << " " << xe << "," << ye
            << " clockwise " << st.clockwise;
    }
}

TEST(LargeFigures, ExtremeCoordinatesDrawOnlyWhatIsVisible)
{
    const int lo = INT_MIN, hi = INT_MAX;
    // A circle of radius 2^29 whose right-most point is on the surface: its edge there is
    // the vertical column x = 39 around row 32, and nothing else is lit.
    Surface s = Blank(64, 64);
    const int r = 1 << 29;
    EXPECT_TRUE(raster::DrawEllipse(s, State(1, false), 40 - 2 * r, 32 - r, 40, 32 + r));
    EXPECT_EQ(s.Row(32)[39], kPen);
    EXPECT_EQ(s.Row(0)[39], kPen);
    for (auto [x, y] : Touched(s)) EXPECT_EQ(x, 39) << y;
    // Its region, inverted: everything left of the edge.
    Surface g = Blank(64, 64);
    raster::InvertRegion(g, raster::Region::Elliptic(40 - 2 * r, 32 - r, 40, 32 + r));
    EXPECT_EQ(g.Row(32)[38], kBackground ^ 0xFFFFFF);
    EXPECT_EQ(g.Row(32)[39], kBackground);

    // Everything at the ends of the range, every figure kind, thin and wide pens.
    for (int w : {1, 7}) {
        Surface e = Blank(32, 32);
        raster::DrawState wide = State(w, true);
        EXPECT_TRUE(raster::DrawRectangle(e, wide, lo, lo, hi, hi));
        EXPECT_TRUE(raster::DrawEllipse(e, wide, lo, lo, hi, hi));
        EXPECT_TRUE(raster::DrawEllipse(e, wide, lo, 10, hi, 20));
        EXPECT_TRUE(raster::DrawRoundRect(e, wide, lo, lo, hi, hi, hi, hi));
        EXPECT_TRUE(raster::DrawLine(e, wide, {lo, lo}, {hi, hi}));
        EXPECT_TRUE(raster::DrawLine(e, wide, {lo, 5}, {hi, 9}));
        EXPECT_TRUE(raster::DrawPolygon(e, wide, {{lo, lo}, {hi, 0}, {0, hi}}));
        EXPECT_TRUE(raster::DrawPolyBezier(e, wide, {{lo, lo}, {hi, lo}, {lo, hi}, {hi, hi}}));
        for (auto kind : {raster::ArcKind::Arc, raster::ArcKind::Pie, raster::ArcKind::Chord}) {
            EXPECT_TRUE(raster::DrawArc(e, wide, kind, lo, lo, hi, hi, hi, 3, lo, 7));
            EXPECT_TRUE(raster::DrawArc(e, wide, kind, lo, -5, 30, 40, 0, lo, 0, hi));
        }
        raster::InvertRegion(e, raster::Region::Elliptic(lo, lo, hi, hi));
        raster::InvertRegion(e, raster::Region::RoundRect(lo, lo, hi, hi, hi, 1 << 20));
        raster::InvertRegion(e, raster::Region::Polygon({{lo, lo}, {hi, 3}, {5, hi}}, 2));
    }
    // A pie of radius 2^29 whose centre is on the surface: the quarter towards the
    // upper right is filled, the rest is not.
    Surface pie = Blank(64, 64);
    EXPECT_TRUE(raster::DrawArc(pie, State(1, true), raster::ArcKind::Pie, 32 - r, 32 - r, 32 + r, 32 + r, 64, 32, 32, 0));
    EXPECT_EQ(pie.Row(10)[50], kBrush);
    EXPECT_EQ(pie.Row(50)[50], kBackground);
    EXPECT_EQ(pie.Row(10)[10], kBackground);

    // The big filled rectangle covers the surface with its brush.
    Surface f = Blank(16, 16);
    raster::DrawRectangle(f, State(1, true), lo, lo, hi, hi);
    EXPECT_EQ(f.Row(8)[8], kBrush);
}
