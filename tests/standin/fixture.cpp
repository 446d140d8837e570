// The recording window procedure and the headless set-up shared by the stand-in's tests.
#include "fixture.h"

std::vector<Seen> &SeenMessages()
{
    static std::vector<Seen> seen;
    return seen;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SeenMessages().push_back({hwnd, msg, wParam, lParam});
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(int width, int height, int x, int y, const char *title)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "Recording Window";
        registered = RegisterClassA(&wc) != 0;
    }
    int outerWidth = width + GetSystemMetrics(SM_CXEDGE);
    int outerHeight = height + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1;
    return CreateWindowExA(0, "Recording Window", title, 0x10CA0000, x, y, outerWidth, outerHeight, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void StandinTest::SetUp()
{
    standin::test::UseHeadlessBackend();
    standin::test::ClearFailures();
    standin::test::DrainMessages();
    SeenMessages().clear();
}

void StandinTest::TearDown()
{
    standin::test::ClearFailures();
    standin::test::StopCallLog();
}

bool StandinTest::PumpOne(HWND filter)
{
    MSG msg;
    if (!PeekMessageA(&msg, filter, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

std::vector<Seen> StandinTest::SeenOf(UINT kind) const
{
    std::vector<::Seen> out;
    for (const ::Seen &s : SeenMessages())
        if (s.message == kind)
            out.push_back(s);
    return out;
}
