// fixture.h - the library tests' one fixture: a headless window seen only through its
// public operations and what the stand-in shows (its handle, surface, live objects and
// call log), captured console output, and a call log matched with named handles.
#ifndef QUILLGRAPH_TESTS_WINDOW_FIXTURE_H
#define QUILLGRAPH_TESTS_WINDOW_FIXTURE_H

#include "graphics.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hooks = standin::test;

// A handle as the call log prints it.
inline std::string Hex(const void *handle)
{
    if (!handle)
        return "NULL";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

// What body printed on standard output.
template <typename Body>
std::string Printed(Body &&body)
{
    ::testing::internal::CaptureStdout();
    std::forward<Body>(body)();
    return ::testing::internal::GetCapturedStdout();
}

class LibTest : public ::testing::Test {
protected:
    HWND hwnd = nullptr; // the window made last

    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::ClearFailures();
        hooks::DrainMessages();
        hooks::OnWindowCreated([this](HWND made) { hwnd = made; });
    }
    void TearDown() override
    {
        hooks::OnWindowCreated({});
        hooks::ClearFailures();
        EXPECT_EQ(hooks::LiveWindowCount(), 0); // every test closes its windows
    }

    // A window whose destruction does not wait for a click.
    std::unique_ptr<window> OpenQuiet(int width = 200, int height = 100)
    {
        auto w = std::make_unique<window>(width, height, 10, 10);
        w->SetCloseWaitsForClick(false);
        return w;
    }

    void Click(int button, int x, int y)
    {
        hooks::InjectButton(hwnd, button, true, x, y);
        hooks::InjectButton(hwnd, button, false, x, y);
    }
public:
    static void Pump(window &w, int n)
    {
        int x, y;
        for (int i = 0; i < n; ++i)
            w.GetMousePosition(x, y);
    }

protected:
    // The client surface, 0xRRGGBB per pixel.
    std::vector<uint32_t> Surface()
    {
        int width, height;
        return hooks::ReadClientSurface(hwnd, &width, &height);
    }
    uint32_t PixelAt(int x, int y, int width = 200)
    {
        return Surface()[static_cast<size_t>(y) * width + x];
    }

    // The calls the library made itself while body ran, without the dispatch of messages.
    template <typename Body>
    std::vector<std::string> Calls(Body &&body)
    {
        hooks::StartCallLog();
        std::forward<Body>(body)();
        std::vector<std::string> lines;
        for (const std::string &line : hooks::StopCallLog()) {
            const std::string name = line.substr(0, line.find('('));
            if (name != "TranslateMessage" && name != "DispatchMessageA" && name != "DefWindowProcA" &&
                name != "IsWindow")
                lines.push_back(line);
        }
        return lines;
    }

    // Expected lines name handles: "$pen" stands for one handle or NULL, the same one
    // wherever the name is used in a test and a different one from every other name; "*"
    // is any one value. $wnd and the stock objects are known from the start.
    std::map<std::string, std::string> bound;
    void BindKnown()
    {
        bound = {{"$wnd", Hex(hwnd)},
                 {"$whitebrush", Hex(GetStockObject(WHITE_BRUSH))},
                 {"$blackbrush", Hex(GetStockObject(BLACK_BRUSH))},
                 {"$nullbrush", Hex(GetStockObject(NULL_BRUSH))},
                 {"$blackpen", Hex(GetStockObject(BLACK_PEN))},
                 {"$sysfont", Hex(GetStockObject(SYSTEM_FONT))}};
    }
    bool LineMatches(const std::string &expected, const std::string &actual)
    {
        size_t a = 0;
        for (size_t e = 0; e < expected.size();) {
            if (expected[e] == '$' || expected[e] == '*') {
                size_t end = e + 1;
                while (expected[e] == '$' && end < expected.size() && std::isalnum(static_cast<unsigned char>(expected[end])))
                    ++end;
                size_t stop = a;
                while (stop < actual.size() && (std::isalnum(static_cast<unsigned char>(actual[stop]))))
                    ++stop;
                const std::string name = expected.substr(e, end - e), value = actual.substr(a, stop - a);
                if (value.empty())
                    return false;
                if (name != "*") {
                    auto it = bound.find(name);
                    if (it == bound.end()) {
                        for (const auto &other : bound)
                            if (other.second == value)
                                return false;
                        bound[name] = value;
                    } else if (it->second != value) {
                        return false;
                    }
                }
                e = end;
                a = stop;
            } else if (a >= actual.size() || actual[a++] != expected[e++]) {
                return false;
            }
        }
        return a == actual.size();
    }
    void ExpectCalls(const std::vector<std::string> &expected, const std::vector<std::string> &actual)
    {
        bool same = expected.size() == actual.size();
        for (size_t i = 0; same && i < expected.size(); ++i)
            same = LineMatches(expected[i], actual[i]);
        std::string shown;
        for (const std::string &line : actual)
            shown += "  " + line + "\n";
        EXPECT_TRUE(same) << "calls made:\n" << shown;
    }
};

#endif // QUILLGRAPH_TESTS_WINDOW_FIXTURE_H
