// global.h - movable global memory as GlobalAlloc hands it out: a handle a block, freed
// with GlobalFree. The print dialog returns its device mode and device names in two.
#ifndef STANDIN_KERNEL_GLOBAL_H
#define STANDIN_KERNEL_GLOBAL_H

#include <standin/win32.h>

#include <cstddef>
#include <string>

namespace standin::kernel {

// A new block holding a copy of the bytes; null when there is no memory for it.
HGLOBAL NewGlobal(const void *bytes, std::size_t size);
// Blocks handed out and not yet freed.
int LiveGlobalCount();

} // namespace standin::kernel

#endif // STANDIN_KERNEL_GLOBAL_H
