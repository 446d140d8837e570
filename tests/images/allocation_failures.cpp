// allocation_failures.cpp - replacements of the nothrow forms of operator new that can be
// told to fail; everything else is left to the runtime (and to the sanitizers).
#include "allocation_failures.h"

#include <new>

namespace {

bool active = false;
int countdown = 0;
std::size_t limit = ~std::size_t{0};
// Recorded without allocating: the operators below must not call themselves.
std::size_t sizes[64];
int recorded = 0;

bool ShouldFail(std::size_t size)
{
    if (!active)
        return false;
    if (recorded < 64)
        sizes[recorded++] = size;
    if (countdown > 0 && --countdown == 0)
        return true;
    return size > limit;
}

} // namespace

namespace allocations {

void Start(int failNth, std::size_t sizeLimit)
{
    countdown = failNth;
    limit = sizeLimit;
    recorded = 0;
    active = true;
}

std::vector<std::size_t> Stop()
{
    active = false;
    return std::vector<std::size_t>(sizes, sizes + recorded);
}

} // namespace allocations

// The throwing forms stay the runtime's, so the memory is theirs and plain delete frees it.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    if (ShouldFail(size))
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    if (ShouldFail(size))
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}
