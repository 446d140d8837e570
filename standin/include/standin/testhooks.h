// standin/testhooks.h - test-only controls of the stand-in: the backend choice, injected
// failures, the call log, made-up user input, and what the window system shows.
// Programs never include this; tests prefer plain Win32 calls where those suffice.
#ifndef STANDIN_TESTHOOKS_H
#define STANDIN_TESTHOOKS_H

#include <standin/win32.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace standin::test {

// Backend choice: call before the first window is created. Tests use headless.
void UseHeadlessBackend();

// Failure injection: the next `count` calls of the named Win32 function (e.g.
// "ReleaseDC", "DeleteObject", "CreateWindowExA") fail with that function's own failure
// result (0, NULL, GDI_ERROR, CLR_INVALID...) without doing anything. Calls made inside
// the stand-in (DefWindowProcA destroying a window on WM_CLOSE) are not affected. Sleep
// and timeGetTime have no failure result and ignore injected failures.
void FailNextCall(const char *functionName, int count = 1);
void ClearFailures();

// Call log: every stand-in Win32 entry point appends one line while logging is on, the
// function name and its arguments as the caller passed them:
//   - signed integers in decimal: "SetROP2(0x...,13)";
//   - unsigned ones (DWORD, UINT, COLORREF, WPARAM) and LPARAM in decimal below 10, else
//     as 0x-prefixed upper-case hex: "CreatePen(6,0,0xFFFFFF)", style "0x10CA0000";
//   - strings as they are, NULL for a null pointer, "#n" for an atom or resource number
//     (IDC_ARROW is "#32512");
//   - handles and other pointers as 0x-prefixed upper-case hex, or NULL; the module handle
//     of the process is always 0x400000;
//   - structures by content: WNDCLASSA as {style,proc,clsExtra,wndExtra,instance,icon,
//     cursor,background,menu,className}, LOGFONTA as {height,width,escapement,
//     orientation,weight,italic,underline,strikeOut,charSet,outPrecision,clipPrecision,
//     quality,0xPitchAndFamily,face}, an input MSG as {hwnd,message,wParam,lParam};
//     PeekMessageA's output record as "out".
// Example: "CreateWindowExA(0,My Class,My Title,0x10CA0000,5,5,1002,620,NULL,NULL,0x400000,
// NULL)".
void StartCallLog();
std::vector<std::string> StopCallLog(); // returns the lines, clears the log

// Window-system input, through the backend, as a user would make it (the message then
// waits in the thread's queue until the program pumps). Coordinates are client pixels of
// `hwnd` and may lie outside it: such input reaches the window only while it holds the
// capture. May be called from another thread while the program's thread only pumps.
void InjectButton(HWND hwnd, int button /*0 left, 1 right, 2 middle*/, bool down, int x, int y);
void InjectMove(HWND hwnd, int x, int y);
void InjectKey(HWND hwnd, int virtualKey, bool down); // WM_KEYDOWN / WM_KEYUP
void InjectClose(HWND hwnd);                          // the title bar's close button
// Addition: the mouse wheel, in notches (positive: away from the user).
void InjectWheel(HWND hwnd, int notches, int x, int y);

// What the window system shows.
struct WindowInfo {
    bool exists;
    bool visible;
    std::string title;
    std::string className;
    DWORD style;
    int x, y, outerWidth, outerHeight, clientWidth, clientHeight;
};
WindowInfo GetWindowInfo(HWND hwnd);
// The client surface's pixels, 0x00RRGGBB per pixel, row-major top-down. Empty, with
// width and height 0, for a handle that names no window.
std::vector<uint32_t> ReadClientSurface(HWND hwnd, int *width, int *height);
// Live GDI objects (pens, brushes, fonts, bitmaps, regions, DCs) created by the program
// and not yet deleted; stock objects excluded. A DC from GetDC counts until ReleaseDC; an
// object deleted while selected counts until the DC lets go of it (GDI defers that
// deletion). Lets tests check ownership.
int LiveObjectCount();

// Additions:
// Windows that exist (not yet destroyed).
int LiveWindowCount();
// Global memory blocks handed out (the print dialog's device mode and names) and not yet
// given back with GlobalFree.
int LiveGlobalCount();
// The window holding the mouse capture, or NULL.
HWND CaptureWindow();
// Removes every message waiting in the queue (posted and input) and forgets keys and
// buttons still held, so a test starts clean.
void DrainMessages();
// A clock of the test's own: while on, Sleep returns at once and moves timeGetTime on by
// the time it was asked to sleep, so programs full of pauses run at full speed and still
// see their time pass. Turning it off goes back to the real clock.
void UseVirtualClock(bool on);
// Lets a test act inside a program that makes its own window and pauses: the first is
// called on the creating thread as each window is made (after WM_CREATE, before it is
// shown), the second at the start of every Sleep. An empty function removes the hook.
void OnWindowCreated(std::function<void(HWND)> callback);
void OnSleep(std::function<void(DWORD milliseconds)> callback);
// Called when the program has polled an empty queue so often in a row, with nothing else
// in between, that it is plainly waiting for input (PeekMessageA is about to wait for
// it): the moment a user would act. Input injected here is seen by that wait.
void OnIdle(std::function<void()> callback);

// Modal boxes (MessageBoxA, the print dialog): each one shown, with the label of the
// button that answered it (empty when none could be shown). Returns them and forgets them.
struct BoxRecord {
    HWND owner;
    std::string caption;
    std::string text;
    std::string icon; // "none", "information", "question", "warning" or "error"
    std::vector<std::string> buttons;
    std::string answer;
};
std::vector<BoxRecord> TakeShownBoxes();
// The next box shown is answered with the button of this label, as if the user had
// pressed it, on either backend. One label a box, in order. Without one, the headless
// backend answers as if the box were dismissed: its cancel button (the print dialog:
// "Cancel"), or its only button (a MessageBoxA of MB_OK: IDOK).
void AnswerNextBox(const std::string &buttonLabel);

// Printer DCs made from now on report RASTERCAPS without these bits (RC_BITBLT,
// RC_BITMAP64, RC_STRETCHBLT...). 0 gives them the full set again.
void RemovePrinterRasterCaps(DWORD bits);

} // namespace standin::test

#endif // STANDIN_TESTHOOKS_H
