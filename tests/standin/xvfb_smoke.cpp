// A real window through the sdl2 backend, driven by xvfb_smoke.sh under Xvfb: plain Win32
// calls make a window and pump it; the procedure prints each input message it receives.
#include <standin/win32.h>

#include <cstdio>

namespace {

int clicks = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        std::printf("down %u %u\n", LOWORD(lParam), HIWORD(lParam));
        SetCapture(hwnd);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        std::printf("up %u %u\n", LOWORD(lParam), HIWORD(lParam));
        ReleaseCapture();
        if (++clicks == 1)
            SetWindowTextA(hwnd, "Smoke Clicked");
        break;
    case WM_KEYDOWN:
        std::printf("key %u\n", static_cast<unsigned>(wParam));
        break;
    case WM_CHAR:
        std::printf("char %u\n", static_cast<unsigned>(wParam));
        break;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "Smoke";
    RegisterClassA(&wc);
    int width = 320 + GetSystemMetrics(SM_CXEDGE);
    int height = 200 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1;
    HWND hwnd = CreateWindowExA(0, "Smoke", "Stand-in Smoke Test", 0x10CA0000, 40, 30, width, height, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 2;
    ShowWindow(hwnd, SW_SHOW);
    std::printf("ready\n");
    std::fflush(stdout);

    // Pump as the library does, one message per call, until 'q' or 20 s pass.
    DWORD start = timeGetTime();
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (msg.message == WM_CHAR && msg.wParam == 'q')
                break;
        }
        if (!IsWindow(hwnd) || timeGetTime() - start > 20000)
            break;
    }
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return 0;
}
