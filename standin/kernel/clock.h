// clock.h - the program's millisecond clock as timeGetTime and Sleep see it: the real one,
// or a virtual one on which Sleep takes no time (QUILLGRAPH_CLOCK=virtual, or a test).
#ifndef STANDIN_KERNEL_CLOCK_H
#define STANDIN_KERNEL_CLOCK_H

#include <cstdint>
#include <functional>

namespace standin::kernel {

uint32_t ProgramClockMs(); // what timeGetTime answers
bool ClockIsVirtual();
// Moves the virtual clock on, as if the program had slept; nothing on the real clock.
void AdvanceVirtualClock(uint32_t milliseconds);
// Switches the virtual clock on (from 0) or back to the real one.
void UseVirtualClock(bool on);
// Called at the start of every Sleep; empty in a program (tests attach to it).
std::function<void(uint32_t)> &SleepHook();

} // namespace standin::kernel

#endif // STANDIN_KERNEL_CLOCK_H
