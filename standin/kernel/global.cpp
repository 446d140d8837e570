// global.cpp - GlobalFree and the blocks it frees. Handles are tokens of a table, never
// addresses, so a stale or made-up handle fails instead of freeing something else.
#include "kernel/global.h"

#include "common/trace.h"

#include <cstdint>
#include <map>
#include <new>
#include <vector>

namespace {

struct Blocks {
    std::map<uintptr_t, std::vector<unsigned char>> live;
    uintptr_t next = 0x10000;
};

Blocks &Table()
{
    static Blocks blocks;
    return blocks;
}

} // namespace

HGLOBAL standin::kernel::NewGlobal(const void *bytes, std::size_t size)
{
    Blocks &t = Table();
    try {
        const auto *p = static_cast<const unsigned char *>(bytes);
        t.live.emplace(t.next, std::vector<unsigned char>(p, p + size));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    const uintptr_t handle = t.next;
    t.next += 0x10;
    return reinterpret_cast<HGLOBAL>(handle);
}

int standin::kernel::LiveGlobalCount() { return static_cast<int>(Table().live.size()); }

extern "C" HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (standin::trace::Enter("GlobalFree", hMem))
        return hMem;
    if (!hMem)
        return nullptr;
    // Success gives NULL; a handle that names no block comes back as it was.
    return Table().live.erase(reinterpret_cast<uintptr_t>(hMem)) ? nullptr : hMem;
}
