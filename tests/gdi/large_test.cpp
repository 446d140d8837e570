// Large figures: the direct path lookups and piecewise outlines (used for figures too big
// to walk) against the plain walk, pixel for pixel; and coordinates at the ends of the
// 32-bit range, which must cost only what is visible.
#include "raster_test_util.h"

#include "gdi/raster/quadrant.h"
#include "gdi/raster/region.h"
#include "gdi/raster/shapes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
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

TEST(LargeFigures, PensWiderThanTheSurfaceCoverItAndCostOnlyWhatIsVisible)
{
    // A pen of the largest width drawn through the surface covers all of it, along a
    // curve of many points and a polygon of GDI's largest count alike.
    const int widest = INT_MAX;
    std::vector<raster::Point> many;
    for (int k = 0; k < 65535; ++k) many.push_back({(k * 37) % 50 - 5, (k * 11) % 40 - 5});
    auto covered = [](const Surface &s) {
        for (const Pixel p : s.pixels)
            if (p != kPen) return false;
        return true;
    };
    Surface bezier = Blank(48, 32);
    EXPECT_TRUE(raster::DrawPolyBezier(bezier, State(widest, false), {{-900, 7}, {40, -3000}, {3000, 900}, {20, 20}}));
    EXPECT_TRUE(covered(bezier));
    Surface polygon = Blank(48, 32);
    EXPECT_TRUE(raster::DrawPolygon(polygon, State(widest, true), many));
    EXPECT_TRUE(covered(polygon));
    // An ellipse whose flat top runs just above the surface, two billion pixels wide.
    Surface ellipse = Blank(48, 32);
    EXPECT_TRUE(raster::DrawEllipse(ellipse, State(widest - 1, false), INT_MIN, -1, 2147418112, INT_MAX));
    EXPECT_TRUE(covered(ellipse));
    // A circle of radius 2^30 around the surface, drawn with a pen of about its radius
    // on either side: every pixel but those nearest the centre is within reach.
    Surface ring = Blank(48, 32);
    const int r = 1 << 30;
    EXPECT_TRUE(raster::DrawEllipse(ring, State(widest, false), 24 - r, 16 - r, 24 + r, 16 + r));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            if (std::abs(x - 24) + std::abs(y - 16) > 2) {
                EXPECT_EQ(ring.Row(y)[x], kPen) << x << "," << y;
            }
}

TEST(LargeFigures, AnInsideOutArcLongerThanAMillionPointsDrawsNothing)
{
    // A wide inside-frame pen turns a box one pixel high inside out; the odd curve GDI
    // then gets is drawn in a small box, but one 16 million pixels long would need room
    // for 50 million points: it draws nothing.
    raster::DrawState st = State(3, true, raster::PenKind::InsideFrame);
    Surface small = Blank(48, 32);
    EXPECT_TRUE(raster::DrawArc(small, st, raster::ArcKind::Pie, 2, 10, 40, 11, 0, 10, 40, 10));
    EXPECT_FALSE(Touched(small).empty());
    Surface huge = Blank(48, 32);
    EXPECT_TRUE(raster::DrawArc(huge, st, raster::ArcKind::Pie, -65535, 1, 16843035, 0, 0, 0, 100, 0));
    EXPECT_TRUE(Touched(huge).empty());
}

TEST(LargeFigures, AWindowOfTheSurfaceShowsWhatTheWholeSurfaceShowsThere)
{
    // A zigzag with a wide pen, down a tall surface; on a short one, the same figure moved
    // up shows exactly those rows. The two make the pen's discs in different ways: on the
    // tall surface one disc is made and moved to every joint, on the short one few joints
    // reach it from far apart and each makes its own.
    std::vector<raster::Point> zigzag;
    for (int k = 0; k <= 30; ++k) zigzag.push_back({k % 2 ? 300 : 100, 100 * k});
    const int top = 1480, rows = 20;
    for (bool brush : {false, true}) {
        const raster::DrawState st = State(301, brush);
        Surface tall = Blank(700, 3100);
        ASSERT_TRUE(raster::DrawPolygon(tall, st, zigzag));
        std::vector<raster::Point> moved = zigzag;
        for (raster::Point &p : moved) p.y -= top;
        Surface window = Blank(700, rows);
        ASSERT_TRUE(raster::DrawPolygon(window, st, moved));
        int pen = 0, other = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 700; ++x) {
                ASSERT_EQ(window.Row(y)[x], tall.Row(top + y)[x]) << x << "," << y;
                (window.Row(y)[x] == kPen ? pen : other)++;
            }
        EXPECT_GT(pen, 0);
        EXPECT_GT(other, 0);
    }
}

TEST(SpanSets, SpansPiledOnTheSameRowsStayOneUnion)
{
    // Far more overlapping spans than are kept unmerged: the set is still their union.
    raster::SpanSet set(raster::Box{0, 0, 100, 10});
    for (int k = 0; k < 300000; ++k) set.AddSpan(k % 10, k % 7, 50 + k % 13);
    set.AddSpan(3, 90, 95);
    const std::vector<raster::Span> &spans = set.Spans();
    ASSERT_EQ(spans.size(), 11u);
    EXPECT_EQ(spans[0].x0, 0);
    EXPECT_EQ(spans[0].x1, 62);
    EXPECT_EQ(spans[4].y, 3);
    EXPECT_EQ(spans[4].x0, 90);
    EXPECT_FALSE(set.Full());
    set.AddBox(raster::Box{-5, -5, 200, 200});
    EXPECT_TRUE(set.Full());
    set.Subtract(raster::SpanSet(raster::Box{0, 0, 1, 1}));
    EXPECT_FALSE(set.Full());
}
