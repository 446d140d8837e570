// The message queue: PeekMessageA, TranslateMessageA, DispatchMessageA, PostMessageA,
// mouse capture, routing of window-system input, presenting, and the idle wait that keeps
// a program spinning on PeekMessageA from burning a core.
#include "user/queue.h"

#include "common/trace.h"
#include "user/backends/backend.h"
#include "user/backends/runner.h"
#include "user/keyboard.h"
#include "user/window.h"

#include <algorithm>
#include <ctime>
#include <deque>
#include <optional>
#include <thread>

namespace standin::user {

namespace {

struct Queue {
    std::deque<MSG> posted;       // PostMessageA and TranslateMessage; taken before input
    std::deque<InputEvent> input; // window-system input, routed when it is read
    std::deque<InputEvent> polled;
    HWND capture = nullptr;
    BYTE keys[256] = {};   // key state as the program has read it: 0x80 down, 0x01 toggled
    WPARAM buttons = 0;    // MK_ button flags as the program has read them
    POINT cursor{0, 0};    // screen position of the last mouse message read
    int emptyRun = 0;
    uint64_t lastEmptyNs = 0;
    uint64_t lastActivity = 0;
};

Queue &Q()
{
    static Queue q;
    return q;
}

DWORD MessageTime() { return static_cast<DWORD>(NowNs() / 1000000u); }

bool Matches(HWND hwnd, UINT message, HWND filter, UINT min, UINT max)
{
    if (filter == reinterpret_cast<HWND>(-1)) {
        if (hwnd)
            return false;
    } else if (filter && hwnd != filter) {
        return false;
    }
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

WPARAM ButtonFlag(int button)
{
    return button == 0 ? MK_LBUTTON : button == 1 ? MK_RBUTTON : MK_MBUTTON;
}

WPARAM ModifierFlags(const Queue &q)
{
    WPARAM flags = 0;
    if (q.keys[VK_SHIFT] & 0x80)
        flags |= MK_SHIFT;
    if (q.keys[VK_CONTROL] & 0x80)
        flags |= MK_CONTROL;
    return flags;
}

// The message an input event becomes now, given the capture; nothing when it goes to no
// window (its window is gone, or a click outside every window without capture).
std::optional<MSG> Route(const Queue &q, const InputEvent &e)
{
    Window *source = FindWindow(e.hwnd);
    if (!source)
        return std::nullopt;
    MSG m{};
    m.time = MessageTime();
    m.pt = q.cursor;
    if (e.type == InputEvent::Type::Key) {
        bool alt = (q.keys[VK_MENU] & 0x80) || e.virtualKey == VK_MENU;
        bool sys = alt || e.virtualKey == VK_F10;
        m.hwnd = e.hwnd;
        m.message = e.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        m.wParam = static_cast<WPARAM>(e.virtualKey);
        DWORD lp = 1u | (static_cast<DWORD>(e.scanCode & 0xFF) << 16);
        if (alt)
            lp |= 1u << 29;
        if (!e.down)
            lp |= (1u << 30) | (1u << 31);
        else if (e.repeat)
            lp |= 1u << 30;
        m.lParam = static_cast<LPARAM>(lp);
        return m;
    }
    if (e.type == InputEvent::Type::Close) {
        m.hwnd = e.hwnd;
        m.message = WM_CLOSE;
        return m;
    }

    // Made-up input may lie anywhere: positions are worked out in 64 bits, and the screen
    // position pinned to the 32 bits a POINT holds.
    const POINT origin = source->ClientOrigin();
    const int64_t sx = int64_t{origin.x} + e.x, sy = int64_t{origin.y} + e.y;
    const POINT screen{PinnedLong(sx), PinnedLong(sy)};
    Window *target = FindWindow(q.capture);
    if (!target) {
        bool inside = e.x >= 0 && e.y >= 0 && e.x < source->ClientWidth() && e.y < source->ClientHeight();
        if (!inside || !source->visible)
            return std::nullopt;
        target = source;
    }
    const POINT to = target->ClientOrigin();
    const int64_t cx = sx - to.x, cy = sy - to.y;
    m.hwnd = target->hwnd();
    m.pt = screen;
    WPARAM buttons = q.buttons;
    switch (e.type) {
    case InputEvent::Type::Move:
        m.message = WM_MOUSEMOVE;
        break;
    case InputEvent::Type::Button: {
        static const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static const UINT ups[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        int b = std::clamp(e.button, 0, 2);
        m.message = e.down ? downs[b] : ups[b];
        buttons = e.down ? (buttons | ButtonFlag(b)) : (buttons & ~ButtonFlag(b));
        break;
    }
    case InputEvent::Type::Wheel:
        m.message = WM_MOUSEWHEEL;
        // The wheel reports screen coordinates and its delta in the high word.
        m.wParam = (static_cast<WPARAM>(static_cast<WORD>(int64_t{e.wheelDelta} * WHEEL_DELTA)) << 16) |
                   buttons | ModifierFlags(q);
        m.lParam = MAKELPARAM(screen.x, screen.y);
        return m;
    default:
        break;
    }
    m.wParam = buttons | ModifierFlags(q);
    // Each coordinate travels as a 16-bit word: -1 arrives as 65535.
    m.lParam = MAKELPARAM(cx, cy);
    return m;
}

// What reading an input message changes: key state, buttons, cursor position.
void Consume(Queue &q, const InputEvent &e, const MSG &m)
{
    if (e.type == InputEvent::Type::Key) {
        BYTE &k = q.keys[e.virtualKey & 0xFF];
        if (e.down) {
            if (!(k & 0x80))
                k ^= 0x01; // toggle keys (Caps Lock) flip on each fresh press
            k |= 0x80;
        } else {
            k &= static_cast<BYTE>(~0x80);
        }
    } else if (e.type == InputEvent::Type::Button || e.type == InputEvent::Type::Move) {
        if (e.type == InputEvent::Type::Button) {
            WPARAM flag = ButtonFlag(std::clamp(e.button, 0, 2));
            q.buttons = e.down ? (q.buttons | flag) : (q.buttons & ~flag);
        }
        q.cursor = m.pt;
    }
}

bool TakePosted(Queue &q, MSG *out, HWND filter, UINT min, UINT max, bool remove)
{
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!Matches(it->hwnd, it->message, filter, min, max))
            continue;
        *out = *it;
        if (remove)
            q.posted.erase(it);
        return true;
    }
    return false;
}

bool TakeInput(Queue &q, MSG *out, HWND filter, UINT min, UINT max, bool remove)
{
    for (auto it = q.input.begin(); it != q.input.end();) {
        std::optional<MSG> m = Route(q, *it);
        if (!m) {
            it = q.input.erase(it); // input for no window is dropped, as the system does
            continue;
        }
        if (!Matches(m->hwnd, m->message, filter, min, max)) {
            ++it;
            continue;
        }
        *out = *m;
        if (remove) {
            Consume(q, *it, *m);
            q.input.erase(it);
        }
        return true;
    }
    return false;
}

// Moves the backend's input into the queue. Mouse moves in a row collapse into the last
// one, as Win32 only ever reports where the mouse is now.
void PollBackend(Queue &q)
{
    Backend *b = CurrentBackend();
    if (!b)
        return;
    b->Poll(q.polled);
    for (InputEvent &e : q.polled) {
        if (e.type == InputEvent::Type::Move && !q.input.empty() && q.input.back().type == InputEvent::Type::Move &&
            q.input.back().hwnd == e.hwnd)
            q.input.back() = e;
        else
            q.input.push_back(e);
    }
    q.polled.clear();
}

uint64_t NextPresentDelay()
{
    Backend *b = CurrentBackend();
    uint64_t delay = UINT64_MAX;
    if (!b)
        return delay;
    uint64_t now = NowNs(), interval = b->FrameIntervalNs();
    Windows().ForEach([&](const Window &w) {
        if (w.visible && w.client->IsDirty()) {
            uint64_t due = w.lastPresentNs + interval;
            delay = std::min(delay, due > now ? due - now : 0);
        }
    });
    return delay;
}

void WaitForInput(uint64_t timeoutNs)
{
    timeoutNs = std::min(timeoutNs, NextPresentDelay());
    if (Backend *b = CurrentBackend())
        b->Wait(timeoutNs);
    else
        std::this_thread::sleep_for(std::chrono::nanoseconds(timeoutNs));
}

} // namespace

uint64_t NowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
}

