// Text costs on the stand-in: the library's DrawString of the status line's
// "MISSLE COUNT:" in bold Arial height 20 on a 1000 x 600 window (headless), the same GDI
// calls without the library, measuring, and realising a font. bench/text-vs-wine.sh runs
// the first beside real GDI under Wine doing the same calls.
#include "graphics.h"

#include "font/font.h"

#include <standin/testhooks.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<window> StatusWindow()
{
    standin::test::UseHeadlessBackend();
    auto w = std::make_unique<window>(1000, 600, 5, 5);
    w->SetCloseWaitsForClick(false);
    w->SetFont(20, FONT_BOLD, 0, "Arial");
    w->SetPen(BLACK, 1);
    return w;
}

LOGFONTA StatusFont()
{
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = 20;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

void DrawStringStatus(benchmark::State &state)
{
    auto w = StatusWindow();
    w->DrawString(9, 550, "MISSLE COUNT:");
    const size_t rasterised = standin::font::Realize(StatusFont())->RasterisedGlyphs();
    for (auto _ : state)
        w->DrawString(9, 550, "MISSLE COUNT:");
    // Every glyph came from the cache after the first call.
    if (standin::font::Realize(StatusFont())->RasterisedGlyphs() != rasterised)
        state.SkipWithError("a cached glyph was rasterised again");
}
BENCHMARK(DrawStringStatus);

// DrawString's GDI calls on a window's DC, without the library around them.
void GdiCallsStatus(benchmark::State &state)
{
    standin::test::UseHeadlessBackend();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Text Bench";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "Text Bench", "", 0x10CA0000, 0, 0, 1010, 640, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HDC dc = GetDC(hwnd);
    const LOGFONTA lf = StatusFont();
    HFONT font = CreateFontIndirectA(&lf);
    for (auto _ : state) {
        HGDIOBJ saved = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_UPDATECP);
        MoveToEx(dc, 9, 550, nullptr);
        TextOutA(dc, 9, 550, "MISSLE COUNT:", 13);
        SelectObject(dc, saved);
    }
    DeleteObject(font);
    ReleaseDC(hwnd, dc);
    DestroyWindow(hwnd);
}
BENCHMARK(GdiCallsStatus);

void GetStringSizeStatus(benchmark::State &state)
{
    auto w = StatusWindow();
    int width = 0, height = 0;
    for (auto _ : state) {
        w->GetStringSize(width, height, "MISSLE COUNT:");
        benchmark::DoNotOptimize(width);
    }
}
BENCHMARK(GetStringSizeStatus);

// A LOGFONT seen before comes from the cache; a new one resolves its face file and size.
void RealizeCached(benchmark::State &state)
{
    const LOGFONTA lf = StatusFont();
    standin::font::Realize(lf);
    for (auto _ : state)
        benchmark::DoNotOptimize(standin::font::Realize(lf));
}
BENCHMARK(RealizeCached);

void RealizeCold(benchmark::State &state)
{
    const LOGFONTA lf = StatusFont();
    for (auto _ : state) {
        standin::font::ClearCache();
        benchmark::DoNotOptimize(standin::font::Realize(lf));
    }
}
BENCHMARK(RealizeCold);

} // namespace

BENCHMARK_MAIN();
