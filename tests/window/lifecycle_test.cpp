// Building and tearing down the window: the platform calls in order, the error lines of a
// failed teardown, the closing wait, several windows, and windows that are not there.
#include "support.h"

#include "window/windowproc.h"
#include "../images/allocation_failures.h"

#include <climits>
#include <cstdlib>

namespace {

const char prompt[] = "Click mouse in the graphics window to finish execution.\n";

TEST_F(WindowTest, ConstructionMakesItsCallsInOrderAndShowsTheWindowAsked)
{
    const std::string module = Hex(GetModuleHandleA(nullptr));
    const std::string cursor = Hex(LoadCursorA(nullptr, IDC_ARROW));
    const std::string background = Hex(GetStockObject(WHITE_BRUSH));
    const int outerWidth = 1000 + GetSystemMetrics(SM_CXEDGE);
    const int outerHeight = 600 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1;

    hooks::StartCallLog();
    auto w = std::make_unique<window>(1000, 600, 5, 5);
    const std::vector<std::string> log = hooks::StopCallLog();
    w->SetCloseWaitsForClick(false);

    const std::string handle = Hex(WindowInspector::Handle(*w));
    const std::string dc = Hex(WindowInspector::Screen(*w));
    const std::string pump = "PeekMessageA(out," + handle + ",0,0,1)";
    const std::vector<std::string> expected = {
        "GetModuleHandleA(NULL)",
        "LoadCursorA(NULL,#32512)",
        "GetStockObject(0)",
        "RegisterClassA({0," + Hex(reinterpret_cast<const void *>(GraphicsWindowProc)) + ",0,0," +
            module + ",NULL," + cursor + "," + background + ",NULL,Quillgraph Library})",
        "GetSystemMetrics(45)",
        "GetSystemMetrics(4)",
        "GetSystemMetrics(46)",
        "CreateWindowExA(0,Quillgraph Library,Graphics Window,0x10CA0000,5,5," +
            std::to_string(outerWidth) + "," + std::to_string(outerHeight) + ",NULL,NULL," +
            module + ",NULL)",
        "ShowWindow(" + handle + ",5)",
        "GetDC(" + handle + ")",
        pump, // white pen of width 0, white text
        "SetTextColor(" + dc + ",0xFFFFFF)",
        "CreatePen(6,0,0xFFFFFF)",
        pump, // white brush
        "CreateSolidBrush(0xFFFFFF)",
        pump, // size 10, no style, swiss, no face
        "CreateFontIndirectA({10,0,0,0,400,0,0,0,1,0,0,0,0x20,})",
    };
    EXPECT_EQ(LibraryCalls(log), expected);

    const HWND hwnd = WindowInspector::Handle(*w);
    const hooks::WindowInfo info = hooks::GetWindowInfo(hwnd);
    EXPECT_TRUE(info.exists);
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(info.title, "Graphics Window");
    EXPECT_EQ(info.className, "Quillgraph Library");
    EXPECT_EQ(info.style, 0x10CA0000u);
    EXPECT_EQ(info.x, 5);
    EXPECT_EQ(info.y, 5);
    EXPECT_EQ(info.outerWidth, 1000 + GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(info.outerHeight,
              600 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1);

    // The size asked for, whatever the client area came out as.
    EXPECT_EQ(w->GetWidth(), 1000);
    EXPECT_EQ(w->GetHeight(), 600);
    int width = 0, height = 0;
    w->GetSize(width, height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 600);
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_EQ(windowRegistry->FindWindowObject(hwnd), w.get());
}

TEST_F(WindowTest, SizesAtTheEndsOfTheIntRangeArePinnedNotWrapped)
{
    // The outer size adds the frame metrics to the drawing size, and double buffering
    // works with the area's far edge, one less than its size: at the ends of the int range
    // these stay at the end instead of wrapping round to the other.
    auto callsNamed = [](const std::vector<std::string> &log, const std::string &name) {
        std::vector<std::string> lines;
        for (const std::string &line : log)
            if (CallName(line) == name)
                lines.push_back(line.substr(line.find('(')));
        return lines;
    };
    for (const int size : {INT_MAX, INT_MIN}) {
        hooks::StartCallLog();
        {
            auto w = OpenQuiet(size, size);
            EXPECT_EQ(w->GetWidth(), size);
            w->SetBuffering(true);
            w->UpdateBuffer();
        }
        const std::vector<std::string> log = hooks::StopCallLog();
        // The frame adds 2 across and 20 down; at the top of the range nothing is added.
        const std::string outer = size == INT_MAX ? std::to_string(INT_MAX) + "," + std::to_string(INT_MAX)
                                                  : std::to_string(size + 2) + "," + std::to_string(size + 20);
        const std::vector<std::string> created = callsNamed(log, "CreateWindowExA");
        ASSERT_EQ(created.size(), 1u);
        EXPECT_NE(created[0].find(",10,10," + outer + ","), std::string::npos) << created[0];
        const std::vector<std::string> rectangles = callsNamed(log, "Rectangle");
        ASSERT_EQ(rectangles.size(), 1u);
        const std::string edge = std::to_string(size == INT_MAX ? size - 1 : size);
        EXPECT_NE(rectangles[0].find(",0,0," + edge + "," + edge + ")"), std::string::npos) << rectangles[0];
        const std::vector<std::string> blits = callsNamed(log, "BitBlt");
        ASSERT_EQ(blits.size(), 1u);
        EXPECT_NE(blits[0].find(",0,0," + edge + "," + edge + ","), std::string::npos) << blits[0];
    }
}

TEST_F(WindowTest, DestructionReleasesDeletesThenDestroys)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    const std::vector<std::string> expected = {
        "ReleaseDC(" + Hex(hwnd) + "," + Hex(WindowInspector::Screen(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Pen(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Brush(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Font(*w)) + ")",
        "DestroyWindow(" + Hex(hwnd) + ")",
    };
    hooks::StartCallLog();
    const std::string printed = Printed([&] { w.reset(); });
    const std::vector<std::string> log = hooks::StopCallLog();

    EXPECT_EQ(printed, "");
    EXPECT_EQ(LibraryCalls(log), expected);
    EXPECT_FALSE(hooks::GetWindowInfo(hwnd).exists);
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST_F(WindowTest, EveryFailedReleaseIsReportedAndTeardownGoesOn)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    // A back buffer's context and bitmap, as far as the destructor can tell; their
    // deletion is made to fail below, so the handles are never looked at.
    WindowInspector::Active(*w) = reinterpret_cast<HDC>(static_cast<uintptr_t>(0xdc));
    WindowInspector::Buffer(*w) = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(0x5eed));
    hooks::FailNextCall("ReleaseDC");
    hooks::FailNextCall("DeleteDC");
    hooks::FailNextCall("DeleteObject", 4);

    const std::string printed = Printed([&] { w.reset(); });
    EXPECT_EQ(printed,
              "Fatal Error: Failed to release dcScreen in window class destructor!\n"
              "Fatal Error: Failed to delete dcActive in window class destructor!\n"
              "Fatal Error: Failed to delete penObject in window class destructor!\n"
              "Fatal Error: Failed to delete brshObject in window class destructor!\n"
              "Fatal Error: Failed to delete fontObject in window class destructor!\n"
              "Fatal Error: Failed to delete bmapBuffer in window class destructor!\n");
    EXPECT_FALSE(hooks::GetWindowInfo(hwnd).exists);
}

TEST_F(WindowTest, TitleTakesBothForms)
{
    auto w = OpenQuiet();
    const HWND hwnd = WindowInspector::Handle(*w);
    hooks::StartCallLog();
    w->SetTitle("Quen's Zarn");
    const std::vector<std::string> calls = LibraryCalls(hooks::StopCallLog());
    EXPECT_EQ(calls, (std::vector<std::string>{"PeekMessageA(out," + Hex(hwnd) + ",0,0,1)",
                                               "SetWindowTextA(" + Hex(hwnd) + ",Quen's Zarn)"}));
    EXPECT_EQ(hooks::GetWindowInfo(hwnd).title, "Quen's Zarn");

    w->SetTitle(std::string("Score: 12"));
    EXPECT_EQ(hooks::GetWindowInfo(hwnd).title, "Score: 12");
    w->SetTitle(std::string());
    EXPECT_EQ(hooks::GetWindowInfo(hwnd).title, "");
}

TEST_F(WindowTest, SizeQueriesAndTheCloseFlagDoNotPump)
{
    auto w = OpenQuiet();
    hooks::StartCallLog();
    int width, height;
    w->GetWidth();
    w->GetHeight();
    w->GetSize(width, height);
    EXPECT_FALSE(w->SetCloseWaitsForClick(true));
    EXPECT_TRUE(w->SetCloseWaitsForClick(false));
    EXPECT_TRUE(hooks::StopCallLog().empty());
}

TEST_F(WindowTest, LastWindowWaitsForAFreshClickAfterThePrompt)
{
    auto w = std::make_unique<window>(200, 100, 0, 0);
    const HWND hwnd = WindowInspector::Handle(*w);
    // A click already in the queue when the destructor begins must not end the wait.
    Click(hwnd, 0, 5, 5);
    Pump(*w, 2);
    // The fresh click: its release comes one message later than a wait satisfied by the
    // stale click would have read.
    hooks::InjectButton(hwnd, 1, true, 30, 40);
    hooks::InjectMove(hwnd, 31, 41);
    hooks::InjectButton(hwnd, 1, false, 32, 42);

    const std::string pump = "PeekMessageA(out," + Hex(hwnd) + ",0,0,1)";
    const std::vector<std::string> expected = {
        "ReleaseDC(" + Hex(hwnd) + "," + Hex(WindowInspector::Screen(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Pen(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Brush(*w)) + ")",
        "DeleteObject(" + Hex(WindowInspector::Font(*w)) + ")",
        pump, "SetCapture(" + Hex(hwnd) + ")", // the discard's pump: the press
        pump,                                 // the wait: the move...
        pump, "ReleaseCapture()",             // ...and the release that ends it
        "DestroyWindow(" + Hex(hwnd) + ")",
    };
    hooks::StartCallLog();
    const std::string printed = Printed([&] { w.reset(); });
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()), expected);
    EXPECT_EQ(printed, prompt);
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST_F(WindowTest, TurningTheWaitOffClosesWithoutPrompt)
{
    auto w = std::make_unique<window>(200, 100, 0, 0);
    EXPECT_TRUE(w->SetCloseWaitsForClick(false));
    hooks::StartCallLog();
    EXPECT_EQ(Printed([&] { w.reset(); }), "");
    EXPECT_EQ(CountCalls(hooks::StopCallLog(), "PeekMessageA"), 0);
}

TEST_F(WindowTest, TwoWindowsShareOneRegistryAndOnlyTheLastWaits)
{
    auto first = std::make_unique<window>(200, 100, 0, 0);
    auto second = std::make_unique<window>(300, 150, 50, 50);
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_EQ(windowRegistry->GetWindowCount(), 2);
    const HWND secondHandle = WindowInspector::Handle(*second);
    EXPECT_NE(WindowInspector::Handle(*first), secondHandle);

    // The flag is on (a fresh registry), yet a window that is not the last closes at once.
    EXPECT_EQ(Printed([&] { first.reset(); }), "");
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_EQ(windowRegistry->GetWindowCount(), 1);

    Click(secondHandle, 0, 7, 8);
    int x = 0, y = 0;
    second->PollMouseClick(x, y);
    EXPECT_EQ(second->PollMouseClick(x, y), CLICK_LEFT);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);

    Click(secondHandle, 0, 1, 1);
    EXPECT_EQ(Printed([&] { second.reset(); }), prompt);
    EXPECT_EQ(windowRegistry, nullptr);

    // A window built afterwards gets a fresh registry, waiting again.
    auto third = std::make_unique<window>(100, 100, 0, 0);
    EXPECT_TRUE(third->SetCloseWaitsForClick(false));
}

// The registry (first window) or its entry (first or second window) cannot be had: the
// constructor throws and gives back its window, context, pen, brush and font; the count
// stays with the windows there are, and the first window still closes with its prompt.
TEST_F(WindowTest, AConstructorOutOfMemoryLeavesNothingBehind)
{
    const int objects = hooks::LiveObjectCount(), windows = hooks::LiveWindowCount();
    auto build = [](int failNth) {
        allocations::Start(failNth);
        try {
            window w(200, 100, 0, 0);
        } catch (error e) {
            const std::vector<std::size_t> sizes = allocations::Stop();
            EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
            return sizes.empty() ? std::size_t{0} : sizes.back();
        }
        allocations::Stop();
        ADD_FAILURE() << "the constructor did not throw";
        return std::size_t{0};
    };
    for (int failNth : {1, 2}) {
        EXPECT_EQ(build(failNth), failNth == 1 ? sizeof(WindowRegistry) : sizeof(RegistryEntry));
        EXPECT_EQ(windowRegistry, nullptr);
        EXPECT_EQ(hooks::LiveObjectCount(), objects);
        EXPECT_EQ(hooks::LiveWindowCount(), windows);
    }

    auto first = std::make_unique<window>(200, 100, 0, 0);
    const int withFirst = hooks::LiveObjectCount();
    EXPECT_EQ(build(1), sizeof(RegistryEntry));
    ASSERT_NE(windowRegistry, nullptr);
    EXPECT_EQ(windowRegistry->GetWindowCount(), 1);
    EXPECT_EQ(hooks::LiveObjectCount(), withFirst);
    EXPECT_EQ(hooks::LiveWindowCount(), windows + 1);
    Click(WindowInspector::Handle(*first), 0, 1, 1);
    EXPECT_EQ(Printed([&] { first.reset(); }), prompt);
    EXPECT_EQ(windowRegistry, nullptr);
}

TEST_F(WindowTest, AWindowNeverCreatedNeitherPromptsNorWaits)
{
    hooks::FailNextCall("CreateWindowExA");
    std::unique_ptr<window> w;
    EXPECT_EQ(Printed([&] { w = std::make_unique<window>(200, 100, 0, 0); }), "");
    EXPECT_EQ(WindowInspector::Handle(*w), nullptr);
    EXPECT_EQ(WindowInspector::Screen(*w), nullptr);
    EXPECT_EQ(WindowInspector::Active(*w), nullptr);

    int x = 0, y = 0;
    EXPECT_EQ(w->AwaitMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    char value = 'q';
    EXPECT_EQ(w->AwaitKeyPress(value), KEY_NONE);
    EXPECT_EQ(value, 0);

    // The wait for a closing click is on, but there is nothing to click in.
    EXPECT_EQ(Printed([&] { w.reset(); }), "");
}

TEST_F(WindowTest, WaitsGiveUpOnceTheWindowNoLongerExists)
{
    auto w = std::make_unique<window>(200, 100, 0, 0);
    const HWND hwnd = WindowInspector::Handle(*w);
    // Destroy the on-screen window behind the library's back without ending the program.
    windowRegistry->UnregisterWindow(hwnd);
    DestroyWindow(hwnd);
    windowRegistry->RegisterWindow(hwnd, w.get());

    int x = 0, y = 0;
    EXPECT_EQ(w->AwaitMouseClick(x, y), CLICK_NONE);
    char value;
    EXPECT_EQ(w->AwaitKeyPress(value), KEY_NONE);
    // Releasing the dead window's context may fail; the prompt must not appear.
    const std::string printed = Printed([&] { w.reset(); });
    EXPECT_EQ(printed.find(prompt), std::string::npos);
}

using WindowDeathTest = WindowTest;

[[noreturn]] void CloseWhilePolling()
{
    window w(200, 100, 0, 0);
    hooks::InjectClose(WindowInspector::Handle(w));
    int x;
    int y;
    for (int i = 0; i < 100; ++i)
        w.PollMouseClick(x, y);
    std::exit(3); // still running after the close had been pumped
}

[[noreturn]] void CloseBeforeTheClosingWait()
{
    {
        window w(200, 100, 0, 0);
        hooks::InjectClose(WindowInspector::Handle(w));
    }
    std::exit(3); // the wait ended without ending the program
}

TEST_F(WindowDeathTest, ClosingTheWindowEndsTheProgramWithStatusZero)
{
    EXPECT_EXIT(CloseWhilePolling(), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(CloseBeforeTheClosingWait(), ::testing::ExitedWithCode(0), "");
}

} // namespace
