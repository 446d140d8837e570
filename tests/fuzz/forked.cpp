// forked.cpp - the child process of one fuzz input: its budget, how it ended, its output
// kept for a finding, and its coverage counters copied back for libFuzzer to read.
//
// Children come from a fork server: a process forked while the fuzzer is still small (in
// LLVMFuzzerInitialize, before libFuzzer builds its corpus tables), which forks one child
// per input. Forking the grown fuzzer itself costs several times more on every input.
//
// libFuzzer reads the inline 8-bit coverage counters of its own process after each input.
// A child's counters are its own copy, so before it ends the child writes them into memory
// shared with the fuzzer, which puts them in place of its own. Comparison tracing is not
// brought back; the seed corpora and the dictionary make up for it.
#include "forked.h"

#include "graphics.h"

#include <sanitizer/allocator_interface.h>
#include <sanitizer/common_interface_defs.h>
#include <sanitizer/lsan_interface.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

// The bounds of the coverage counters, placed by the linker around their section.
extern "C" {
__attribute__((weak)) extern uint8_t __start___sancov_cntrs[];
__attribute__((weak)) extern uint8_t __stop___sancov_cntrs[];
}

// Allocations past the budget must come back null (new(std::nothrow), malloc) as they
// would on a full machine, not end the process with a report; aborts report their stack.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:handle_abort=1:handle_sigill=1";
}

extern "C" const char *__ubsan_default_options()
{
    return "print_stacktrace=1";
}

// Running out of memory throws std::bad_alloc, as it does outside the sanitizer, whose own
// operator new ends the process instead: code that is written to survive it (a bitmap too
// large to make is refused, not a crash) is tested as it runs in production. The budget
// below makes such failures happen.
void *operator new(std::size_t size)
{
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }

