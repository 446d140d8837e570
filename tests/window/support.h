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

inline int CountCalls(const std::vector<std::string> &lines, const std::string &name)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                           [&](const std::string &line) { return CallName(line) == name; }));
}

inline bool Same(const color &a, const color &b)
{
    return a.ucRed == b.ucRed && a.ucGreen == b.ucGreen && a.ucBlue == b.ucBlue;
}

#endif // QUILLGRAPH_TESTS_WINDOW_SUPPORT_H