void PurgeMessages(HWND hwnd)
{
    Queue &q = Q();
    q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), [&](const MSG &m) { return m.hwnd == hwnd; }),
                   q.posted.end());
}

void ForgetCapture(HWND hwnd)
{
    Queue &q = Q();
    if (q.capture != hwnd)
        return;
    q.capture = nullptr;
    if (Backend *b = CurrentBackend())
        b->SetCapture(nullptr);
    SendToProc(hwnd, WM_CAPTURECHANGED, 0, 0);
}

HWND CaptureHolder() { return FindWindow(Q().capture) ? Q().capture : nullptr; }

void DrainAll()
{
    Queue &q = Q();
    PollBackend(q);
    q.posted.clear();
    q.input.clear();
    std::fill(std::begin(q.keys), std::end(q.keys), BYTE{0});
    q.buttons = 0;
}

void PresentDue(bool force)
{
    Backend *b = CurrentBackend();
    if (!b)
        return;
    uint64_t now = 0, interval = 0;
    Windows().ForEach([&](Window &w) {
        if (!w.visible || !w.client->IsDirty())
            return;
        if (!now) {
            now = NowNs();
            interval = b->FrameIntervalNs();
        }
        if (!force && now - w.lastPresentNs < interval)
            return;
        RECT area = w.client->dirty;
        w.client->dirty = RECT{0, 0, 0, 0};
        w.lastPresentNs = now;
        b->Present(w, area);
    });
}

void SleepPumping(uint32_t milliseconds)
{
    uint64_t deadline = NowNs() + static_cast<uint64_t>(milliseconds) * 1000000u;
    Queue &q = Q();
    for (;;) {
        PresentDue();
        PollBackend(q);
        uint64_t now = NowNs();
        if (now >= deadline)
            break;
        WaitForInput(deadline - now);
    }
}

} // namespace standin::user

