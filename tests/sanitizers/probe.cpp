// probe.cpp - makes one fault of a kind the sanitizer build must catch, so the test command
// can tell a working leak check from one that is switched off or cannot run here.
// Usage: sanitizer_probe leak | overflow | undefined
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The only pointer to the block is overwritten, so it is unreachable at exit.
int Leak()
{
    void *volatile block = std::malloc(4321);
    std::memset(block, 1, 4321);
    block = nullptr;
    return 1;
}

int Overflow()
{
    char *volatile bytes = static_cast<char *>(std::malloc(8));
    const int past = bytes[8];
    std::free(bytes);
    return past == 12345;
}

int Undefined()
{
    volatile int big = INT_MAX;
    return big + 1 == 0;
}

} // namespace

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "";
    int (*fault)() = std::strcmp(mode, "leak") == 0        ? Leak
                     : std::strcmp(mode, "overflow") == 0  ? Overflow
                     : std::strcmp(mode, "undefined") == 0 ? Undefined
                                                           : nullptr;
    if (!fault) {
        std::fprintf(stderr, "usage: %s leak | overflow | undefined\n", argv[0]);
        return 2;
    }
    // The fault happens in a child that ends with exit(), as a death test's child does;
    // its report (on stderr) is what the test looks for, whatever the report's exit is.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        std::exit(fault());
    int status = 0;
    waitpid(child, &status, 0);
    std::printf(WIFEXITED(status) && WEXITSTATUS(status) <= 1 ? "the fault went unnoticed\n"
                                                              : "the child was stopped\n");
    return 0;
}
