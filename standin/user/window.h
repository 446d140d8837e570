// window.h - the window manager's records: registered classes and windows, and the frame
// model that turns a window's outer size into its client size.
#ifndef STANDIN_USER_WINDOW_H
#define STANDIN_USER_WINDOW_H

#include "common/handles.h"
#include "gdi/dc.h"

#include <standin/win32.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace standin::user {

struct WindowClass {
    std::string name; // compared without regard to case, as Win32 does
    ATOM atom = 0;
    WNDCLASSA info{}; // lpszClassName/lpszMenuName are not kept (the caller's strings)
};

// Frame thickness on each side of the client area, by window style.
struct Frame {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The stand-in's frame model. The real window system draws its decorations outside the
// client area, so the numbers only keep Win32's arithmetic consistent: a bordered window
// has SM_CXBORDER/SM_CYBORDER (1) on each side, and a caption makes the top SM_CYCAPTION
// (caption and border line together).
// With this model, a program that sizes its window as drawing size + SM_CXEDGE wide and
// + SM_CYCAPTION + SM_CYEDGE - 1 high gets a client area of exactly the drawing size.
Frame FrameForStyle(DWORD style);

struct Backend;

// A 64-bit coordinate pinned to the 32-bit range that window-system positions take.
inline LONG PinnedLong(int64_t v)
{
    return static_cast<LONG>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

struct Window {
    Window() = default;
    HandleKind kind = HandleKind::Window;
    void *handle = nullptr;

    const WindowClass *windowClass = nullptr;
    WNDPROC proc = nullptr;
    std::string title; // Windows-1252, as the program passed it
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0;                 // outer top-left on the screen
    int outerWidth = 0, outerHeight = 0;
    Frame frame;
    bool visible = false;
    bool destroying = false;
    std::shared_ptr<gdi::ClientArea> client;
    uint64_t lastPresentNs = 0;   // when the backend last showed the client area
    void *backendWindow = nullptr; // the backend's own record

    HWND hwnd() const { return static_cast<HWND>(handle); }
    int ClientWidth() const { return client->surface.width; }
    int ClientHeight() const { return client->surface.height; }
    // Screen position of the client area's top-left pixel; a window placed at the edge of
    // the coordinate range has it pinned there.
    POINT ClientOrigin() const { return POINT{PinnedLong(int64_t{x} + frame.left), PinnedLong(int64_t{y} + frame.top)}; }
};

using WindowTable = HandleTable<Window>;
WindowTable &Windows();
// The test hook run as each window is made.
std::function<void(HWND)> &WindowCreatedHook();

inline Window *FindWindow(const void *hwnd) { return Windows().Find(hwnd, HandleKind::Window); }

// DestroyWindow's work, for callers inside the stand-in (DefWindowProcA on WM_CLOSE).
BOOL DestroyWindowNow(HWND hwnd);

// Calls a window's procedure; for messages the system sends rather than posts.
LRESULT SendToProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace standin::user

#endif // STANDIN_USER_WINDOW_H
