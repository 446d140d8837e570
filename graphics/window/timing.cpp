// timing.cpp - pauses and the millisecond clock. None of these pump messages: input
// made during a Delay waits in the platform's queue.
#include "../graphics.h"

void Delay(unsigned int ms)
{
    Sleep(ms);
}

unsigned int ElapsedMillis()
{
    return timeGetTime();
}

bool IntervalElapsed(unsigned int ms)
{
    // One last time for the whole process, shared by every caller.
    static bool started = false;
    static DWORD last = 0;
    if (!started) {
        last = timeGetTime();
        started = true;
    }
    const DWORD now = timeGetTime();
    // Unsigned subtraction keeps the clock's wrap at 2^32 harmless.
    if (static_cast<DWORD>(now - last) < ms)
        return false;
    last = now;
    return true;
}
