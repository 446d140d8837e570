// window_fuzz.cpp - fuzz target: scripts of the window's public operations (ops.h) with
// hostile arguments, on the headless backend, with injected failures of the stand-in's
// calls among them. Besides the sanitizers it checks what the library promises whatever
// the arguments: the returned previous states, StoreImage's bounds, queue records of
// known kinds, and that the window owns exactly its own GDI objects after every call.
#include "checks.h"
#include "forked.h"
#include "jpeg_writer.h"
#include "ops.h"

#include "graphics.h"
#include "window/registry.h"

#include <standin/testhooks.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace qgfuzz;

char jpegPath[64];
const char missingPath[] = "/nonexistent-qgfuzz/picture.jpg";

// The stand-in calls the library makes, for injected failures.
const char *const kFailingCalls[] = {
    "GetDC", "ReleaseDC", "DeleteObject", "DeleteDC", "SelectObject", "SetROP2", "SetTextColor",
    "CreatePen", "CreateSolidBrush", "CreateFontIndirectA", "CreateCompatibleDC",
    "CreateCompatibleBitmap", "CreateDiscardableBitmap", "BitBlt", "GetDIBits", "SetDIBitsToDevice",
    "StretchDIBits", "Rectangle", "RoundRect", "Ellipse", "Arc", "Pie", "Polygon", "PolyBezier",
    "MoveToEx", "LineTo", "CreateRoundRectRgn", "CreateEllipticRgn", "CreatePolygonRgn", "InvertRgn",
    "SetBkMode", "SetTextAlign", "TextOutA", "GetTextExtentPoint32A", "PeekMessageA",
    "TranslateMessage", "DispatchMessageA", "SetWindowTextA", "SetCapture", "ReleaseCapture",
    "GetStockObject", "CreateWindowExA", "ShowWindow", "GetSystemMetrics", "IsWindow", "PrintDlgA",
    "MessageBoxA", "GetDeviceCaps", "StartDocA",
};

bool Same(const color &a, const color &b)
{
    return a.ucRed == b.ucRed && a.ucGreen == b.ucGreen && a.ucBlue == b.ucBlue;
}

// What the script knows about one of its windows.
struct Tracked {
    std::unique_ptr<window> w;
    int width = 0;
    int height = 0;
    bool buffering = false;
    color pen = WHITE;
    color brush = WHITE;
};

class Run {
public:
    explicit Run(Script &script) : s_(script), trace_(std::getenv("QG_FUZZ_TRACE") != nullptr) {}

    void Play()
    {
        objectBase_ = hooks::LiveObjectCount();
        windowBase_ = hooks::LiveWindowCount();
        const Args a = s_.ReadArgs("iiii");
        if (trace_)
            std::fprintf(stderr, "window(%d,%d,%d,%d)\n", a.i[0], a.i[1], a.i[2], a.i[3]);
        Open(0, a.i[0], a.i[1], a.i[2], a.i[3]);
        try {
            images_[1].Open(jpegPath, IMAGE_JPEG);
        } catch (error) {
            // Out of budget already; the slot stays empty.
        }
        while (!s_.AtEnd()) {
            const unsigned op = s_.Byte() % kWindowOpCount;
            try {
                Step(op);
            } catch (error) {
                // Raised as promised (a missing file, memory): the library stays usable.
            }
            CheckOwnership();
            NoteWork();
        }
        TearDown();
    }

private:
    Tracked &Current() { return windows_[current_]; }
    window &W() { return *Current().w; }

    void Open(int index, int width, int height, int x, int y)
    {
        Tracked &t = windows_[index];
        t = Tracked{};
        t.width = width;
        t.height = height;
        t.w = std::make_unique<window>(width, height, x, y);
    }

    // Ownership: every GDI object alive belongs to a window, one of each kind at most. An
    // injected failure may leave objects alive as the library is specified to, so the
    // count is only checked while none has been.
    void CheckOwnership()
    {
        if (failuresInjected_)
            return;
        int owned = 0;
        for (Tracked &t : windows_)
            if (t.w)
                owned += WindowInspector::OwnedObjects(*t.w);
        FUZZ_CHECK(hooks::LiveObjectCount() == objectBase_ + owned);
    }

    void SetBrushChecked(const color &next, color returned)
    {
        FUZZ_CHECK(Same(returned, Current().brush));
        Current().brush = next;
    }

