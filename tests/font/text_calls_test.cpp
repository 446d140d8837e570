// The stand-in's Win32 text calls on a window DC: SetBkMode, SetTextAlign, MoveToEx,
// TextOutA and GetTextExtentPoint32A - placement and the current position, results,
// checked handles, injected failures and the call log.
#include "font_test_util.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <cstring>

using fonttest::Logfont;
using standin::gdi::Surface;

namespace {

constexpr int kWidth = 300, kHeight = 120;

class TextCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::test::UseHeadlessBackend();
        standin::test::ClearFailures();
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = "Text Test Window";
            registered = RegisterClassA(&wc) != 0;
        }
        hwnd = CreateWindowExA(0, "Text Test Window", "Text", 0x10CA0000, 0, 0, kWidth + 200, kHeight + 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(hwnd);
        dc = GetDC(hwnd);
        ASSERT_TRUE(dc);
        lf = Logfont("Arial", 20, FW_BOLD);
        font = CreateFontIndirectA(&lf);
        oldFont = SelectObject(dc, font);
        SetTextColor(dc, RGB(200, 0, 0));
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override
    {
        standin::test::ClearFailures();
        standin::test::StopCallLog();
        SelectObject(dc, oldFont);
        DeleteObject(font);
        ReleaseDC(hwnd, dc);
        DestroyWindow(hwnd);
    }

    Surface Client() const
    {
        int w = 0, h = 0;
        std::vector<uint32_t> pixels = standin::test::ReadClientSurface(hwnd, &w, &h);
        Surface s;
        s.width = w;
        s.height = h;
        s.pixels = std::move(pixels);
        return s;
    }
    // The client as it should look after drawing `text` with its cell's top-left at (x, y).
    Surface Expected(const Surface &before, int x, int y, const char *text, COLORREF color = RGB(200, 0, 0)) const
    {
        Surface s = before;
        standin::font::Realize(lf)->Draw(s, x, y, text, std::strlen(text), color);
        return s;
    }
    POINT Position() const
    {
        POINT old{-1, -1}, restore{};
        MoveToEx(dc, 0, 0, &old);
        MoveToEx(dc, old.x, old.y, &restore);
        return old;
    }
    LONG Width(const char *text) const { return standin::font::Realize(lf)->Extent(text, std::strlen(text)).cx; }

    HWND hwnd = nullptr;
    HDC dc = nullptr;
    LOGFONTA lf{};
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
};

TEST_F(TextCalls, UpdateCpDrawsAtTheCurrentPositionAndMovesItAlong)
{
    EXPECT_EQ(SetTextAlign(dc, TA_UPDATECP), static_cast<UINT>(TA_LEFT | TA_TOP | TA_NOUPDATECP));
    const Surface before = Client();
    EXPECT_TRUE(MoveToEx(dc, 9, 50, nullptr));
    EXPECT_TRUE(TextOutA(dc, 200, 10, "MISSLE COUNT:", 13)); // x and y are ignored
    EXPECT_EQ(Client().pixels, Expected(before, 9, 50, "MISSLE COUNT:").pixels);
    EXPECT_EQ(Position().x, 9 + Width("MISSLE COUNT:"));
    EXPECT_EQ(Position().y, 50);

    // A second call continues where the first ended.
    const Surface middle = Client();
    EXPECT_TRUE(TextOutA(dc, 0, 0, "17", 2));
    EXPECT_EQ(Client().pixels, Expected(middle, 9 + Width("MISSLE COUNT:"), 50, "17").pixels);
    EXPECT_EQ(Position().x, 9 + Width("MISSLE COUNT:17"));
}

TEST_F(TextCalls, AlignmentFlagsPlaceTheCellAroundTheReferencePoint)
{
    const standin::font::Metrics m = standin::font::Realize(lf)->GetMetrics();
    const LONG w = Width("Ab");
    struct Case {
        UINT align;
        int left, top; // where the cell lands for reference point (150, 60)
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 150, 60},
        {TA_RIGHT | TA_TOP, 150 - w, 60},
        {TA_CENTER | TA_BASELINE, 150 - w / 2, 60 - m.ascent},
        {TA_LEFT | TA_BOTTOM, 150, 60 - m.height},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.align);
        const Surface before = Client();
        SetTextAlign(dc, c.align);
        EXPECT_TRUE(TextOutA(dc, 150, 60, "Ab", 2));
        EXPECT_EQ(Client().pixels, Expected(before, c.left, c.top, "Ab").pixels);
        // Without TA_UPDATECP the current position stays.
        MoveToEx(dc, 1, 2, nullptr);
        TextOutA(dc, 150, 60, "Ab", 2);
        EXPECT_EQ(Position().x, 1);
    }
    // TA_RIGHT under TA_UPDATECP ends the text at the position and moves it back;
    // TA_CENTER centres on it and leaves it.
    MoveToEx(dc, 200, 10, nullptr);
    SetTextAlign(dc, TA_UPDATECP | TA_RIGHT);
    TextOutA(dc, 0, 0, "Ab", 2);
    EXPECT_EQ(Position().x, 200 - w);
    SetTextAlign(dc, TA_UPDATECP | TA_CENTER);
    TextOutA(dc, 0, 0, "Ab", 2);
    EXPECT_EQ(Position().x, 200 - w);
}

