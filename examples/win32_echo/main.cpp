// win32_echo: opens a window titled "Echo Input" and echoes each click and key on the
// console. Written with plain Win32 calls, so it builds against <windows.h> as well as
// the stand-in. Escape or the title bar's close button ends it.
#ifdef _WIN32
#include <windows.h>
#else
#include <standin/win32.h>
#endif

#include <cstdio>

namespace {

bool running = true;

LRESULT CALLBACK EchoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(hwnd); // so the release arrives even outside the window
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();
        // Signed: a release left of or above the window is negative.
        std::printf("%s click at (%d, %d)\n", msg == WM_LBUTTONUP ? "left" : "right",
                    static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_KEYDOWN:
        std::printf("key down: virtual key %u\n", static_cast<unsigned>(wParam));
        if (wParam == VK_ESCAPE)
            DestroyWindow(hwnd);
        return 0;
    case WM_CHAR:
        if (wParam >= 32 && wParam < 127)
            std::printf("character '%c' (%u)\n", static_cast<char>(wParam), static_cast<unsigned>(wParam));
        else
            std::printf("character %u\n", static_cast<unsigned>(wParam));
        return 0;
    case WM_DESTROY:
        running = false;
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0); // echo at once, also into a pipe

    WNDCLASSA wc{};
    wc.lpfnWndProc = EchoProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "Echo Input";
    RegisterClassA(&wc);

    // A 640 x 400 drawing area inside a caption window that cannot be resized.
    int width = 640 + GetSystemMetrics(SM_CXEDGE);
    int height = 400 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) - 1;
    HWND hwnd = CreateWindowExA(0, "Echo Input", "Echo Input", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                40, 40, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) {
        std::printf("could not create the window\n");
        return 1;
    }
    std::printf("Click or type in the window; Escape or closing the window ends.\n");

    // One message per pass, as a polling program does.
    while (running) {
        MSG msg;
        if (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
