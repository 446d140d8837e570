// The kernel and multimedia-timer calls: module handle, Sleep and the millisecond clock.
#include <standin/win32.h>

#include <cerrno>
#include <ctime>

namespace {

// One non-null value stands for the process's own module; Win32 programs only compare
// it and pass it back.
struct ModuleTag {
} processModule;

} // namespace

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    // Only the process itself is a module here; a named DLL is never loaded.
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(&processModule);
}

extern "C" void WINAPI Sleep(DWORD dwMilliseconds)
{
    timespec left{static_cast<time_t>(dwMilliseconds / 1000),
                  static_cast<long>(dwMilliseconds % 1000) * 1000000L};
    // A signal must not cut the sleep short: Win32's Sleep always sleeps its full time.
    while (nanosleep(&left, &left) == -1 && errno == EINTR) {
    }
}

extern "C" DWORD WINAPI timeGetTime(void)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncation to 32 bits gives the wrap-around at 2^32 ms that the real timer has.
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                              static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
