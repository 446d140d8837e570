// The runner: the script of inputs played at the moments the program waits for input,
// and the pictures it keeps of the windows.
//
// A line is carried out when the program next waits for input, spinning on PeekMessageA
// with nothing else to do: by then it has read and acted on everything before, as it would
// with a person at the window, and a screenshot shows the outcome. A pause runs by the
// program's clock instead, and so do the lines after it up to the next input: a program
// that never waits (an animation that only polls between frames) is driven with pauses.
#include "user/backends/runner.h"

#include "kernel/clock.h"
#include "user/backends/backend.h"
#include "user/backends/png.h"
#include "user/backends/script.h"
#include "user/backends/settings.h"
#include "user/window.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

extern "C" char *program_invocation_short_name; // glibc: the program's own name

namespace standin::user {

namespace {

void Say(const std::string &message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
}

// "end.png" for the first window, then "end-2.png", "end-3.png"...
std::string NumberedPath(const std::string &path, int number)
{
    if (number <= 1)
        return path;
    const size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = path.size();
    return path.substr(0, dot) + "-" + std::to_string(number) + path.substr(dot);
}

class Runner {
public:
    Runner(const Settings &settings, std::vector<ScriptStep> steps, bool headless)
        : screenshotPath_(settings.screenshotPath), steps_(std::move(steps)), headless_(headless)
    {
    }

    // `idle`: the program waits for input; otherwise it sleeps or reads the clock, which
    // only moves a pause on.
    void Step(bool idle)
    {
        if (busy_)
            return;
        busy_ = true;
        Advance(idle);
        busy_ = false;
    }

    void WindowCreated(HWND hwnd)
    {
        windows_.push_back({hwnd, false});
        if (!screenshotPath_.empty() && !atExitSet_) {
            // After the window table exists, so this runs before the table goes.
            atExitSet_ = true;
            std::atexit([] {
                if (Runner *r = Active())
                    r->SaveOpenWindows();
            });
        }
    }

    void WindowClosing(HWND hwnd)
    {
        for (Tracked &t : windows_)
            if (t.hwnd == hwnd)
                SaveFinal(t);
    }

    static Runner *&Active()
    {
        static Runner *runner = nullptr;
        return runner;
    }

private:
    struct Tracked {
        HWND hwnd;
        bool saved;
    };

    // The newest window that is still there: the one a person would be looking at.
    Window *Target()
    {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (Window *w = FindWindow(it->hwnd))
                return w;
        return nullptr;
    }

    void Advance(bool idle)
    {
        while (next_ < steps_.size()) {
            const ScriptStep &step = steps_[next_];
            if (step.kind == ScriptStep::Kind::Pause) {
                const uint32_t now = kernel::ProgramClockMs();
                if (!pauseStart_)
                    pauseStart_ = now;
                const uint32_t waited = now - *pauseStart_;
                if (waited < step.milliseconds) {
                    // A program waiting on the virtual clock would wait for ever.
                    if (!idle || !kernel::ClockIsVirtual())
                        return;
                    kernel::AdvanceVirtualClock(step.milliseconds - waited);
                }
                pauseStart_.reset();
                ++next_;
                timed_ = true;
                continue;
            }
            if (!idle && !timed_)
                return;
            if (step.kind == ScriptStep::Kind::Screenshot) {
                if (Window *w = Target())
                    Save(*w, step.path);
                else
                    Say(ScriptName() + ":" + std::to_string(step.line) + ": no window to take a picture of");
                ++next_;
                continue;
            }
            Window *w = Target();
            if (!w)
                return; // input waits for a window to go to
            Deliver(step, w->hwnd());
            ++next_;
            timed_ = false;
            return; // one input at a time: the next waits for the program to read this one
        }
        if (headless_ && (idle || timed_))
            InputIsOver();
    }

