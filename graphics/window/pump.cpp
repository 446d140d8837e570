// pump.cpp - the one-message pump and the window procedure, which turns mouse and key
// messages into button state, the mouse position and records in the window's queues.
#include "registry.h"
#include "windowproc.h"

#include <cstdio>
#include <cstdlib>

void window::PumpMessages()
{
    MSG message;
    if (PeekMessageA(&message, hwndWindow, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool KeyRecordForVirtualKey(WPARAM virtualKey, KeyKind &kind, char &value)
{
    // Navigation keys carry the digit the same key has on the numeric keypad.
    static const struct {
        WPARAM virtualKey;
        char value;
    } navigation[] = {
        {VK_PRIOR, NAV_PAGE_UP}, {VK_NEXT, NAV_PAGE_DOWN}, {VK_END, NAV_END},
        {VK_HOME, NAV_HOME},     {VK_LEFT, NAV_LEFT},      {VK_UP, NAV_UP},
        {VK_RIGHT, NAV_RIGHT},   {VK_DOWN, NAV_DOWN},
    };
    if (virtualKey == VK_ESCAPE) {
        kind = KEY_ESCAPE;
        value = 1;
        return true;
    }
    for (const auto &key : navigation) {
        if (key.virtualKey == virtualKey) {
            kind = KEY_NAVIGATION;
            value = key.value;
            return true;
        }
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) {
        kind = KEY_FUNCTION;
        value = static_cast<char>(virtualKey - (VK_F1 - 1));
        return true;
    }
    return false;
}

namespace {

// Positions are the message's two unsigned 16-bit halves: a captured release left of
// the window arrives as 65535, not -1.
int PositionX(LPARAM lParam) { return LOWORD(lParam); }
int PositionY(LPARAM lParam) { return HIWORD(lParam); }

void Press(HWND hwnd, MouseButton button, LPARAM lParam)
{
    if (windowRegistry)
        windowRegistry->RecordButton(hwnd, button, BUTTON_PRESSED, PositionX(lParam), PositionY(lParam));
    // Holding the capture lets the release reach the window even outside it.
    SetCapture(hwnd);
}

void Release(HWND hwnd, MouseButton button, ClickKind kind, LPARAM lParam)
{
    if (windowRegistry) {
        const int x = PositionX(lParam);
        const int y = PositionY(lParam);
        windowRegistry->RecordButton(hwnd, button, BUTTON_RELEASED, x, y);
        windowRegistry->QueueClick(hwnd, kind, x, y);
    }
    ReleaseCapture();
}

} // namespace

LRESULT CALLBACK GraphicsWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (windowRegistry)
            windowRegistry->RecordMouseMove(hwnd, PositionX(lParam), PositionY(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        Press(hwnd, MOUSE_LEFT, lParam);
        return 0;
    case WM_LBUTTONUP:
        Release(hwnd, MOUSE_LEFT, CLICK_LEFT, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        Press(hwnd, MOUSE_RIGHT, lParam);
        return 0;
    case WM_RBUTTONUP:
        Release(hwnd, MOUSE_RIGHT, CLICK_RIGHT, lParam);
        return 0;
    case WM_KEYDOWN: {
        KeyKind kind;
        char value;
        if (KeyRecordForVirtualKey(wParam, kind, value) && windowRegistry)
            windowRegistry->QueueKey(hwnd, kind, value);
        return 0;
    }
    case WM_CHAR:
        if (windowRegistry)
            windowRegistry->QueueKey(hwnd, KEY_CHARACTER, static_cast<char>(wParam & 0xFF));
        return 0;
    case WM_DESTROY:
        // The library unregisters a window before it destroys it, so a registered window
        // going away was closed by the user (title bar, system menu). Nothing can reach
        // its queues any more and a wait for a click would never end: the program ends
        // here, normally, as closing a program's window is expected to do.
        if (windowRegistry && windowRegistry->FindWindowObject(hwnd)) {
            std::fflush(stdout);
            std::exit(0);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
