// The shape primitives' device calls: every call in order with its values for each
// primitive and style, the error line of each failed call, refused styles, and the
// point counts DrawPolygon refuses.
#include "drawing.h"

#include "../images/allocation_failures.h"

#include <climits>
#include <cmath>
#include <functional>

namespace {

const char invalidLine[] = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!\n";

// expected may hold '*' for any one handle or pointer; "DC" stands for the active context.
bool Matches(std::string expected, const std::string &actual, const std::string &dc)
{
    for (size_t at; (at = expected.find("DC")) != std::string::npos;)
        expected.replace(at, 2, dc);
    size_t a = 0;
    for (size_t e = 0; e < expected.size(); ++e) {
        if (expected[e] == '*') {
            const size_t start = a;
            while (a < actual.size() && (std::isxdigit(static_cast<unsigned char>(actual[a])) || actual[a] == 'x'))
                ++a;
            if (a == start)
                return false;
        } else if (a >= actual.size() || actual[a++] != expected[e]) {
            return false;
        }
    }
    return a == actual.size();
}

void ExpectCalls(window &w, const std::vector<std::string> &expected, const std::vector<std::string> &actual)
{
    const std::string dc = Hex(WindowInspector::Active(w));
    bool same = expected.size() == actual.size();
    for (size_t i = 0; same && i < expected.size(); ++i)
        same = Matches(expected[i], actual[i], dc);
    std::string shown;
    for (const std::string &line : actual)
        shown += "  " + line + "\n";
    EXPECT_TRUE(same) << "calls made:\n" << shown;
}

const int starX[] = {12, 19, 2, 22, 5};
const int starY[] = {1, 14, 5, 5, 14};

struct Figure {
    const char *name;
    std::function<void(window &, drawstyle)> draw;
    // The figure's own calls between select and restore, or the region it inverts.
    std::vector<std::string> filled, frame, inverted;
    bool invertsRegion;
};

std::vector<Figure> Figures()
{
    return {
        {"square rectangle", [](window &w, drawstyle s) { w.DrawRectangle(1, 2, 30, 40, s, 0, 0); },
         {"Rectangle(DC,1,2,30,40)"}, {"Rectangle(DC,1,2,30,40)"}, {"Rectangle(DC,1,2,30,40)"}, false},
        // A zero corner width with a non-zero height still takes the rounded path.
        {"rounded rectangle", [](window &w, drawstyle s) { w.DrawRectangle(1, 2, 30, 40, s, 0, 5); },
         {"RoundRect(DC,1,2,30,40,0,5)"}, {"RoundRect(DC,1,2,30,40,0,5)"}, {"CreateRoundRectRgn(1,2,30,40,0,5)"}, true},
        {"triangle", [](window &w, drawstyle s) { w.DrawTriangle(1, 2, 30, 4, 5, 60, s); },
         {"Polygon(DC,*,3)"}, {"Polygon(DC,*,3)"}, {"CreatePolygonRgn(*,3,2)"}, true},
        {"polygon", [](window &w, drawstyle s) { w.DrawPolygon(starX, starY, 5, s); },
         {"Polygon(DC,*,5)"}, {"Polygon(DC,*,5)"}, {"CreatePolygonRgn(*,5,2)"}, true},
        {"circle", [](window &w, drawstyle s) { w.DrawCircle(50, 50, 10, s); },
         {"Ellipse(DC,40,40,60,60)"}, {"Ellipse(DC,40,40,60,60)"}, {"CreateEllipticRgn(40,40,60,60)"}, true},
        {"ellipse", [](window &w, drawstyle s) { w.DrawEllipse(3, 4, 50, 61, s); },
         {"Ellipse(DC,3,4,50,61)"}, {"Ellipse(DC,3,4,50,61)"}, {"CreateEllipticRgn(3,4,50,61)"}, true},
        // A quarter from the right-most point up to the top.
        {"arc", [](window &w, drawstyle s) { w.DrawArc(0, 0, 100, 100, 0, 90, s, 0); },
         {"Pie(DC,0,0,100,100,100,50,50,0)"}, {"Arc(DC,0,0,100,100,100,50,50,0)"},
         {"Pie(DC,0,0,100,100,100,50,50,0)"}, false},
        {"line", [](window &w, drawstyle s) { w.DrawLine(3, 4, 50, 60, s); },
         {}, {"MoveToEx(DC,3,4,NULL)", "LineTo(DC,50,60)"}, {}, false},
        {"Bezier", [](window &w, drawstyle s) { w.DrawBezier(1, 2, 3, 4, 5, 6, 7, 8, s); },
         {}, {"PolyBezier(DC,*,4)"}, {}, false},
    };
}

TEST_F(DrawingTest, EachFigureMakesItsCallsInOrderInEveryStyleItTakes)
{
    auto w = OpenQuiet();
    for (const Figure &figure : Figures()) {
        for (drawstyle style : {STYLE_FILLED, STYLE_FRAME, STYLE_INVERTED}) {
            const std::vector<std::string> &calls =
                style == STYLE_FILLED ? figure.filled : style == STYLE_FRAME ? figure.frame : figure.inverted;
            if (calls.empty())
                continue; // refused; tested below
            SCOPED_TRACE(std::string(figure.name) + " in style " + std::to_string(style));
            std::vector<std::string> expected;
            if (style == STYLE_INVERTED && figure.invertsRegion) {
                // No pen or brush is selected on this path.
                expected = {PumpLine(*w), calls[0], "InvertRgn(DC,*)", "DeleteObject(*)"};
            } else {
                expected = {PumpLine(*w)};
                for (const std::string &line : SelectLines(*w, style))
                    expected.push_back(line);
                expected.insert(expected.end(), calls.begin(), calls.end());
                for (const std::string &line : RestoreLines(*w))
                    expected.push_back(line);
            }
            const int objects = hooks::LiveObjectCount();
            hooks::StartCallLog();
            const std::string printed = Printed([&] { figure.draw(*w, style); });
            const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
            EXPECT_EQ(printed, "");
            ExpectCalls(*w, expected, log);
            if (style == STYLE_INVERTED && figure.invertsRegion && log.size() == 4) {
                // The region made is the one inverted and the one deleted.
                const std::string region = log[2].substr(log[2].rfind(',') + 1);
                EXPECT_EQ(log[3], "DeleteObject(" + region);
            }
            EXPECT_EQ(hooks::LiveObjectCount(), objects);
        }
    }
}

TEST_F(DrawingTest, RefusedAndUnknownStylesWriteTheirLineAndDrawNothing)
{
    auto w = OpenQuiet();
    for (const Figure &figure : Figures()) {
        std::vector<drawstyle> refused = {static_cast<drawstyle>(0), static_cast<drawstyle>(4),
                                          static_cast<drawstyle>(-1)};
        if (figure.filled.empty())
            refused.insert(refused.end(), {STYLE_FILLED, STYLE_INVERTED});
        for (drawstyle style : refused) {
            SCOPED_TRACE(std::string(figure.name) + " in style " + std::to_string(style));
            hooks::StartCallLog();
            const std::string printed = Printed([&] { figure.draw(*w, style); });
            EXPECT_EQ(LibraryCalls(hooks::StopCallLog()), std::vector<std::string>{PumpLine(*w)});
            EXPECT_EQ(printed, invalidLine);
        }
    }
}

TEST_F(DrawingTest, AFailedDrawingCallIsReportedAndTheContextStillRestored)
{
    auto w = OpenQuiet();
    const HDC dc = WindowInspector::Active(*w);
    const auto own = OwnPenAndBrush(dc);
    const struct {
        const char *failing;
        std::function<void()> draw;
        const char *line;
    } cases[] = {
        {"Rectangle", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawRectangle!"},
        {"Rectangle", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawRectangle!"},
        {"Rectangle", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawRectangle!"},
        {"RoundRect", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_FILLED, 4, 4); },
         "Fatal Error: Failed to draw filled style in DrawRectangle (rounded)!"},
        {"RoundRect", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_FRAME, 4, 0); },
         "Fatal Error: Failed to draw frame style in DrawRectangle (rounded)!"},
        {"InvertRgn", [&] { w->DrawRectangle(1, 1, 9, 9, STYLE_INVERTED, 4, 4); },
         "Fatal Error: Failed to draw inverted style in DrawRectangle (rounded)!"},
        {"Polygon", [&] { w->DrawTriangle(1, 1, 9, 1, 1, 9, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawTriangle!"},
        {"Polygon", [&] { w->DrawTriangle(1, 1, 9, 1, 1, 9, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawTriangle!"},
        {"InvertRgn", [&] { w->DrawTriangle(1, 1, 9, 1, 1, 9, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawTriangle!"},
        {"Polygon", [&] { w->DrawPolygon(starX, starY, 5, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawPolygon!"},
        {"Polygon", [&] { w->DrawPolygon(starX, starY, 5, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawPolygon!"},
        {"InvertRgn", [&] { w->DrawPolygon(starX, starY, 5, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawPolygon!"},
        {"Ellipse", [&] { w->DrawCircle(9, 9, 5, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawCircle!"},
        {"Ellipse", [&] { w->DrawCircle(9, 9, 5, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawCircle!"},
        {"InvertRgn", [&] { w->DrawCircle(9, 9, 5, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawCircle!"},
        {"Ellipse", [&] { w->DrawEllipse(1, 1, 9, 9, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawEllipse!"},
        {"Ellipse", [&] { w->DrawEllipse(1, 1, 9, 9, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawEllipse!"},
        {"InvertRgn", [&] { w->DrawEllipse(1, 1, 9, 9, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawEllipse!"},
        {"Pie", [&] { w->DrawArc(1, 1, 9, 9, 0, 90, STYLE_FILLED); },
         "Fatal Error: Failed to draw filled style in DrawArc!"},
        {"Arc", [&] { w->DrawArc(1, 1, 9, 9, 0, 90, STYLE_FRAME); },
         "Fatal Error: Failed to draw frame style in DrawArc!"},
        {"Pie", [&] { w->DrawArc(1, 1, 9, 9, 0, 90, STYLE_INVERTED); },
         "Fatal Error: Failed to draw inverted style in DrawArc!"},
        {"MoveToEx", [&] { w->DrawLine(1, 1, 9, 9, STYLE_FRAME); }, "Fatal Error: Failed to MoveToEx in DrawLine!"},
        {"LineTo", [&] { w->DrawLine(1, 1, 9, 9, STYLE_FRAME); }, "Fatal Error: Failed to draw in DrawLine!"},
        {"PolyBezier", [&] { w->DrawBezier(1, 1, 3, 9, 6, 9, 9, 1, STYLE_FRAME); },
         "Fatal Error: Failed to draw in DrawBezier!"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const int objects = hooks::LiveObjectCount();
        hooks::FailNextCall(c.failing);
        EXPECT_EQ(Printed(c.draw), std::string(c.line) + "\n");
        hooks::ClearFailures();
        EXPECT_EQ(OwnPenAndBrush(dc), own);
        EXPECT_EQ(hooks::LiveObjectCount(), objects); // the region too is gone
    }
}

TEST_F(DrawingTest, ALineGoesOnToLineToAfterAFailedMoveToEx)
{
    auto w = OpenQuiet();
    hooks::FailNextCall("MoveToEx");
    hooks::FailNextCall("LineTo");
    hooks::StartCallLog();
    const std::string printed = Printed([&] { w->DrawLine(1, 2, 3, 4, STYLE_FRAME); });
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    EXPECT_EQ(printed, "Fatal Error: Failed to MoveToEx in DrawLine!\nFatal Error: Failed to draw in DrawLine!\n");
    EXPECT_EQ(CountCalls(log, "LineTo"), 1);
    EXPECT_EQ(CountCalls(log, "SelectObject"), 4);
}

TEST_F(DrawingTest, ArcRadialPointsFollowTheAngles)
{
    auto w = OpenQuiet();
    auto arcCall = [&](int x1, int y1, int x2, int y2, double start, double end, int unit) {
        hooks::StartCallLog();
        EXPECT_EQ(Printed([&] { w->DrawArc(x1, y1, x2, y2, start, end, STYLE_FRAME, unit); }), "");
        const std::vector<std::string> log = hooks::StopCallLog();
        for (const std::string &line : log) {
            if (CallName(line) == "Arc")
                return line.substr(line.find(',') + 1);
        }
        return std::string("no Arc call");
    };
    EXPECT_EQ(arcCall(0, 0, 100, 100, 45, 90, 0), "0,0,100,100,85,15,50,0)");
    EXPECT_EQ(arcCall(0, 0, 100, 100, 3.141592653589793, 0, 1), "0,0,100,100,0,50,100,50)");
    // Any unit but 1 is degrees.
    EXPECT_EQ(arcCall(0, 0, 100, 100, 180, -90, 7), "0,0,100,100,0,50,50,100)");
    // Equal angles give equal points, for which the device draws the whole ellipse; the
    // sine of 30 degrees falls just short of a half and truncates to 24.
    EXPECT_EQ(arcCall(0, 0, 100, 100, 30, 30, 0), "0,0,100,100,93,26,93,26)");
    // Odd sizes and negative halves truncate toward zero.
    EXPECT_EQ(arcCall(10, 20, 1, 3, 0, 270, 0), "10,20,1,3,1,11,5,3)");
    // The full coordinate range neither overflows nor leaves it.
    EXPECT_EQ(arcCall(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 180, 0),
              "-2147483648,-2147483648,2147483647,2147483647,2147483647,0,-2147483647,0)");
    EXPECT_EQ(arcCall(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 90, 270, 0),
              "2147483647,2147483647,-2147483648,-2147483648,0,2147483647,0,-2147483647)");
    // An angle that is no number points at the centre.
    EXPECT_EQ(arcCall(0, 0, 100, 100, std::nan(""), INFINITY, 0), "0,0,100,100,50,50,50,50)");
}

TEST_F(DrawingTest, CircleBoxesArePinnedToTheCoordinateRange)
{
    auto w = OpenQuiet();
    hooks::StartCallLog();
    EXPECT_EQ(Printed([&] {
                  w->DrawCircle(INT_MAX - 1, INT_MIN + 1, 10, STYLE_FRAME);
                  w->DrawCircle(0, 0, INT_MIN, STYLE_INVERTED);
              }),
              "");
    const std::vector<std::string> log = hooks::StopCallLog();
    std::vector<std::string> figures;
    for (const std::string &line : log) {
        if (CallName(line) == "Ellipse" || CallName(line) == "CreateEllipticRgn")
            figures.push_back(line.substr(line.find('(')));
    }
    const std::string dc = Hex(WindowInspector::Active(*w));
    EXPECT_EQ(figures, (std::vector<std::string>{"(" + dc + ",2147483636,-2147483648,2147483647,-2147483637)",
                                                 "(2147483647,2147483647,-2147483648,-2147483648)"}));
}

TEST_F(DrawingTest, PolygonCountsBeyondSixteenBitsOrBelowZeroAreRefused)
{
    auto w = OpenQuiet();
    std::vector<int> xs(65536), ys(65536);
    for (int i = 0; i < 65536; ++i) {
        xs[i] = i % 50;
        ys[i] = (i * 7) % 50;
    }
    for (int count : {65536, INT_MAX, -1, INT_MIN}) {
        SCOPED_TRACE(count);
        hooks::StartCallLog();
        allocations::Start();
        const std::string printed = Printed([&] { w->DrawPolygon(xs.data(), ys.data(), count, STYLE_FILLED); });
        EXPECT_TRUE(allocations::Stop().empty());
        EXPECT_EQ(LibraryCalls(hooks::StopCallLog()), std::vector<std::string>{PumpLine(*w)});
        EXPECT_EQ(printed, "Fatal Error: Invalid vertex count in DrawPolygon!\n");
    }
    // Points that are not there are refused the same way.
    EXPECT_EQ(Printed([&] { w->DrawPolygon(nullptr, ys.data(), 3, STYLE_FRAME); }),
              "Fatal Error: Invalid vertex count in DrawPolygon!\n");

    // The largest count the 16-bit index reaches is drawn whole.
    hooks::StartCallLog();
    allocations::Start();
    EXPECT_EQ(Printed([&] { w->DrawPolygon(xs.data(), ys.data(), 65535, STYLE_FRAME); }), "");
    EXPECT_EQ(allocations::Stop(), std::vector<size_t>{65535 * sizeof(POINT)});
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    EXPECT_EQ(CountCalls(log, "Polygon"), 1);
    for (const std::string &line : log) {
        if (CallName(line) == "Polygon") {
            EXPECT_EQ(line.substr(line.rfind(',')), ",65535)");
        }
    }
}

TEST_F(DrawingTest, TooFewPolygonPointsAreTheDevicesToRefuse)
{
    auto w = OpenQuiet();
    const int xs[] = {5};
    const int ys[] = {5};
    EXPECT_EQ(Printed([&] { w->DrawPolygon(xs, ys, 1, STYLE_FILLED); }),
              "Fatal Error: Failed to draw filled style in DrawPolygon!\n");
    EXPECT_EQ(Printed([&] { w->DrawPolygon(nullptr, nullptr, 0, STYLE_FRAME); }),
              "Fatal Error: Failed to draw frame style in DrawPolygon!\n");
}

TEST_F(DrawingTest, APolygonWithoutMemoryForItsPointsThrowsBeforeItPumps)
{
    auto w = OpenQuiet();
    const int objects = hooks::LiveObjectCount();
    hooks::StartCallLog();
    allocations::Start(1);
    EXPECT_THROW(w->DrawPolygon(starX, starY, 5, STYLE_INVERTED), error);
    allocations::Stop();
    EXPECT_TRUE(hooks::StopCallLog().empty());
    EXPECT_EQ(hooks::LiveObjectCount(), objects);
    try {
        allocations::Start(1);
        w->DrawPolygon(starX, starY, 5, STYLE_FILLED);
    } catch (error e) {
        EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
    }
    allocations::Stop();
}

TEST_F(DrawingTest, DrawPixelBorrowsAThinPenAndPutsTheOwnOneBack)
{
    auto w = OpenQuiet();
    w->SetPen(color(200, 100, 50), 7);
    const HPEN own = WindowInspector::Pen(*w);
    const int objects = hooks::LiveObjectCount();
    hooks::StartCallLog();
    w->DrawPixel(10, 11);
    const std::vector<std::string> log = LibraryCalls(hooks::StopCallLog());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "CreatePen(6,1,0x3264C8)");
    EXPECT_EQ(log[1], PumpLine(*w));
    EXPECT_EQ(CountCalls(log, "MoveToEx"), 1);
    EXPECT_TRUE(std::find(log.begin(), log.end(), "LineTo(" + Hex(WindowInspector::Active(*w)) + ",11,12)") !=
                log.end());
    EXPECT_EQ(CallName(log.back()), "DeleteObject");
    EXPECT_EQ(WindowInspector::Pen(*w), own);
    EXPECT_EQ(WindowInspector::PenWidth(*w), 7);
    EXPECT_EQ(hooks::LiveObjectCount(), objects);

    hooks::FailNextCall("DeleteObject");
    EXPECT_EQ(Printed([&] { w->DrawPixel(1, 1); }), "Fatal Error: Failed to delete penObject in SetPen!\n");
    EXPECT_EQ(WindowInspector::Pen(*w), own);
}

} // namespace
