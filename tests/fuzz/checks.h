// checks.h - what the two operation fuzz targets share: a view of the window's fields,
// the promises about queue records and positions, and input that is sure to reach the
// window (so that a wait for it ends).
#ifndef QUILLGRAPH_FUZZ_CHECKS_H
#define QUILLGRAPH_FUZZ_CHECKS_H

#include "forked.h"

#include "graphics.h"

#include <standin/testhooks.h>

// The fields the checks look at (a friend of window).
struct WindowInspector {
    static HWND Handle(window &w) { return w.hwndWindow; }
    // GDI objects the window holds now: its contexts, pen, brush, font and back buffer.
    static int OwnedObjects(window &w)
    {
        int n = 0;
        n += w.dcScreen != nullptr;
        n += w.dcActive != nullptr && w.dcActive != w.dcScreen;
        n += w.penObject != nullptr;
        n += w.brshObject != nullptr;
        n += w.fontObject != nullptr;
        n += w.bmapBuffer != nullptr;
        return n;
    }
};

namespace qgfuzz {

namespace hooks = standin::test;

// A click record: a known kind, and a release position of two unsigned 16-bit halves.
inline void CheckClick(ClickKind kind, int x, int y)
{
    FUZZ_CHECK(kind == CLICK_NONE || kind == CLICK_LEFT || kind == CLICK_RIGHT);
    if (kind == CLICK_NONE)
        FUZZ_CHECK(x == -1 && y == -1);
    else
        FUZZ_CHECK(x >= 0 && x <= 65535 && y >= 0 && y <= 65535);
}

// A key record: a known kind with a value of its kind.
inline void CheckKey(KeyKind kind, char value)
{
    FUZZ_CHECK(kind >= KEY_NONE && kind <= KEY_ESCAPE);
    if (kind == KEY_NONE)
        FUZZ_CHECK(value == 0);
    if (kind == KEY_ESCAPE)
        FUZZ_CHECK(value == 1);
    if (kind == KEY_FUNCTION)
        FUZZ_CHECK(value >= 1 && value <= 12);
    if (kind == KEY_NAVIGATION)
        FUZZ_CHECK(value >= 1 && value <= 9 && value != 5);
}

// The mouse position: none yet, or the halves of a mouse message's position word.
inline void CheckMousePosition(int x, int y)
{
    FUZZ_CHECK((x == -1 && y == -1) || (x >= 0 && x <= 65535 && y >= 0 && y <= 65535));
}

// Injects a click inside the window's client area; false when no click could reach the
// window (no client area, hidden, or another window holds the capture).
inline bool InjectClickInside(window &w, int button, int x, int y)
{
    const HWND hwnd = WindowInspector::Handle(w);
    const hooks::WindowInfo info = hooks::GetWindowInfo(hwnd);
    const HWND capture = hooks::CaptureWindow();
    if (!info.exists || !info.visible || info.clientWidth <= 0 || info.clientHeight <= 0 ||
        (capture && capture != hwnd))
        return false;
    const int cx = static_cast<int>(static_cast<unsigned>(x) % static_cast<unsigned>(info.clientWidth));
    const int cy = static_cast<int>(static_cast<unsigned>(y) % static_cast<unsigned>(info.clientHeight));
    hooks::InjectButton(hwnd, button, true, cx, cy);
    hooks::InjectButton(hwnd, button, false, cx, cy);
    return true;
}

// Injects a press of a key whose key-down message always gives a record; false when the
// window is gone.
inline bool InjectRecordKey(window &w, unsigned choice)
{
    static const int keys[] = {VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT,
                               VK_UP,     VK_RIGHT, VK_DOWN, VK_F1,  VK_F5,  VK_F12};
    const HWND hwnd = WindowInspector::Handle(w);
    if (!hooks::GetWindowInfo(hwnd).exists)
        return false;
    // With Alt held the key would be a system key, which gives no record.
    hooks::InjectKey(hwnd, VK_MENU, false);
    const int key = keys[choice % (sizeof keys / sizeof keys[0])];
    hooks::InjectKey(hwnd, key, true);
    hooks::InjectKey(hwnd, key, false);
    return true;
}

// A call the stand-in counts as the program's own work, between two script operations:
// the pump's idle wait (for programs that do nothing but pump) must not slow a script
// made of pumps down.
inline void NoteWork()
{
    (void)GetSystemMetrics(SM_CXEDGE);
}

} // namespace qgfuzz

#endif // QUILLGRAPH_FUZZ_CHECKS_H
