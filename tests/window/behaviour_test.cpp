// What a program sees of the window: the click and key queues, the closing wait and the
// window count, double buffering on the screen, pixels read back, text measured, the clock.
#include "fixture.h"

#include <climits>
#include <cstdlib>

namespace {

const char kPrompt[] = "Click mouse in the graphics window to finish execution.\n";

struct Key {
    KeyKind kind;
    int value;
    bool operator==(const Key &o) const { return kind == o.kind && value == o.value; }
};

std::vector<Key> TakeKeys(window &w)
{
    LibTest::Pump(w, 12);
    std::vector<Key> keys;
    char value;
    for (KeyKind kind; (kind = w.PollKeyPress(value)) != KEY_NONE;)
        keys.push_back({kind, static_cast<unsigned char>(value)});
    return keys;
}

TEST_F(LibTest, ClicksComeOutInOrderWithTheirReleasePositionAndCaptureWraps)
{
    auto w = OpenQuiet();
    int x = 5, y = 5;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(x + y, -2);
    // Each call pumps one message: the press, the move, then the release.
    hooks::InjectButton(hwnd, 0, true, 10, 20);
    hooks::InjectMove(hwnd, 20, 30);
    hooks::InjectButton(hwnd, 0, false, 30, 40);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(w->GetButtonState(MOUSE_LEFT, x, y), BUTTON_PRESSED);
    EXPECT_EQ(x * 100 + y, 2030);
    EXPECT_EQ(w->GetButtonState(MOUSE_RIGHT, x, y), BUTTON_RELEASED);
    EXPECT_EQ(w->GetButtonState(MOUSE_LEFT, x, y), BUTTON_RELEASED);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x * 100 + y, 3040);

    Click(1, 3, 4);
    Click(0, 5, 6);
    hooks::InjectButton(hwnd, 0, true, 10, 10);
    hooks::InjectButton(hwnd, 0, false, -1, 7); // outside, but the window holds the capture
    PostMessageA(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 4)); // other buttons change nothing
    Pump(*w, 8);
    const struct {
        ClickKind kind;
        int x, y;
    } expected[] = {{CLICK_RIGHT, 3, 4}, {CLICK_LEFT, 5, 6}, {CLICK_LEFT, 65535, 7}, {CLICK_NONE, -1, -1}};
    for (const auto &click : expected) {
        EXPECT_EQ(w->PollMouseClick(x, y), click.kind);
        EXPECT_EQ(x, click.x);
        EXPECT_EQ(y, click.y);
    }
    EXPECT_EQ(hooks::CaptureWindow(), nullptr);
}

TEST_F(LibTest, KeysGiveTheirRecords)
{
    auto w = OpenQuiet();
    const struct {
        int virtualKey;
        std::vector<Key> records;
    } table[] = {
        {VK_ESCAPE, {{KEY_ESCAPE, 1}, {KEY_CHARACTER, 27}}}, {VK_F1 + 4, {{KEY_FUNCTION, 5}}},
        {VK_F12, {{KEY_FUNCTION, 12}}},  {VK_UP, {{KEY_NAVIGATION, NAV_UP}}},       {VK_DOWN, {{KEY_NAVIGATION, NAV_DOWN}}},
        {VK_LEFT, {{KEY_NAVIGATION, NAV_LEFT}}}, {VK_RIGHT, {{KEY_NAVIGATION, NAV_RIGHT}}},
        {VK_HOME, {{KEY_NAVIGATION, NAV_HOME}}}, {VK_END, {{KEY_NAVIGATION, NAV_END}}},
        {VK_PRIOR, {{KEY_NAVIGATION, NAV_PAGE_UP}}}, {VK_NEXT, {{KEY_NAVIGATION, NAV_PAGE_DOWN}}},
        {'A', {{KEY_CHARACTER, 'a'}}},   {VK_RETURN, {{KEY_CHARACTER, 13}}},      {VK_INSERT, {}}, {VK_SHIFT, {}},
    };
    for (const auto &row : table) {
        hooks::InjectKey(hwnd, row.virtualKey, true);
        hooks::InjectKey(hwnd, row.virtualKey, false);
        EXPECT_EQ(TakeKeys(*w), row.records) << row.virtualKey;
    }
    // Auto-repeat: every key-down counts.
    hooks::InjectKey(hwnd, VK_LEFT, true);
    hooks::InjectKey(hwnd, VK_LEFT, true);
    hooks::InjectKey(hwnd, VK_LEFT, false);
    EXPECT_EQ(TakeKeys(*w), (std::vector<Key>{{KEY_NAVIGATION, NAV_LEFT}, {KEY_NAVIGATION, NAV_LEFT}}));
}

