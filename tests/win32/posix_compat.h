// posix_compat.h - the few POSIX calls the library's tests use that mingw-w64 lacks, so the
// same test sources build for Windows. Forced into every Windows test source.
#ifndef QG_TESTS_WIN32_POSIX_COMPAT_H
#define QG_TESTS_WIN32_POSIX_COMPAT_H

#ifdef _WIN32
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <direct.h>
#include <process.h>

// Replaces the trailing XXXXXX with a fresh suffix and makes that folder; tries again while
// the name is taken.
inline char *mkdtemp(char *pattern)
{
    const std::size_t length = std::strlen(pattern);
    if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return nullptr;
    }
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%06x", (_getpid() * 131u + counter++) & 0xFFFFFFu);
        std::memcpy(pattern + length - 6, suffix, 6);
        if (_mkdir(pattern) == 0)
            return pattern;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}
#endif

#endif // QG_TESTS_WIN32_POSIX_COMPAT_H
