// lifecycle.cpp - building and tearing down the window, step by step, and the title and
// size operations. The last window to go waits for a click so its picture can be seen.
#include "registry.h"
#include "report.h"
#include "windowproc.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

namespace {

const char windowClassName[] = "Quillgraph Library";
const char initialTitle[] = "Graphics Window";
// Visible, a title bar, a system menu and a minimise box; no sizing frame, no maximise
// box: the drawing area keeps the size it was made with.
const DWORD windowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// A sum of a drawing size and frame metrics, pinned to the int range CreateWindowExA
// takes: a size at the end of the range must not wrap round to a negative window.
int PinnedSize(int64_t value)
{
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

} // namespace

window::window(int width, int height, int x, int y)
    : hInstance(GetModuleHandleA(nullptr)),
      wndClass{},
      hwndWindow(nullptr),
      dcActive(nullptr),
      dcScreen(nullptr),
      brshColor(0, 0, 0),
      penColor(0, 0, 0),
      iWindowWidth(width),
      iWindowHeight(height),
      iMouseX(-1),
      iMouseY(-1)
{
    wndClass.style = 0; // no double-click messages, no private context
    wndClass.lpfnWndProc = GraphicsWindowProc;
    wndClass.cbClsExtra = 0;
    wndClass.cbWndExtra = 0;
    wndClass.hInstance = hInstance;
    wndClass.hIcon = nullptr;
    wndClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wndClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wndClass.lpszMenuName = nullptr;
    wndClass.lpszClassName = windowClassName;

    // A second window re-registers the same name; the refusal is expected and the class
    // already registered has the same procedure.
    RegisterClassA(&wndClass);

    const int outerWidth = PinnedSize(int64_t{width} + GetSystemMetrics(SM_CXEDGE));
    const int outerHeight = PinnedSize(int64_t{height} + GetSystemMetrics(SM_CYCAPTION) +
                                       GetSystemMetrics(SM_CYEDGE) - 1);
    hwndWindow = CreateWindowExA(0, windowClassName, initialTitle, windowStyle, x, y,
                                 outerWidth, outerHeight, nullptr, nullptr, hInstance, nullptr);
    if (hwndWindow) {
        ShowWindow(hwndWindow, SW_SHOW);
        dcScreen = GetDC(hwndWindow);
        dcActive = dcScreen;
    }

    penObject = nullptr;
    penSaved = nullptr;
    brshObject = nullptr;
    brshSaved = nullptr;
    fontObject = nullptr;
    fontSaved = nullptr;
    bmapBuffer = nullptr;
    leftButtonState = BUTTON_RELEASED;
    rightButtonState = BUTTON_RELEASED;
    bDoubleBuffer = false;

    SetPen(WHITE, 0);
    SetBrush(WHITE);
    SetFont(10, 0, FAMILY_SWISS, nullptr);

    try {
        if (windowRegistry) {
            windowRegistry->RegisterWindow(hwndWindow, this);
            return;
        }
        std::unique_ptr<WindowRegistry> registry(new (std::nothrow) WindowRegistry);
        if (!registry)
            throw ERROR_OUT_OF_MEMORY;
        registry->RegisterWindow(hwndWindow, this);
        windowRegistry = registry.release();
    } catch (...) {
        // No destructor runs for a constructor that throws: give back what was made.
        ReleaseConstructed();
        throw;
    }
}

void window::ReleaseConstructed()
{
    if (dcScreen)
        ReleaseDC(hwndWindow, dcScreen);
    dcScreen = nullptr;
    dcActive = nullptr;
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(penObject), static_cast<HGDIOBJ>(brshObject),
                           static_cast<HGDIOBJ>(fontObject)}) {
        if (object)
            DeleteObject(object);
    }
    penObject = nullptr;
    brshObject = nullptr;
    fontObject = nullptr;
    if (hwndWindow)
        DestroyWindow(hwndWindow);
    hwndWindow = nullptr;
}

window::~window()
{
    if (dcScreen) {
        if (ReleaseDC(hwndWindow, dcScreen) == 0)
            ReportError("Fatal Error: Failed to release dcScreen in window class destructor!");
        if (dcActive == dcScreen)
            dcActive = nullptr;
        dcScreen = nullptr;
    }
    if (dcActive) {
        if (DeleteDC(dcActive) != 1)
            ReportError("Fatal Error: Failed to delete dcActive in window class destructor!");
    }
    if (penObject) {
        if (DeleteObject(penObject) != 1)
            ReportError("Fatal Error: Failed to delete penObject in window class destructor!");
        penObject = nullptr;
    }
    if (brshObject) {
        if (DeleteObject(brshObject) != 1)
            ReportError("Fatal Error: Failed to delete brshObject in window class destructor!");
        brshObject = nullptr;
    }
    if (fontObject) {
        if (DeleteObject(fontObject) != 1)
            ReportError("Fatal Error: Failed to delete fontObject in window class destructor!");
        fontObject = nullptr;
    }
    if (bmapBuffer) {
        if (DeleteObject(bmapBuffer) != 1)
            ReportError("Fatal Error: Failed to delete bmapBuffer in window class destructor!");
        bmapBuffer = nullptr;
    }

    // Two windows whose creation failed share the null key; the first of them to go
    // takes the registry with it, and the second finds none.
    if (windowRegistry && windowRegistry->GetWindowCount() == 1) {
        if (windowRegistry->closeWaitsForClick) {
            DiscardMouseClicks();
            // No click can come from a window that is not there: no prompt, no wait.
            if (!WindowIsGone()) {
                std::printf("Click mouse in the graphics window to finish execution.\n");
                // Seen before the wait even when standard output is a pipe.
                std::fflush(stdout);
                int x;
                int y;
                AwaitMouseClick(x, y);
            }
        }
        windowRegistry->UnregisterWindow(hwndWindow);
        delete windowRegistry;
        windowRegistry = nullptr;
    } else if (windowRegistry) {
        windowRegistry->UnregisterWindow(hwndWindow);
    }

    DestroyWindow(hwndWindow);
}

bool window::WindowIsGone()
{
    return !hwndWindow || !IsWindow(hwndWindow);
}

void window::SetTitle(const char *title)
{
    PumpMessages();
    SetWindowTextA(hwndWindow, title);
}

void window::SetTitle(std::string title)
{
    SetTitle(title.c_str());
}

int window::GetWidth()
{
    return iWindowWidth;
}

int window::GetHeight()
{
    return iWindowHeight;
}

void window::GetSize(int &width, int &height)
{
    width = iWindowWidth;
    height = iWindowHeight;
}

bool window::SetCloseWaitsForClick(bool wait)
{
    if (!windowRegistry)
        return false;
    const bool previous = windowRegistry->closeWaitsForClick;
    windowRegistry->closeWaitsForClick = wait;
    return previous;
}
