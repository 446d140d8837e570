// Long runs on the headless window: ten million clicks and key presses queued with nothing
// reading them, and a million window operations of every kind, watching the heap, the
// resident size and the live GDI objects. Figures go to standard output.
#include "graphics.h"

#include "files.h"
#include "jpeg.h"

#include <standin/testhooks.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>
#include <algorithm>
#include <memory>
#include <string>

namespace hooks = standin::test;

// Every C++ allocation of the program (the library's and the stand-in's) counted as it is
// made and freed, so that a growth of a few bytes a round shows exactly. The operators
// below are the allocation functions, so their malloc and free belong together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {

// The handle of the window a program makes next, as the stand-in reports its creation.
struct NextWindow {
    HWND handle = nullptr;
    NextWindow() { standin::test::OnWindowCreated([this](HWND made) { handle = made; }); }
    ~NextWindow() { standin::test::OnWindowCreated({}); }
};
std::atomic<long long> liveNewBytes{0};

void *Counted(void *block)
{
    if (block)
        liveNewBytes += static_cast<long long>(malloc_usable_size(block));
    return block;
}

void Uncounted(void *block) noexcept
{
    if (block)
        liveNewBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}
} // namespace

void *operator new(std::size_t size)
{
    if (void *block = Counted(std::malloc(size ? size : 1)))
        return block;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return ::operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return Counted(std::malloc(size ? size : 1)); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return Counted(std::malloc(size ? size : 1)); }
void operator delete(void *block) noexcept { Uncounted(block); }
void operator delete[](void *block) noexcept { Uncounted(block); }
void operator delete(void *block, std::size_t) noexcept { Uncounted(block); }
void operator delete[](void *block, std::size_t) noexcept { Uncounted(block); }

