// Quen's Zarn's own costs, with its pictures from build/zarn/: from the start to the fully
// drawn board (window, 400 cells, logo); one animation frame decoded and drawn against
// decoded alone; and the CPU the game's wait for a click uses. --backend=sdl2 runs them in
// a real window (bench/run.sh does so under Xvfb).
#include "backend_flag.h"
#include "board.h"
#include "graphics.h"
#include "random.h"

#include <standin/testhooks.h>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

// The handle of the window a program makes next, as the stand-in reports its creation.
struct NextWindow {
    HWND handle = nullptr;
    NextWindow() { standin::test::OnWindowCreated([this](HWND made) { handle = made; }); }
    ~NextWindow() { standin::test::OnWindowCreated({}); }
};

using Clock = std::chrono::steady_clock;

// The child that ProcessStartToDrawnBoard starts: this program with this first argument,
// which writes a byte to kReportFd once the board is drawn.
constexpr char kChildFlag[] = "--drawn-board-child";
constexpr int kReportFd = 3;
constexpr char kSelf[] = "/proc/self/exe";
bool headlessBackend = true;

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The game's main routine up to the end of the board's setup.
std::unique_ptr<window> StartAndDrawBoard()
{
    SeedRandom();
    auto win = std::make_unique<window>(1000, 600, 5, 5);
    auto board = std::make_unique<Board>();
    board->Setup(*win);
    win->SetCloseWaitsForClick(false);
    return win;
}

// In this process, its backend already up; the window's teardown goes untimed.
void StartToDrawnBoard(benchmark::State &state)
{
    for (auto _ : state) {
        const auto start = Clock::now();
        auto win = StartAndDrawBoard();
        state.SetIterationTime(Seconds(start, Clock::now()));
    }
}
BENCHMARK(StartToDrawnBoard)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A fresh process each time, as a player starts the game: from the launch until the
// child reports the drawn board on a pipe (its exit goes untimed).
void ProcessStartToDrawnBoard(benchmark::State &state)
{
    for (auto _ : state) {
        int report[2];
        if (pipe(report) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, report[1], kReportFd);
        const char *backend = headlessBackend ? "--backend=headless" : "--backend=sdl2";
        char *argv[] = {const_cast<char *>(kSelf), const_cast<char *>(kChildFlag), const_cast<char *>(backend),
                        nullptr};
        const auto start = Clock::now();
        pid_t child = 0;
        const int spawned = posix_spawn(&child, kSelf, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(report[1]);
        char done = 0;
        const bool reported = spawned == 0 && read(report[0], &done, 1) == 1;
        const auto drawn = Clock::now();
        close(report[0]);
        int status = 0;
        if (spawned == 0)
            waitpid(child, &status, 0);
        if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not draw the board");
            return;
        }
        state.SetIterationTime(Seconds(start, drawn));
    }
}
BENCHMARK(ProcessStartToDrawnBoard)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Each round decodes the picture alone, then decodes and draws it as an animation does;
// the ratio of the two is the figure to hold to 1.2.
void FrameDecodeAndDraw(benchmark::State &state, const char *name, int x, int y)
{
    window win(1000, 600, 5, 5);
    win.SetCloseWaitsForClick(false);
    image picture;
    double decoding = 0, drawing = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        picture.Open(name, IMAGE_JPEG);
        const auto decoded = Clock::now();
        picture.Open(name, IMAGE_JPEG);
        win.DrawImage(picture, x, y, -1, -1);
        const auto drawn = Clock::now();
        decoding += Seconds(start, decoded);
        drawing += Seconds(decoded, drawn);
        state.SetIterationTime(Seconds(decoded, drawn));
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["decode_us"] = 1e6 * decoding / rounds;
    state.counters["decode_draw_us"] = 1e6 * drawing / rounds;
    state.counters["ratio"] = drawing / decoding;
}
BENCHMARK_CAPTURE(FrameDecodeAndDraw, hit_20x20, "frame4.jpg", 100, 100)
    ->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FrameDecodeAndDraw, sinking_80x20, "frame35.jpg", 100, 100)
    ->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FrameDecodeAndDraw, logo_400x400, "logo.jpg", 550, 60)
    ->UseManualTime()->Unit(benchmark::kMicrosecond);

// The game's wait for a click, a second long: another thread clicks after that second.
void WaitForClickCpu(benchmark::State &state)
{
    NextWindow next;
    window win(1000, 600, 5, 5);
    win.SetCloseWaitsForClick(false);
    const HWND hwnd = next.handle;
    double cpuTotal = 0, wallTotal = 0;
    for (auto _ : state) {
        std::thread user([hwnd] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            standin::test::InjectButton(hwnd, 0, true, 100, 100);
            standin::test::InjectButton(hwnd, 0, false, 100, 100);
        });
        const double cpu = ProcessCpuSeconds();
        const auto start = Clock::now();
        int x = -1, y = -1;
        while (win.PollMouseClick(x, y) == CLICK_NONE) {
        }
        const double wall = Seconds(start, Clock::now());
        cpuTotal += ProcessCpuSeconds() - cpu;
        wallTotal += wall;
        state.SetIterationTime(wall);
        user.join();
    }
    state.counters["cpu_percent"] = 100.0 * cpuTotal / wallTotal;
}
BENCHMARK(WaitForClickCpu)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const bool child = argc > 1 && std::strcmp(argv[1], kChildFlag) == 0;
    if (child) {
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    headlessBackend = TakeBackendFlag(argc, argv);
    // The pictures are read by relative name, as the game reads them.
    if (chdir(ZARN_PICTURES) != 0) {
        std::perror(ZARN_PICTURES);
        return 1;
    }
    if (child) {
        auto win = StartAndDrawBoard();
        return write(kReportFd, "!", 1) == 1 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("backend", headlessBackend ? "headless" : "sdl2");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
