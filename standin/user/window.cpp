// Window classes and windows: RegisterClassA, CreateWindowExA and the calls that show,
// retitle, measure and destroy a window, its DCs, system metrics and cursors.
#include "user/window.h"

#include "common/trace.h"
#include "user/backends/backend.h"
#include "user/backends/runner.h"
#include "user/queue.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace standin::user {

namespace {

std::vector<std::unique_ptr<WindowClass>> &Classes()
{
    static std::vector<std::unique_ptr<WindowClass>> classes;
    return classes;
}

bool IsAtom(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

bool SameName(const std::string &a, const char *b)
{
    size_t n = std::char_traits<char>::length(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const WindowClass *FindClass(LPCSTR name)
{
    if (!name)
        return nullptr;
    for (auto &c : Classes()) {
        if (IsAtom(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)) : SameName(c->name, name))
            return c.get();
    }
    return nullptr;
}

gdi::Pixel BackgroundPixel(HBRUSH brush)
{
    if (gdi::Brush *b = gdi::FindBrush(brush); b && b->style == BS_SOLID)
        return gdi::PixelFromColorref(b->color);
    return gdi::PixelFromColorref(RGB(255, 255, 255));
}

// The largest size a top-level window can have: the screen and a sizing frame (of
// SM_CXSIZEFRAME, 4) with two more pixels on each side, as Win32 reports SM_CXMAXTRACK.
SIZE MaxTrackSize()
{
    const SIZE screen = ActiveBackend().ScreenSize();
    return SIZE{screen.cx + 4 + 2 * 4, screen.cy + 4 + 2 * 4};
}

// System cursors are fixed tokens, as they are shared by every program.
constexpr int kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                              32644, 32645, 32646, 32648, 32649, 32650, 32651};

} // namespace

WindowTable &Windows()
{
    static WindowTable table;
    return table;
}

Frame FrameForStyle(DWORD style)
{
    Frame f;
    if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) {
        f.left = f.right = 1;  // SM_CXBORDER
        f.top = f.bottom = 1;  // SM_CYBORDER
    }
    if ((style & WS_CAPTION) == WS_CAPTION)
        f.top = 19; // SM_CYCAPTION, which already counts the top border line
    return f;
}

LRESULT SendToProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindow(hwnd);
    if (!w || !w->proc)
        return 0;
    return w->proc(hwnd, msg, wParam, lParam);
}

BOOL DestroyWindowNow(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    if (!w)
        return FALSE;
    if (w->destroying)
        return TRUE; // already on its way out (a nested call from WM_DESTROY)
    // Its last picture, before the program hears of the end (it may exit right then).
    RunnerWindowClosing(hwnd);
    w->destroying = true;
    ForgetCapture(hwnd);
    if (w->visible) {
        w->visible = false;
        ActiveBackend().Show(*w, false);
    }
    SendToProc(hwnd, WM_DESTROY, 0, 0);
    SendToProc(hwnd, WM_NCDESTROY, 0, 0);
    gdi::ReleaseWindowDCs(hwnd);
    PurgeMessages(hwnd);
    if ((w = FindWindow(hwnd))) {
        ActiveBackend().Destroy(*w);
        Windows().Remove(hwnd);
    }
    return TRUE;
}

} // namespace standin::user

using namespace standin;
using namespace standin::user;

extern "C" ATOM WINAPI RegisterClassA(const WNDCLASSA *lpWndClass)
{
    if (trace::Enter("RegisterClassA", lpWndClass))
        return 0;
    if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc)
        return 0;
    if (IsAtom(lpWndClass->lpszClassName) || FindClass(lpWndClass->lpszClassName))
        return 0; // the name is taken: Win32 refuses a second registration
    static ATOM nextAtom = 0xC000;
    auto c = std::make_unique<WindowClass>();
    c->name = lpWndClass->lpszClassName;
    c->atom = nextAtom++;
    c->info = *lpWndClass;
    c->info.lpszClassName = nullptr;
    c->info.lpszMenuName = nullptr;
    ATOM atom = c->atom;
    Classes().push_back(std::move(c));
    return atom;
}

std::function<void(HWND)> &standin::user::WindowCreatedHook()
{
    static std::function<void(HWND)> hook;
    return hook;
}