namespace {

// Bytes the program holds on the heap now.
long long HeapInUse()
{
    return static_cast<long long>(mallinfo2().uordblks);
}

long long ResidentBytes()
{
    long long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// What one heap record of this size takes from the allocator: the requested size and its
// size word, rounded up to the allocator's alignment, never less than its smallest chunk.
long long ChunkOf(std::size_t size)
{
    const std::size_t align = 2 * sizeof(std::size_t);
    const std::size_t chunk = (size + sizeof(std::size_t) + align - 1) / align * align;
    return static_cast<long long>(chunk < 4 * sizeof(std::size_t) ? 4 * sizeof(std::size_t) : chunk);
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class Soak : public testing::Test {
protected:
    void SetUp() override
    {
        hooks::UseHeadlessBackend();
        hooks::DrainMessages();
    }
};

TEST_F(Soak, TenMillionUnreadClicksAndKeysCostOneRecordEachAndAllComeBack)
{
    constexpr long kClicks = 10'000'000, kKeys = 10'000'000;
    // A first window makes what the stand-in keeps for good (its tables, the backend).
    std::make_unique<window>(200, 100, 0, 0)->SetCloseWaitsForClick(false);
    const long long heapBefore = HeapInUse();
    NextWindow next;
    auto w = std::make_unique<window>(200, 100, 0, 0);
    w->SetCloseWaitsForClick(false);
    const HWND hwnd = next.handle;
    int x, y;
    w->GetMousePosition(x, y);
    const long long heapWithWindow = HeapInUse();

    // Through the window procedure, one message a pump: the platform's queue stays short
    // and only the library's queues grow. GetMousePosition pumps and reads neither queue.
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < kClicks; ++i) {
        const UINT release = i % 3 == 2 ? WM_RBUTTONUP : WM_LBUTTONUP;
        PostMessageA(hwnd, release, 0, MAKELPARAM(i % 1000, i / 1000 % 600));
        w->GetMousePosition(x, y);
    }
    const double clickSeconds = Seconds(start);
    const long long heapWithClicks = HeapInUse();
    start = std::chrono::steady_clock::now();
    for (long i = 0; i < kKeys; ++i) {
        if (i % 2)
            PostMessageA(hwnd, WM_CHAR, 'a' + i % 26, 0);
        else
            PostMessageA(hwnd, WM_KEYDOWN, VK_F1 + i / 2 % 12, 0);
        w->GetMousePosition(x, y);
    }
    const double keySeconds = Seconds(start);
    const long long heapWithKeys = HeapInUse();
    const long long resident = ResidentBytes();

    const double perClick = double(heapWithClicks - heapWithWindow) / kClicks;
    const double perKey = double(heapWithKeys - heapWithClicks) / kKeys;
    std::printf("queued %ld clicks in %.1f s: %.2f heap bytes each (a record of %zu bytes)\n", kClicks,
                clickSeconds, perClick, sizeof(ClickRecord));
    std::printf("queued %ld keys in %.1f s: %.2f heap bytes each (a record of %zu bytes)\n", kKeys,
                keySeconds, perKey, sizeof(KeyRecord));
    std::printf("resident with both queues full: %.1f MiB\n", resident / 1048576.0);
    EXPECT_LE(perClick, ChunkOf(sizeof(ClickRecord)) + 0.01);
    EXPECT_LE(perKey, ChunkOf(sizeof(KeyRecord)) + 0.01);

    // Oldest first, each as it went in; then the rest are dropped in one go.
    for (long i = 0; i < 3; ++i) {
        EXPECT_EQ(w->PollMouseClick(x, y), i % 3 == 2 ? CLICK_RIGHT : CLICK_LEFT);
        EXPECT_EQ(x, i % 1000);
        EXPECT_EQ(y, 0);
    }
    char value = 0;
    EXPECT_EQ(w->PollKeyPress(value), KEY_FUNCTION);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(w->PollKeyPress(value), KEY_CHARACTER);
    EXPECT_EQ(value, 'b');
    start = std::chrono::steady_clock::now();
    w->DiscardMouseClicks();
    w->DiscardKeyPresses();
    std::printf("discarded them in %.2f s\n", Seconds(start));
    EXPECT_EQ(w->PollMouseClick(x, y), CLICK_NONE);
    EXPECT_EQ(w->PollKeyPress(value), KEY_NONE);
    EXPECT_LE(HeapInUse(), heapWithWindow + 4096);

    // Records still queued when the window goes are freed with it.
    for (long i = 0; i < 1'000'000; ++i) {
        PostMessageA(hwnd, i % 2 ? WM_LBUTTONUP : WM_CHAR, 'x', 0);
        w->GetMousePosition(x, y);
    }
    w.reset();
    EXPECT_LE(HeapInUse(), heapBefore + 4096);
    malloc_trim(0);
    std::printf("resident after the window went: %.1f MiB\n", ResidentBytes() / 1048576.0);
}

// What the operations below write into and read from.
struct Scratch {
    int x = 0, y = 0;
    char key = 0;
    double r = 0, g = 0, b = 0;
    image decoded, captured, copy;
};

// One operation of each kind the window offers, the argument forms and draw styles taken
// in turn by the round number; a second window is made and closed, and the picture is
// decoded afresh, every round.
std::vector<std::function<void(int)>> EveryKindOfOperation(window &w, HWND hwnd, Scratch &s, const std::string &picture)
{
    static const drawstyle styles[] = {STYLE_FILLED, STYLE_FRAME, STYLE_INVERTED};
    static const char *const faces[] = {nullptr, "Arial", "Courier New", "Times New Roman", "No Such Face"};
    return {
        [&w](int i) { w.SetPen(color(i & 0xFF, 40, 90), i % 4); },
        [&w](int i) { w.SetPen(static_cast<unsigned char>(i), 2, 3, i % 3); },
        [&w](int i) { w.SetPen(0.25, (i % 10) / 10.0, 1.0, 1); },
        [&w](int i) { w.SetBrush(color(9, i & 0xFF, 200)); },
        [&w](int i) { w.SetBrush(static_cast<unsigned char>(i), 250, 3); },
        [&w](int i) { w.SetBrush(0.5, 0.5, (i % 5) / 5.0); },
        [&w](int i) { w.SetFont(8 + i % 20, i % 8, i % 6, faces[i % 5]); },
        [&w](int i) { w.DrawLine(i % 200, 3, 150, i % 100, STYLE_FRAME); },
        [&w](int i) { w.DrawRectangle(i % 50, 5, 120, 70, styles[i % 3]); },
        [&w](int i) { w.DrawRectangle(10, i % 40, 90, 95, styles[i % 3], 12, 9); },
        [&w](int i) { w.DrawTriangle(5, 5, 150, i % 100, 60, 90, styles[i % 3]); },
        [&w](int i) {
            const int xs[] = {10, 80, 150, 60, 20 + i % 50}, ys[] = {10, 90, 20, 60, 95};
            w.DrawPolygon(xs, ys, 5, styles[i % 3]);
        },
        [&w](int i) { w.DrawCircle(100, 50, i % 60, styles[i % 3]); },
        [&w](int i) { w.DrawEllipse(20, 10, 20 + i % 180, 90, styles[i % 3]); },
        [&w](int i) { w.DrawArc(10, 10, 190, 90, i % 360, 200, styles[i % 3], 0); },
        [&w](int i) { w.DrawArc(30, 5, 170, 95, 0.5, (i % 7) * 1.0, styles[i % 3], 1); },
        [&w](int i) { w.DrawBezier(0, 0, i % 200, 100, 200, 0, 100, 99, STYLE_FRAME); },
        [&w](int i) { w.DrawPixel(i % 200, i % 100); },
        [&w](int i) { w.DrawString(i % 150, 40, "Quen's Zarn 0123"); },
        [&w](int i) { w.DrawString(5, i % 90, std::string("status line ") + std::to_string(i)); },
        [&w](int i) { w.DrawNumber(50, 50, i); },
        [&w](int i) { w.DrawReal(20, 70, i / 7.0); },
        [&w, &s](int i) {
            w.GetStringSize(s.x, s.y, "MISSLE COUNT:");
            w.GetNumberSize(s.x, s.y, i);
            w.GetRealSize(s.x, s.y, -i / 3.0);
        },
        [&s, picture](int i) {
            if (i % 2)
                s.decoded.Open(picture, IMAGE_JPEG);
            else
                s.decoded.Open(picture.c_str(), IMAGE_JPEG);
        },
        [&w, &s](int i) { w.DrawImage(s.decoded, i % 190 - 20, 40, -1, -1); },
        [&w, &s](int i) { w.DrawImage(&s.decoded, 5, 5, 30 + i % 100, 20 + i % 60); },
        [&w, &s](int i) { w.StoreImage(s.captured, i % 100, 10, 50, 40); },
        [&w, &s](int i) { w.DrawImage(s.captured, 100 - i % 100, 50, -1, -1); },
        [&s](int) {
            s.copy = s.captured;
            image another(s.decoded);
            s.copy = another;
        },
        [&w, &s](int i) {
            w.GetColor(i % 200, 50);
            w.GetColor(5, i % 100, s.r, s.g, s.b);
            s.r = w.GetRed(1, 1) + w.GetGreen(2, 2) + w.GetBlue(3, 3);
        },
        [&w](int i) { w.SetBuffering(i % 2 == 0); },
        [&w](int) { w.UpdateBuffer(); },
        [&w](int i) {
            if (i % 2)
                w.SetTitle("Graphics Window");
            else
                w.SetTitle(std::string("Round ") + std::to_string(i));
        },
        [&w, &s](int) {
            s.x = w.GetWidth() + w.GetHeight();
            w.GetSize(s.x, s.y);
            w.GetMousePosition(s.x, s.y);
            w.GetButtonState(MOUSE_RIGHT, s.x, s.y);
        },
        [&w, &s, hwnd](int i) {
            hooks::InjectMove(hwnd, i % 200, 30);
            hooks::InjectButton(hwnd, i % 2, true, i % 200, 30);
            hooks::InjectButton(hwnd, i % 2, false, i % 200, 31);
            for (int pumps = 0; pumps < 3; ++pumps)
                w.PollMouseClick(s.x, s.y);
        },
        [&w, &s, hwnd](int i) {
            hooks::InjectKey(hwnd, i % 2 ? 'A' + i % 26 : VK_F1 + i % 12, true);
            hooks::InjectKey(hwnd, i % 2 ? 'A' + i % 26 : VK_F1 + i % 12, false);
            for (int pumps = 0; pumps < 3; ++pumps)
                w.PollKeyPress(s.key);
        },
        [&w, &s, hwnd](int i) {
            hooks::InjectButton(hwnd, 0, true, 5, 5);
            hooks::InjectButton(hwnd, 0, false, 5, 5);
            w.AwaitMouseClick(s.x, s.y);
            hooks::InjectKey(hwnd, VK_ESCAPE, true);
            w.AwaitKeyPress(s.key);
            hooks::InjectKey(hwnd, VK_ESCAPE, false);
            hooks::InjectWheel(hwnd, i % 2 ? 1 : -1, 5, 5);
            w.DiscardMouseClicks();
            w.DiscardKeyPresses();
        },
        [](int i) {
            window second(50 + i % 50, 40, 300, 300);
            second.SetPen(RED, 3);
            second.DrawCircle(20, 20, 10, STYLE_FILLED);
        },
        [](int i) {
            Delay(0);
            IntervalElapsed(static_cast<unsigned>(i % 2));
            ElapsedMillis();
        },
        [&w](int) {
            w.Print();
            hooks::TakeShownBoxes();
        },
    };
}

// Standard output and error go nowhere while it lives: the print dialog's and the boxes'
// texts would fill the test's log a million times over.
class Silenced {
public:
    Silenced()
    {
        std::fflush(nullptr);
        const int nowhere = open("/dev/null", O_WRONLY);
        for (int fd : {1, 2}) {
            kept_[fd - 1] = dup(fd);
            dup2(nowhere, fd);
        }
        close(nowhere);
    }
    ~Silenced()
    {
        std::fflush(nullptr);
        for (int fd : {1, 2}) {
            dup2(kept_[fd - 1], fd);
            close(kept_[fd - 1]);
        }
    }

private:
    int kept_[2];
};

TEST_F(Soak, AMillionOperationsOfEveryKindKeepMemoryAndObjectsFlat)
{
    constexpr long kOperations = 1'000'000;
    ScratchFolder folder;
    const std::string picture = folder.Write("picture.jpg", EncodeJpeg(Gradient(24, 18)));
    hooks::UseVirtualClock(true);
    NextWindow next;
    auto w = std::make_unique<window>(200, 100, 0, 0);
    w->SetCloseWaitsForClick(false);
    const HWND hwnd = next.handle;
    Scratch scratch;
    const auto operations = EveryKindOfOperation(*w, hwnd, scratch, picture);
    const long rounds = (kOperations + long(operations.size()) - 1) / long(operations.size());
    const long warmUp = rounds / 10, half = (warmUp + rounds) / 2;

    // The first tenth warms up (font and glyph caches, the allocator's free lists). After
    // that the program's own allocations swing with its containers' growth and shrinking,
    // but a leak would lift their low point: the second half's must not be above the
    // first's. The round number is taken modulo 1800 so that the arguments repeat and
    // numbers drawn as text keep their length. Objects are counted between rounds, where
    // the buffer is off and every temporary is gone.
    const int objects = hooks::LiveObjectCount();
    long objectsWrongAt = -1;
    long long heapAfterWarmUp = 0, residentAfterWarmUp = 0;
    long long lowestFirstHalf = LLONG_MAX, lowestSecondHalf = LLONG_MAX;
    const auto start = std::chrono::steady_clock::now();
    {
        const Silenced quiet;
        for (long round = 0; round < rounds; ++round) {
            for (const auto &operation : operations)
                operation(static_cast<int>(round % 1800));
            w->SetBuffering(false);
            if (objectsWrongAt < 0 && hooks::LiveObjectCount() != objects)
                objectsWrongAt = round;
            if (round == warmUp) {
                heapAfterWarmUp = HeapInUse();
                residentAfterWarmUp = ResidentBytes();
            }
            long long &lowest = round < half ? lowestFirstHalf : lowestSecondHalf;
            if (round >= warmUp)
                lowest = std::min(lowest, liveNewBytes.load());
        }
    }
    const long long heapGrowth = HeapInUse() - heapAfterWarmUp;
    const long long residentGrowth = ResidentBytes() - residentAfterWarmUp;
    std::printf("%ld rounds of %zu kinds (%ld operations) in %.1f s\n", rounds, operations.size(),
                rounds * long(operations.size()), Seconds(start));
    std::printf("after the warm-up: heap %+lld bytes, resident %+lld KiB, GDI objects %+d; low point "
                "of the C++ allocations %+lld bytes from the first half to the second\n",
                heapGrowth, residentGrowth / 1024, hooks::LiveObjectCount() - objects,
                lowestSecondHalf - lowestFirstHalf);
    EXPECT_EQ(objectsWrongAt, -1) << "live GDI objects changed after round " << objectsWrongAt;
    EXPECT_LE(lowestSecondHalf, lowestFirstHalf);
    EXPECT_LE(heapGrowth, 64 * 1024);
    EXPECT_LE(residentGrowth, 1024 * 1024);
    w.reset();
    EXPECT_EQ(hooks::LiveObjectCount(), 0);
    hooks::UseVirtualClock(false);
}

} // namespace