TEST_F(TextCalls, BackgroundModeDecidesWhetherTheCellIsFilled)
{
    EXPECT_EQ(SetBkMode(dc, OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 3), 0); // not a mode
    EXPECT_EQ(SetBkMode(dc, 0), 0);
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), TRANSPARENT); // the failures changed nothing

    // Blanks drawn opaquely over text paint the whole cell in the background colour
    // (white), transparently they leave it.
    SetBkMode(dc, TRANSPARENT);
    const Surface blank = Client();
    TextOutA(dc, 20, 20, "WWW", 3);
    const Surface inked = Client();
    ASSERT_NE(inked.pixels, blank.pixels);
    const char *blanks = "                "; // wider than the three W
    ASSERT_GT(Width(blanks), Width("WWW") + 2);
    TextOutA(dc, 20, 20, blanks, 16);
    EXPECT_EQ(Client().pixels, inked.pixels);
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 20, 20, blanks, 16);
    EXPECT_EQ(Client().pixels, blank.pixels);
}

TEST_F(TextCalls, ResultsFollowGdiForEveryArgument)
{
    const Surface before = Client();
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", -1));
    EXPECT_FALSE(TextOutA(dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(font), 0, 0, "x", 1)); // a font is not a DC
    EXPECT_TRUE(TextOutA(dc, 0, 0, "", 0));
    EXPECT_TRUE(TextOutA(dc, 0, 0, nullptr, 0));
    EXPECT_EQ(Client().pixels, before.pixels);

    SIZE size{-5, -5};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "VOLLEYS LEFT:", 13, &size));
    EXPECT_EQ(size.cx, Width("VOLLEYS LEFT:"));
    EXPECT_EQ(size.cy, 20);
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "VOLLEYS", 3, &size)); // only the counted bytes
    EXPECT_EQ(size.cx, Width("VOL"));
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "", 0, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    size = SIZE{-5, -5};
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "a", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", 1, nullptr));
    EXPECT_EQ(size.cx, -5);

    EXPECT_EQ(SetTextAlign(nullptr, TA_UPDATECP), GDI_ERROR);
    POINT old{};
    EXPECT_FALSE(MoveToEx(nullptr, 1, 1, &old));
    EXPECT_TRUE(MoveToEx(dc, 7, 8, nullptr));
    EXPECT_TRUE(MoveToEx(dc, -3, 4, &old));
    EXPECT_EQ(old.x, 7);
    EXPECT_EQ(old.y, 8);
}

TEST_F(TextCalls, TheSelectedFontMeasuresAndDrawsUntilAnotherIsSelected)
{
    SIZE bold{}, stock{};
    GetTextExtentPoint32A(dc, "MISSLE COUNT:", 13, &bold);
    SelectObject(dc, oldFont);
    GetTextExtentPoint32A(dc, "MISSLE COUNT:", 13, &stock);
    EXPECT_NE(bold.cx, stock.cx);
    EXPECT_NE(bold.cy, stock.cy);

    // Deleted while selected: GDI keeps it until it is deselected, and text still uses it.
    SelectObject(dc, font);
    EXPECT_TRUE(DeleteObject(font));
    SIZE after{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "MISSLE COUNT:", 13, &after));
    EXPECT_EQ(after.cx, bold.cx);
    SelectObject(dc, oldFont);
    font = nullptr;
}

TEST_F(TextCalls, InjectedFailuresReturnTheFailureAndChangeNothing)
{
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 5, 6, nullptr);
    const Surface before = Client();

    standin::test::FailNextCall("TextOutA");
    EXPECT_FALSE(TextOutA(dc, 0, 0, "fail", 4));
    EXPECT_EQ(Client().pixels, before.pixels);
    EXPECT_EQ(Position().x, 5);

    standin::test::FailNextCall("SetTextAlign");
    EXPECT_EQ(SetTextAlign(dc, TA_LEFT), GDI_ERROR);
    EXPECT_EQ(SetTextAlign(dc, TA_UPDATECP), static_cast<UINT>(TA_UPDATECP)); // was not changed

    standin::test::FailNextCall("SetBkMode");
    EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), TRANSPARENT);

    standin::test::FailNextCall("MoveToEx", 2);
    EXPECT_FALSE(MoveToEx(dc, 50, 50, nullptr));
    EXPECT_FALSE(MoveToEx(dc, 50, 50, nullptr));
    EXPECT_EQ(Position().x, 5);

    standin::test::FailNextCall("GetTextExtentPoint32A");
    SIZE size{-1, -1};
    EXPECT_FALSE(GetTextExtentPoint32A(dc, "a", 1, &size));
    EXPECT_EQ(size.cx, -1);
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "a", 1, &size)); // only the next call failed
}

TEST_F(TextCalls, CallLogShowsTheCountedText)
{
    standin::test::StartCallLog();
    const char unterminated[3] = {'1', '7', '!'};
    TextOutA(dc, 9, 550, "MISSLE COUNT:", 13);
    TextOutA(dc, 160, 550, unterminated, 2);
    SIZE size;
    GetTextExtentPoint32A(dc, "123", 3, &size);
    SetTextAlign(dc, TA_UPDATECP);
    SetBkMode(dc, TRANSPARENT);
    std::vector<std::string> log = standin::test::StopCallLog();
    ASSERT_EQ(log.size(), 5u);
    auto afterHandle = [](const std::string &line) { return line.substr(line.find(',')); };
    EXPECT_EQ(log[0].rfind("TextOutA(0x", 0), 0u);
    EXPECT_EQ(afterHandle(log[0]), ",9,550,MISSLE COUNT:,13)");
    EXPECT_EQ(afterHandle(log[1]), ",160,550,17,2)");
    EXPECT_EQ(log[2].rfind("GetTextExtentPoint32A(0x", 0), 0u);
    EXPECT_EQ(log[2].substr(log[2].find(','), 7), ",123,3,");
    EXPECT_EQ(afterHandle(log[3]), ",1)");
    EXPECT_EQ(afterHandle(log[4]), ",1)");
}

} // namespace