std::function<void()> &standin::user::IdleHook()
{
    static std::function<void()> hook;
    return hook;
}

using namespace standin;
using namespace standin::user;

extern "C" BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                    UINT wRemoveMsg)
{
    // Not counted as activity: a loop of nothing but PeekMessageA is what the idle wait is for.
    if (trace::EnterQuiet("PeekMessageA", lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg))
        return FALSE;
    Queue &q = Q();
    bool remove = (wRemoveMsg & PM_REMOVE) != 0;
    bool validFilter = !lpMsg ? false : (!hWnd || hWnd == reinterpret_cast<HWND>(-1) || FindWindow(hWnd));
    if (validFilter) {
        PresentDue();
        if (TakePosted(q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove) ||
            TakeInput(q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove)) {
            q.emptyRun = 0;
            return TRUE;
        }
        PollBackend(q);
        if (TakeInput(q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove)) {
            q.emptyRun = 0;
            return TRUE;
        }
    }

    // Nothing there. A program that asks again and again with nothing else to do waits
    // here briefly for input; it cannot tell, and an idle loop stops costing a core.
    uint64_t now = NowNs();
    uint64_t activity = trace::Get().activity;
    if (activity != q.lastActivity || now - q.lastEmptyNs > kIdleGapNs)
        q.emptyRun = 0;
    bool found = false;
    if (++q.emptyRun > kIdleSpinLimit) {
        if (IdleHook())
            IdleHook()();
        RunnerProgramWaits();
        WaitForInput(kIdleWaitNs);
        if (validFilter) {
            PresentDue();
            PollBackend(q);
            found = TakeInput(q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove);
        }
    }
    if (found) {
        q.emptyRun = 0;
        return TRUE;
    }
    q.lastEmptyNs = NowNs();
    q.lastActivity = activity;
    return FALSE;
}

extern "C" BOOL WINAPI TranslateMessage(const MSG *lpMsg)
{
    if (trace::Enter("TranslateMessage", lpMsg))
        return FALSE;
    if (!lpMsg)
        return FALSE;
    UINT m = lpMsg->message;
    if (m == WM_KEYUP || m == WM_SYSKEYUP)
        return TRUE;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN)
        return FALSE;
    Queue &q = Q();
    Modifiers mods;
    mods.shift = (q.keys[VK_SHIFT] & 0x80) != 0;
    mods.control = (q.keys[VK_CONTROL] & 0x80) != 0 && m == WM_KEYDOWN;
    mods.capsLock = (q.keys[VK_CAPITAL] & 0x01) != 0;
    unsigned ch = CharacterForKey(static_cast<int>(lpMsg->wParam), mods);
    if (ch) {
        // Posted, so it comes before any input still waiting: WM_KEYDOWN, WM_CHAR, WM_KEYUP.
        MSG c = *lpMsg;
        c.message = m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        c.wParam = ch;
        q.posted.push_back(c);
    }
    return TRUE;
}

extern "C" LRESULT WINAPI DispatchMessageA(const MSG *lpMsg)
{
    if (trace::Enter("DispatchMessageA", lpMsg))
        return 0;
    if (!lpMsg)
        return 0;
    Window *w = FindWindow(lpMsg->hwnd);
    if (!w || !w->proc)
        return 0;
    return w->proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

extern "C" BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (trace::Enter("PostMessageA", hWnd, Msg, wParam, lParam))
        return FALSE;
    // NULL posts to the thread itself; anything else must be a live window.
    if (hWnd && !FindWindow(hWnd))
        return FALSE;
    MSG m{};
    m.hwnd = hWnd;
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = MessageTime();
    m.pt = Q().cursor;
    Q().posted.push_back(m);
    return TRUE;
}

extern "C" LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (trace::Enter("SendMessageA", hWnd, Msg, wParam, lParam))
        return 0;
    // Every window belongs to the one thread, so its procedure runs now, as Win32 does for
    // a window of the calling thread; nothing goes through the queue.
    return SendToProc(hWnd, Msg, wParam, lParam);
}

extern "C" HWND WINAPI SetCapture(HWND hWnd)
{
    if (trace::Enter("SetCapture", hWnd))
        return nullptr;
    Queue &q = Q();
    HWND previous = FindWindow(q.capture) ? q.capture : nullptr;
    Window *w = FindWindow(hWnd);
    if (!w)
        return nullptr;
    q.capture = hWnd;
    ActiveBackend().SetCapture(w);
    if (previous && previous != hWnd)
        SendToProc(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return previous;
}

extern "C" BOOL WINAPI ReleaseCapture(void)
{
    if (trace::Enter("ReleaseCapture"))
        return FALSE;
    Queue &q = Q();
    HWND previous = q.capture;
    q.capture = nullptr;
    if (Backend *b = CurrentBackend())
        b->SetCapture(nullptr);
    // Succeeds also when nothing was captured.
    if (previous && FindWindow(previous))
        SendToProc(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
