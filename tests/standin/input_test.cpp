// Input while the program is not pumping: during Sleep, after a long idle spin, from
// another thread; the key-to-character table; drawing reaching the window's surface.
#include "fixture.h"


#include <thread>

using namespace standin::test;

class InputTest : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        hwnd = MakeWindow(120, 80);
        ASSERT_NE(hwnd, nullptr);
        SeenMessages().clear();
    }
    void TearDown() override
    {
        DestroyWindow(hwnd);
        StandinTest::TearDown();
    }
    HWND hwnd = nullptr;
};

TEST_F(InputTest, InputMadeDuringSleepWaitsInTheQueueUndispatched)
{
    InjectButton(hwnd, 0, true, 3, 4);
    InjectKey(hwnd, 'X', true);
    Sleep(5);
    EXPECT_TRUE(SeenMessages().empty());
    EXPECT_TRUE(PumpOne(hwnd));
    EXPECT_TRUE(PumpOne(hwnd));
    ASSERT_EQ(SeenMessages().size(), 2u);
    EXPECT_EQ(SeenMessages()[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(SeenMessages()[1].message, static_cast<UINT>(WM_KEYDOWN));
}

TEST_F(InputTest, AfterALongEmptySpinInputStillArrivesAtTheNextPeek)
{
    MSG msg{};
    // Enough empty peeks for the queue to start waiting for input between them.
    for (int i = 0; i < 3000; ++i)
        ASSERT_FALSE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    InjectButton(hwnd, 0, false, 7, 8);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(msg.lParam, MAKELPARAM(7, 8));
    // Posted messages are never held back by the wait either.
    for (int i = 0; i < 3000; ++i)
        PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE);
    PostMessageA(hwnd, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
}

TEST_F(InputTest, InputFromAnotherThreadReachesASpinningProgramInOrder)
{
    std::thread user([&] {
        for (int i = 0; i < 20; ++i) {
            InjectButton(hwnd, 0, true, i, i);
            InjectButton(hwnd, 0, false, i, i);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    std::vector<LPARAM> releases;
    while (releases.size() < 20) {
        MSG msg;
        if (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE) && msg.message == WM_LBUTTONUP)
            releases.push_back(msg.lParam);
    }
    user.join();
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(releases[static_cast<size_t>(i)], MAKELPARAM(i, i));
}

TEST_F(InputTest, AltTurnsKeysIntoSystemKeysAndCapsLockTogglesOnPress)
{
    InjectKey(hwnd, VK_MENU, true);
    InjectKey(hwnd, 'F', true);
    InjectKey(hwnd, 'F', false);
    InjectKey(hwnd, VK_MENU, false);
    InjectKey(hwnd, VK_CAPITAL, true);
    InjectKey(hwnd, VK_CAPITAL, false);
    InjectKey(hwnd, 'G', true);
    while (PumpOne(hwnd)) {
    }
    std::vector<UINT> kinds;
    for (const ::Seen &s : SeenMessages())
        kinds.push_back(s.message);
    EXPECT_EQ(kinds, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP,
                                        WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(SeenOf(WM_SYSCHAR)[0].wParam, static_cast<WPARAM>('f'));
    EXPECT_EQ(SeenOf(WM_CHAR)[0].wParam, static_cast<WPARAM>('G'));
}
