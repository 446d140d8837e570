// The test hooks: backend choice, failure injection, the call log, made-up input and
// read-back of what a window shows.
#include <standin/testhooks.h>

#include "common/trace.h"
#include "gdi/objects.h"
#include "user/backends/backend.h"
#include "user/queue.h"
#include "user/window.h"

#include <cstdio>
#include <cstdlib>

namespace standin::test {

using user::InputEvent;

void UseHeadlessBackend()
{
    if (!user::ChooseHeadlessBackend()) {
        std::fputs("standin: UseHeadlessBackend called after the first window\n", stderr);
        std::abort();
    }
}

void FailNextCall(const char *functionName, int count)
{
    if (count <= 0)
        return;
    trace::State &s = trace::Get();
    s.failures[functionName] += count;
    s.pendingFailures += count;
}

void ClearFailures()
{
    trace::State &s = trace::Get();
    s.failures.clear();
    s.pendingFailures = 0;
}

void StartCallLog()
{
    trace::Get().lines.clear();
    trace::Get().logging = true;
}

std::vector<std::string> StopCallLog()
{
    trace::State &s = trace::Get();
    s.logging = false;
    std::vector<std::string> lines;
    lines.swap(s.lines);
    return lines;
}

namespace {

void Inject(const InputEvent &e) { user::ActiveBackend().Inject(e); }

} // namespace

void InjectButton(HWND hwnd, int button, bool down, int x, int y)
{
    InputEvent e;
    e.type = InputEvent::Type::Button;
    e.hwnd = hwnd;
    e.button = button;
    e.down = down;
    e.x = x;
    e.y = y;
    Inject(e);
}

void InjectMove(HWND hwnd, int x, int y)
{
    InputEvent e;
    e.type = InputEvent::Type::Move;
    e.hwnd = hwnd;
    e.x = x;
    e.y = y;
    Inject(e);
}

void InjectWheel(HWND hwnd, int notches, int x, int y)
{
    InputEvent e;
    e.type = InputEvent::Type::Wheel;
    e.hwnd = hwnd;
    e.wheelDelta = notches;
    e.x = x;
    e.y = y;
    Inject(e);
}

void InjectKey(HWND hwnd, int virtualKey, bool down)
{
    InputEvent e;
    e.type = InputEvent::Type::Key;
    e.hwnd = hwnd;
    e.virtualKey = virtualKey;
    e.down = down;
    Inject(e);
}

void InjectClose(HWND hwnd)
{
    InputEvent e;
    e.type = InputEvent::Type::Close;
    e.hwnd = hwnd;
    Inject(e);
}

WindowInfo GetWindowInfo(HWND hwnd)
{
    WindowInfo info{};
    const user::Window *w = user::FindWindow(hwnd);
    if (!w)
        return info;
    info.exists = true;
    info.visible = w->visible;
    info.title = w->title;
    info.className = w->windowClass->name;
    info.style = w->style;
    info.x = w->x;
    info.y = w->y;
    info.outerWidth = w->outerWidth;
    info.outerHeight = w->outerHeight;
    info.clientWidth = w->ClientWidth();
    info.clientHeight = w->ClientHeight();
    return info;
}

std::vector<uint32_t> ReadClientSurface(HWND hwnd, int *width, int *height)
{
    const user::Window *w = user::FindWindow(hwnd);
    if (width)
        *width = w ? w->ClientWidth() : 0;
    if (height)
        *height = w ? w->ClientHeight() : 0;
    if (!w)
        return {};
    return w->client->surface.pixels;
}

int LiveObjectCount() { return gdi::LiveObjectCount(); }

int LiveWindowCount() { return static_cast<int>(user::Windows().LiveCount()); }

void OnWindowCreated(std::function<void(HWND)> callback) { user::WindowCreatedHook() = std::move(callback); }

void OnIdle(std::function<void()> callback) { user::IdleHook() = std::move(callback); }

HWND CaptureWindow() { return user::CaptureHolder(); }

void DrainMessages() { user::DrainAll(); }

} // namespace standin::test