    void Deliver(const ScriptStep &step, HWND hwnd)
    {
        using Type = InputEvent::Type;
        Backend &b = ActiveBackend();
        auto key = [&](int vk, bool down) { b.Inject({.type = Type::Key, .hwnd = hwnd, .down = down, .virtualKey = vk}); };
        switch (step.kind) {
        case ScriptStep::Kind::Click:
            b.Inject({.type = Type::Move, .hwnd = hwnd, .x = step.x, .y = step.y});
            b.Inject({.type = Type::Button, .hwnd = hwnd, .button = step.button, .down = true, .x = step.x, .y = step.y});
            b.Inject({.type = Type::Button, .hwnd = hwnd, .button = step.button, .down = false, .x = step.x, .y = step.y});
            break;
        case ScriptStep::Kind::Move:
            b.Inject({.type = Type::Move, .hwnd = hwnd, .x = step.x, .y = step.y});
            break;
        case ScriptStep::Kind::Key:
            if (step.shift)
                key(VK_SHIFT, true);
            key(step.virtualKey, true);
            key(step.virtualKey, false);
            if (step.shift)
                key(VK_SHIFT, false);
            break;
        case ScriptStep::Kind::Close:
            b.Inject({.type = Type::Close, .hwnd = hwnd});
            break;
        default:
            break;
        }
    }

    // Nobody else can give a headless program input: once the script is over, its window
    // is closed as through the title bar, which ends a program of the library's. One that
    // waits on after that would wait for ever, so it is ended.
    void InputIsOver()
    {
        Window *w = Target();
        if (!closedForEnd_ && w) {
            closedForEnd_ = true;
            Say(steps_.empty() ? std::string("no input to give on the headless backend: closing the window")
                               : "the script of inputs is over: closing the window");
            ActiveBackend().Inject({.type = InputEvent::Type::Close, .hwnd = w->hwnd()});
            timed_ = false;
            return;
        }
        Say("the program still waits for input with nobody to give it: ending it");
        SaveOpenWindows();
        std::exit(3);
    }

    std::string ScriptName() const { return CurrentSettings().scriptPath; }

    void Save(const Window &w, const std::string &path)
    {
        std::string error;
        if (!WritePng(path, w.client->surface, error))
            Say("cannot write the picture " + path + ": " + error);
    }

    void SaveFinal(Tracked &t)
    {
        if (t.saved || screenshotPath_.empty())
            return;
        t.saved = true;
        if (const Window *w = FindWindow(t.hwnd))
            Save(*w, NumberedPath(screenshotPath_, ++finalPictures_));
    }

    void SaveOpenWindows()
    {
        for (Tracked &t : windows_)
            SaveFinal(t);
    }

    std::string screenshotPath_;
    std::vector<ScriptStep> steps_;
    bool headless_;
    size_t next_ = 0;
    std::optional<uint32_t> pauseStart_;
    bool timed_ = false; // a pause has just ended: carry on without waiting for the program
    bool busy_ = false;
    bool closedForEnd_ = false;
    bool atExitSet_ = false;
    int finalPictures_ = 0;
    std::vector<Tracked> windows_;
};

std::vector<ScriptStep> ReadScript(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        SettingsFailure("QUILLGRAPH_SCRIPT: cannot read " + path + ": " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<ScriptStep> steps;
    std::string error;
    if (!ParseScript(text.str(), steps, error))
        SettingsFailure("QUILLGRAPH_SCRIPT " + path + ":" + error);
    return steps;
}

} // namespace

void StartRunner(bool headless)
{
    const Settings &s = CurrentSettings();
    const bool fromSettings = s.backend == Settings::BackendChoice::Headless;
    if (Runner::Active() || (s.scriptPath.empty() && s.screenshotPath.empty() && !fromSettings))
        return;
    std::vector<ScriptStep> steps;
    if (!s.scriptPath.empty())
        steps = ReadScript(s.scriptPath);
    // Lives to the end of the process: the exit handler may still need it.
    Runner::Active() = new Runner(s, std::move(steps), headless);
}

void RunnerProgramWaits()
{
    if (Runner *r = Runner::Active())
        r->Step(true);
}

void RunnerProgramTimes()
{
    if (Runner *r = Runner::Active())
        r->Step(false);
}

void RunnerWindowCreated(HWND hwnd)
{
    if (Runner *r = Runner::Active())
        r->WindowCreated(hwnd);
}

void RunnerWindowClosing(HWND hwnd)
{
    if (Runner *r = Runner::Active())
        r->WindowClosing(hwnd);
}

} // namespace standin::user
