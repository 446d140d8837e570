// random.cpp - the lagged-Fibonacci generator behind every random decision of the game.
#include "random.h"

#include <ctime>

namespace {

constexpr uint32_t kMask30 = 0x3FFFFFFF;
constexpr int kTableSize = 55;

uint32_t table[kTableSize];
int first = 0;  // i
int second = 0; // j

} // namespace

void SeedRandomAt(int64_t secondsSinceEpoch)
{
    first = 0;
    second = 31;
    table[0] = static_cast<uint32_t>(static_cast<uint64_t>(secondsSinceEpoch) & kMask30);
    table[1] = 1;
    for (int n = 2; n < kTableSize; ++n)
        table[n] = (table[n - 1] + table[n - 2]) & kMask30;
}

void SeedRandom()
{
    // time() counts whole seconds since 1970-01-01 00:00 UTC on every system we build for.
    SeedRandomAt(static_cast<int64_t>(std::time(nullptr)));
}

int32_t NextRandom()
{
    const uint32_t v = (table[first] + table[second]) & kMask30;
    table[first] = v;
    first = (first + 1) % kTableSize;
    second = (second + 1) % kTableSize;
    return static_cast<int32_t>(v >> 6);
}

int32_t RandomInRange(int32_t lo, int32_t hi)
{
    // 64-bit width so that no pair of 32-bit bounds can overflow the range or the mask.
    const int64_t n = static_cast<int64_t>(hi) - lo + 1;
    if (n < 2)
        return lo;
    int64_t m = 2;
    while (m < n)
        m *= 2;
    int64_t r;
    do {
        r = NextRandom() & (m - 1);
    } while (r >= n);
    return static_cast<int32_t>(lo + r);
}
