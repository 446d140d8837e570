// The kernel and multimedia-timer calls: module handle, Sleep and the millisecond clock.
#include "common/trace.h"
#include "user/queue.h"
#include "user/window.h"

#include <standin/testhooks.h>
#include <standin/win32.h>

#include <cerrno>
#include <ctime>
#include <functional>

namespace {

// One non-null value stands for the process's own module; Win32 programs only compare
// it and pass it back. It is the classic image base, so call logs read the same each run.
HMODULE const processModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));

bool virtualClock = false;
DWORD virtualNow = 0;
std::function<void(DWORD)> sleepHook;

} // namespace

void standin::test::OnSleep(std::function<void(DWORD)> callback)
{
    sleepHook = std::move(callback);
}

void standin::test::UseVirtualClock(bool on)
{
    virtualClock = on;
    virtualNow = 0;
}

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    if (standin::trace::Enter("GetModuleHandleA", lpModuleName))
        return nullptr;
    // Only the process itself is a module here; a named DLL is never loaded.
    return lpModuleName ? nullptr : processModule;
}

extern "C" void WINAPI Sleep(DWORD dwMilliseconds)
{
    // Sleep cannot fail; it is logged like every call but takes no injected failure.
    standin::trace::Note("Sleep", dwMilliseconds);
    if (sleepHook)
        sleepHook(dwMilliseconds);
    if (virtualClock) {
        virtualNow += dwMilliseconds;
        return;
    }
    // With a window open, the window system goes on showing drawing and collecting input
    // (which waits in the queue) while the program sleeps.
    if (standin::user::Windows().LiveCount() != 0) {
        standin::user::SleepPumping(dwMilliseconds);
        return;
    }
    timespec left{static_cast<time_t>(dwMilliseconds / 1000),
                  static_cast<long>(dwMilliseconds % 1000) * 1000000L};
    // A signal must not cut the sleep short: Win32's Sleep always sleeps its full time.
    while (nanosleep(&left, &left) == -1 && errno == EINTR) {
    }
}

extern "C" DWORD WINAPI timeGetTime(void)
{
    // It has no failure result to inject. Reading the clock is not work: a loop that
    // checks the time between empty PeekMessageA calls still counts as idle.
    standin::trace::NoteQuiet("timeGetTime");
    if (virtualClock)
        return virtualNow;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncation to 32 bits gives the wrap-around at 2^32 ms that the real timer has.
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                              static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
