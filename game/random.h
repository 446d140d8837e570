// random.h - the game's one source of randomness: an additive lagged-Fibonacci
// generator (lags 55 and 24, modulo 2^30). Its sequence is part of the game's contract:
// the same seed gives the same fleet and the same volleys everywhere.
#ifndef ZARN_RANDOM_H
#define ZARN_RANDOM_H

#include <cstdint>

// Seeds from the calendar clock (whole seconds since 1970-01-01 00:00 UTC).
void SeedRandom();
// Seeds as SeedRandom would at the given number of seconds; lets a game be replayed.
void SeedRandomAt(int64_t secondsSinceEpoch);
// The next raw value, 0 to 2^24 - 1.
int32_t NextRandom();
// A uniformly distributed integer in [lo, hi]; lo itself, drawing nothing, when hi <= lo.
int32_t RandomInRange(int32_t lo, int32_t hi);

#endif // ZARN_RANDOM_H
