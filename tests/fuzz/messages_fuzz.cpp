// messages_fuzz.cpp - fuzz target: window-system message streams through the library's
// pump, on the headless backend. Messages of every number with any parameters are posted
// and sent to the library's windows (live, closed, or none); input comes as storms of keys
// and buttons, presses held without release, wheels and close requests; the library's
// input operations read it in between. Closing a window ends the program with status 0,
// which is accepted; records and positions must stay within what the library promises.
#include "checks.h"
#include "forked.h"
#include "ops.h"

#include "graphics.h"
#include "window/registry.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace qgfuzz;

// Message numbers the library or the default handling looks at, and the edges of the
// number range.
const UINT kNamedMessages[] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0005, 0x0006, 0x0007, 0x0008, 0x000C, 0x000D, 0x000F,
    0x0010, 0x0012, 0x0014, 0x0018, 0x001C, 0x0020, 0x0021, 0x0024, 0x0046, 0x0047, 0x0081,
    0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x00A0, 0x00A1, 0x0100, 0x0101, 0x0102, 0x0103,
    0x0104, 0x0105, 0x0106, 0x0111, 0x0112, 0x0113, 0x0200, 0x0201, 0x0202, 0x0203, 0x0204,
    0x0205, 0x0206, 0x0207, 0x0208, 0x020A, 0x020B, 0x020E, 0x0215, 0x0400, 0x8000, 0xC000,
    0xFFFF, 0x10000, 0x80000201, 0xFFFFFFFF,
};

class Run {
public:
    explicit Run(Script &script) : s_(script), trace_(std::getenv("QG_FUZZ_TRACE") != nullptr) {}

    void Play()
    {
        objectBase_ = hooks::LiveObjectCount();
        windowBase_ = hooks::LiveWindowCount();
        const Args a = s_.ReadArgs("ii");
        if (trace_)
            std::fprintf(stderr, "window(%d,%d)\n", Size(a.i[0], 1200), Size(a.i[1], 800));
        main_ = std::make_unique<window>(Size(a.i[0], 1200), Size(a.i[1], 800), 5, 5);
        while (!s_.AtEnd()) {
            const unsigned op = s_.Byte() % kMessageOpCount;
            Step(op);
            NoteWork();
        }
        TearDown();
    }

private:
    static int Size(int value, int limit) { return static_cast<int>(static_cast<unsigned>(value) % (limit + 1u)); }

