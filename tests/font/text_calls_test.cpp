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

} // namespace