    void SetPenChecked(const color &next, color returned)
    {
        FUZZ_CHECK(Same(returned, Current().pen));
        Current().pen = next;
    }

    void Polygon(const Args &a)
    {
        const int count = kPolygonCounts[a.b[0] % (sizeof kPolygonCounts / sizeof kPolygonCounts[0])];
        // The arrays are exactly as long as the library may read: a count it must refuse
        // gets at most 65536 entries, so reading on would be an overrun.
        const size_t length = count <= 0 ? 0 : static_cast<size_t>(count > 65536 ? 65536 : count);
        std::vector<int> xs(length), ys(length);
        const unsigned pattern = a.b[1] % 6;
        if (pattern == 5) {
            W().DrawPolygon(nullptr, nullptr, count, static_cast<drawstyle>(a.s));
            return;
        }
        if (length <= 16) {
            for (size_t k = 0; k < length; ++k) {
                xs[k] = s_.Int();
                ys[k] = s_.Int();
            }
        } else {
            const int far = pattern == 1 ? 0x7FFFFFFF : 400;
            for (size_t k = 0; k < length; ++k) {
                const double angle = static_cast<double>(k) * (pattern == 3 ? 2.4 : 6.283185307179586 / length);
                xs[k] = pattern == 2 ? 7 : static_cast<int>(500 + std::cos(angle) * (far - 500.0) * (k % 2 ? 1 : 0.4));
                ys[k] = pattern == 2 ? 7 : static_cast<int>(300 + std::sin(angle) * (far - 300.0) * (k % 2 ? 1 : 0.4));
            }
        }
        W().DrawPolygon(length ? xs.data() : nullptr, length ? ys.data() : nullptr, count,
                        static_cast<drawstyle>(a.s));
    }

    void StoreChecked(const Args &a)
    {
        const unsigned slot = a.b[0] % 4;
        image *target = slot < 3 ? &images_[slot] : nullptr;
        const unsigned x = static_cast<unsigned>(a.i[0]);
        const auto y = static_cast<unsigned short>(a.i[1]);
        const auto width = static_cast<unsigned short>(a.i[2]);
        const auto height = static_cast<unsigned short>(a.i[3]);
        const bool inside = int64_t{x} + width <= Current().width && int64_t{y} + height <= Current().height;
        const unsigned char *pixelsBefore = target ? target->ucpPixels : nullptr;
        const int widthBefore = target ? target->usWidth : 0;
        const int heightBefore = target ? target->usHeight : 0;
        const imagetype typeBefore = target ? target->iType : IMAGE_JPEG;
        try {
            W().StoreImage(target, x, y, width, height);
        } catch (error e) {
            // Out of memory changes nothing.
            FUZZ_CHECK(e == ERROR_OUT_OF_MEMORY && target && target->ucpPixels == pixelsBefore);
            throw;
        }
        if (!target)
            return;
        if (!inside) {
            FUZZ_CHECK(target->ucpPixels == pixelsBefore && target->usWidth == widthBefore &&
                       target->usHeight == heightBefore && target->iType == typeBefore);
            return;
        }
        FUZZ_CHECK(target->usWidth == width && target->usHeight == height && target->iType == IMAGE_CAPTURED);
        FUZZ_CHECK((width && height) == (target->ucpPixels != nullptr));
    }

    void OpenImage(const Args &a)
    {
        image &target = images_[a.b[0] % 3];
        switch (a.b[1] % 5) {
        case 0:
            target.Open(jpegPath, IMAGE_JPEG);
            break;
        case 1:
            target.Open(missingPath, IMAGE_JPEG);
            break;
        case 2:
            target.Open(static_cast<const char *>(nullptr), IMAGE_JPEG);
            break;
        case 3:
            target.Open(jpegPath, IMAGE_CAPTURED);
            break;
        default:
            target.Open(std::string(jpegPath), static_cast<imagetype>(a.b[1]));
            break;
        }
    }

