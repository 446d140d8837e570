// The message queue's costs, on either backend (--backend=headless, the default, or
// --backend=sdl2 with a display): a pump with a click already waiting, the CPU a program
// spinning on PeekMessageA uses with no input, and how soon a click made meanwhile by
// another thread reaches it. bench/run.sh runs both, the sdl2 one under Xvfb.
#include "backend_flag.h"

#include <standin/testhooks.h>
#include <standin/win32.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

HWND window = nullptr;
std::atomic<int64_t> clickSeenNs{0}; // when the procedure got the last button release
int clicksSeen = 0;

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// What a library's procedure does with a release: note it, let go of the capture.
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_LBUTTONUP) {
        ++clicksSeen;
        clickSeenNs.store(NowNs(), std::memory_order_relaxed);
        ReleaseCapture();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// One pump as the library makes it, then a look at its click queue.
bool PollClick()
{
    int before = clicksSeen;
    MSG msg;
    if (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return clicksSeen != before;
}

void MakeWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "Bench";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "Bench", "Queue Bench", 0x10CA0000, 5, 5, 1002, 620, nullptr, nullptr, nullptr,
                             nullptr);
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Pump with a click already in the queue: batches of releases are made untimed, then
// taken one pump each.
void BM_PollWithClickQueued(benchmark::State &state)
{
    constexpr int kBatch = 1000;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i)
            standin::test::InjectButton(window, 0, false, 10, 10);
        MSG peek;
        while (!PeekMessageA(&peek, window, 0, 0, PM_NOREMOVE)) {
        } // the backend has handed the batch to the queue
        auto start = Clock::now();
        for (int i = 0; i < kBatch; ++i)
            benchmark::DoNotOptimize(PollClick());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    // Time per pump, the figure to compare with the 1 us target.
    state.counters["per_poll"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBatch,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PollWithClickQueued)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// A PollMouseClick-style loop with no input for two seconds: the share of one core used.
void BM_IdleSpinCpu(benchmark::State &state)
{
    for (auto _ : state) {
        double cpu0 = CpuSeconds();
        auto start = Clock::now(), end = start + std::chrono::seconds(2);
        int64_t polls = 0;
        while (Clock::now() < end) {
            PollClick();
            ++polls;
        }
        double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * (CpuSeconds() - cpu0) / wall;
        state.counters["polls"] = static_cast<double>(polls);
    }
}
BENCHMARK(BM_IdleSpinCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Another thread clicks at a random moment while the program spins; the time until the
// procedure sees the release.
void BM_ClickLatency(benchmark::State &state)
{
    constexpr int kClicks = 40;
    for (auto _ : state) {
        std::vector<double> latencies;
        std::mt19937 random(7);
        for (int i = 0; i < kClicks; ++i) {
            std::atomic<int64_t> injectedNs{0};
            auto pause = std::chrono::milliseconds(15 + static_cast<int>(random() % 20));
            std::thread user([&] {
                std::this_thread::sleep_for(pause);
                injectedNs.store(NowNs());
                standin::test::InjectButton(window, 0, false, 20, 20);
            });
            while (!PollClick()) {
            }
            user.join();
            latencies.push_back(static_cast<double>(clickSeenNs.load() - injectedNs.load()) / 1e6);
        }
        std::sort(latencies.begin(), latencies.end());
        double sum = 0;
        for (double l : latencies)
            sum += l;
        state.SetIterationTime(sum / 1000.0);
        state.counters["mean_ms"] = sum / kClicks;
        state.counters["median_ms"] = latencies[kClicks / 2];
        state.counters["max_ms"] = latencies.back();
    }
}
BENCHMARK(BM_ClickLatency)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const bool headless = TakeBackendFlag(argc, argv);
    MakeWindow();
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("backend", headless ? "headless" : "sdl2");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyWindow(window);
    return 0;
}
