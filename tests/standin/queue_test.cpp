// The message queue: filters, one message per peek, posted before input, the keyboard's
// WM_CHAR, capture coordinates, failure injection and the call log.
#include "fixture.h"

#include <climits>
#include <cstdint>

using namespace standin::test;

class QueueTest : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        hwnd = MakeWindow(200, 100);
        ASSERT_NE(hwnd, nullptr);
        SeenMessages().clear();
    }
    void TearDown() override
    {
        DestroyWindow(hwnd);
        StandinTest::TearDown();
    }
    // Pumps until the queue is empty; the messages the procedure saw, in order.
    std::vector<::Seen> PumpAll()
    {
        SeenMessages().clear();
        while (PumpOne(hwnd)) {
        }
        return SeenMessages();
    }
    // Presses and releases a key as the user would.
    void Type(int vk)
    {
        InjectKey(hwnd, vk, true);
        InjectKey(hwnd, vk, false);
    }
    // The characters the procedure got from WM_CHAR while pumping everything.
    std::vector<WPARAM> CharsFrom(const std::vector<::Seen> &seen)
    {
        std::vector<WPARAM> out;
        for (const ::Seen &s : seen)
            if (s.message == WM_CHAR)
                out.push_back(s.wParam);
        return out;
    }
    HWND hwnd = nullptr;
};

TEST_F(QueueTest, EachPeekTakesOneMessageInPostingOrderAndHonoursTheWindowFilter)
{
    HWND other = MakeWindow(50, 50, 300, 300, "Other");
    PostMessageA(hwnd, WM_USER + 1, 1, 10);
    PostMessageA(other, WM_USER + 2, 2, 20);
    PostMessageA(nullptr, WM_USER + 3, 3, 30); // to the thread, no window
    PostMessageA(hwnd, WM_USER + 4, 4, 40);

    MSG msg{};
    // PM_NOREMOVE looks without taking.
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 10);
    EXPECT_EQ(msg.hwnd, hwnd);
    // The window's filter skips the other window's and the thread's messages.
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 4u);
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    // A range filter, then no filter at all: the rest in their order.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3u); // -1: thread messages only
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // A destroyed window's messages go with it; peeking for it fails.
    PostMessageA(other, WM_USER, 0, 0);
    DestroyWindow(other);
    EXPECT_FALSE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PostedMessagesComeBeforeWaitingInput)
{
    InjectButton(hwnd, 0, true, 10, 10);
    PostMessageA(hwnd, WM_USER, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
}

TEST_F(QueueTest, TranslateMessagePostsTheCharacterBetweenKeyDownAndKeyUp)
{
    Type(VK_ESCAPE);
    auto seen = PumpAll();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(seen[1].wParam, 27u);
    EXPECT_EQ(seen[1].lParam, seen[0].lParam); // a copy of the key-down's
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(seen[2].lParam) >> 30, 3u); // previous state and transition bits
}

TEST_F(QueueTest, CharactersFollowTheKeyAndTheShiftAndControlState)
{
    for (int vk : std::initializer_list<int>{VK_RETURN, VK_BACK, VK_TAB, VK_SPACE, 'A', '7'})
        Type(vk);
    EXPECT_EQ(CharsFrom(PumpAll()), (std::vector<WPARAM>{13, 8, 9, 32, 'a', '7'}));

    InjectKey(hwnd, VK_SHIFT, true);
    Type('A');
    Type('1');
    Type(VK_OEM_2);
    InjectKey(hwnd, VK_SHIFT, false);
    Type('B');
    EXPECT_EQ(CharsFrom(PumpAll()), (std::vector<WPARAM>{'A', '!', '?', 'b'}));

    InjectKey(hwnd, VK_CONTROL, true);
    Type('C');
    Type('Z');
    InjectKey(hwnd, VK_CONTROL, false);
    EXPECT_EQ(CharsFrom(PumpAll()), (std::vector<WPARAM>{3, 26}));

    // Keys that produce no character: only their key-down and key-up reach the window.
    for (int vk : {VK_F5, VK_UP, VK_INSERT, VK_DELETE, VK_HOME, VK_F1})
        Type(vk);
    auto seen = PumpAll();
    EXPECT_TRUE(CharsFrom(seen).empty());
    EXPECT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(VK_F5));
    EXPECT_EQ(seen[2].wParam, static_cast<WPARAM>(VK_UP));

    // TranslateMessage reports key messages as handled, others not.
    MSG keyUp{hwnd, WM_KEYUP, 'A', 0, 0, {0, 0}};
    MSG click{hwnd, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_NE(TranslateMessage(&keyUp), FALSE);
    EXPECT_EQ(TranslateMessage(&click), FALSE);
    EXPECT_EQ(TranslateMessage(nullptr), FALSE);
}