    void Step(unsigned op)
    {
        const Args a = s_.ReadArgs(kWindowOps[op].args);
        if (trace_)
            std::fprintf(stderr, "op %s\n", Describe(kWindowOps[op], a).c_str());
        window &w = W();
        const drawstyle style = static_cast<drawstyle>(a.s);
        int x = 0, y = 0;
        switch (op) {
        case kSetTitle:
            w.SetTitle(a.t.Get());
            break;
        case kSetTitleString:
            w.SetTitle(std::string(a.t.null ? "" : a.t.bytes));
            break;
        case kGetSize:
            w.GetSize(x, y);
            FUZZ_CHECK(x == Current().width && y == Current().height);
            FUZZ_CHECK(w.GetWidth() == x && w.GetHeight() == y);
            break;
        case kSetCloseWaits:
            w.SetCloseWaitsForClick(a.b[0] & 1);
            break;
        case kPump:
            w.PumpMessages();
            break;
        case kGetMousePosition:
            w.GetMousePosition(x, y);
            CheckMousePosition(x, y);
            break;
        case kGetButtonState: {
            const PressState state = w.GetButtonState(static_cast<MouseButton>(a.i[0]), x, y);
            FUZZ_CHECK(state == BUTTON_RELEASED || state == BUTTON_PRESSED);
            break;
        }
        case kPollClick: {
            const ClickKind kind = w.PollMouseClick(x, y);
            CheckClick(kind, x, y);
            break;
        }
        case kPollKey: {
            char value = 'q';
            CheckKey(w.PollKeyPress(value), value);
            break;
        }
        case kAwaitClick:
            // A wait is given input that is sure to arrive: no pump call may be made to
            // fail (a failed dispatch loses its message, and the wait would never end).
            hooks::ClearFailures();
            if (InjectClickInside(w, a.b[0] & 1, a.i[0], a.i[1])) {
                const ClickKind kind = w.AwaitMouseClick(x, y);
                FUZZ_CHECK(kind != CLICK_NONE);
                CheckClick(kind, x, y);
            }
            break;
        case kAwaitKey:
            hooks::ClearFailures();
            if (InjectRecordKey(w, a.b[0])) {
                char value = 0;
                const KeyKind kind = w.AwaitKeyPress(value);
                FUZZ_CHECK(kind != KEY_NONE);
                CheckKey(kind, value);
            }
            break;
        case kDiscardClicks:
            w.DiscardMouseClicks();
            break;
        case kDiscardKeys:
            w.DiscardKeyPresses();
            break;
        case kSetBrush8: {
            const color next(a.b[0], a.b[1], a.b[2]);
            SetBrushChecked(next, w.SetBrush(a.b[0], a.b[1], a.b[2]));
            break;
        }
        case kSetBrushColor: {
            const color next(a.b[0], a.b[1], a.b[2]);
            SetBrushChecked(next, w.SetBrush(next));
            break;
        }
        case kSetBrushReal: {
            const color next(ColorComponentFromDouble(a.r[0]), ColorComponentFromDouble(a.r[1]),
                             ColorComponentFromDouble(a.r[2]));
            SetBrushChecked(next, w.SetBrush(a.r[0], a.r[1], a.r[2]));
            break;
        }
        case kSetPen8: {
            const color next(a.b[0], a.b[1], a.b[2]);
            SetPenChecked(next, w.SetPen(a.b[0], a.b[1], a.b[2], a.i[0]));
            break;
        }
        case kSetPenColor: {
            const color next(a.b[0], a.b[1], a.b[2]);
            SetPenChecked(next, w.SetPen(next, a.i[0]));
            break;
        }
        case kSetPenReal: {
            const color next(ColorComponentFromDouble(a.r[0]), ColorComponentFromDouble(a.r[1]),
                             ColorComponentFromDouble(a.r[2]));
            SetPenChecked(next, w.SetPen(a.r[0], a.r[1], a.r[2], a.i[0]));
            break;
        }
        case kSetFont:
            w.SetFont(a.i[0], a.i[1], a.i[2], a.t.Get());
            break;
        case kDrawLine:
            w.DrawLine(a.i[0], a.i[1], a.i[2], a.i[3], style);
            break;
        case kDrawRectangle:
            w.DrawRectangle(a.i[0], a.i[1], a.i[2], a.i[3], style, a.i[4], a.i[5]);
            break;
        case kDrawTriangle:
            w.DrawTriangle(a.i[0], a.i[1], a.i[2], a.i[3], a.i[4], a.i[5], style);
            break;
        case kDrawPolygon:
            Polygon(a);
            break;
        case kDrawCircle:
            w.DrawCircle(a.i[0], a.i[1], a.i[2], style);
            break;
        case kDrawEllipse:
            w.DrawEllipse(a.i[0], a.i[1], a.i[2], a.i[3], style);
            break;
        case kDrawArc:
            w.DrawArc(a.i[0], a.i[1], a.i[2], a.i[3], a.r[0], a.r[1], style, a.i[4]);
            break;
        case kDrawBezier:
            w.DrawBezier(a.i[0], a.i[1], a.i[2], a.i[3], a.i[4], a.i[5], a.i[6], a.i[7], style);
            break;
        case kDrawPixel:
            w.DrawPixel(a.i[0], a.i[1]);
            break;
        case kDrawString:
            w.DrawString(a.i[0], a.i[1], a.t.Get());
            break;
        case kDrawStringObject:
            w.DrawString(a.i[0], a.i[1], std::string(a.t.bytes));
            break;
        case kDrawNumber:
            w.DrawNumber(a.i[0], a.i[1], a.i[2]);
            break;
        case kDrawReal:
            w.DrawReal(a.i[0], a.i[1], a.r[0]);
            break;
        case kGetStringSize:
            x = y = -7;
            w.GetStringSize(x, y, a.t.Get());
            FUZZ_CHECK(x >= 0 && y >= 0);
            break;
        case kGetStringSizeObject:
            x = y = -7;
            w.GetStringSize(x, y, std::string(a.t.bytes));
            FUZZ_CHECK(x >= 0 && y >= 0);
            break;
        case kGetNumberSize:
            x = y = -7;
            w.GetNumberSize(x, y, a.i[0]);
            FUZZ_CHECK(x >= 0 && y >= 0);
            break;
        case kGetRealSize:
            x = y = -7;
            w.GetRealSize(x, y, a.r[0]);
            FUZZ_CHECK(x >= 0 && y >= 0);
            break;
        case kSetBuffering: {
            const bool on = a.b[0] & 1;
            FUZZ_CHECK(w.SetBuffering(on) == Current().buffering);
            if (on && !Current().buffering)
                Current().pen = Current().brush = WHITE;
            Current().buffering = on;
            break;
        }
        case kUpdateBuffer:
            w.UpdateBuffer();
            break;
        case kGetColor: {
            const color c = w.GetColor(a.i[0], a.i[1]);
            if (a.i[0] < 0 || a.i[1] < 0 || a.i[0] >= Current().width || a.i[1] >= Current().height)
                FUZZ_CHECK(Same(c, BLACK));
            break;
        }
        case kGetColorReal: {
            double r = -1, g = -1, b = -1;
            w.GetColor(a.i[0], a.i[1], r, g, b);
            for (double v : {r, g, b})
                FUZZ_CHECK(v >= 0.0 && v <= 1.0 && std::fabs(v * 255.0 - std::round(v * 255.0)) < 1e-9);
            break;
        }
        case kGetComponent: {
            const double v = a.b[0] % 3 == 0 ? w.GetRed(a.i[0], a.i[1])
                             : a.b[0] % 3 == 1 ? w.GetGreen(a.i[0], a.i[1])
                                                : w.GetBlue(a.i[0], a.i[1]);
            FUZZ_CHECK(v >= 0.0 && v <= 1.0);
            break;
        }
        case kDrawImage: {
            const unsigned slot = a.b[0] % 4;
            if (slot == 3)
                w.DrawImage(static_cast<const image *>(nullptr), a.i[0], a.i[1], a.i[2], a.i[3]);
            else if (a.b[0] & 4)
                w.DrawImage(images_[slot], a.i[0], a.i[1], a.i[2], a.i[3]);
            else
                w.DrawImage(&images_[slot], a.i[0], a.i[1], a.i[2], a.i[3]);
            break;
        }
        case kStoreImage:
            StoreChecked(a);
            break;
        case kCopyImage: {
            image &to = images_[a.b[0] % 3];
            const image &from = images_[a.b[1] % 3];
            to = from;
            FUZZ_CHECK(to.usWidth == from.usWidth && to.usHeight == from.usHeight && to.iType == from.iType);
            if (&to != &from && from.ucpPixels) {
                FUZZ_CHECK(to.ucpPixels && to.ucpPixels != from.ucpPixels);
                FUZZ_CHECK(std::memcmp(to.ucpPixels, from.ucpPixels, size_t{to.usWidth} * to.usHeight * 4) == 0);
            }
            break;
        }
        case kCopyConstructImage: {
            const image copy(images_[a.b[0] % 3]);
            w.DrawImage(copy, a.i[0], a.i[1], -1, -1);
            break;
        }
        case kOpenImage:
            OpenImage(a);
            break;
        case kDelay:
            Delay(a.u[0]);
            break;
        case kClock:
            (void)ElapsedMillis();
            (void)IntervalElapsed(a.u[0]);
            FUZZ_CHECK(IntervalElapsed(0));
            break;
        case kOpenWindow:
            if (!windows_[1].w)
                Open(1, a.i[0], a.i[1], a.i[2], a.i[3]);
            break;
        case kCloseWindow:
            windows_[1].w.reset();
            current_ = 0;
            break;
        case kFailNext:
            hooks::FailNextCall(kFailingCalls[a.b[0] % (sizeof kFailingCalls / sizeof kFailingCalls[0])],
                                1 + a.b[1] % 4);
            failuresInjected_ = true;
            break;
        case kClearFailures:
            hooks::ClearFailures();
            break;
        case kPrint:
            w.Print();
            break;
        case kInjectClick:
            if (hooks::GetWindowInfo(WindowInspector::Handle(w)).exists) {
                hooks::InjectButton(WindowInspector::Handle(w), a.b[0] % 3, true, a.i[0], a.i[1]);
                hooks::InjectButton(WindowInspector::Handle(w), a.b[0] % 3, false, a.i[0], a.i[1]);
            }
            break;
        case kInjectKey:
            if (hooks::GetWindowInfo(WindowInspector::Handle(w)).exists) {
                hooks::InjectKey(WindowInspector::Handle(w), a.b[0], true);
                hooks::InjectKey(WindowInspector::Handle(w), a.b[0], false);
            }
            break;
        case kSelectWindow:
            current_ = (a.b[0] & 1) && windows_[1].w ? 1 : 0;
            break;
        }
    }

