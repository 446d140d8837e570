// headless.h - the library's window on the stand-in's headless backend, seen only through
// public operations and the stand-in's test hooks: its handle as created, its surface,
// the call log with the library's own calls, and what it printed.
#ifndef QG_TESTS_SUPPORT_HEADLESS_H
#define QG_TESTS_SUPPORT_HEADLESS_H

#include "graphics.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hooks = standin::test;

namespace support {

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
    testing::internal::CaptureStdout();
    std::forward<Body>(body)();
    return testing::internal::GetCapturedStdout();
}

// A window of the given size that does not wait for a click to close, and its handle.
class HeadlessTest : public testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::ClearFailures();
        hooks::DrainMessages();
        hooks::OnWindowCreated([this](HWND h) { hwnd = h; });
    }
    void TearDown() override
    {
        w.reset();
        hooks::OnWindowCreated(nullptr);
        hooks::ClearFailures();
        hooks::StopCallLog();
    }
    void Open(int width, int height)
    {
        w = std::make_unique<window>(width, height, 10, 10);
        w->SetCloseWaitsForClick(false);
    }
    // Where the window draws now: the first argument of a picture's drawing call.
    HDC ActiveDc()
    {
        image dot;
        dot.usWidth = dot.usHeight = 1;
        dot.bmapInfo = new BITMAPINFOHEADER{40, 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dot.ucpPixels = new unsigned char[4]{};
        hooks::StartCallLog();
        w->DrawImage(dot, -5, -5, -1, -1);
        for (const std::string &line : hooks::StopCallLog())
            if (line.rfind("SetDIBitsToDevice(", 0) == 0)
                return reinterpret_cast<HDC>(std::stoull(line.substr(18), nullptr, 16));
        ADD_FAILURE() << "no drawing call";
        return nullptr;
    }
    std::vector<uint32_t> Surface() const
    {
        int width = 0, height = 0;
        return hooks::ReadClientSurface(hwnd, &width, &height);
    }
    // The calls the library makes itself while body runs, and what it printed.
    template <typename Body>
    std::vector<std::string> Calls(Body &&body, std::string *printed = nullptr)
    {
        hooks::StartCallLog();
        const std::string text = Printed(std::forward<Body>(body));
        if (printed)
            *printed = text;
        std::vector<std::string> lines;
        for (const std::string &line : hooks::StopCallLog()) {
            const std::string name = line.substr(0, line.find('('));
            if (name != "TranslateMessage" && name != "DispatchMessageA" && name != "DefWindowProcA" &&
                name != "IsWindow")
                lines.push_back(line);
        }
        return lines;
    }

    std::unique_ptr<window> w;
    HWND hwnd = nullptr;
};

} // namespace support

#endif // QG_TESTS_SUPPORT_HEADLESS_H
