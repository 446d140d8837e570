// The test hooks: backend choice, failure injection, the call log, made-up input,
// read-back of what a window shows, and the boxes' record and answers. A library of its
// own that tests link; programs never carry it.
#include <standin/testhooks.h>

#include "common/trace.h"
#include "gdi/objects.h"
#include "kernel/clock.h"
#include "kernel/global.h"
#include "print/printer_dc.h"
#include "user/backends/backend.h"
#include "user/boxes.h"
#include "user/queue.h"
#include "user/window.h"

#include <cstdio>
#include <cstdlib>
#include <deque>

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
    Inject({.type = InputEvent::Type::Button, .hwnd = hwnd, .button = button, .down = down, .x = x, .y = y});
}

void InjectMove(HWND hwnd, int x, int y) { Inject({.type = InputEvent::Type::Move, .hwnd = hwnd, .x = x, .y = y}); }

void InjectWheel(HWND hwnd, int notches, int x, int y)
{
    Inject({.type = InputEvent::Type::Wheel, .hwnd = hwnd, .x = x, .y = y, .wheelDelta = notches});
}

void InjectKey(HWND hwnd, int virtualKey, bool down)
{
    Inject({.type = InputEvent::Type::Key, .hwnd = hwnd, .down = down, .virtualKey = virtualKey});
}

void InjectClose(HWND hwnd) { Inject({.type = InputEvent::Type::Close, .hwnd = hwnd}); }

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

void OnSleep(std::function<void(DWORD)> callback) { kernel::SleepHook() = std::move(callback); }

void UseVirtualClock(bool on) { kernel::UseVirtualClock(on); }

int LiveGlobalCount() { return kernel::LiveGlobalCount(); }

void RemovePrinterRasterCaps(DWORD bits) { print::RemovedCaps() = bits; }

namespace {

struct Boxes {
    std::vector<BoxRecord> shown;
    std::deque<std::string> answers; // button labels, one per coming box
};

Boxes &TheBoxes()
{
    static Boxes boxes;
    return boxes;
}

const char *IconName(user::BoxSpec::Icon icon)
{
    switch (icon) {
    case user::BoxSpec::Icon::Information: return "information";
    case user::BoxSpec::Icon::Question: return "question";
    case user::BoxSpec::Icon::Warning: return "warning";
    case user::BoxSpec::Icon::Error: return "error";
    case user::BoxSpec::Icon::None: break;
    }
    return "none";
}

int ScriptedAnswer(const user::BoxSpec &box)
{
    Boxes &s = TheBoxes();
    if (s.answers.empty())
        return -1;
    const std::string label = s.answers.front();
    s.answers.pop_front();
    for (size_t i = 0; i < box.buttons.size(); ++i)
        if (box.buttons[i] == label)
            return static_cast<int>(i);
    // A script that names a button the box does not have is a broken test.
    std::fprintf(stderr, "standin: the box \"%s\" has no button \"%s\"\n", box.caption.c_str(), label.c_str());
    std::abort();
}

void RecordBox(HWND owner, const user::BoxSpec &box, int chosen)
{
    TheBoxes().shown.push_back(BoxRecord{owner, box.caption, box.text, IconName(box.icon), box.buttons,
                                         chosen >= 0 ? box.buttons[static_cast<size_t>(chosen)] : std::string()});
}

// Attached when a test program starts: every box is recorded from the first one on.
const bool boxesWatched = [] {
    user::TheBoxHooks() = user::BoxHooks{ScriptedAnswer, RecordBox};
    return true;
}();

} // namespace

std::vector<BoxRecord> TakeShownBoxes()
{
    std::vector<BoxRecord> shown;
    shown.swap(TheBoxes().shown);
    return shown;
}

void AnswerNextBox(const std::string &buttonLabel) { TheBoxes().answers.push_back(buttonLabel); }

} // namespace standin::test