    // Every window goes; the last one waits for a click if the flag says so, and gets one.
    void TearDown()
    {
        hooks::ClearFailures();
        current_ = 0;
        windows_[1].w.reset();
        window &w = *windows_[0].w;
        const bool waits = w.SetCloseWaitsForClick(false);
        if (waits && InjectClickInside(w, 0, 1, 1))
            w.SetCloseWaitsForClick(true);
        windows_[0].w.reset();
        for (image &picture : images_)
            picture = image();
        FUZZ_CHECK(windowRegistry == nullptr);
        if (!failuresInjected_) {
            FUZZ_CHECK(hooks::LiveObjectCount() == objectBase_);
            FUZZ_CHECK(hooks::LiveWindowCount() == windowBase_);
        }
    }

    Script &s_;
    bool trace_;
    Tracked windows_[2];
    int current_ = 0;
    image images_[3];
    bool failuresInjected_ = false;
    int objectBase_ = 0;
    int windowBase_ = 0;
};

void Play(const uint8_t *data, size_t size)
{
    Script script(data, size);
    Run run(script);
    run.Play();
}

// The picture the scripts draw, as a file in memory that children inherit.
void MakePicture()
{
    JpegRecipe recipe;
    recipe.width = 21;
    recipe.height = 13;
    const Bytes bytes = EncodeJpeg(recipe);
    const int fd = memfd_create("picture.jpg", 0);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::perror("window fuzz: picture");
        std::exit(1);
    }
    std::snprintf(jpegPath, sizeof jpegPath, "/proc/self/fd/%d", fd);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    hooks::UseHeadlessBackend();
    hooks::UseVirtualClock(true);
    // No print server: the print dialog lists none and is cancelled, at once.
    setenv("CUPS_SERVER", "/nonexistent-qgfuzz/cups.sock", 1);
    MakePicture();
    // Fonts are found and loaded once here, not again in every child.
    {
        window warm(200, 100, 0, 0);
        warm.SetCloseWaitsForClick(false);
        for (int family = 0; family <= 4; ++family)
            for (int style = 0; style < 8; ++style) {
                warm.SetFont(12, style, family, nullptr);
                warm.DrawString(0, 0, "Wg");
            }
        warm.SetFont(20, FONT_BOLD, 0, "Arial");
        warm.DrawString(0, 0, "Wg");
    }
    StartForkServer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    JudgeWindowProgram(RunForked(Play, data, size), "a window operation raised an error other than ERROR_OUT_OF_MEMORY");
    return 0;
}
