// The library's own costs on the stand-in (headless, a 1000 x 600 window): one GetColor
// with its whole call sequence, from the screen and from the back buffer; UpdateBuffer of
// the full window; and the game's cell repaint, a filled 20 x 20 rectangle.
#include "graphics.h"

#include <standin/testhooks.h>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<window> GameWindow(bool buffering)
{
    standin::test::UseHeadlessBackend();
    auto w = std::make_unique<window>(1000, 600, 5, 5);
    w->SetCloseWaitsForClick(false);
    w->SetBuffering(buffering);
    w->SetPen(BLACK, 1);
    w->SetBrush(color(10, 20, 30));
    w->DrawRectangle(0, 0, 1000, 600, STYLE_FILLED);
    return w;
}

void GetColorFromScreen(benchmark::State &state)
{
    auto w = GameWindow(false);
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(w->GetColor(x, 300));
        x = (x + 7) % 1000;
    }
}
BENCHMARK(GetColorFromScreen);

void GetColorFromBuffer(benchmark::State &state)
{
    auto w = GameWindow(true);
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(w->GetColor(x, 300));
        x = (x + 7) % 1000;
    }
}
BENCHMARK(GetColorFromBuffer);

void UpdateBufferFullWindow(benchmark::State &state)
{
    auto w = GameWindow(true);
    for (auto _ : state)
        w->UpdateBuffer();
    state.SetBytesProcessed(state.iterations() * 999 * 599 * 4);
}
BENCHMARK(UpdateBufferFullWindow)->Unit(benchmark::kMicrosecond);

void FilledCell(benchmark::State &state)
{
    auto w = GameWindow(false);
    int cell = 0;
    for (auto _ : state) {
        const int x = 100 + (cell % 20) * 20, y = 100 + (cell / 20) * 20;
        w->DrawRectangle(x, y, x + 20, y + 20, STYLE_FILLED, 0, 0);
        cell = (cell + 1) % 400;
    }
}
BENCHMARK(FilledCell);

} // namespace

BENCHMARK_MAIN();
