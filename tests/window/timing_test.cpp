// Delay and the clocks: they pump nothing, and IntervalElapsed keeps one shared last time.
#include "support.h"

#include <climits>
#include <cstdlib>

namespace {

TEST(Timing, DelaySleepsWithoutPumpingAndTheClockIsTheTimer)
{
    hooks::StartCallLog();
    Delay(3);
    EXPECT_EQ(hooks::StopCallLog(), std::vector<std::string>{"Sleep(3)"});

    const DWORD before = timeGetTime();
    const unsigned int now = ElapsedMillis();
    const DWORD after = timeGetTime();
    EXPECT_LE(now - before, after - before); // between the two reads, wrap or not
}

TEST(Timing, IntervalElapsedIsTrueOnceTheIntervalHasPassedSinceTheLastTrue)
{
    EXPECT_TRUE(IntervalElapsed(0));
    EXPECT_TRUE(IntervalElapsed(0));
    // Just after a true result, 2^32 - 1 ms cannot have passed.
    EXPECT_FALSE(IntervalElapsed(UINT_MAX));


    // In a tight loop, each true comes at least the interval after the previous one. The
    // clock read before a call bounds its own read from below, the one after from above.
    struct Reads {
        unsigned int before, after;
    };
    std::vector<Reads> trues;
    while (trues.size() < 4) {
        const unsigned int before = ElapsedMillis();
        const bool elapsed = IntervalElapsed(20);
        const unsigned int after = ElapsedMillis();
        if (elapsed)
            trues.push_back({before, after});
        else
            Delay(1);
    }
    for (size_t i = 1; i < trues.size(); ++i)
        EXPECT_GE(trues[i].after - trues[i - 1].before, 20u) << i;
}

TEST(TimingDeathTest, TheFirstCallStartsTheClock)
{
    // A fresh process, so that this is the very first call.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(IntervalElapsed(UINT_MAX) ? 1 : IntervalElapsed(0) ? 0 : 2),
                ::testing::ExitedWithCode(0), "");
}

} // namespace
