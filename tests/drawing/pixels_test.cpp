// What the primitives leave on the window's surface, checked against facts recorded on
// real GDI: box edges, the outline on a filled figure's border, the even-odd and winding
// fills of a self-crossing star, inverted figures and regions, single pixels.
#include "drawing.h"

namespace {

const uint32_t white = 0xFFFFFF;

// Compares a block of the surface with a picture: '#' pen, 'o' brush, '.' untouched,
// 'x' the untouched colour inverted.
void ExpectPicture(const Screen &screen, int left, int top, const std::vector<std::string> &rows, uint32_t pen,
                   uint32_t brush, uint32_t untouched)
{
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const char mark = rows[r][c];
            const uint32_t expected = mark == '#' ? pen : mark == 'o' ? brush : mark == 'x' ? ~untouched & white
                                                                                             : untouched;
            const int x = left + static_cast<int>(c), y = top + static_cast<int>(r);
            EXPECT_EQ(screen.At(x, y), expected) << "at (" << x << ", " << y << ")";
        }
    }
}

TEST_F(DrawingTest, TheStatusLineRectangleFillsItsBoxAndOutlinesItsBorder)
{
    auto w = OpenQuiet(1000, 600);
    w->SetPen(RED, 1);
    w->SetBrush(BLUE);
    w->DrawRectangle(0, 540, 1000, 600, STYLE_FILLED, 0, 0);
    const Screen screen(*w);
    ASSERT_EQ(screen.width, 1000);
    ASSERT_EQ(screen.height, 600);
    int wrong = 0;
    for (int y = 530; y < 600; ++y) {
        for (int x = 0; x < 1000; ++x) {
            const bool border = y == 540 || y == 599 || x == 0 || x == 999;
            const uint32_t expected = y < 540 ? white : border ? 0xFF0000 : 0x0000FF;
            wrong += screen.At(x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(DrawingTest, TrianglesAndPolygonsFillByPixelCentresAndOutlineEveryVertex)
{
    // The same three corners through both primitives, black pen of width 0.
    const std::vector<std::string> picture = {
        "..........",
        ".#########",
        ".#oooo##..",
        ".#oo##....",
        ".###......",
        ".#........",
        "..........",
    };
    for (int which = 0; which < 2; ++which) {
        auto w = OpenQuiet();
        w->SetPen(BLACK, 0);
        w->SetBrush(color(0, 128, 0));
        if (which == 0) {
            w->DrawTriangle(1, 1, 9, 1, 1, 5, STYLE_FILLED);
        } else {
            const int xs[] = {1, 9, 1};
            const int ys[] = {1, 1, 5};
            w->DrawPolygon(xs, ys, 3, STYLE_FILLED);
        }
        SCOPED_TRACE(which == 0 ? "triangle" : "polygon");
        ExpectPicture(Screen(*w), 0, 0, picture, 0x000000, 0x008000, white);
    }
}

TEST_F(DrawingTest, AStarFilledLeavesItsCentreEmptyAndInvertedInvertsIt)
{
    const int xs[] = {12, 19, 2, 22, 5};
    const int ys[] = {1, 14, 5, 5, 14};
    auto w = OpenQuiet();
    w->SetPen(BLACK, 1);
    w->SetBrush(RED);
    w->DrawPolygon(xs, ys, 5, STYLE_FILLED);
    Screen filled(*w);
    EXPECT_EQ(filled.At(12, 3), 0xFF0000u); // a point of the star
    EXPECT_EQ(filled.At(12, 8), white);     // the centre, enclosed twice
    EXPECT_EQ(filled.At(0, 0), white);

    auto v = OpenQuiet();
    v->DrawPolygon(xs, ys, 5, STYLE_INVERTED);
    Screen inverted(*v);
    EXPECT_EQ(inverted.At(12, 3), 0u);
    EXPECT_EQ(inverted.At(12, 8), 0u);
    EXPECT_EQ(inverted.At(0, 0), white);
    // The region takes the left end of a row and leaves out the right end, which an
    // outline would draw.
    EXPECT_EQ(inverted.At(2, 5), 0u);
    EXPECT_EQ(inverted.At(22, 5), white);
}

TEST_F(DrawingTest, EllipsesDrawnAndInvertedCoverTheirBoxes)
{
    auto w = OpenQuiet();
    w->SetPen(BLACK, 1);
    w->SetBrush(BLUE);
    w->DrawEllipse(1, 1, 10, 10, STYLE_FILLED);
    // The inverted ellipse is a region, one pixel smaller right and bottom than the
    // same box drawn.
    w->DrawEllipse(21, 1, 31, 9, STYLE_INVERTED);
    const Screen screen(*w);
    ExpectPicture(screen, 0, 0,
                  {
                      "...........",
                      "....###....",
                      "..##ooo##..",
                      "..#ooooo#..",
                      ".#ooooooo#.",
                      ".#ooooooo#.",
                      ".#ooooooo#.",
                      "..#ooooo#..",
                      "..##ooo##..",
                      "....###....",
                      "...........",
                  },
                  0x000000, 0x0000FF, white);
    ExpectPicture(screen, 20, 0,
                  {
                      "...........",
                      "...xxxxx...",
                      "..xxxxxxx..",
                      ".xxxxxxxxx.",
                      ".xxxxxxxxx.",
                      ".xxxxxxxxx.",
                      "..xxxxxxx..",
                      "...xxxxx...",
                      "...........",
                  },
                  0, 0, white);
}

TEST_F(DrawingTest, SquareAndRoundedRectanglesInvertTheirOwnWays)
{
    auto w = OpenQuiet();
    Paint(*w, color(10, 20, 30));
    // Square corners: the pen and brush of the box under R2_NOT, each pixel once.
    w->DrawRectangle(5, 5, 15, 15, STYLE_INVERTED, 0, 0);
    // Rounded: a region one pixel smaller right and bottom than the same box drawn.
    w->DrawRectangle(25, 5, 35, 15, STYLE_INVERTED, 4, 4);
    const Screen screen(*w);
    const uint32_t paint = 0x0A141E, inverted = 0xF5EBE1;
    for (int y = 4; y <= 15; ++y) {
        for (int x = 4; x <= 15; ++x) {
            const bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
            EXPECT_EQ(screen.At(x, y), inside ? inverted : paint) << x << ", " << y;
        }
    }
    EXPECT_EQ(screen.At(25, 10), inverted);
    EXPECT_EQ(screen.At(33, 10), inverted);
    EXPECT_EQ(screen.At(34, 10), paint);
    EXPECT_EQ(screen.At(30, 13), inverted);
    EXPECT_EQ(screen.At(30, 14), paint);
    EXPECT_EQ(screen.At(25, 5), paint); // a cut corner
    EXPECT_EQ(screen.At(30, 5), inverted);
}

TEST_F(DrawingTest, AWidePenStaysInsideTheBoxOfAFrame)
{
    auto w = OpenQuiet();
    w->SetPen(RED, 5);
    w->DrawRectangle(10, 10, 30, 30, STYLE_FRAME, 0, 0);
    w->DrawCircle(60, 20, 10, STYLE_FRAME);
    const Screen screen(*w);
    const uint32_t red = 0xFF0000;
    for (int x = 8; x <= 31; ++x) {
        const bool pen = (x >= 10 && x < 15) || (x >= 25 && x < 30);
        EXPECT_EQ(screen.At(x, 20), pen ? red : white) << x;
    }
    EXPECT_EQ(screen.At(50, 20), red);
    EXPECT_EQ(screen.At(49, 20), white);
    EXPECT_EQ(screen.At(69, 20), red);
    EXPECT_EQ(screen.At(70, 20), white);
    EXPECT_EQ(screen.At(60, 20), white); // framed: nothing filled
}

TEST_F(DrawingTest, ALineCoversItsStartAndNotItsEnd)
{
    auto w = OpenQuiet();
    w->SetPen(BLUE, 1);
    w->DrawLine(2, 5, 9, 5, STYLE_FRAME);
    w->DrawLine(4, 2, 0, 0, STYLE_FRAME);
    const Screen screen(*w);
    for (int x = 0; x <= 10; ++x)
        EXPECT_EQ(screen.At(x, 5), x >= 2 && x <= 8 ? 0x0000FFu : white) << x;
    // (4,2) to (0,0): the start and the ties toward the upper pixel; not the end.
    for (auto [x, y] : {std::pair{4, 2}, {3, 1}, {2, 1}, {1, 0}})
        EXPECT_EQ(screen.At(x, y), 0x0000FFu) << x << ", " << y;
    EXPECT_EQ(screen.At(0, 0), white);
}

TEST_F(DrawingTest, DrawPixelChangesExactlyOnePixelToThePenColour)
{
    auto w = OpenQuiet();
    Paint(*w, color(1, 2, 3));
    w->SetPen(color(200, 100, 50), 9);
    const Screen before(*w);
    w->DrawPixel(10, 10);
    w->DrawPixel(-1, 5);  // off the surface: nothing
    w->DrawPixel(5, 1000);
    const Screen after(*w);
    int changed = 0;
    for (size_t i = 0; i < after.pixels.size(); ++i)
        changed += after.pixels[i] != before.pixels[i];
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(after.At(10, 10), 0xC86432u);
    EXPECT_EQ(WindowInspector::PenWidth(*w), 9);
}

TEST_F(DrawingTest, ABezierRunsFromItsStartTowardItsEnd)
{
    auto w = OpenQuiet();
    w->SetPen(BLACK, 1);
    // Control points on the chord: the curve is the straight line, end left out.
    w->DrawBezier(2, 3, 5, 3, 8, 3, 12, 3, STYLE_FRAME);
    const Screen screen(*w);
    for (int x = 0; x <= 13; ++x)
        EXPECT_EQ(screen.At(x, 3), x >= 2 && x < 12 ? 0u : white) << x;
}

} // namespace