TEST_F(LibTest, DiscardsPumpFirstAndLeaveTheOtherQueueAlone)
{
    auto w = OpenQuiet();
    Click(0, 1, 1);
    hooks::InjectKey(hwnd, 'X', true);
    Pump(*w, 8);
    Click(0, 2, 2); // still waiting in the platform's queue
    w->DiscardKeyPresses(); // pumps the press of the second click, drops the X
    int x, y;
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT); // pumps its release
    EXPECT_EQ(x, 1);
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(TakeKeys(*w), std::vector<Key>{});

    Click(0, 3, 3);
    Pump(*w, 1);
    hooks::InjectKey(hwnd, 'Y', true);
    w->DiscardMouseClicks(); // the pump takes the release first, then the click goes
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(TakeKeys(*w), (std::vector<Key>{{KEY_CHARACTER, 'y'}}));
}

TEST_F(LibTest, AwaitTakesWhatIsQueuedAndGivesUpWhenTheWindowIsGone)
{
    auto w = OpenQuiet();
    Click(1, 9, 8);
    hooks::InjectKey(hwnd, VK_HOME, true);
    Pump(*w, 4);
    int x, y;
    char value;
    std::vector<std::string> calls = Calls([&] {
        EXPECT_EQ(w->AwaitMouseClick(x, y), CLICK_RIGHT);
        EXPECT_EQ(w->AwaitKeyPress(value), KEY_NAVIGATION);
    });
    EXPECT_EQ(calls.size(), 2u); // one pump each
    EXPECT_EQ(x * 100 + y, 908);
    EXPECT_EQ(value, NAV_HOME);
}

TEST_F(LibTest, TheLastWindowPromptsAndWaitsForAFreshClick)
{
    auto w = std::make_unique<window>(200, 100, 0, 0);
    Click(0, 5, 5); // already queued when the destructor begins: must not end the wait
    Pump(*w, 2);
    hooks::InjectButton(hwnd, 1, true, 30, 40);
    hooks::InjectMove(hwnd, 31, 41);
    hooks::InjectButton(hwnd, 1, false, 32, 42);
    BindKnown();
    std::string printed;
    const std::vector<std::string> calls = Calls([&] { printed = Printed([&] { w.reset(); }); });
    const std::string pump = "PeekMessageA(out,$wnd,0,0,1)";
    ExpectCalls({"ReleaseDC($wnd,$dc)", "DeleteObject($pen)", "DeleteObject($brush)", "DeleteObject($font)", pump,
                 "SetCapture($wnd)", pump, pump, "ReleaseCapture()", "DestroyWindow($wnd)"},
                calls);
    EXPECT_EQ(printed, kPrompt);
}

