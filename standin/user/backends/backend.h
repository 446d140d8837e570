// backend.h - the seam between the window manager and a window system. One backend is
// active per process: sdl2 (real windows) unless a test picked headless before the first
// window. Backends translate native input into InputEvents; the message queue routes
// them to windows (capture, client bounds) when the program asks for messages.
#ifndef STANDIN_USER_BACKENDS_BACKEND_H
#define STANDIN_USER_BACKENDS_BACKEND_H

#include "user/window.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace standin::user {

// One piece of window-system input, in client coordinates of `hwnd` (which may lie
// outside the client area while a button is held).
struct InputEvent {
    enum class Type : uint8_t { Button, Move, Wheel, Key, Close };
    Type type = Type::Move;
    HWND hwnd = nullptr;
    int button = 0; // 0 left, 1 right, 2 middle
    bool down = false;
    int x = 0, y = 0;
    int virtualKey = 0;
    int scanCode = 0;
    bool repeat = false; // a key-down from auto-repeat
    int wheelDelta = 0;  // multiples of WHEEL_DELTA, positive away from the user
};

// A modal box: the window system's own message box (MessageBoxA, the print dialog).
struct BoxSpec {
    enum class Icon : uint8_t { None, Information, Question, Warning, Error };
    std::string caption; // Windows-1252, as the program passed it
    std::string text;
    Icon icon = Icon::None;
    std::vector<std::string> buttons; // left to right
    int defaultButton = 0;  // what Enter picks
    int cancelButton = -1;  // what Escape or closing the box picks; -1: neither works
};

struct Backend {
    virtual ~Backend() = default;

    // Makes the on-screen window for `w` (hidden until Show); false when it cannot.
    virtual bool Create(Window &w) = 0;
    virtual void SetTitle(Window &w) = 0;
    virtual void Show(Window &w, bool visible) = 0;
    // Copies `area` of the client surface to the screen.
    virtual void Present(Window &w, const RECT &area) = 0;
    // Appends the input the window system has for us; never blocks.
    virtual void Poll(std::deque<InputEvent> &input) = 0;
    // Blocks until input may be there or `timeoutNs` has passed.
    virtual void Wait(uint64_t timeoutNs) = 0;
    // Keeps mouse input coming to `w` (null: nobody) also from outside it.
    virtual void SetCapture(Window *w) = 0;
    virtual void Destroy(Window &w) = 0;
    // Input made up by a test, delivered as if the user had made it. May be called from
    // another thread while the program's thread pumps.
    virtual void Inject(const InputEvent &e) = 0;
    virtual SIZE ScreenSize() = 0;
    // Shows a modal box over `owner` (null: no owner) until the user picks a button;
    // returns its index, or -1 with the reason in `why` when no box could be shown.
    // Headless: no one can answer, so the box is written to standard error and answers
    // as if dismissed.
    virtual int ShowBox(Window *owner, const BoxSpec &box, std::string &why) = 0;
    // Shortest time between two presents of one window: the display's frame time.
    virtual uint64_t FrameIntervalNs() = 0;
};

std::unique_ptr<Backend> MakeHeadlessBackend();
// Prints one line and ends the process with status 1 when no display can be opened.
std::unique_ptr<Backend> MakeSdl2Backend();

// The active backend, created on first use; null from CurrentBackend until then.
Backend &ActiveBackend();
Backend *CurrentBackend();
// Picks headless for the backend still to be created. False once one exists.
bool ChooseHeadlessBackend();

// Monotonic clock in nanoseconds.
uint64_t NowNs();

} // namespace standin::user

#endif // STANDIN_USER_BACKENDS_BACKEND_H
