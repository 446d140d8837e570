// selfcheck_fuzz.cpp - a fuzz target that misbehaves on purpose, one way per first input
// byte, so that scripts/fuzz.sh --smoke can check the harness itself: that each ending it
// promises to accept is accepted and each it promises to report is reported.
#include "forked.h"

#include "graphics.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

volatile int sink;
// The spinning case counts here: unsigned, so a fast machine wraps it instead of meeting
// the overflow check before the CPU budget is spent.
volatile unsigned spins;

enum Case : uint8_t {
    kReturn, kExitOne, kThrowOutOfMemory, kRefusedAllocation, // accepted
    kNullRead, kHeapOverflow, kSignedOverflow, kLeak, kSpin, kSleep, kExitThree, kAbort,
    kThrowingAllocation, kFailedCheck, // reported
};

// Memory whose only pointer is gone by the time the leak check looks.
__attribute__((noinline)) void Lose()
{
    char *lost = new char[100];
    std::memset(lost, 1, 100);
    sink = lost[sink];
}

void Misbehave(const uint8_t *data, size_t size)
{
    const int which = size ? data[0] : kReturn;
    switch (which) {
    case kExitOne:
        std::exit(1);
    case kThrowOutOfMemory:
        throw ERROR_OUT_OF_MEMORY;
    case kRefusedAllocation: {
        // Beyond the budget: refused, and the program may go on.
        char *big = new (std::nothrow) char[size_t{1} << 30];
        sink = big == nullptr;
        delete[] big;
        break;
    }
    case kNullRead:
        sink = *reinterpret_cast<volatile int *>(static_cast<uintptr_t>(sink));
        break;
    case kHeapOverflow: {
        char *bytes = new char[8];
        sink = bytes[8 + sink];
        delete[] bytes;
        break;
    }
    case kSignedOverflow: {
        volatile int big = INT_MAX;
        sink = big + 1;
        break;
    }
    case kLeak:
        Lose();
        break;
    case kSpin:
        for (;;)
            spins = spins + 1;
    case kSleep:
        for (;;)
            sleep(1);
    case kExitThree:
        std::exit(3);
    case kAbort:
        std::abort();
    case kThrowingAllocation: {
        // Beyond the budget with the throwing form: std::bad_alloc, which nothing catches.
        char *big = new char[size_t{1} << 30];
        sink = big[0];
        delete[] big;
        break;
    }
    case kFailedCheck:
        FUZZ_CHECK(size == 0);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qgfuzz::StartForkServer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const qgfuzz::Verdict verdict = qgfuzz::RunForked(Misbehave, data, size);
    if (verdict.ending == qgfuzz::Ending::Exited && verdict.value != 1)
        qgfuzz::Fail("the process ended with a status other than 1");
    return 0;
}