extern "C" HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                                       int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam)
{
    if (trace::Enter("CreateWindowExA", dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight,
                     hWndParent, hMenu, hInstance, lpParam))
        return nullptr;
    const WindowClass *cls = FindClass(lpClassName);
    if (!cls || (hWndParent && !FindWindow(hWndParent)))
        return nullptr;
    if (X == CW_USEDEFAULT)
        X = Y = 0;
    if (nWidth == CW_USEDEFAULT)
        nWidth = nHeight = 0;
    // An overlapped window is never larger than the largest tracking size, however large
    // it is asked to be: Win32 cuts it down as it creates it.
    if ((dwStyle & WS_THICKFRAME) || !(dwStyle & (WS_POPUP | WS_CHILD))) {
        const SIZE most = MaxTrackSize();
        nWidth = std::min(nWidth, static_cast<int>(most.cx));
        nHeight = std::min(nHeight, static_cast<int>(most.cy));
    }

    auto w = std::make_unique<Window>();
    w->windowClass = cls;
    w->proc = cls->info.lpfnWndProc;
    w->title = lpWindowName ? lpWindowName : "";
    w->style = dwStyle;
    w->exStyle = dwExStyle;
    w->x = X;
    w->y = Y;
    w->outerWidth = std::max(nWidth, 0);
    w->outerHeight = std::max(nHeight, 0);
    w->frame = FrameForStyle(dwStyle);
    int cw = std::max(w->outerWidth - w->frame.left - w->frame.right, 0);
    int ch = std::max(w->outerHeight - w->frame.top - w->frame.bottom, 0);
    w->client = std::make_shared<gdi::ClientArea>();
    w->client->surface = gdi::Surface(cw, ch, BackgroundPixel(cls->info.hbrBackground));
    Window *window = w.get();
    HWND hwnd = static_cast<HWND>(Windows().Add(std::move(w)));

    if (!ActiveBackend().Create(*window)) {
        Windows().Remove(hwnd);
        return nullptr;
    }

    CREATESTRUCTA cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X,
                     static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    LPARAM csParam = reinterpret_cast<LPARAM>(&cs);
    // A procedure can refuse its window, as on Win32: FALSE from WM_NCCREATE, -1 from
    // WM_CREATE. It can also destroy the window itself while these run.
    if (!SendToProc(hwnd, WM_NCCREATE, 0, csParam) || !FindWindow(hwnd)) {
        DestroyWindowNow(hwnd);
        return nullptr;
    }
    if (SendToProc(hwnd, WM_CREATE, 0, csParam) == -1 || !FindWindow(hwnd)) {
        DestroyWindowNow(hwnd);
        return nullptr;
    }
    RunnerWindowCreated(hwnd);
    if (WindowCreatedHook())
        WindowCreatedHook()(hwnd);
    if (!FindWindow(hwnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE) {
        window->visible = true;
        window->client->MarkAllDirty();
        ActiveBackend().Show(*window, true);
    }
    return hwnd;
}

extern "C" BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    if (trace::Enter("ShowWindow", hWnd, nCmdShow))
        return FALSE;
    Window *w = FindWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    bool show = nCmdShow != SW_HIDE;
    if (show != w->visible) {
        w->visible = show;
        w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~static_cast<DWORD>(WS_VISIBLE));
        SendToProc(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if ((w = FindWindow(hWnd))) {
            ActiveBackend().Show(*w, show);
            if (show)
                w->client->MarkAllDirty();
        }
    }
    return wasVisible;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hWnd)
{
    if (trace::Enter("DestroyWindow", hWnd))
        return FALSE;
    return DestroyWindowNow(hWnd);
}

extern "C" BOOL WINAPI IsWindow(HWND hWnd)
{
    // Quiet: a wait loop that checks its window is still there still counts as idle.
    if (trace::EnterQuiet("IsWindow", hWnd))
        return FALSE;
    return FindWindow(hWnd) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    if (trace::Enter("SetWindowTextA", hWnd, lpString))
        return FALSE;
    Window *w = FindWindow(hWnd);
    if (!w)
        return FALSE;
    w->title = lpString ? lpString : "";
    ActiveBackend().SetTitle(*w);
    return TRUE;
}

extern "C" int WINAPI GetSystemMetrics(int nIndex)
{
    if (trace::Enter("GetSystemMetrics", nIndex))
        return 0;
    switch (nIndex) {
    case SM_CXSCREEN:
        return ActiveBackend().ScreenSize().cx;
    case SM_CYSCREEN:
        return ActiveBackend().ScreenSize().cy;
    // The classic 96-dpi metrics; the frame model in FrameForStyle is built on them.
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
        return 3;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME:
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CYSMCAPTION:
        return 16;
    case SM_CXMAXTRACK:
        return MaxTrackSize().cx;
    case SM_CYMAXTRACK:
        return MaxTrackSize().cy;
    default:
        return 0; // unknown index, or a metric that is 0 here (SM_CXPADDEDBORDER)
    }
}

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (trace::Enter("LoadCursorA", hInstance, lpCursorName))
        return nullptr;
    // Only the system's own cursors exist: no program resources are loaded here.
    uintptr_t id = reinterpret_cast<uintptr_t>(lpCursorName);
    if (hInstance || !IsAtom(lpCursorName))
        return nullptr;
    for (int known : kCursorIds)
        if (static_cast<uintptr_t>(known) == id)
            return reinterpret_cast<HCURSOR>((id << kHandleKindBits) | static_cast<uintptr_t>(HandleKind::Cursor));
    return nullptr;
}

extern "C" HDC WINAPI GetDC(HWND hWnd)
{
    if (trace::Enter("GetDC", hWnd))
        return nullptr;
    if (!hWnd) {
        // The screen DC: programs use it as the reference for compatible DCs and bitmaps.
        // The desktop itself cannot be drawn on here: its surface is empty, so drawing
        // on it changes nothing (and needs no window system).
        static const std::shared_ptr<gdi::ClientArea> screen = std::make_shared<gdi::ClientArea>();
        return gdi::CreateWindowDC(nullptr, screen);
    }
    Window *w = FindWindow(hWnd);
    if (!w)
        return nullptr;
    return gdi::CreateWindowDC(hWnd, w->client);
}

extern "C" int WINAPI ReleaseDC(HWND hWnd, HDC hDC)
{
    if (trace::Enter("ReleaseDC", hWnd, hDC))
        return 0;
    // As on Win32, the DC decides; the window argument is not checked.
    return gdi::ReleaseWindowDC(hDC) ? 1 : 0;
}

extern "C" LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    if (trace::Enter("DefWindowProcA", hWnd, Msg, wParam, lParam))
        return 0;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        // The title bar's close button ends up here: the window goes, as on Win32.
        DestroyWindowNow(hWnd);
        return 0;
    default:
        return 0;
    }
}
