// The generator's sequence and RandomInRange's rejection sampling: both are part of the
// game's contract, since a seed must reproduce a whole game.
#include "random.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr int64_t kNewYear2026 = 1767225600; // 2026-01-01 00:00:00 UTC

std::vector<int32_t> RawValues(int64_t seed, int count)
{
    SeedRandomAt(seed);
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(NextRandom());
    return values;
}

// What RandomInRange(lo, lo + n - 1) must return when it masks raw values with `mask`
// and rejects those >= n, reading the raw stream of `seed` from position `from`.
int32_t ExpectedDraw(int64_t seed, int from, int32_t lo, int32_t n, int32_t mask, int *consumed)
{
    const auto raw = RawValues(seed, from + 1000);
    for (int p = from; p < static_cast<int>(raw.size()); ++p) {
        if ((raw[p] & mask) < n) {
            *consumed = p - from + 1;
            return lo + (raw[p] & mask);
        }
    }
    ADD_FAILURE() << "no accepted value in 1000 draws";
    return lo;
}

// The first values and the 200th, by the generator's rules worked out on their own; the
// clock's second is beyond 30 bits, so its mask counts too.
TEST(Random, ReferenceSequenceForNewYear2026)
{
    const auto raw = RawValues(kNewYear2026, 200);
    EXPECT_EQ(std::vector<int32_t>(raw.begin(), raw.begin() + 4), (std::vector<int32_t>{9815215, 6516680, 16331895, 6071359}));
    EXPECT_EQ(raw[199], 632916);
}

TEST(Random, EmptyAndSingleValueRangesConsumeNothing)
{
    const auto expected = RawValues(kNewYear2026, 3);
    SeedRandomAt(kNewYear2026);
    EXPECT_EQ(RandomInRange(5, 5), 5);
    EXPECT_EQ(RandomInRange(3, 2), 3);
    EXPECT_EQ(RandomInRange(INT_MAX, INT_MIN), INT_MAX);
    EXPECT_EQ(NextRandom(), expected[0]);
}

TEST(Random, GameRangesUseTheirPowerOfTwoMasks)
{
    struct Range {
        int32_t lo, hi, mask;
    };
    // (0, 4), (-2, 2), (0, 6) mask with 7; (0, 16) with 31; a volley count, 15 wide, with 15.
    const Range ranges[] = {{0, 4, 7}, {-2, 2, 7}, {0, 6, 7}, {0, 16, 31}, {4, 18, 15}, {0, 1, 1}};
    for (const Range &range : ranges) {
        for (int64_t seed = kNewYear2026; seed < kNewYear2026 + 40; ++seed) {
            int consumed = 0;
            const int32_t expected = ExpectedDraw(seed, 0, range.lo, range.hi - range.lo + 1, range.mask, &consumed);
            SeedRandomAt(seed);
            ASSERT_EQ(RandomInRange(range.lo, range.hi), expected) << range.lo << ".." << range.hi;
            // The draw consumed exactly the rejected values plus the accepted one.
            const auto raw = RawValues(seed, consumed + 1);
            SeedRandomAt(seed);
            RandomInRange(range.lo, range.hi);
            ASSERT_EQ(NextRandom(), raw[consumed]);
        }
    }
}

TEST(Random, WidestRangeNeitherOverflowsNorLoops)
{
    SeedRandomAt(kNewYear2026);
    const int32_t v = RandomInRange(INT_MIN, INT_MAX);
    EXPECT_EQ(v, static_cast<int32_t>(int64_t{INT_MIN} + RawValues(kNewYear2026, 1)[0]));
}

} // namespace
