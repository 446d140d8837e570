// Window classes and windows: registration, sizes, the creation and destruction
// messages, DCs of a window, and the closing of a window through its title bar.
#include "fixture.h"

#include <climits>

using standin::test::GetWindowInfo;

class WindowTest : public StandinTest {};

namespace {

LRESULT CALLBACK OtherProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SeenMessages().push_back({hwnd, msg, wParam, lParam});
    if (msg == WM_CREATE)
        return -1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(WindowTest, ASecondRegistrationOfANameFailsAndTheFirstClassStays)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = OtherProc;
    wc.lpszClassName = "Twice Registered";
    ATOM first = RegisterClassA(&wc);
    EXPECT_NE(first, 0);
    wc.lpfnWndProc = RecordingProc;
    EXPECT_EQ(RegisterClassA(&wc), 0);
    wc.lpszClassName = "TWICE registered"; // class names ignore case
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    wc.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassA(&wc), 0);

    // Windows of that name still use the first registration's procedure.
    HWND hwnd = CreateWindowExA(0, "Twice Registered", "", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(SeenMessages().empty());
    EXPECT_EQ(GetWindowInfo(hwnd).className, "Twice Registered");
    DestroyWindow(hwnd);
    EXPECT_EQ(CreateWindowExA(0, "No Such Class", "", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowTest, AnOverlappedWindowIsNoLargerThanTheLargestTrackingSize)
{
    // The headless screen is 1920 x 1080; the largest tracking size adds a sizing frame and
    // two pixels on each side. A window asked to be larger is cut down to it, wherever it
    // is placed, even at the very end of the coordinate range.
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 1932);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXTRACK), 1092);
    HWND huge = MakeWindow(INT_MAX - 100, INT_MAX - 100, INT_MAX, INT_MAX);
    ASSERT_NE(huge, nullptr);
    auto info = GetWindowInfo(huge);
    EXPECT_EQ(info.outerWidth, 1932);
    EXPECT_EQ(info.outerHeight, 1092);
    EXPECT_EQ(info.clientWidth, 1932 - 2);
    EXPECT_EQ(info.clientHeight, 1092 - 19 - 1);
    // Input reaches it at its client positions.
    standin::test::InjectMove(huge, 3, 4);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, huge, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(msg.lParam, MAKELPARAM(3, 4));
    DestroyWindow(huge);
    // A pop-up window is not cut.
    HWND popup = CreateWindowExA(0, "Recording Window", "", WS_POPUP, 0, 0, 3000, 2000, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetWindowInfo(popup).outerWidth, 3000);
    DestroyWindow(popup);
}

TEST_F(WindowTest, CreationAndDestructionSendTheirMessagesInOrder)
{
    HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_GE(SeenMessages().size(), 2u);
    EXPECT_EQ(SeenMessages()[0].message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(SeenMessages()[1].message, static_cast<UINT>(WM_CREATE));
    auto *cs = reinterpret_cast<CREATESTRUCTA *>(SeenMessages()[1].lParam);
    EXPECT_NE(cs, nullptr);

    SeenMessages().clear();
    EXPECT_EQ(IsWindow(hwnd), TRUE);
    EXPECT_EQ(DestroyWindow(hwnd), TRUE);
    ASSERT_EQ(SeenMessages().size(), 2u);
    EXPECT_EQ(SeenMessages()[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(SeenMessages()[1].message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(SeenMessages()[0].hwnd, hwnd);

    // The handle is stale from now on, for every call that takes a window.
    EXPECT_EQ(IsWindow(hwnd), FALSE);
    EXPECT_EQ(DestroyWindow(hwnd), FALSE);
    EXPECT_EQ(SetWindowTextA(hwnd, "x"), FALSE);
    EXPECT_EQ(ShowWindow(hwnd, SW_SHOW), FALSE);
    EXPECT_EQ(GetDC(hwnd), nullptr);
    EXPECT_EQ(PostMessageA(hwnd, WM_USER, 0, 0), FALSE);
    EXPECT_EQ(SetCapture(hwnd), nullptr);
    EXPECT_FALSE(GetWindowInfo(hwnd).exists);
    EXPECT_EQ(standin::test::LiveWindowCount(), 0);
}

TEST_F(WindowTest, AProcedureRefusingWmCreateLeavesNoWindow)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = RefusingProc;
    wc.lpszClassName = "Refusing";
    RegisterClassA(&wc);
    EXPECT_EQ(CreateWindowExA(0, "Refusing", "", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(standin::test::LiveWindowCount(), 0);
    // It was told it is going away.
    EXPECT_EQ(SeenOf(WM_NCDESTROY).size(), 1u);
}

TEST_F(WindowTest, WindowDcsAreReleasedOnceAndDieWithTheirWindow)
{
    HWND hwnd = MakeWindow();
    HDC dc = GetDC(hwnd);
    ASSERT_NE(dc, nullptr);
    // The screen DC exists (programs take it as the reference for compatible DCs) and
    // goes back like any other.
    HDC screen = GetDC(nullptr);
    EXPECT_NE(screen, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(standin::test::LiveObjectCount(), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);

    HDC kept = GetDC(hwnd);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(kept, pen);
    DeleteObject(pen);
    DestroyWindow(hwnd);
    // The window took its DC along, and with it the pen it held.
    EXPECT_EQ(ReleaseDC(hwnd, kept), 0);
    EXPECT_EQ(standin::test::LiveObjectCount(), 0);
}

TEST_F(WindowTest, WmCloseFromTheTitleBarDestroysTheWindowThroughDefWindowProc)
{
    HWND hwnd = MakeWindow();
    SeenMessages().clear();
    standin::test::InjectClose(hwnd);
    EXPECT_EQ(IsWindow(hwnd), TRUE); // nothing happens until the program pumps
    EXPECT_TRUE(PumpOne(hwnd));
    ASSERT_GE(SeenMessages().size(), 3u);
    EXPECT_EQ(SeenMessages()[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(SeenMessages()[1].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(IsWindow(hwnd), FALSE);
    // Pumping a window that is gone is harmless and finds nothing.
    EXPECT_FALSE(PumpOne(hwnd));
}