TEST_F(LibTest, OnlyTheLastOfTwoWindowsWaitsAndTheCountFollows)
{
    auto first = std::make_unique<window>(200, 100, 0, 0);
    const HWND firstHandle = hwnd;
    auto second = std::make_unique<window>(300, 150, 50, 50);
    EXPECT_NE(firstHandle, hwnd);
    EXPECT_EQ(hooks::LiveWindowCount(), 2);
    EXPECT_EQ(Printed([&] { first.reset(); }), "");
    EXPECT_EQ(hooks::LiveWindowCount(), 1);
    // Input reaches the window it was made for.
    Click(0, 7, 8);
    int x = 0, y = 0;
    second->PollMouseClick(x, y);
    EXPECT_EQ(second->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x * 100 + y, 708);
    Click(0, 1, 1);
    EXPECT_EQ(Printed([&] { second.reset(); }), kPrompt);
    // A window made afterwards waits again, and without the wait there is no prompt.
    auto third = std::make_unique<window>(100, 100, 0, 0);
    EXPECT_TRUE(third->SetCloseWaitsForClick(false));
    EXPECT_EQ(Printed([&] { third.reset(); }), "");
}

TEST_F(LibTest, AWindowThatCouldNotBeMadeNeitherPromptsNorWaits)
{
    hooks::FailNextCall("CreateWindowExA");
    auto w = std::make_unique<window>(200, 100, 0, 0);
    int x, y;
    EXPECT_EQ(w->AwaitMouseClick(x, y), CLICK_NONE);
    char value;
    EXPECT_EQ(w->AwaitKeyPress(value), KEY_NONE);
    EXPECT_EQ(Printed([&] { w.reset(); }), "");
}

[[noreturn]] void CloseWhilePolling(bool inDestructor)
{
    HWND made = nullptr;
    hooks::OnWindowCreated([&](HWND h) { made = h; });
    {
        window w(200, 100, 0, 0);
        hooks::InjectClose(made);
        int x, y;
        for (int i = 0; !inDestructor && i < 100; ++i)
            w.PollMouseClick(x, y);
    }
    std::exit(3); // still running after the close had been pumped
}

