// The real modal boxes of the sdl2 backend, driven by xvfb_dialogs.sh under Xvfb: a
// message box, then the print dialog; each answer and the printed page are reported on
// standard output.
#include <standin/win32.h>

#include <cstdio>

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Dialog Smoke Test";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "Dialog Smoke Test", "Dialog Smoke Test", 0x10CA0000, 40, 30, 322, 221, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return 2;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    std::printf("box %d\n", MessageBoxA(hwnd, "Double-buffering must be enabled.", "Graphics Library",
                                        MB_OK | MB_ICONEXCLAMATION));
    std::fflush(stdout);

    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = hwnd;
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    const BOOL chosen = PrintDlgA(&pd);
    std::printf("dialog %d\n", chosen);
    if (chosen && pd.hDC) {
        DOCINFOA di{};
        di.cbSize = sizeof di;
        di.lpszDocName = "Dialog Smoke Test";
        const bool printed = StartDocA(pd.hDC, &di) > 0 && StartPage(pd.hDC) > 0 && EndPage(pd.hDC) > 0 &&
                             EndDoc(pd.hDC) > 0;
        std::printf("printed %d width %d\n", printed, GetDeviceCaps(pd.hDC, HORZRES));
        DeleteDC(pd.hDC);
    }
    DestroyWindow(hwnd);
    return 0;
}