    HWND Target(uint8_t choice)
    {
        switch (choice % 4) {
        case 0:
            return WindowInspector::Handle(*main_);
        case 1:
            return second_ ? WindowInspector::Handle(*second_) : WindowInspector::Handle(*main_);
        case 2:
            // A window that is gone, or a handle that never named one.
            return stale_ ? stale_ : reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5A5A0));
        default:
            return nullptr;
        }
    }

    void Step(unsigned op)
    {
        const Args a = s_.ReadArgs(kMessageOps[op].args);
        if (trace_)
            std::fprintf(stderr, "op %s\n", Describe(kMessageOps[op], a).c_str());
        window &w = *main_;
        int x = 0, y = 0;
        switch (op) {
        case kPost:
            PostMessageA(Target(a.b[0]), a.u[0], a.l[0], static_cast<LPARAM>(a.l[1]));
            break;
        case kSend:
            SendMessageA(Target(a.b[0]), a.u[0], a.l[0], static_cast<LPARAM>(a.l[1]));
            break;
        case kPostThread:
            PostMessageA(nullptr, a.u[0], a.l[0], static_cast<LPARAM>(a.l[1]));
            break;
        case kPostNamed:
            PostMessageA(Target(a.b[0]), kNamedMessages[a.b[1] % (sizeof kNamedMessages / sizeof kNamedMessages[0])],
                         a.l[0], static_cast<LPARAM>(a.l[1]));
            break;
        case kSendNamed:
            SendMessageA(Target(a.b[0]), kNamedMessages[a.b[1] % (sizeof kNamedMessages / sizeof kNamedMessages[0])],
                         a.l[0], static_cast<LPARAM>(a.l[1]));
            break;
        case kInjectButton:
            hooks::InjectButton(Target(a.b[0]), a.i[0], a.b[1] & 1, a.i[1], a.i[2]);
            break;
        case kInjectMove:
            hooks::InjectMove(Target(a.b[0]), a.i[0], a.i[1]);
            break;
        case kInjectKeyEvent:
            hooks::InjectKey(Target(a.b[0]), a.i[0], a.b[1] & 1);
            break;
        case kInjectWheel:
            hooks::InjectWheel(Target(a.b[0]), a.i[0], a.i[1], a.i[2]);
            break;
        case kInjectCloseEvent:
            hooks::InjectClose(Target(a.b[0]));
            break;
        case kKeyStorm: {
            const HWND target = Target(a.b[0]);
            if (a.b[1] & 1)
                hooks::InjectKey(target, VK_SHIFT, true);
            for (unsigned k = 0, n = a.w[0] % 2048; k < n; ++k)
                hooks::InjectKey(target, a.i[0], true); // auto-repeat: downs without ups
            hooks::InjectKey(target, a.i[0], false);
            if (a.b[1] & 2)
                hooks::InjectKey(target, VK_SHIFT, false);
            break;
        }
        case kButtonStorm: {
            const HWND target = Target(a.b[0]);
            for (unsigned k = 0, n = a.w[0] % 2048; k < n; ++k) {
                const int button = a.b[1] % 4 == 3 ? static_cast<int>(k % 3) : a.i[0];
                if (a.b[1] % 4 != 2)
                    hooks::InjectButton(target, button, true, a.i[1], a.i[2]);
                if (a.b[1] % 4 != 1)
                    hooks::InjectButton(target, button, false, a.i[1], a.i[2]);
            }
            break;
        }
        case kCaptureWithoutRelease: {
            const HWND target = Target(a.b[0]);
            hooks::InjectButton(target, a.b[0] >> 4 & 1, true, a.i[0], a.i[1]);
            hooks::InjectMove(target, a.i[2], a.i[3]);
            break;
        }
        case kMsgPump:
            w.PumpMessages();
            break;
        case kMsgPumpMany:
            // Fewer than the stand-in's idle-spin limit, so the pumps never rest.
            for (unsigned k = 0, n = a.w[0] % 512; k < n; ++k)
                w.PumpMessages();
            break;
        case kMsgMousePosition:
            w.GetMousePosition(x, y);
            CheckMousePosition(x, y);
            break;
        case kMsgButtonState: {
            const PressState state = w.GetButtonState(static_cast<MouseButton>(a.i[0]), x, y);
            FUZZ_CHECK(state == BUTTON_RELEASED || state == BUTTON_PRESSED);
            CheckMousePosition(x, y);
            break;
        }
        case kMsgPollClick: {
            const ClickKind kind = w.PollMouseClick(x, y);
            CheckClick(kind, x, y);
            break;
        }
        case kMsgPollKey: {
            char value = 'q';
            const KeyKind kind = w.PollKeyPress(value);
            CheckKey(kind, value);
            break;
        }
        case kMsgAwaitClick:
            if (InjectClickInside(w, a.i[0] & 1, a.i[0], a.i[1])) {
                const ClickKind kind = w.AwaitMouseClick(x, y);
                FUZZ_CHECK(kind != CLICK_NONE);
                CheckClick(kind, x, y);
            }
            break;
        case kMsgAwaitKey:
            if (InjectRecordKey(w, a.b[0])) {
                char value = 0;
                const KeyKind kind = w.AwaitKeyPress(value);
                FUZZ_CHECK(kind != KEY_NONE);
                CheckKey(kind, value);
            }
            break;
        case kMsgDiscardClicks:
            w.DiscardMouseClicks();
            break;
        case kMsgDiscardKeys:
            w.DiscardKeyPresses();
            break;
        case kMsgDraw:
            switch (a.b[0] % 4) {
            case 0:
                w.DrawRectangle(10, 10, 60, 40, STYLE_FILLED);
                break;
            case 1:
                w.DrawString(5, 5, "Quen");
                break;
            case 2:
                (void)w.GetColor(12, 12);
                break;
            default:
                w.SetTitle("Zarn");
                break;
            }
            break;
        case kMsgDelay:
            Delay(a.w[0]);
            break;
        case kMsgSecondWindow:
            if (!second_)
                second_ = std::make_unique<window>(Size(a.i[0], 600), Size(a.i[1], 400), 40, 40);
            break;
        case kMsgCloseSecond:
            if (second_) {
                stale_ = WindowInspector::Handle(*second_);
                second_.reset();
            }
            break;
        case kMsgSetCloseWaits:
            w.SetCloseWaitsForClick(a.b[0] & 1);
            break;
        }
    }

    // The windows go; the last waits for a click if the flag says so, and gets one. What
    // the stream left in the queue stays there, addressed to windows that are gone.
    void TearDown()
    {
        second_.reset();
        window &w = *main_;
        const bool waits = w.SetCloseWaitsForClick(false);
        if (waits && InjectClickInside(w, 0, 1, 1))
            w.SetCloseWaitsForClick(true);
        main_.reset();
        FUZZ_CHECK(windowRegistry == nullptr);
        FUZZ_CHECK(hooks::LiveObjectCount() == objectBase_);
        FUZZ_CHECK(hooks::LiveWindowCount() == windowBase_);
    }

    Script &s_;
    bool trace_;
    std::unique_ptr<window> main_;
    std::unique_ptr<window> second_;
    HWND stale_ = nullptr;
    int objectBase_ = 0;
    int windowBase_ = 0;
};

void Play(const uint8_t *data, size_t size)
{
    Script script(data, size);
    Run run(script);
    run.Play();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    // Fonts are found and loaded once here, not again in every child.
    {
        window warm(200, 100, 0, 0);
        warm.SetCloseWaitsForClick(false);
        warm.DrawString(0, 0, "Quen");
    }
    StartForkServer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    JudgeWindowProgram(RunForked(Play, data, size), "the pump raised an error other than ERROR_OUT_OF_MEMORY");
    return 0;
}