TEST(LibDeathTest, ClosingTheWindowEndsTheProgramWithStatusZero)
{
    hooks::UseHeadlessBackend();
    EXPECT_EXIT(CloseWhilePolling(false), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(CloseWhilePolling(true), ::testing::ExitedWithCode(0), "");
}

TEST_F(LibTest, TheScreenShowsTheBufferOnlyAtUpdateAndNeverItsLastColumnAndRow)
{
    auto w = OpenQuiet();
    w->SetBrush(BLACK);
    w->SetPen(BLACK, 1);
    w->DrawRectangle(0, 0, 200, 100, STYLE_FILLED, 0, 0);
    EXPECT_FALSE(w->SetBuffering(true));
    EXPECT_EQ(w->GetColor(198, 98).ucRed, 255); // cleared in the buffer...
    EXPECT_EQ(PixelAt(5, 5), 0u);              // ...and not yet on the screen
    w->SetPen(RED, 1);
    w->DrawLine(0, 50, 200, 50, STYLE_FRAME);
    EXPECT_EQ(w->GetColor(10, 50).ucRed, 255);
    EXPECT_EQ(PixelAt(10, 50), 0u);
    w->UpdateBuffer();
    EXPECT_EQ(PixelAt(10, 50), 0xFF0000u);
    EXPECT_EQ(PixelAt(5, 5), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(199, 50), 0u); // the last column and row stay as they were
    EXPECT_EQ(PixelAt(10, 99), 0u);
    // Switching off drops what was not shown; drawing goes to the screen again.
    w->DrawRectangle(0, 0, 20, 20, STYLE_FILLED, 0, 0);
    EXPECT_TRUE(w->SetBuffering(false));
    EXPECT_EQ(PixelAt(5, 5), 0xFFFFFFu);
    w->DrawPixel(5, 5);
    EXPECT_EQ(PixelAt(5, 5), 0xFF0000u);
    EXPECT_EQ(w->GetColor(5, 5).ucRed, 255);
}

TEST_F(LibTest, PixelsReadBackAsDrawnInEachFormAndBlackOffTheArea)
{
    auto w = OpenQuiet();
    w->SetPen(color(51, 102, 255), 1);
    w->DrawPixel(7, 8);
    const color c = w->GetColor(7, 8);
    EXPECT_EQ(c.ucRed * 65536 + c.ucGreen * 256 + c.ucBlue, 0x3366FF);
    double r, g, b;
    w->GetColor(7, 8, r, g, b);
    EXPECT_DOUBLE_EQ(r, 0.2);
    EXPECT_DOUBLE_EQ(g, 0.4);
    EXPECT_DOUBLE_EQ(b, 1.0);
    EXPECT_DOUBLE_EQ(w->GetRed(7, 8), 0.2);
    EXPECT_DOUBLE_EQ(w->GetGreen(7, 8), 0.4);
    EXPECT_DOUBLE_EQ(w->GetBlue(7, 8), 1.0);
    EXPECT_DOUBLE_EQ(w->GetRed(7, 9), 1.0); // white around it
    for (const auto &[x, y] : {std::pair{-1, 0}, {0, -1}, {200, 0}, {0, 100}})
        EXPECT_EQ(w->GetColor(x, y).ucRed + w->GetColor(x, y).ucBlue, 0) << x << "," << y;
    hooks::FailNextCall("GetDIBits");
    Printed([&] { EXPECT_EQ(w->GetColor(7, 9).ucRed, 0); });
}

TEST_F(LibTest, TextIsDrawnInThePenColourAndMeasuredAsTheFontDrawsIt)
{
    auto w = OpenQuiet();
    w->SetFont(20, FONT_BOLD, FAMILY_SWISS, "Arial");
    int width, height;
    w->GetStringSize(width, height, "Score 12");
    int numberWidth, numberHeight;
    w->GetNumberSize(numberWidth, numberHeight, 12);
    int realWidth, realHeight;
    w->GetRealSize(realWidth, realHeight, 1.5);
    int textWidth, textHeight;
    w->GetStringSize(textWidth, textHeight, std::string("1.500000"));
    EXPECT_EQ(realWidth, textWidth);
    EXPECT_GT(width, numberWidth);
    EXPECT_EQ(height, numberHeight);
    int nullWidth = 9, nullHeight = 0;
    w->GetStringSize(nullWidth, nullHeight, static_cast<const char *>(nullptr));
    EXPECT_EQ(nullWidth, 0);
    EXPECT_EQ(nullHeight, 0); // measured as the empty text

    w->SetBrush(BLUE);
    w->SetPen(BLUE, 1);
    w->DrawRectangle(0, 0, 200, 100, STYLE_FILLED, 0, 0);
    w->SetPen(RED, 1);
    w->DrawNumber(10, 20, 12);
    // Ink only inside the measured box; blue shows between the glyphs (no background).
    int red = 0;
    const std::vector<uint32_t> s = Surface();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = s[y * 200 + x];
            if (p != 0x0000FFu) {
                ++red;
                EXPECT_TRUE(x >= 10 && x < 10 + numberWidth && y >= 20 && y < 20 + numberHeight) << x << "," << y;
            }
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(PixelAt(10 + numberWidth / 2, 20), 0x0000FFu);
}

TEST(Timing, DelaySleepsWithoutPumpingAndIntervalsKeepOneSharedLastTime)
{
    hooks::StartCallLog();
    Delay(3);
    EXPECT_EQ(hooks::StopCallLog(), std::vector<std::string>{"Sleep(3)"});
    EXPECT_TRUE(IntervalElapsed(0));
    EXPECT_FALSE(IntervalElapsed(UINT_MAX)); // just after a true, 2^32 - 1 ms cannot have passed
    hooks::UseVirtualClock(true);
    EXPECT_TRUE(IntervalElapsed(0));
    const unsigned int start = ElapsedMillis();
    EXPECT_FALSE(IntervalElapsed(50));
    Delay(49);
    EXPECT_FALSE(IntervalElapsed(50));
    Delay(1);
    EXPECT_TRUE(IntervalElapsed(50));
    EXPECT_FALSE(IntervalElapsed(50));
    EXPECT_EQ(ElapsedMillis() - start, 50u);
    hooks::UseVirtualClock(false);
}

} // namespace