namespace qgfuzz {

namespace {

constexpr long kCpuSeconds = 1;
constexpr unsigned kWallSeconds = 5;
constexpr rlim_t kMemoryBytes = rlim_t{512} << 20;
constexpr size_t kShownOutput = 48 * 1024;

// What the child says about its own end, beyond the three ordinary endings.
enum : int {
    kNothingSaid = -1,
    kSanitizerReport = 10,
    kCheckFailure = 11,
    kLeak = 12,
};
// Exit statuses for those; the parent reads the reason from the shared record.
constexpr int kFindingStatus = 86;

struct SharedRecord {
    volatile int ending;
    volatile int value;
    volatile int coverageCopied;
};

// One request to the fork server: run body on the input in inputFd, of size bytes.
struct Request {
    Body body;
    size_t size;
    bool checkLeaks;
};

// A leak check scans the whole heap, fonts and all: it is made for one input in this many
// (and for the first, so a single input run on its own is always checked).
constexpr unsigned kLeakCheckEvery = 8;

SharedRecord *shared = nullptr;
uint8_t *sharedCounters = nullptr;
int inputFd = -1;
int outputFd = -1;
int toServer = -1;
int fromServer = -1;
bool inChild = false;

size_t CounterBytes()
{
    if (!__start___sancov_cntrs || !__stop___sancov_cntrs)
        return 0;
    return static_cast<size_t>(__stop___sancov_cntrs - __start___sancov_cntrs);
}

[[noreturn]] void SetupFailed(const char *what)
{
    std::perror(what);
    std::abort();
}

// The address space this process holds now, in bytes (the sanitizers reserve terabytes).
rlim_t AddressSpaceInUse()
{
    char text[128] = {};
    const int fd = open("/proc/self/statm", O_RDONLY);
    if (fd < 0)
        return RLIM_INFINITY;
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0)
        return RLIM_INFINITY;
    return static_cast<rlim_t>(std::strtoull(text, nullptr, 10)) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

void StopClocks()
{
    const itimerval off{};
    setitimer(ITIMER_PROF, &off, nullptr);
    alarm(0);
}

[[noreturn]] void EndChild(int ending, int value, int status)
{
    if (ending == static_cast<int>(Ending::Returned) || ending == static_cast<int>(Ending::Threw) ||
        ending == static_cast<int>(Ending::Exited)) {
        std::memcpy(sharedCounters, __start___sancov_cntrs, CounterBytes());
        shared->coverageCopied = 1;
    }
    shared->value = value;
    shared->ending = ending;
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(status);
}

void OnExit(int status, void *)
{
    EndChild(static_cast<int>(Ending::Exited), status, status);
}

void OnSanitizerDeath()
{
    if (inChild)
        EndChild(kSanitizerReport, 0, kFindingStatus);
}

// Leaks are looked for only when the heap has grown (caches grow it too): a full scan for
// every input would cost more than the input itself.
void CheckLeaks(const Request &request, size_t heapBefore)
{
    StopClocks();
    if (request.checkLeaks && __sanitizer_get_current_allocated_bytes() > heapBefore &&
        __lsan_do_recoverable_leak_check())
        EndChild(kLeak, 0, kFindingStatus);
}

// Out of time: where the child was, before the signal ends it as it would have.
void OnTimeUp(int signal)
{
    static const char cpu[] = "==qgfuzz== out of CPU time, in:\n";
    static const char wall[] = "==qgfuzz== out of wall-clock time, in:\n";
    const ssize_t ignored = signal == SIGPROF ? write(STDERR_FILENO, cpu, sizeof cpu - 1)
                                              : write(STDERR_FILENO, wall, sizeof wall - 1);
    (void)ignored;
    __sanitizer_print_stack_trace();
    std::signal(signal, SIG_DFL);
    raise(signal);
}

[[noreturn]] void RunChild(const Request &request)
{
    inChild = true;
    // The signals libFuzzer catches in the fuzzer end the child plainly; the sanitizers'
    // own handlers (faults, aborts) stay and report.
    for (int signal : {SIGALRM, SIGPROF, SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGXFSZ, SIGPIPE})
        std::signal(signal, SIG_DFL);
    if (!std::getenv("QG_FUZZ_ECHO")) {
        dup2(outputFd, STDOUT_FILENO);
        dup2(outputFd, STDERR_FILENO);
    }
    __sanitizer_set_death_callback(OnSanitizerDeath);
    on_exit(OnExit, nullptr);

    // The input in a buffer of exactly its size, so reading past it is caught.
    uint8_t *data = new uint8_t[request.size ? request.size : 1];
    for (size_t done = 0; done < request.size;) {
        const ssize_t n = pread(inputFd, data + done, request.size - done, static_cast<off_t>(done));
        if (n <= 0)
            SetupFailed("qgfuzz: reading the input");
        done += static_cast<size_t>(n);
    }

    const rlim_t addressSpace = AddressSpaceInUse();
    if (addressSpace != RLIM_INFINITY) {
        const rlimit memory{addressSpace + kMemoryBytes, addressSpace + kMemoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::signal(SIGPROF, OnTimeUp);
    std::signal(SIGALRM, OnTimeUp);
    const itimerval cpu{{0, 0}, {kCpuSeconds, 0}};
    setitimer(ITIMER_PROF, &cpu, nullptr);
    alarm(kWallSeconds);

    const size_t heapBefore = __sanitizer_get_current_allocated_bytes();
    try {
        request.body(data, request.size);
    } catch (error e) {
        delete[] data;
        CheckLeaks(request, heapBefore);
        EndChild(static_cast<int>(Ending::Threw), e, 0);
    }
    delete[] data;
    CheckLeaks(request, heapBefore);
    EndChild(static_cast<int>(Ending::Returned), 0, 0);
}

// The fork server's loop: a child per request, its wait status back to the fuzzer.
[[noreturn]] void Serve()
{
    // Interrupts are for the fuzzer, which ends the server by closing the pipe.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    for (;;) {
        Request request;
        if (read(toServer, &request, sizeof request) != static_cast<ssize_t>(sizeof request))
            _exit(0);
        const pid_t child = fork();
        if (child == 0)
            RunChild(request);
        int status = 0;
        if (child < 0) {
            status = -1;
        } else {
            while (waitpid(child, &status, 0) < 0) {
                if (errno != EINTR) {
                    status = -1;
                    break;
                }
            }
        }
        if (write(fromServer, &status, sizeof status) != static_cast<ssize_t>(sizeof status))
            _exit(0);
    }
}

void ShowChildOutput()
{
    const off_t length = lseek(outputFd, 0, SEEK_END);
    if (length <= 0)
        return;
    off_t from = length > static_cast<off_t>(kShownOutput) ? length - static_cast<off_t>(kShownOutput) : 0;
    std::fprintf(stderr, "==qgfuzz== the child's output%s:\n", from ? " (its end)" : "");
    char chunk[4096];
    while (from < length) {
        const ssize_t n = pread(outputFd, chunk, sizeof chunk, from);
        if (n <= 0)
            break;
        fwrite(chunk, 1, static_cast<size_t>(n), stderr);
        from += n;
    }
    std::fprintf(stderr, "==qgfuzz== (end of the child's output)\n");
}

[[noreturn]] void ChildFinding(const char *why)
{
    ShowChildOutput();
    Fail(why);
}

// The wait status of the child that ran body on the input, from the fork server.
int RunInChild(Body body, const uint8_t *data, size_t size)
{
    if (ftruncate(inputFd, static_cast<off_t>(size)) != 0)
        Fail("cannot size the input file");
    for (size_t done = 0; done < size;) {
        const ssize_t n = pwrite(inputFd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0)
            Fail("cannot write the input file");
        done += static_cast<size_t>(n);
    }
    if (ftruncate(outputFd, 0) != 0)
        Fail("cannot empty the child's output file");
    shared->ending = kNothingSaid;
    shared->value = 0;
    shared->coverageCopied = 0;

    static unsigned runs = 0;
    const Request request{body, size, runs++ % kLeakCheckEvery == 0};
    if (write(toServer, &request, sizeof request) != static_cast<ssize_t>(sizeof request))
        Fail("the fork server is gone");
    int status = 0;
    for (;;) {
        const ssize_t n = read(fromServer, &status, sizeof status);
        if (n == static_cast<ssize_t>(sizeof status))
            break;
        if (n < 0 && errno == EINTR)
            continue;
        Fail("the fork server is gone");
    }
    if (status == -1)
        Fail("the fork server could not fork or wait");
    return status;
}

} // namespace

void JudgeWindowProgram(const Verdict &verdict, const char *otherError)
{
    if (verdict.ending == Ending::Exited && verdict.value != 0)
        Fail("the process ended with a nonzero status");
    if (verdict.ending == Ending::Threw && verdict.value != ERROR_OUT_OF_MEMORY)
        Fail(otherError);
}

void Fail(const char *why)
{
    std::fprintf(stderr, "==qgfuzz== FINDING: %s\n", why);
    std::fflush(stderr);
    std::abort();
}

void CheckFailed(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "==qgfuzz== check failed: %s (%s:%d)\n", what, file, line);
    if (inChild)
        EndChild(kCheckFailure, 0, kFindingStatus);
    std::abort();
}

void StartForkServer()
{
    if (toServer >= 0 || std::getenv("QG_FUZZ_NOFORK"))
        return;
    const size_t bytes = sizeof(SharedRecord) + CounterBytes();
    void *memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        SetupFailed("qgfuzz: shared memory");
    shared = static_cast<SharedRecord *>(memory);
    sharedCounters = reinterpret_cast<uint8_t *>(shared + 1);
    inputFd = memfd_create("fuzz-input", 0);
    outputFd = memfd_create("child-output", 0);
    if (inputFd < 0 || outputFd < 0)
        SetupFailed("qgfuzz: memfd_create");
    // A buffer of its own for standard output, so that a child's first error line does
    // not allocate one, which would look like memory that the input kept.
    static char outputBuffer[BUFSIZ];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

    int requests[2], replies[2];
    if (pipe(requests) != 0 || pipe(replies) != 0)
        SetupFailed("qgfuzz: pipe");
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t server = fork();
    if (server < 0)
        SetupFailed("qgfuzz: fork");
    if (server == 0) {
        close(requests[1]);
        close(replies[0]);
        toServer = requests[0];
        fromServer = replies[1];
        Serve();
    }
    close(requests[0]);
    close(replies[1]);
    toServer = requests[1];
    fromServer = replies[0];
}

Verdict RunForked(Body body, const uint8_t *data, size_t size)
{
    if (std::getenv("QG_FUZZ_NOFORK")) {
        try {
            body(data, size);
        } catch (error e) {
            return Verdict{Ending::Threw, e};
        }
        return Verdict{Ending::Returned, 0};
    }
    StartForkServer();
    std::fflush(stdout);
    std::fflush(stderr);
    const int status = RunInChild(body, data, size);
    if (shared->coverageCopied)
        std::memcpy(__start___sancov_cntrs, sharedCounters, CounterBytes());

    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        // Interrupted from the terminal: the fuzzer stops as it would have.
        if (signal == SIGINT || signal == SIGTERM)
            raise(signal);
        if (signal == SIGPROF)
            ChildFinding("hang: the input took more than 1 s of CPU time");
        if (signal == SIGALRM)
            ChildFinding("hang: the input took more than 5 s (waiting, not computing)");
        static char text[96];
        std::snprintf(text, sizeof text, "the child was killed by signal %d (%s)", signal, strsignal(signal));
        ChildFinding(text);
    }
    const int exitStatus = WEXITSTATUS(status);
    switch (shared->ending) {
    case kSanitizerReport:
        ChildFinding("a sanitizer report in the child");
    case kCheckFailure:
        ChildFinding("a check failed in the child");
    case kLeak:
        ChildFinding("the child leaked memory");
    case static_cast<int>(Ending::Returned):
    case static_cast<int>(Ending::Threw):
        if (exitStatus == 0)
            return Verdict{static_cast<Ending>(shared->ending), shared->value};
        break;
    case static_cast<int>(Ending::Exited):
        if (exitStatus == shared->value)
            return Verdict{Ending::Exited, exitStatus};
        break;
    default:
        break;
    }
    static char text[96];
    std::snprintf(text, sizeof text, "the child ended with status %d without a known cause", exitStatus);
    ChildFinding(text);
}

} // namespace qgfuzz

// The reports themselves take time (symbolizing stacks): they must not be cut short by
// the budget that caught nothing.
extern "C" void __asan_on_error()
{
    if (qgfuzz::inChild)
        qgfuzz::StopClocks();
}

extern "C" void __ubsan_on_report()
{
    if (qgfuzz::inChild)
        qgfuzz::StopClocks();
}
