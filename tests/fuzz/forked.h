// forked.h - runs one fuzz input in a child process. The library may end the process on
// purpose (the JPEG decoder's exit with status 1, the program ending when its window is
// closed), so the child's ending is judged here instead of ending the fuzzer.
//
// The child runs under a budget: 1 s of CPU time, 5 s of wall-clock time (a wait that
// sleeps), and 512 MiB of address space beyond what it inherits, past which allocations
// fail as they would on a machine without more memory. A signal, a sanitizer report, an
// overrun budget, a failed check or a leak is a finding: the child's output is shown and
// this process aborts, which libFuzzer records as a crash with the input that caused it.
#ifndef QUILLGRAPH_FUZZ_FORKED_H
#define QUILLGRAPH_FUZZ_FORKED_H

#include <cstddef>
#include <cstdint>

namespace qgfuzz {

// How a child ended that is not a finding by itself; the caller judges it further.
enum class Ending {
    Returned, // the body came back
    Threw,    // the body let one of the library's `error` values out (value: the error)
    Exited,   // the process was ended through exit() (value: its status)
};

struct Verdict {
    Ending ending;
    int value;
};

using Body = void (*)(const uint8_t *data, size_t size);

// Starts the fork server that forks the children: call it at the end of
// LLVMFuzzerInitialize, once whatever the children should share is loaded (fonts), while
// the fuzzer is still small. RunForked starts it itself if it has not been started.
void StartForkServer();

// Runs body(data, size) in a forked child and brings its coverage back to libFuzzer.
// With QG_FUZZ_NOFORK=1 in the environment the body runs in this process instead (for a
// debugger); QG_FUZZ_ECHO=1 lets the child's output through as it is written.
Verdict RunForked(Body body, const uint8_t *data, size_t size);

// A finding in the parent's own judgement of a verdict: says why, then aborts.
[[noreturn]] void Fail(const char *why);

// The window targets' judgement of a program that owns a window: closing the window ends
// it with status 0 and no other exit is allowed; the only error that may leave is
// ERROR_OUT_OF_MEMORY (`otherError` says what raised anything else).
void JudgeWindowProgram(const Verdict &verdict, const char *otherError);

// A failed check inside the body: says what and aborts the child.
[[noreturn]] void CheckFailed(const char *what, const char *file, int line);

} // namespace qgfuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::qgfuzz::CheckFailed(#condition, __FILE__, __LINE__);                                 \
    } while (0)

#endif // QUILLGRAPH_FUZZ_FORKED_H
