// window_native_test.cpp - the library's window on real Win32: what the window system
// shows of it, and clicks and keys travelling through the real message queue, capture and
// TranslateMessage. Public operations and plain Win32 calls only.
#include "graphics.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kClassName[] = "Quillgraph Library";

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK TakeLibraryWindow(HWND hwnd, LPARAM lParam)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != kClassName)
        return TRUE;
    reinterpret_cast<Search *>(lParam)->found = hwnd;
    return FALSE;
}

// The library's top-level window on this thread (other test programs may have their own
// windows of the same class on the same desktop).
HWND LibraryWindowOfThisThread()
{
    Search search;
    EnumThreadWindows(GetCurrentThreadId(), TakeLibraryWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class NativeWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The pointer stays away from the window, so no stray mouse messages arrive.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        win = std::make_unique<window>(kWidth, kHeight, 5, 5);
        win->SetCloseWaitsForClick(false);
        hwnd = LibraryWindowOfThisThread();
        ASSERT_NE(hwnd, nullptr);
        Settle();
    }
    void TearDown() override { win.reset(); }

    // Lets the library take what creating and showing the window left in the queue
    // (painting, activation), then empties both queues.
    void Settle()
    {
        MSG message;
        for (int i = 0; i < 200 && PeekMessageA(&message, hwnd, 0, 0, PM_NOREMOVE); ++i)
            win->PumpMessages();
        win->DiscardMouseClicks();
        win->DiscardKeyPresses();
    }

    // One key pressed and released, as the keyboard driver would post it; returns every
    // record the library queued for it once the queue has gone quiet.
    std::vector<std::pair<KeyKind, int>> Press(UINT virtualKey, bool extended = false)
    {
        const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
        const LPARAM down = 1 | LPARAM(scan) << 16 | (extended ? LPARAM(1) << 24 : 0);
        const LPARAM up = down | LPARAM(1) << 30 | LPARAM(1) << 31;
        PostMessageA(hwnd, WM_KEYDOWN, virtualKey, down);
        PostMessageA(hwnd, WM_KEYUP, virtualKey, up);
        std::vector<std::pair<KeyKind, int>> records;
        for (int i = 0; i < 20; ++i) {
            char value;
            const KeyKind kind = win->PollKeyPress(value);
            if (kind != KEY_NONE)
                records.emplace_back(kind, static_cast<unsigned char>(value));
        }
        return records;
    }

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    std::unique_ptr<window> win;
    HWND hwnd = nullptr;
};

using Records = std::vector<std::pair<KeyKind, int>>;

TEST_F(NativeWindow, IsAVisibleFixedSizeWindowOfTheLibraryClassAtItsPosition)
{
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "Graphics Window");
    EXPECT_TRUE(IsWindowVisible(hwnd));

    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the window must not be resizable";

    EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), LONG_PTR(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HCURSOR), LONG_PTR(LoadCursorA(nullptr, IDC_ARROW)));

    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.left, 5);
    EXPECT_EQ(outer.top, 5);
    // The outer size is made from the edge and caption metrics alone ...
    EXPECT_EQ(outer.right - outer.left, kWidth + GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(outer.bottom - outer.top,
              kHeight + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1);
    // ... so the real frame of a captioned, fixed-size window leaves a client area a few
    // pixels smaller than the drawing size (the stand-in's is exactly the drawing size).
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, DWORD(style), FALSE, 0);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, outer.right - outer.left - (frame.right - frame.left));
    EXPECT_EQ(client.bottom, outer.bottom - outer.top - (frame.bottom - frame.top));
    EXPECT_LE(client.right, kWidth);
    EXPECT_LE(client.bottom, kHeight);
}

TEST_F(NativeWindow, SetTitleShowsInTheTitleBar)
{
    win->SetTitle("Quen's Zarn");
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "Quen's Zarn");
}

TEST_F(NativeWindow, ClicksAreQueuedAtTheReleaseWhileThePressHoldsTheCapture)
{
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(31, 42));
    PostMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 50));
    PostMessageA(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(101, 51));

    int x;
    int y;
    // One message a call: the press is taken, nothing is queued, the window holds the mouse.
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(GetCapture(), hwnd);
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 31);
    EXPECT_EQ(y, 42);
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_EQ(win->GetButtonState(MOUSE_RIGHT, x, y), BUTTON_PRESSED);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_RIGHT);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, 51);
    EXPECT_EQ(win->GetButtonState(MOUSE_RIGHT, x, y), BUTTON_RELEASED);
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(x, -1);
}

TEST_F(NativeWindow, AReleaseLeftOfTheWindowArrivesAsAnUnsignedPosition)
{
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 7));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-1, 7));
    int x = 0;
    int y = 0;
    ClickKind kind = CLICK_NONE;
    for (int i = 0; i < 5 && kind == CLICK_NONE; ++i)
        kind = win->PollMouseClick(x, y);
    EXPECT_EQ(kind, CLICK_LEFT);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 7);
}

TEST_F(NativeWindow, KeysGoThroughTheRealTranslateMessage)
{
    EXPECT_EQ(Press(VK_ESCAPE), (Records{{KEY_ESCAPE, 1}, {KEY_CHARACTER, 27}}));
    EXPECT_EQ(Press('A'), (Records{{KEY_CHARACTER, 'a'}}));
    EXPECT_EQ(Press('7'), (Records{{KEY_CHARACTER, '7'}}));
    EXPECT_EQ(Press(VK_RETURN), (Records{{KEY_CHARACTER, 13}}));
    EXPECT_EQ(Press(VK_BACK), (Records{{KEY_CHARACTER, 8}}));
    EXPECT_EQ(Press(VK_F5), (Records{{KEY_FUNCTION, 5}}));
    EXPECT_EQ(Press(VK_UP, true), (Records{{KEY_NAVIGATION, NAV_UP}}));
    EXPECT_EQ(Press(VK_NEXT, true), (Records{{KEY_NAVIGATION, NAV_PAGE_DOWN}}));
    EXPECT_EQ(Press(VK_DELETE, true), Records{});
    EXPECT_EQ(Press(VK_SHIFT), Records{});
}

TEST_F(NativeWindow, ADiscardLeavesMessagesStillInTheQueueForLater)
{
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    int x;
    int y;
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_NONE); // the first press
    win->DiscardMouseClicks();                        // the first release, dropped at once
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_NONE); // the second press
    EXPECT_EQ(win->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 2);
}

TEST_F(NativeWindow, ClosingFromTheTitleBarEndsTheProgramWithStatusZero)
{
    EXPECT_EXIT(
        {
            PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            int x;
            int y;
            for (int i = 0; i < 1000; ++i)
                win->PollMouseClick(x, y);
            std::exit(3); // the window was not closed
        },
        testing::ExitedWithCode(0), "");
}

TEST(NativeWindowClose, TheLastWindowSaysSoAndWaitsForAClick)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    auto win = std::make_unique<window>(200, 100, 40, 40);
    const HWND hwnd = LibraryWindowOfThisThread();
    ASSERT_NE(hwnd, nullptr);
    // A click made before the close: the destructor drops clicks already queued, then
    // waits; this one's messages are still in the window system's queue, so it ends the wait.
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    testing::internal::CaptureStdout();
    win.reset();
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(said, "Click mouse in the graphics window to finish execution.\n");
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace
