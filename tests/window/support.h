// support.h - what the window tests share: a headless fixture, a view of the window's
// fields, captured console output and the stand-in's call log reduced to call names.
#ifndef QUILLGRAPH_TESTS_WINDOW_SUPPORT_H
#define QUILLGRAPH_TESTS_WINDOW_SUPPORT_H

#include "graphics.h"
#include "window/registry.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hooks = standin::test;

// The fields and internal operations the tests look at.
struct WindowInspector {
    static HWND Handle(window &w) { return w.hwndWindow; }
    static HDC Screen(window &w) { return w.dcScreen; }
    static HDC &Active(window &w) { return w.dcActive; }
    static HBITMAP &Buffer(window &w) { return w.bmapBuffer; }
    static HPEN Pen(window &w) { return w.penObject; }
    static HBRUSH Brush(window &w) { return w.brshObject; }
    static HFONT Font(window &w) { return w.fontObject; }
    static int PenWidth(window &w) { return w.penWidth; }
    static void SelectDrawStyle(window &w, drawstyle style) { w.SelectDrawStyle(style); }
    static void RestoreDrawStyle(window &w) { w.RestoreDrawStyle(); }
    static void SelectFontObject(window &w) { w.SelectFontObject(); }
    static void RestoreFontObject(window &w) { w.RestoreFontObject(); }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::ClearFailures();
        hooks::DrainMessages();
    }
    void TearDown() override
    {
        hooks::ClearFailures();
        // Every test closes its windows; a registry left behind would leak into the next.
        EXPECT_EQ(windowRegistry, nullptr);
    }

    // A window whose destruction does not wait for a click.
    static std::unique_ptr<window> OpenQuiet(int width = 200, int height = 100)
    {
        auto w = std::make_unique<window>(width, height, 10, 10);
        w->SetCloseWaitsForClick(false);
        return w;
    }

    // Pumps n messages without reading either queue.
    static void Pump(window &w, int n)
    {
        int x, y;
        for (int i = 0; i < n; ++i)
            w.GetMousePosition(x, y);
    }

    static void Click(HWND hwnd, int button, int x, int y)
    {
        hooks::InjectButton(hwnd, button, true, x, y);
        hooks::InjectButton(hwnd, button, false, x, y);
    }

    static void PressKey(HWND hwnd, int virtualKey)
    {
        hooks::InjectKey(hwnd, virtualKey, true);
        hooks::InjectKey(hwnd, virtualKey, false);
    }
};

// What body printed on standard output.
template <typename Body>
std::string Printed(Body &&body)
{
    ::testing::internal::CaptureStdout();
    std::forward<Body>(body)();
    return ::testing::internal::GetCapturedStdout();
}

inline std::string CallName(const std::string &line)
{
    return line.substr(0, line.find('('));
}

// The names of the logged calls, without those in leaveOut.
inline std::vector<std::string> CallNames(const std::vector<std::string> &log,
                                          std::initializer_list<const char *> leaveOut = {})
{
    std::vector<std::string> names;
    for (const std::string &line : log) {
        std::string name = CallName(line);
        if (std::none_of(leaveOut.begin(), leaveOut.end(),
                         [&](const char *left) { return name == left; }))
            names.push_back(std::move(name));
    }
    return names;
}

// The calls the window system makes on the library's behalf while it dispatches.
#define QG_DISPATCH_CALLS "TranslateMessage", "DispatchMessageA", "DefWindowProcA", "IsWindow"

// A handle as the call log prints it.
inline std::string Hex(const void *handle)
{
    if (!handle)
        return "NULL";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

// The logged lines of the calls the library makes itself.
inline std::vector<std::string> LibraryCalls(const std::vector<std::string> &log)
{
    std::vector<std::string> lines;
    for (const std::string &line : log) {
        const std::string name = CallName(line);
        if (name != "TranslateMessage" && name != "DispatchMessageA" && name != "DefWindowProcA" &&
            name != "IsWindow")
            lines.push_back(line);
    }
    return lines;
}

// The arguments of one logged call, split at the commas.
inline std::vector<std::string> CallArguments(const std::string &line)
{
    std::vector<std::string> arguments;
    const size_t open = line.find('(');
    const size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close <= open)
        return arguments;
    std::string current;
    for (size_t i = open + 1; i < close; ++i) {
        if (line[i] == ',') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += line[i];
        }
    }
    arguments.push_back(current);
    return arguments;
}

inline int Count(const std::vector<std::string> &names, const std::string &name)
{
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

// True when the names in order appear in names in that order (others may come between).
inline bool InOrder(const std::vector<std::string> &names, std::initializer_list<const char *> order)
{
    auto at = names.begin();
    for (const char *wanted : order) {
        at = std::find(at, names.end(), wanted);
        if (at == names.end())
            return false;
        ++at;
    }
    return true;
}

inline bool Same(const color &a, const color &b)
{
    return a.ucRed == b.ucRed && a.ucGreen == b.ucGreen && a.ucBlue == b.ucBlue;
}

#endif // QUILLGRAPH_TESTS_WINDOW_SUPPORT_H
