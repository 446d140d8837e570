/* timing.h - what the plain-Win32 timing programs share: the Win32 header of the platform
 * they are built for (the stand-in's on Linux, windows.h under mingw-w64) and a
 * nanosecond clock. */
#ifndef BENCH_TIMING_H
#define BENCH_TIMING_H

#ifdef _WIN32
#include <windows.h>
#else
#include <standin/win32.h>
#include <time.h>
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static double Now(void)
{
#ifdef _WIN32
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1e9 / (double)f.QuadPart;
#else
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e9 + (double)ts.tv_nsec;
#endif
}

#endif /* BENCH_TIMING_H */
