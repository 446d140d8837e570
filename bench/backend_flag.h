// backend_flag.h - the benchmarks' --backend=headless (the default) or --backend=sdl2
// option: taken out of the arguments before Google Benchmark sees them.
#ifndef QG_BENCH_BACKEND_FLAG_H
#define QG_BENCH_BACKEND_FLAG_H

#include <standin/testhooks.h>

#include <cstring>

// Picks the backend the option names, before any window exists; true for headless.
inline bool TakeBackendFlag(int &argc, char **argv)
{
    bool headless = true;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--backend=sdl2") == 0)
            headless = false;
        else if (std::strcmp(argv[i], "--backend=headless") != 0)
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[kept] = nullptr;
    if (headless)
        standin::test::UseHeadlessBackend();
    return headless;
}

#endif // QG_BENCH_BACKEND_FLAG_H