TEST_F(QueueTest, ClicksCarryClientCoordinatesAndCaptureBringsReleasesFromOutside)
{
    // Without capture, a press outside the client area is not this window's.
    InjectButton(hwnd, 0, true, 250, 50);
    InjectMove(hwnd, 17, 23);
    InjectButton(hwnd, 1, true, 30, 40);
    auto seen = PumpAll();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(17, 23));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(seen[1].lParam, MAKELPARAM(30, 40));
    EXPECT_EQ(seen[1].wParam, static_cast<WPARAM>(MK_RBUTTON));

    // Captured: a release left of and above the window arrives as 16-bit words.
    EXPECT_EQ(SetCapture(hwnd), nullptr);
    EXPECT_EQ(CaptureWindow(), hwnd);
    InjectButton(hwnd, 1, false, -1, -3);
    seen = PumpAll();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_RBUTTONUP));
    EXPECT_EQ(LOWORD(seen[0].lParam), 65535);
    EXPECT_EQ(HIWORD(seen[0].lParam), 65533);
    EXPECT_EQ(seen[0].wParam, 0u);

    // Releasing the capture tells the window; a second release still succeeds.
    SeenMessages().clear();
    EXPECT_EQ(ReleaseCapture(), TRUE);
    EXPECT_EQ(SeenOf(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(ReleaseCapture(), TRUE);
    EXPECT_EQ(CaptureWindow(), nullptr);
    InjectButton(hwnd, 0, false, -1, 5);
    EXPECT_TRUE(PumpAll().empty());
}

TEST_F(QueueTest, InputAtTheEndsOfTheIntRangeArrivesAsItsLowWords)
{
    // Made-up input may lie anywhere: a window holding the capture gets the position's
    // 16-bit words, and the wheel its delta's, with nothing computed past 32 bits.
    SetCapture(hwnd);
    InjectButton(hwnd, 0, true, INT_MAX, INT_MIN);
    InjectWheel(hwnd, INT_MAX, INT_MIN, INT_MAX);
    auto seen = PumpAll();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(LOWORD(seen[0].lParam), 0xFFFF);
    EXPECT_EQ(HIWORD(seen[0].lParam), 0x0000);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(HIWORD(seen[1].wParam), static_cast<WORD>(int64_t{INT_MAX} * WHEEL_DELTA));
    ReleaseCapture();
}

TEST_F(QueueTest, SendMessageRunsTheProcedureAtOnceAndQueuesNothing)
{
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 7, 9), 0);
    ASSERT_EQ(SeenMessages().size(), 1u);
    EXPECT_EQ(SeenMessages()[0].message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(SeenMessages()[0].wParam, 7u);
    EXPECT_EQ(SeenMessages()[0].lParam, 9);
    EXPECT_TRUE(PumpAll().empty());
    // No window, no procedure: 0.
    EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(uintptr_t{0x5A5A0}), WM_USER, 0, 0), 0);
    EXPECT_EQ(SendMessageA(nullptr, WM_USER, 0, 0), 0);
    EXPECT_TRUE(SeenMessages().empty());
}

TEST_F(QueueTest, CaptureIsJudgedWhenTheInputIsReadNotWhenItArrives)
{
    // Press and release both wait before the program pumps; the press's handler
    // captures the mouse, so the release outside still reaches the window.
    InjectButton(hwnd, 0, true, 5, 5);
    InjectButton(hwnd, 0, false, -10, 500);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    SetCapture(hwnd);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(msg.lParam, MAKELPARAM(-10, 500));
    ReleaseCapture();
}

TEST_F(QueueTest, MouseMovesInARowCollapseIntoTheLatest)
{
    for (int i = 0; i < 50; ++i)
        InjectMove(hwnd, i, i);
    InjectButton(hwnd, 0, true, 60, 60);
    auto seen = PumpAll();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(49, 49));
}

TEST_F(QueueTest, InjectedFailuresMakeTheNamedCallFailWithoutEffect)
{
    FailNextCall("PostMessageA");
    EXPECT_EQ(PostMessageA(hwnd, WM_USER, 0, 0), FALSE);
    EXPECT_EQ(PostMessageA(hwnd, WM_USER, 0, 0), TRUE);
    MSG msg{};
    FailNextCall("PeekMessageA");
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)); // still there

    FailNextCall("CreateWindowExA");
    EXPECT_EQ(MakeWindow(), nullptr);
    EXPECT_EQ(LiveWindowCount(), 1);

    HDC dc = GetDC(hwnd);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    FailNextCall("DeleteObject", 2);
    EXPECT_EQ(DeleteObject(pen), FALSE);
    EXPECT_EQ(DeleteObject(pen), FALSE);
    EXPECT_EQ(DeleteObject(pen), TRUE);
    FailNextCall("ReleaseDC");
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_EQ(LiveObjectCount(), 1);
    FailNextCall("SetTextColor");
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    FailNextCall("SetROP2");
    EXPECT_EQ(SetROP2(dc, R2_NOT), 0);
    FailNextCall("SelectObject");
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
    FailNextCall("GetStockObject");
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), nullptr);
    FailNextCall("DestroyWindow");
    EXPECT_EQ(DestroyWindow(hwnd), FALSE);
    EXPECT_EQ(IsWindow(hwnd), TRUE);
    FailNextCall("GetSystemMetrics");
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 0);
    // Failures for one function leave the others alone, and ClearFailures ends them all.
    FailNextCall("ReleaseDC", 5);
    EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
    ClearFailures();
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
}

TEST_F(QueueTest, CloseFailureInsideDefWindowProcIsNotInjected)
{
    // DefWindowProcA destroys the window on WM_CLOSE with the stand-in's own call, which
    // an injected DestroyWindow failure (meant for the program's calls) does not touch.
    FailNextCall("DestroyWindow");
    InjectClose(hwnd);
    EXPECT_TRUE(PumpOne(hwnd));
    EXPECT_EQ(IsWindow(hwnd), FALSE);
}
