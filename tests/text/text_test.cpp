// The library's text operations: the device calls in order, what DrawString leaves on the
// context, pixels as the stand-in's fonts draw them, numbers, sizes, and the error lines.
#include "../window/support.h"

#include "font/font.h"

#include <algorithm>
#include <cfloat>
#include <cstring>

namespace {

// The arguments of one logged call, split at the commas (the texts here have none).
std::vector<std::string> CallArguments(const std::string &line)
{
    std::vector<std::string> arguments;
    const size_t open = line.find('(');
    const size_t close = line.rfind(')');
    std::string current;
    for (size_t i = open + 1; i < close; ++i) {
        if (line[i] == ',') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += line[i];
        }
    }
    arguments.push_back(current);
    return arguments;
}

std::vector<std::string> CallNames(const std::vector<std::string> &lines)
{
    std::vector<std::string> names;
    for (const std::string &line : lines) names.push_back(CallName(line));
    return names;
}

class TextTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w = OpenQuiet(1000, 600);
        // The game's status-line font and colour.
        w->SetFont(20, FONT_BOLD, 0, "Arial");
        w->SetPen(RED, 1);
    }
    void TearDown() override
    {
        hooks::StopCallLog();
        w.reset();
        WindowTest::TearDown();
    }

    HWND Hwnd() { return WindowInspector::Handle(*w); }
    HDC Active() { return WindowInspector::Active(*w); }

    standin::gdi::Surface Client()
    {
        standin::gdi::Surface s;
        s.pixels = hooks::ReadClientSurface(Hwnd(), &s.width, &s.height);
        return s;
    }
    // What the client shows after `text` is drawn at (x, y) in the status-line font.
    standin::gdi::Surface Expected(standin::gdi::Surface before, int x, int y, const char *text,
                                   COLORREF colour = RGB(255, 0, 0))
    {
        LOGFONTA lf{};
        lf.lfHeight = 20;
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(lf.lfFaceName, "Arial");
        standin::font::Realize(lf)->Draw(before, x, y, text, std::strlen(text), colour);
        return before;
    }
    // The text argument of the one TextOutA the operation made.
    std::string DrawnText(const std::function<void()> &draw)
    {
        hooks::StartCallLog();
        draw();
        for (const std::string &line : hooks::StopCallLog())
            if (CallName(line) == "TextOutA") return CallArguments(line)[3];
        return "<no TextOutA>";
    }

    std::unique_ptr<window> w;
};

TEST_F(TextTest, DrawStringMakesTheDeviceCallsInOrder)
{
    const std::string dc = Hex(Active());
    const std::string font = Hex(WindowInspector::Font(*w));
    hooks::StartCallLog();
    w->DrawString(9, 550, "MISSLE COUNT:");
    const std::vector<std::string> calls = LibraryCalls(hooks::StopCallLog());
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(CallName(calls[0]), "PeekMessageA");
    EXPECT_EQ(calls[1], "SelectObject(" + dc + "," + font + ")");
    EXPECT_EQ(calls[2], "SetBkMode(" + dc + ",1)");
    EXPECT_EQ(calls[3], "SetTextAlign(" + dc + ",1)");
    EXPECT_EQ(calls[4], "MoveToEx(" + dc + ",9,550,NULL)");
    EXPECT_EQ(calls[5], "TextOutA(" + dc + ",9,550,MISSLE COUNT:,13)");
    EXPECT_EQ(CallName(calls[6]), "SelectObject"); // the context's own font back
    EXPECT_EQ(CallArguments(calls[6])[0], dc);
    EXPECT_NE(CallArguments(calls[6])[1], font);
}

TEST_F(TextTest, ANullTextDoesNothingAtAllButAnEmptyOneIsDrawn)
{
    PostMessageA(Hwnd(), WM_USER, 0, 0);
    hooks::StartCallLog();
    w->DrawString(5, 5, static_cast<const char *>(nullptr));
    EXPECT_TRUE(hooks::StopCallLog().empty());
    // The message is still waiting: nothing was pumped.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, Hwnd(), WM_USER, WM_USER, PM_REMOVE));

    EXPECT_EQ(DrawnText([&] { w->DrawString(5, 5, std::string()); }), "");
}

TEST_F(TextTest, TextIsDrawnInThePenColourAndLeavesTheContextSetForMore)
{
    const standin::gdi::Surface before = Client();
    w->DrawString(9, 550, "MISSLE COUNT:");
    EXPECT_EQ(Client().pixels, Expected(before, 9, 550, "MISSLE COUNT:").pixels);

    // Left behind: transparent background, TA_UPDATECP, the position past the text.
    int width = 0, height = 0;
    w->GetStringSize(width, height, "MISSLE COUNT:");
    EXPECT_EQ(SetBkMode(Active(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextAlign(Active(), TA_UPDATECP), static_cast<UINT>(TA_UPDATECP));
    POINT position{};
    MoveToEx(Active(), 0, 0, &position);
    EXPECT_EQ(position.x, 9 + width);
    EXPECT_EQ(position.y, 550);

    // A new pen colour is the new text colour.
    w->SetPen(BLUE, 1);
    const standin::gdi::Surface middle = Client();
    w->DrawString(300, 20, std::string("blue \xE9"));
    EXPECT_EQ(Client().pixels, Expected(middle, 300, 20, "blue \xE9", RGB(0, 0, 255)).pixels);
}

TEST_F(TextTest, TheStatusLineDrawsAsTheGameAsksForIt)
{
    standin::gdi::Surface expected = Client();
    w->DrawString(9, 500, "ESC - EXIT      R - REFRESH      V - VOLLEYS");
    w->DrawString(9, 550, "MISSLE COUNT:");
    w->DrawNumber(160, 550, 0);
    w->DrawString(280, 550, "SHIPS SUNK:");
    w->DrawNumber(410, 550, 0);
    w->DrawString(510, 550, "VOLLEYS LEFT:");
    w->DrawNumber(660, 550, 7);
    w->DrawString(670, 550, "X");
    w->DrawNumber(680, 550, 18);
    expected = Expected(expected, 9, 500, "ESC - EXIT      R - REFRESH      V - VOLLEYS");
    expected = Expected(expected, 9, 550, "MISSLE COUNT:");
    expected = Expected(expected, 160, 550, "0");
    expected = Expected(expected, 280, 550, "SHIPS SUNK:");
    expected = Expected(expected, 410, 550, "0");
    expected = Expected(expected, 510, 550, "VOLLEYS LEFT:");
    expected = Expected(expected, 660, 550, "7");
    expected = Expected(expected, 670, 550, "X");
    expected = Expected(expected, 680, 550, "18");
    EXPECT_EQ(Client().pixels, expected.pixels);
}

TEST_F(TextTest, TextOverAFilledRectangleShowsTheRectangleBetweenTheGlyphs)
{
    w->SetPen(BLUE, 1);
    w->SetBrush(BLUE);
    w->DrawRectangle(0, 540, 1000, 600, STYLE_FILLED);
    w->SetPen(RED, 1);
    const standin::gdi::Surface before = Client();
    w->DrawString(9, 550, "SHIPS SUNK:");
    const standin::gdi::Surface after = Client();
    EXPECT_EQ(after.pixels, Expected(before, 9, 550, "SHIPS SUNK:").pixels);
    size_t red = 0, blue = 0;
    for (int y = 550; y < 570; ++y)
        for (int x = 9; x < 130; ++x) {
            red += after.Row(y)[x] == 0xFF0000u;
            blue += after.Row(y)[x] == 0x0000FFu;
        }
    EXPECT_GT(red, 100u);
    EXPECT_GT(blue, red);
}

TEST_F(TextTest, WithDoubleBufferingTheTextIsWhiteAndInTheBuffer)
{
    w->SetBuffering(true); // leaves a white pen, and so white text
    w->SetBrush(BLACK);
    w->DrawRectangle(0, 0, 400, 100, STYLE_FILLED);
    const standin::gdi::Surface screen = Client();
    w->DrawString(20, 30, "VOLLEYS LEFT:");
    EXPECT_EQ(Client().pixels, screen.pixels); // nothing reaches the screen yet

    standin::gdi::Surface drawn(400, 100, 0);
    drawn = Expected(drawn, 20, 30, "VOLLEYS LEFT:", RGB(255, 255, 255));
    for (int y = 25; y < 55; ++y)
        for (int x = 15; x < 200; ++x) {
            const bool white = drawn.Row(y)[x] == 0xFFFFFFu;
            ASSERT_TRUE(Same(w->GetColor(x, y), white ? WHITE : BLACK)) << x << "," << y;
        }
    w->SetBuffering(false);
}

TEST_F(TextTest, NumbersAreFormattedWithPercentDAndPercentF)
{
    EXPECT_EQ(DrawnText([&] { w->DrawNumber(0, 0, -42); }), "-42");
    EXPECT_EQ(DrawnText([&] { w->DrawNumber(0, 0, INT_MIN); }), "-2147483648");
    EXPECT_EQ(DrawnText([&] { w->DrawReal(0, 0, 2.5); }), "2.500000");
    EXPECT_EQ(DrawnText([&] { w->DrawReal(0, 0, 0.1234567); }), "0.123457");
    EXPECT_EQ(DrawnText([&] { w->DrawReal(0, 0, -1e-9); }), "-0.000000");

    // A "%f" text longer than the buffer is cut to its first 127 characters.
    char full[400];
    std::snprintf(full, sizeof full, "%f", DBL_MAX);
    ASSERT_GT(std::strlen(full), 127u);
    EXPECT_EQ(DrawnText([&] { w->DrawReal(0, 0, DBL_MAX); }), std::string(full, 127));
    EXPECT_EQ(DrawnText([&] { w->DrawReal(0, 0, -1e200); }).size(), 127u);
}

TEST_F(TextTest, SizesMatchTheTextsTheyFormat)
{
    int w1 = -1, h1 = -1, w2 = -1, h2 = -1;
    w->GetNumberSize(w1, h1, 123);
    w->GetStringSize(w2, h2, "123");
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(h1, h2);
    EXPECT_GT(w1, 0);
    EXPECT_EQ(h1, 20);

    w->GetRealSize(w1, h1, 2.5);
    w->GetStringSize(w2, h2, std::string("2.500000"));
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(h1, h2);

    char full[400];
    std::snprintf(full, sizeof full, "%f", 1e300);
    w->GetRealSize(w1, h1, 1e300);
    w->GetStringSize(w2, h2, std::string(full, 127).c_str());
    EXPECT_EQ(w1, w2);

    // Null and empty texts measure 0 x 0, through the same calls.
    hooks::StartCallLog();
    w->GetStringSize(w1, h1, static_cast<const char *>(nullptr));
    const std::vector<std::string> calls = LibraryCalls(hooks::StopCallLog());
    EXPECT_EQ(w1, 0);
    EXPECT_EQ(h1, 0);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(CallName(calls[0]), "PeekMessageA");
    EXPECT_EQ(CallName(calls[2]), "GetTextExtentPoint32A");
    EXPECT_EQ(CallArguments(calls[2])[1], "");
    EXPECT_EQ(CallArguments(calls[2])[2], "0");
    w->GetStringSize(w1, h1, std::string());
    EXPECT_EQ(w1, 0);
    EXPECT_EQ(h1, 0);
}

TEST_F(TextTest, FailedDeviceCallsAreReportedAndTheRestStillRuns)
{
    const standin::gdi::Surface before = Client();
    const std::string printed = Printed([&] {
        hooks::FailNextCall("SetBkMode");
        hooks::FailNextCall("SetTextAlign");
        w->DrawString(20, 30, "A");
    });
    EXPECT_EQ(printed, "Fatal Error: Failed to SetBkMode in DrawString!\n"
                       "Fatal Error: Failed to SetTextAlign in DrawString!\n");
    EXPECT_NE(Client().pixels, before.pixels); // the text was still drawn

    hooks::StartCallLog();
    const std::string moved = Printed([&] {
        hooks::FailNextCall("MoveToEx");
        hooks::FailNextCall("TextOutA");
        w->DrawString(20, 30, "B");
    });
    EXPECT_EQ(moved, "Fatal Error: Failed to MoveToEx in DrawString!\n"
                     "Fatal Error: Failed to TextOut in DrawString!\n");
    // The font goes back all the same.
    const std::vector<std::string> names = CallNames(LibraryCalls(hooks::StopCallLog()));
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[names.size() - 2], "TextOutA");
    EXPECT_EQ(names.back(), "SelectObject");

    int width = 7, height = 7;
    const std::string measured = Printed([&] {
        hooks::FailNextCall("GetTextExtentPoint32A");
        w->GetStringSize(width, height, "MISSLE COUNT:");
    });
    EXPECT_EQ(measured, "Fatal Error: Failed to GetTextExtentPoint32 in GetStringSize!\n");
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);

    // Nothing else prints on success.
    EXPECT_EQ(Printed([&] { w->DrawString(1, 1, "ok"); w->GetStringSize(width, height, "ok"); }), "");
}

TEST_F(TextTest, EachCallPumpsOnceBeforeSelectingTheFont)
{
    for (const auto &operation : std::vector<std::function<void()>>{
             [&] { w->DrawString(0, 0, "a"); }, [&] { w->DrawNumber(0, 0, 1); }, [&] { w->DrawReal(0, 0, 1); },
             [&] { int a, b; w->GetStringSize(a, b, "a"); }, [&] { int a, b; w->GetNumberSize(a, b, 1); },
             [&] { int a, b; w->GetRealSize(a, b, 1); }}) {
        hooks::StartCallLog();
        operation();
        const std::vector<std::string> names = CallNames(LibraryCalls(hooks::StopCallLog()));
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "PeekMessageA");
        EXPECT_EQ(std::count(names.begin(), names.end(), "PeekMessageA"), 1);
        EXPECT_EQ(names[1], "SelectObject");
        EXPECT_EQ(names.back(), "SelectObject");
    }
}

} // namespace
