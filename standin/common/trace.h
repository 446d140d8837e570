// trace.h - what every stand-in Win32 entry point does first: append itself to the call
// log (when a test has switched it on), take an injected failure, and note that the
// program is busy, which the message queue's idle wait looks at.
//
// Usage, first line of an entry point:
//     if (standin::trace::Enter("DeleteObject", ho)) return FALSE; // injected failure
#ifndef STANDIN_COMMON_TRACE_H
#define STANDIN_COMMON_TRACE_H

#include <standin/win32.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace standin::trace {

struct State {
    bool logging = false;
    std::vector<std::string> lines;
    int pendingFailures = 0; // sum of the counts in `failures`, so the common case is one test
    std::unordered_map<std::string, int> failures;
    uint64_t activity = 0; // bumped by every entry point but PeekMessageA
};

State &Get();
bool TakeFailure(const char *name);

// Argument formatting for the call log. Signed integers print in decimal; unsigned ones
// (DWORD, UINT, COLORREF, WPARAM) and LPARAM in decimal below 10, else as 0x-prefixed
// upper-case hex; strings as they are; handles and other pointers as 0x-hex or NULL.
void Append(std::string &out, int v);
void Append(std::string &out, long v);
void Append(std::string &out, long long v);
void Append(std::string &out, unsigned v);
void Append(std::string &out, unsigned long v);
void Append(std::string &out, unsigned long long v);
void Append(std::string &out, const char *s);
void Append(std::string &out, const void *p);
void Append(std::string &out, const WNDCLASSA *wc);
void Append(std::string &out, const LOGFONTA *lf);
void Append(std::string &out, const MSG *msg);
void Append(std::string &out, MSG *out_msg); // an out-parameter: "out" or NULL
void Append(std::string &out, WNDPROC proc);

template <class T>
void AppendAny(std::string &out, const T &v)
{
    if constexpr (std::is_enum_v<T>)
        Append(out, static_cast<long long>(v));
    else if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, const char *> && !std::is_same_v<T, char *> &&
                       !std::is_same_v<T, const WNDCLASSA *> && !std::is_same_v<T, const LOGFONTA *> &&
                       !std::is_same_v<T, const MSG *> && !std::is_same_v<T, MSG *> &&
                       !std::is_same_v<T, WNDPROC>)
        Append(out, static_cast<const void *>(v));
    else if constexpr (std::is_same_v<T, short> || std::is_same_v<T, signed char>)
        Append(out, static_cast<int>(v));
    else if constexpr (std::is_same_v<T, unsigned short> || std::is_same_v<T, unsigned char>)
        Append(out, static_cast<unsigned>(v));
    else
        Append(out, v);
}

template <class... A>
void Log(const char *name, const A &...args)
{
    std::string line = name;
    line += '(';
    bool first = true;
    ((line += first ? "" : ",", first = false, AppendAny(line, args)), ...);
    line += ')';
    Get().lines.push_back(std::move(line));
}

// Returns true when an injected failure says the call must fail without doing anything.
template <class... A>
inline bool EnterQuiet(const char *name, const A &...args)
{
    State &s = Get();
    if (s.logging)
        Log(name, args...);
    return s.pendingFailures != 0 && TakeFailure(name);
}

template <class... A>
inline bool Enter(const char *name, const A &...args)
{
    ++Get().activity;
    return EnterQuiet(name, args...);
}

// For calls without a failure result (Sleep, timeGetTime): logged, never failed.
template <class... A>
inline void Note(const char *name, const A &...args)
{
    ++Get().activity;
    if (Get().logging)
        Log(name, args...);
}

template <class... A>
inline void NoteQuiet(const char *name, const A &...args)
{
    if (Get().logging)
        Log(name, args...);
}

} // namespace standin::trace

#endif // STANDIN_COMMON_TRACE_H
