// Figures against the pictures GDI draws (worked examples measured on real GDI).
#include "raster_test_util.h"

#include "gdi/raster/shapes.h"

#include <gtest/gtest.h>

using namespace rastertest;
using raster::Point;
using Rows = std::vector<std::string>;

TEST(Rectangle, OnePixelPenOutlinesTheBorderAndBrushFillsInside)
{
    Surface s = Blank();
    EXPECT_TRUE(raster::DrawRectangle(s, State(), 2, 2, 8, 6));
    EXPECT_EQ(Picture(s, 0, 1, 10, 7), (Rows{"..........", "..######..", "..#oooo#..", "..#oooo#..",
                                             "..######..", ".........."}));
}

TEST(Rectangle, SwappedCornersDrawTheSame)
{
    Surface a = Blank(), b = Blank();
    raster::DrawRectangle(a, State(), 2, 2, 8, 6);
    raster::DrawRectangle(b, State(), 8, 6, 2, 2);
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST(Rectangle, DegenerateSizes)
{
    auto draw = [](int l, int t, int r, int b) {
        Surface s = Blank();
        EXPECT_TRUE(raster::DrawRectangle(s, State(), l, t, r, b));
        return Touched(s);
    };
    EXPECT_TRUE(draw(1, 1, 2, 2).empty());               // 1 x 1
    EXPECT_TRUE(draw(1, 1, 1, 9).empty());               // zero width
    EXPECT_EQ(draw(1, 1, 3, 2), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
    Surface s = Blank();
    raster::DrawRectangle(s, State(), 2, 2, 5, 6);
    EXPECT_EQ(Picture(s, 2, 2, 5, 6), (Rows{"###", "#o#", "#o#", "###"}));
}

TEST(Rectangle, NullPenFillsOneLessOnTheRightAndBottom)
{
    Surface s = Blank();
    raster::DrawRectangle(s, State(1, true, raster::PenKind::Null), 2, 2, 8, 6);
    EXPECT_EQ(Picture(s, 1, 1, 9, 7), (Rows{"........", ".ooooo..", ".ooooo..", ".ooooo..", "........",
                                            "........"}));
}

TEST(Rectangle, WidePenHasRoundedCornersAndInsideFrameStaysInTheBox)
{
    Surface s = Blank(20, 16);
    raster::DrawRectangle(s, State(3), 4, 4, 14, 12);
    EXPECT_EQ(Picture(s, 0, 3, 16, 13),
              (Rows{"....##########..", "...############.", "...############.", "...###oooooo###.",
                    "...###oooooo###.", "...###oooooo###.", "...###oooooo###.", "...############.",
                    "...############.", "....##########.."}));
    Surface f = Blank(20, 16);
    raster::DrawRectangle(f, State(3, true, raster::PenKind::InsideFrame), 4, 4, 14, 12);
    EXPECT_EQ(Picture(f, 0, 4, 16, 12),
              (Rows{".....########...", "....##########..", "....##########..", "....###oooo###..",
                    "....###oooo###..", "....##########..", "....##########..", ".....########..."}));
}

TEST(Line, DropsTheEndPixelAndBreaksTiesTowardsSmallerCoordinates)
{
    auto line = [](int x0, int y0, int x1, int y1) {
        Surface s = Blank();
        raster::DrawLine(s, State(), {x0, y0}, {x1, y1});
        return Touched(s);
    };
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(line(0, 0, 4, 2), (P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(line(4, 2, 0, 0), (P{{1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(line(0, 2, 4, 0), (P{{3, 0}, {1, 1}, {2, 1}, {0, 2}}));
    EXPECT_EQ(line(0, 0, 1, 2), (P{{0, 0}, {0, 1}}));
    EXPECT_EQ(line(0, 0, 5, 1), (P{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
    EXPECT_EQ(line(0, 0, 3, 3), (P{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(line(9, 5, 2, 5).front(), std::make_pair(3, 5));
    EXPECT_TRUE(line(3, 3, 3, 3).empty());
}

TEST(Line, WideLinesCoverTheirEndPoints)
{
    Surface s = Blank(20, 10);
    raster::DrawLine(s, State(3), {5, 5}, {15, 5});
    EXPECT_EQ(Picture(s, 0, 3, 19, 8), (Rows{"...................", ".....###########...",
                                             "....#############..", ".....###########...",
                                             "..................."}));
    Surface e = Blank(20, 10);
    raster::DrawLine(e, State(4), {5, 5}, {15, 5});
    EXPECT_EQ(Picture(e, 0, 2, 19, 8), (Rows{"...................", "....############...",
                                             "...##############..", "...##############..",
                                             "....############...", "..................."}));
}

TEST(Ellipse, NineByNineCircle)
{
    Surface s = Blank();
    raster::DrawEllipse(s, State(), 1, 1, 10, 10);
    EXPECT_EQ(Picture(s, 0, 1, 12, 10),
              (Rows{"....###.....", "..##ooo##...", "..#ooooo#...", ".#ooooooo#..", ".#ooooooo#..",
                    ".#ooooooo#..", "..#ooooo#...", "..##ooo##...", "....###....."}));
}

TEST(Ellipse, TenByEight)
{
    Surface s = Blank();
    raster::DrawEllipse(s, State(), 1, 1, 11, 9);
    EXPECT_EQ(Picture(s, 0, 1, 12, 9),
              (Rows{"....####....", "..##oooo##..", ".#oooooooo#.", ".#oooooooo#.", ".#oooooooo#.",
                    ".#oooooooo#.", "..##oooo##..", "....####...."}));
}

TEST(Ellipse, NarrowBoxesAreRectangles)
{
    Surface a = Blank(), b = Blank();
    raster::DrawEllipse(a, State(), 1, 1, 3, 8);
    raster::DrawRectangle(b, State(), 1, 1, 3, 8);
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST(RoundRect, CornersAreQuarterEllipses)
{
    Surface s = Blank();
    raster::DrawRoundRect(s, State(), 1, 1, 11, 9, 5, 5);
    EXPECT_EQ(Picture(s, 0, 1, 12, 4), (Rows{"..########..", ".#oooooooo#.", ".#oooooooo#."}));
    EXPECT_EQ(Picture(s, 0, 7, 12, 9), (Rows{".#oooooooo#.", "..########.."}));
    Surface big = Blank();
    raster::DrawRoundRect(big, State(), 1, 1, 21, 13, 6, 6);
    EXPECT_EQ(Picture(big, 0, 1, 7, 5), (Rows{"...####", "..#oooo", ".#ooooo", ".#ooooo"}));
}

TEST(RoundRect, SmallOrNegativeCorners)
{
    Surface rect = Blank(), zero = Blank(), neg = Blank(), pos = Blank();
    raster::DrawRectangle(rect, State(), 2, 2, 12, 10);
    raster::DrawRoundRect(zero, State(), 2, 2, 12, 10, 0, 5);
    EXPECT_EQ(zero.pixels, rect.pixels);
    raster::DrawRoundRect(neg, State(), 2, 2, 12, 10, -6, -6);
    raster::DrawRoundRect(pos, State(), 2, 2, 12, 10, 6, 6);
    EXPECT_EQ(neg.pixels, pos.pixels);
}

TEST(Polygon, FillThenOutline)
{
    std::vector<Point> tri = {{1, 1}, {9, 1}, {1, 5}};
    Surface s = Blank();
    EXPECT_TRUE(raster::DrawPolygon(s, State(1, true, raster::PenKind::Null), tri));
    EXPECT_EQ(Picture(s, 0, 1, 12, 6), (Rows{".oooooooo...", ".oooooo.....", ".oooo.......", ".oo.........",
                                             "............"}));
    Surface p = Blank();
    raster::DrawPolygon(p, State(), tri);
    EXPECT_EQ(Picture(p, 0, 1, 12, 6), (Rows{".#########..", ".#oooo##....", ".#oo##......", ".###........",
                                             ".#.........."}));
}

TEST(Polygon, StarAlternateLeavesTheCentreWindingFillsIt)
{
    std::vector<Point> star = {{12, 1}, {19, 14}, {2, 5}, {22, 5}, {5, 14}};
    raster::DrawState alt = State(1, true, raster::PenKind::Null);
    raster::DrawState wind = alt;
    wind.polyFillMode = 2;
    Surface a = Blank(), w = Blank();
    raster::DrawPolygon(a, alt, star);
    raster::DrawPolygon(w, wind, star);
    EXPECT_EQ(a.Row(8)[12], kBackground);
    EXPECT_EQ(w.Row(8)[12], kBrush);
    int differ = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) differ += a.pixels[i] != w.pixels[i];
    EXPECT_GT(differ, 10);
}

TEST(Polygon, TooFewPointsFailAndTwoPointsDrawTheSegmentBothWays)
{
    Surface s = Blank();
    EXPECT_FALSE(raster::DrawPolygon(s, State(), {{1, 1}}));
    EXPECT_TRUE(raster::DrawPolygon(s, State(), {{2, 3}, {8, 3}}));
    EXPECT_EQ(Picture(s, 0, 3, 10, 4), (Rows{"..#######."}));
}

TEST(Arc, QuarterArcAndPie)
{
    Surface a = Blank();
    raster::DrawArc(a, State(1, false), raster::ArcKind::Arc, 1, 1, 10, 10, 10, 5, 5, 0);
    EXPECT_EQ(Picture(a, 0, 1, 12, 6), (Rows{"............", ".......##...", "........#...", ".........#..",
                                             ".........#.."}));
    Surface p = Blank();
    raster::DrawArc(p, State(), raster::ArcKind::Pie, 1, 1, 10, 10, 10, 5, 5, 0);
    EXPECT_EQ(Picture(p, 0, 1, 12, 6), (Rows{"......#.....", "......###...", ".....#oo#...", ".....#ooo#..",
                                             ".....#####.."}));
}

TEST(Bezier, BadCountsFailAndAStraightCurveIsALine)
{
    Surface s = Blank();
    EXPECT_FALSE(raster::DrawPolyBezier(s, State(), {{0, 0}, {1, 1}, {2, 2}}));
    Surface b = Blank(), l = Blank();
    EXPECT_TRUE(raster::DrawPolyBezier(b, State(), {{1, 2}, {5, 4}, {9, 6}, {13, 8}}));
    raster::DrawLine(l, State(), {1, 2}, {13, 8});
    EXPECT_EQ(b.pixels, l.pixels);
}

TEST(Ellipse, TallThinEllipsesKeepTheirTips)
{
    // The quadrant stepping runs out of columns before the top row; the tip is completed
    // straight up the middle, so every row of the box is lit (GDI's own stepping on some
    // systems loses rows 0 and 12 here).
    Surface s = Blank(8, 16);
    raster::DrawEllipse(s, State(1, false), 0, 0, 3, 13);
    for (int y = 0; y < 13; ++y) {
        int lit = 0;
        for (int x = 0; x < 3; ++x) lit += s.Row(y)[x] == kPen;
        EXPECT_GT(lit, 0) << y;
    }
    EXPECT_EQ(s.Row(0)[1], kPen);
    EXPECT_EQ(s.Row(12)[1], kPen);
    // The filled one covers the same rows with its brush inside.
    Surface f = Blank(8, 24);
    raster::DrawEllipse(f, State(1, true, raster::PenKind::Null), 0, 0, 4, 21);
    EXPECT_EQ(f.Row(0)[1], kBrush);
    EXPECT_EQ(f.Row(0)[2], kBrush);
    EXPECT_EQ(f.Row(0)[0], kBackground);
    EXPECT_EQ(f.Row(20)[1], kBrush);
}
