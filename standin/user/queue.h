// queue.h - the thread's one message queue: posted messages, window-system input waiting
// to be routed, mouse capture, and the presenting of what was drawn.
#ifndef STANDIN_USER_QUEUE_H
#define STANDIN_USER_QUEUE_H

#include <standin/win32.h>

#include <cstdint>
#include <functional>

namespace standin::user {

// Drops a destroyed window's posted messages and its capture.
void PurgeMessages(HWND hwnd);
void ForgetCapture(HWND hwnd);
HWND CaptureHolder();
// Empties the queue and the backend's pending input and forgets held keys and buttons
// (tests start from a clean queue).
void DrainAll();

// Shows what was drawn on visible windows, if the display's frame time has passed since
// each was last shown (or always, with `force`).
void PresentDue(bool force = false);

// Sleep's work once a window exists: the window system keeps showing drawing and
// collecting input (which waits in the queue, undispatched) until the time is up.
void SleepPumping(uint32_t milliseconds);

// Consecutive empty PeekMessageA calls, with nothing else in between, before PeekMessageA
// starts to wait for input (at most kIdleWaitNs each time).
constexpr int kIdleSpinLimit = 1000;
constexpr uint64_t kIdleWaitNs = 1000000;
// An empty peek more than this after the previous one is not part of a tight loop.
constexpr uint64_t kIdleGapNs = 50000;
// The test hook run each time PeekMessageA starts such a wait.
std::function<void()> &IdleHook();

} // namespace standin::user

#endif // STANDIN_USER_QUEUE_H
