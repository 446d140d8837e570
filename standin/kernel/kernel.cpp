// The kernel and multimedia-timer calls: module handle, Sleep and the millisecond clock.
#include "kernel/clock.h"

#include "common/trace.h"
#include "user/backends/runner.h"
#include "user/backends/settings.h"
#include "user/queue.h"
#include "user/window.h"

#include <standin/win32.h>

#include <cerrno>
#include <ctime>
#include <functional>

namespace {

// One non-null value stands for the process's own module; Win32 programs only compare
// it and pass it back. It is the classic image base, so call logs read the same each run.
HMODULE const processModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));

DWORD RealClockMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncation to 32 bits gives the wrap-around at 2^32 ms that the real timer has.
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                              static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

struct Clock {
    bool isVirtual = false;
    DWORD virtualNow = 0;
};

// The person running the program may ask for the virtual clock; it starts at the real
// clock's reading, so the program sees an ordinary time.
Clock &TheClock()
{
    static Clock clock = [] {
        Clock c;
        c.isVirtual = standin::user::CurrentSettings().virtualClock;
        if (c.isVirtual)
            c.virtualNow = RealClockMs();
        return c;
    }();
    return clock;
}

} // namespace

uint32_t standin::kernel::ProgramClockMs()
{
    const Clock &c = TheClock();
    return c.isVirtual ? c.virtualNow : RealClockMs();
}

bool standin::kernel::ClockIsVirtual() { return TheClock().isVirtual; }

void standin::kernel::AdvanceVirtualClock(uint32_t milliseconds)
{
    Clock &c = TheClock();
    if (c.isVirtual)
        c.virtualNow += milliseconds;
}

void standin::kernel::UseVirtualClock(bool on)
{
    TheClock().isVirtual = on;
    TheClock().virtualNow = 0;
}

std::function<void(uint32_t)> &standin::kernel::SleepHook()
{
    static std::function<void(uint32_t)> hook;
    return hook;
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
    if (const auto &hook = standin::kernel::SleepHook())
        hook(dwMilliseconds);
    standin::user::RunnerProgramTimes();
    if (standin::kernel::ClockIsVirtual()) {
        standin::kernel::AdvanceVirtualClock(dwMilliseconds);
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
    standin::user::RunnerProgramTimes(); // a program timing its frames moves a pause on
    return standin::kernel::ProgramClockMs();
}
