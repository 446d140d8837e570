// The platform calls each library operation makes, in order, and the error line each
// failed call writes: one table of operation -> calls, printed text and objects left.
#include "fixture.h"

#include <climits>

namespace {

using Op = std::function<void(std::unique_ptr<window> &)>;

struct Row {
    std::string name;
    Op before;        // run before the log starts
    Op op;            // the operation logged
    std::string fail; // call made to fail once, or empty
    std::vector<std::string> calls;
    std::string printed;
    int objectsMade; // live GDI objects after minus before
};

const std::string kPump = "PeekMessageA(out,$wnd,0,0,1)";
const std::string kInvalid = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!\n";

std::vector<std::string> Cat(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Pump, put the style's objects in, the figure, then the context's own objects back.
std::vector<std::string> Styled(drawstyle style, const std::vector<std::string> &figure, const std::string &dc = "$dc",
                                const std::string &pen = "$pen", const std::string &brush = "$brush")
{
    std::vector<std::string> select;
    if (style == STYLE_FILLED)
        select = {"SelectObject(" + dc + "," + pen + ")", "SelectObject(" + dc + "," + brush + ")", "SetROP2(" + dc + ",13)"};
    else if (style == STYLE_FRAME)
        select = {"SelectObject(" + dc + "," + pen + ")", "GetStockObject(5)", "SelectObject(" + dc + ",$nullbrush)",
                  "SetROP2(" + dc + ",13)"};
    else
        select = {"GetStockObject(7)", "SelectObject(" + dc + ",$blackpen)", "GetStockObject(4)",
                  "SelectObject(" + dc + ",$blackbrush)", "SetROP2(" + dc + ",6)"};
    return Cat(Cat(Cat({kPump}, select), figure), {"SelectObject(" + dc + ",$blackpen)", "SelectObject(" + dc + ",$whitebrush)"});
}

const int starX[] = {12, 19, 2, 22, 5};
const int starY[] = {1, 14, 5, 5, 14};

struct Figure {
    std::string name; // as the error lines name it
    std::function<void(window &, drawstyle)> draw;
    std::string filled, frame, inverted; // the figure's call in each style; empty: refused
    std::string region;                  // inverted through a region made by this call
};

std::vector<Figure> Figures()
{
    return {
        {"DrawRectangle", [](window &w, drawstyle s) { w.DrawRectangle(1, 2, 30, 40, s, 0, 0); },
         "Rectangle($dc,1,2,30,40)", "Rectangle($dc,1,2,30,40)", "Rectangle($dc,1,2,30,40)", ""},
        // A zero corner width with a non-zero height still takes the rounded path.
        {"DrawRectangle (rounded)", [](window &w, drawstyle s) { w.DrawRectangle(1, 2, 30, 40, s, 0, 5); },
         "RoundRect($dc,1,2,30,40,0,5)", "RoundRect($dc,1,2,30,40,0,5)", "", "CreateRoundRectRgn(1,2,30,40,0,5)"},
        {"DrawTriangle", [](window &w, drawstyle s) { w.DrawTriangle(1, 2, 30, 4, 5, 60, s); }, "Polygon($dc,*,3)",
         "Polygon($dc,*,3)", "", "CreatePolygonRgn(*,3,2)"},
        {"DrawPolygon", [](window &w, drawstyle s) { w.DrawPolygon(starX, starY, 5, s); }, "Polygon($dc,*,5)",
         "Polygon($dc,*,5)", "", "CreatePolygonRgn(*,5,2)"},
        {"DrawCircle", [](window &w, drawstyle s) { w.DrawCircle(50, 50, 10, s); }, "Ellipse($dc,40,40,60,60)",
         "Ellipse($dc,40,40,60,60)", "", "CreateEllipticRgn(40,40,60,60)"},
        {"DrawEllipse", [](window &w, drawstyle s) { w.DrawEllipse(3, 4, 50, 61, s); }, "Ellipse($dc,3,4,50,61)",
         "Ellipse($dc,3,4,50,61)", "", "CreateEllipticRgn(3,4,50,61)"},
        // A quarter from the right-most point up to the top; 3/4 turn in degrees from 0.
        {"DrawArc", [](window &w, drawstyle s) { w.DrawArc(0, 0, 100, 100, 0, 90, s, 0); },
         "Pie($dc,0,0,100,100,100,50,50,0)", "Arc($dc,0,0,100,100,100,50,50,0)",
         "Pie($dc,0,0,100,100,100,50,50,0)", ""},
        {"DrawLine", [](window &w, drawstyle s) { w.DrawLine(3, 4, 50, 60, s); }, "", "LineTo($dc,50,60)", "", ""},
        {"DrawBezier", [](window &w, drawstyle s) { w.DrawBezier(1, 2, 3, 4, 5, 6, 7, 8, s); }, "",
         "PolyBezier($dc,*,4)", "", ""},
    };
}

std::vector<Row> FigureRows()
{
    std::vector<Row> rows;
    const char *styleWords[] = {"", "filled", "frame", "inverted"};
    for (const Figure &f : Figures()) {
        for (drawstyle style : {STYLE_FILLED, STYLE_FRAME, STYLE_INVERTED}) {
            const std::string call = style == STYLE_FILLED ? f.filled : style == STYLE_FRAME ? f.frame : f.inverted;
            const std::string id = f.name + " " + styleWords[style];
            const Op draw = [f, style](std::unique_ptr<window> &w) { f.draw(*w, style); };
            const bool viaRegion = style == STYLE_INVERTED && !f.region.empty();
            const bool simple = f.name != "DrawLine" && f.name != "DrawBezier";
            if (!viaRegion && call.empty()) {
                rows.push_back({id + " refused", {}, draw, "", {kPump}, kInvalid, 0});
                continue;
            }
            std::vector<std::string> calls;
            if (viaRegion)
                calls = {kPump, f.region, "InvertRgn($dc,$rgn)", "DeleteObject($rgn)"};
            else if (f.name == "DrawLine")
                calls = Styled(style, {"MoveToEx($dc,3,4,NULL)", call});
            else
                calls = Styled(style, {call});
            rows.push_back({id, {}, draw, "", calls, "", 0});
            const std::string failing = viaRegion ? "InvertRgn" : call.substr(0, call.find('('));
            const std::string message = simple ? "Fatal Error: Failed to draw " + std::string(styleWords[style]) +
                                                     " style in " + f.name + "!\n"
                                               : "Fatal Error: Failed to draw in " + f.name + "!\n";
            rows.push_back({id + " failing", {}, draw, failing, calls, message, 0});
        }
    }
    rows.push_back({"DrawLine failing MoveToEx", {}, [](auto &w) { w->DrawLine(3, 4, 50, 60, STYLE_FRAME); },
                    "MoveToEx", Styled(STYLE_FRAME, {"MoveToEx($dc,3,4,NULL)", "LineTo($dc,50,60)"}),
                    "Fatal Error: Failed to MoveToEx in DrawLine!\n", 0});
    rows.push_back({"DrawRectangle style 4", {}, [](auto &w) { w->DrawRectangle(1, 2, 3, 4, drawstyle(4), 0, 0); },
                    "", {kPump}, kInvalid, 0});
    rows.push_back({"DrawPolygon 65536 points", {}, [](auto &w) { w->DrawPolygon(starX, starY, 65536, STYLE_FILLED); },
                    "", {kPump}, "Fatal Error: Invalid vertex count in DrawPolygon!\n", 0});
    rows.push_back({"DrawPolygon -1 points", {}, [](auto &w) { w->DrawPolygon(starX, starY, -1, STYLE_FILLED); },
                    "", {kPump}, "Fatal Error: Invalid vertex count in DrawPolygon!\n", 0});
    rows.push_back({"DrawCircle pinned", {}, [](auto &w) { w->DrawCircle(INT_MAX, INT_MIN, 10, STYLE_FRAME); }, "",
                    Styled(STYLE_FRAME, {"Ellipse($dc,2147483637,-2147483648,2147483647,-2147483638)"}), "", 0});
    // Angles in radians (unit 1), running counter-clockwise on screen.
    rows.push_back({"DrawArc from 45 degrees", {}, [](auto &w) { w->DrawArc(0, 0, 100, 100, 45, 180, STYLE_FRAME, 0); },
                    "", Styled(STYLE_FRAME, {"Arc($dc,0,0,100,100,85,15,0,50)"}), "", 0});
    rows.push_back({"DrawArc radians", {}, [](auto &w) { w->DrawArc(0, 0, 100, 60, 3.14159265, 4.71238898, STYLE_FRAME, 1); },
                    "", Styled(STYLE_FRAME, {"Arc($dc,0,0,100,60,0,30,50,60)"}), "", 0});
    return rows;
}

const std::string kRed = "0xFF"; // RGB(255, 0, 0) as a COLORREF

std::vector<Row> StateRows()
{
    const std::string bold20 = "CreateFontIndirectA({20,0,0,0,700,1,1,0,1,0,0,0,0x10,Times New Roman})";
    const Op setFont = [](auto &w) { w->SetFont(20, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINED, FAMILY_ROMAN, "Times New Roman"); };
    return {
        {"SetPen", {}, [](auto &w) { w->SetPen(RED, 3); }, "",
         {kPump, "DeleteObject($pen)", "SetTextColor($dc," + kRed + ")", "CreatePen(6,3," + kRed + ")"}, "", 0},
        {"SetPen failing", {}, [](auto &w) { w->SetPen(RED, 3); }, "DeleteObject",
         {kPump, "DeleteObject($pen)", "SetTextColor($dc," + kRed + ")", "CreatePen(6,3," + kRed + ")"},
         "Fatal Error: Failed to delete penObject in SetPen!\n", 1},
        {"SetBrush", {}, [](auto &w) { w->SetBrush(0.5, 1.0, 0.0); }, "",
         {kPump, "DeleteObject($brush)", "CreateSolidBrush(0xFF7F)"}, "", 0},
        {"SetBrush failing", {}, [](auto &w) { w->SetBrush(RED); }, "DeleteObject",
         {kPump, "DeleteObject($brush)", "CreateSolidBrush(" + kRed + ")"},
         "Fatal Error: Failed to delete brshObject in SetBrush!\n", 1},
        {"SetFont", {}, setFont, "", {kPump, "DeleteObject($font)", bold20}, "", 0},
        {"SetFont failing", {}, setFont, "DeleteObject", {kPump, "DeleteObject($font)", bold20},
         "Fatal Error: Failed to delete fontObject in SetFont!\n", 1},
        // The face field holds 31 characters; the style bit 8 and an unknown family mean nothing.
        {"SetFont long face", {}, [](auto &w) { w->SetFont(-7, 8, 99, "0123456789012345678901234567890123456789"); }, "",
         {kPump, "DeleteObject($font)", "CreateFontIndirectA({-7,0,0,0,400,0,0,0,1,0,0,0,0x0,0123456789012345678901234567890})"},
         "", 0},
        {"SetTitle", {}, [](auto &w) { w->SetTitle(std::string("Zarn")); }, "", {kPump, "SetWindowTextA($wnd,Zarn)"}, "", 0},
        {"size queries", {}, [](auto &w) { int a, b; w->GetSize(a, b); w->GetWidth(); w->SetCloseWaitsForClick(false); }, "", {}, "", 0},
        // DrawPixel: a one-pixel line in a thin pen of its own; the window's pen comes back.
        {"DrawPixel", [](auto &w) { w->SetPen(RED, 7); }, [](auto &w) { w->DrawPixel(11, 12); }, "",
         Cat({"CreatePen(6,1," + kRed + ")"},
             Cat(Styled(STYLE_FRAME, {"MoveToEx($dc,11,12,NULL)", "LineTo($dc,12,13)"}, "$dc", "$thin"),
                 {"DeleteObject($thin)"})),
         "", 0},
        {"DrawPixel then a frame", {}, [](auto &w) { w->DrawPixel(INT_MAX, 0); w->DrawEllipse(1, 2, 3, 4, STYLE_FRAME); }, "",
         Cat(Cat(Cat({"CreatePen(6,1,0xFFFFFF)"},
                     Styled(STYLE_FRAME, {"MoveToEx($dc,2147483647,0,NULL)", "LineTo($dc,2147483647,1)"}, "$dc", "$thin")),
                 {"DeleteObject($thin)"}),
             Styled(STYLE_FRAME, {"Ellipse($dc,1,2,3,4)"})),
         "", 0},
    };
}

std::vector<Row> TextRows()
{
    const Op draw = [](auto &w) { w->DrawString(5, 6, "Hi"); };
    const std::vector<std::string> calls = {kPump, "SelectObject($dc,$font)", "SetBkMode($dc,1)", "SetTextAlign($dc,1)",
                                            "MoveToEx($dc,5,6,NULL)", "TextOutA($dc,5,6,Hi,2)",
                                            "SelectObject($dc,$sysfont)"};
    const std::vector<std::string> measure = {kPump, "SelectObject($dc,$font)", "GetTextExtentPoint32A($dc,12,2,*)",
                                              "SelectObject($dc,$sysfont)"};
    return {
        {"DrawString", {}, draw, "", calls, "", 0},
        {"DrawString null", {}, [](auto &w) { w->DrawString(5, 6, static_cast<const char *>(nullptr)); }, "", {}, "", 0},
        {"DrawNumber", {}, [](auto &w) { w->DrawNumber(5, 6, -42); }, "",
         {kPump, "SelectObject($dc,$font)", "SetBkMode($dc,1)", "SetTextAlign($dc,1)", "MoveToEx($dc,5,6,NULL)",
          "TextOutA($dc,5,6,-42,3)", "SelectObject($dc,$sysfont)"}, "", 0},
        {"DrawReal", {}, [](auto &w) { w->DrawReal(0, 0, 2.5); }, "",
         {kPump, "SelectObject($dc,$font)", "SetBkMode($dc,1)", "SetTextAlign($dc,1)", "MoveToEx($dc,0,0,NULL)",
          "TextOutA($dc,0,0,2.500000,8)", "SelectObject($dc,$sysfont)"}, "", 0},
        {"DrawString failing SetBkMode", {}, draw, "SetBkMode", calls, "Fatal Error: Failed to SetBkMode in DrawString!\n", 0},
        {"DrawString failing SetTextAlign", {}, draw, "SetTextAlign", calls, "Fatal Error: Failed to SetTextAlign in DrawString!\n", 0},
        {"DrawString failing MoveToEx", {}, draw, "MoveToEx", calls, "Fatal Error: Failed to MoveToEx in DrawString!\n", 0},
        {"DrawString failing TextOutA", {}, draw, "TextOutA", calls, "Fatal Error: Failed to TextOut in DrawString!\n", 0},
        {"GetNumberSize", {}, [](auto &w) { int a, b; w->GetNumberSize(a, b, 12); }, "", measure, "", 0},
        {"GetNumberSize failing", {}, [](auto &w) { int a = 9, b = 9; w->GetNumberSize(a, b, 12); EXPECT_EQ(a + b, 0); },
         "GetTextExtentPoint32A", measure, "Fatal Error: Failed to GetTextExtentPoint32 in GetStringSize!\n", 0},
    };
}

std::vector<Row> BufferRows()
{
    const Op on = [](auto &w) { w->SetBuffering(true); };
    const Op off = [](auto &w) { w->SetBuffering(false); };
    const std::vector<std::string> offCalls = {kPump, "SelectObject($mem,$initial)", "DeleteDC($mem)", "DeleteObject($buf)"};
    const std::vector<std::string> update = {kPump, "BitBlt($dc,0,0,199,99,$mem,0,0,0xCC0020)"};
    return {
        {"SetBuffering on", {}, on, "",
         Cat({kPump, "CreateDiscardableBitmap($dc,200,100)", "CreateCompatibleDC($dc)", "SelectObject($mem,$buf)",
              kPump, "DeleteObject($pen)", "SetTextColor($mem,0xFFFFFF)", "CreatePen(6,1,0xFFFFFF)",
              kPump, "DeleteObject($brush)", "CreateSolidBrush(0xFFFFFF)"},
             Styled(STYLE_FILLED, {"Rectangle($mem,0,0,199,99)"}, "$mem", "$pen2", "$brush2")),
         "", 2},
        {"SetBuffering on twice", on, on, "", {kPump}, "", 0},
        {"SetBuffering off", on, off, "", offCalls, "", -2},
        {"SetBuffering off failing DeleteDC", on, off, "DeleteDC", offCalls,
         "Fatal Error: Failed to delete dcActive in SetBuffering!\n", -1},
        {"SetBuffering off failing DeleteObject", on, off, "DeleteObject", offCalls,
         "Fatal Error: Failed to delete bmapBuffer in SetBuffering!\n", -1},
        {"UpdateBuffer", on, [](auto &w) { w->UpdateBuffer(); }, "", update, "", 0},
        {"UpdateBuffer failing", on, [](auto &w) { w->UpdateBuffer(); }, "BitBlt", update,
         "Fatal Error: Failed to BitBlt in UpdateBuffer!\n", 0},
        {"UpdateBuffer unbuffered", {}, [](auto &w) { w->UpdateBuffer(); }, "", {kPump}, "", 0},
        {"drawing while buffered", on, [](auto &w) { w->DrawEllipse(1, 2, 3, 4, STYLE_FRAME); }, "",
         Styled(STYLE_FRAME, {"Ellipse($mem,1,2,3,4)"}, "$mem"), "", 0},
        {"destroyed while buffered", on, [](auto &w) { w.reset(); }, "",
         {"ReleaseDC($wnd,$dc)", "DeleteDC($mem)", "DeleteObject($pen)", "DeleteObject($brush)", "DeleteObject($font)",
          "DeleteObject($buf)", "DestroyWindow($wnd)"}, "", -6},
    };
}

std::vector<Row> ReadRows()
{
    const Op read = [](auto &w) { w->GetColor(3, 4); };
    const std::vector<std::string> calls = {"CreateCompatibleDC($dc)", "CreateCompatibleBitmap($dc,1,1)",
                                            "SelectObject($tmp,$bmp)", kPump, "BitBlt($tmp,0,0,1,1,$dc,3,4,0xCC0020)",
                                            "GetDIBits($dc,$bmp,0,1,*,*,0)", "SelectObject($tmp,$one)",
                                            "DeleteObject($bmp)", "DeleteDC($tmp)"};
    return {
        {"GetColor", {}, read, "", calls, "", 0},
        {"GetColor failing BitBlt", {}, read, "BitBlt", calls, "Fatal Error: Failed to BltBit in GetColor!\n", 0},
        {"GetColor failing GetDIBits", {}, read, "GetDIBits", calls, "Fatal Error: Failed to GetDIBits in GetColor!\n", 0},
        {"GetColor failing DeleteObject", {}, read, "DeleteObject", calls,
         "Fatal Error: Failed to delete bmapTempBuffer in GetColor!\n", 1},
        {"GetColor failing DeleteDC", {}, read, "DeleteDC", calls, "Fatal Error: Failed to delete dcTempBuffer in GetColor!\n", 1},
    };
}

std::vector<Row> TeardownRows()
{
    const Op close = [](auto &w) { w.reset(); };
    const std::vector<std::string> calls = {"ReleaseDC($wnd,$dc)", "DeleteObject($pen)", "DeleteObject($brush)",
                                            "DeleteObject($font)", "DestroyWindow($wnd)"};
    return {
        {"destructor", {}, close, "", calls, "", -4},
        {"destructor failing ReleaseDC", {}, close, "ReleaseDC", calls,
         "Fatal Error: Failed to release dcScreen in window class destructor!\n", -4},
        // Every failed deletion is reported and the teardown goes on.
        {"destructor failing DeleteObject", {}, close, "DeleteObject:3", calls,
         "Fatal Error: Failed to delete penObject in window class destructor!\n"
         "Fatal Error: Failed to delete brshObject in window class destructor!\n"
         "Fatal Error: Failed to delete fontObject in window class destructor!\n", -1},
        {"buffered destructor failing DeleteDC", [](auto &w) { w->SetBuffering(true); }, close, "DeleteDC",
         {"ReleaseDC($wnd,$dc)", "DeleteDC($mem)", "DeleteObject($pen)", "DeleteObject($brush)", "DeleteObject($font)",
          "DeleteObject($buf)", "DestroyWindow($wnd)"},
         "Fatal Error: Failed to delete dcActive in window class destructor!\n", -4}, // the buffer stays in it
        {"buffered destructor failing DeleteObject", [](auto &w) { w->SetBuffering(true); }, close, "DeleteObject:4",
         {"ReleaseDC($wnd,$dc)", "DeleteDC($mem)", "DeleteObject($pen)", "DeleteObject($brush)", "DeleteObject($font)",
          "DeleteObject($buf)", "DestroyWindow($wnd)"},
         "Fatal Error: Failed to delete penObject in window class destructor!\n"
         "Fatal Error: Failed to delete brshObject in window class destructor!\n"
         "Fatal Error: Failed to delete fontObject in window class destructor!\n"
         "Fatal Error: Failed to delete bmapBuffer in window class destructor!\n", -2},
    };
}

void PrintTo(const Row &row, std::ostream *out) { *out << row.name; }

class LibCalls : public LibTest, public ::testing::WithParamInterface<Row> {};

TEST_P(LibCalls, AreMadeInOrderAndFailuresWriteTheirLine)
{
    const Row &row = GetParam();
    auto w = OpenQuiet();
    if (row.before)
        row.before(w);
    BindKnown();
    const int objects = hooks::LiveObjectCount();
    if (!row.fail.empty()) {
        const size_t colon = row.fail.find(':');
        hooks::FailNextCall(row.fail.substr(0, colon).c_str(),
                            colon == std::string::npos ? 1 : std::stoi(row.fail.substr(colon + 1)));
    }
    std::string printed;
    const std::vector<std::string> calls = Calls([&] { printed = Printed([&] { row.op(w); }); });
    hooks::ClearFailures();
    ExpectCalls(row.calls, calls);
    EXPECT_EQ(printed, row.printed);
    EXPECT_EQ(hooks::LiveObjectCount() - objects, row.objectsMade);
    w.reset();
    // A context whose deletion was made to fail is given back here, so none outlives the test.
    if (row.fail == "DeleteDC" && bound.count("$mem"))
        DeleteDC(reinterpret_cast<HDC>(static_cast<uintptr_t>(std::stoull(bound["$mem"], nullptr, 16))));
}

std::vector<Row> AllRows()
{
    std::vector<Row> rows = FigureRows();
    for (auto part : {StateRows(), TextRows(), BufferRows(), ReadRows(), TeardownRows()})
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Library, LibCalls, ::testing::ValuesIn(AllRows()), [](const auto &info) {
    std::string name;
    for (char c : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST_F(LibTest, ConstructionMakesItsCallsInOrderAndShowsTheWindowAsked)
{
    std::unique_ptr<window> w;
    const std::vector<std::string> calls = Calls([&] { w = std::make_unique<window>(1000, 600, 5, 5); });
    w->SetCloseWaitsForClick(false);
    BindKnown();
    const int outerWidth = 1000 + GetSystemMetrics(SM_CXEDGE);
    const int outerHeight = 600 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1;
    ExpectCalls({"GetModuleHandleA(NULL)", "LoadCursorA(NULL,#32512)", "GetStockObject(0)",
                 "RegisterClassA({0,*,0,0,0x400000,NULL,$cursor,$whitebrush,NULL,Quillgraph Library})",
                 "GetSystemMetrics(45)", "GetSystemMetrics(4)", "GetSystemMetrics(46)",
                 "CreateWindowExA(0,Quillgraph Library,Graphics Window,0x10CA0000,5,5," + std::to_string(outerWidth) +
                     "," + std::to_string(outerHeight) + ",NULL,NULL,0x400000,NULL)",
                 "ShowWindow($wnd,5)", "GetDC($wnd)", kPump, "SetTextColor($dc,0xFFFFFF)", "CreatePen(6,0,0xFFFFFF)",
                 kPump, "CreateSolidBrush(0xFFFFFF)", kPump, "CreateFontIndirectA({10,0,0,0,400,0,0,0,1,0,0,0,0x20,})"},
                calls);
    const hooks::WindowInfo info = hooks::GetWindowInfo(hwnd);
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(info.clientWidth, 1000);
    EXPECT_EQ(info.clientHeight, 600);
    EXPECT_EQ(hooks::LiveObjectCount(), 4); // the screen's context, pen, brush and font
}

TEST_F(LibTest, SizesAtTheEndsOfTheIntRangeArePinnedNotWrapped)
{
    for (const int size : {INT_MAX, INT_MIN}) {
        const std::string outer = size == INT_MAX ? "2147483647,2147483647" : std::to_string(size + 2) + "," + std::to_string(size + 20);
        const std::string edge = std::to_string(size == INT_MAX ? size - 1 : size);
        bool created = false, cleared = false, copied = false;
        for (const std::string &line : Calls([&] {
                 auto w = OpenQuiet(size, size);
                 w->SetBuffering(true);
                 w->UpdateBuffer();
             })) {
            created |= line.rfind("CreateWindowExA(", 0) == 0 && line.find(",10,10," + outer + ",") != std::string::npos;
            cleared |= line.rfind("Rectangle(", 0) == 0 && line.find(",0,0," + edge + "," + edge + ")") != std::string::npos;
            copied |= line.rfind("BitBlt(", 0) == 0 && line.find(",0,0," + edge + "," + edge + ",") != std::string::npos;
        }
        EXPECT_TRUE(created && cleared && copied) << size;
    }
}

} // namespace
