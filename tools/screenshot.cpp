// screenshot.cpp - plays a scripted game on the off-screen window and saves the window
// as a PNG file, for the README. Run from the folder holding the game's pictures.
// Usage: zarn-screenshot <output.png>
#include "board.h"
#include "graphics.h"
#include "random.h"

#include <standin/testhooks.h>

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// The handle of the window a program makes next, as the stand-in reports its creation.
struct NextWindow {
    HWND handle = nullptr;
    NextWindow() { standin::test::OnWindowCreated([this](HWND made) { handle = made; }); }
    ~NextWindow() { standin::test::OnWindowCreated({}); }
};

bool WritePng(const char *path, const std::vector<uint32_t> &pixels, int width, int height)
{
    FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            row[3 * x] = static_cast<png_byte>(p >> 16);
            row[3 * x + 1] = static_cast<png_byte>(p >> 8);
            row[3 * x + 2] = static_cast<png_byte>(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarn-screenshot <output.png>\n");
        return 2;
    }
    standin::test::UseHeadlessBackend();
    standin::test::UseVirtualClock(true);
    SeedRandomAt(1767225600);
    NextWindow next;
    window win(1000, 600, 5, 5);
    win.SetCloseWaitsForClick(false);
    const HWND hwnd = next.handle;
    static Board board;
    board.Setup(win);

    // A game well under way: three ships sunk, a scatter of misses and hits, then ESC.
    std::vector<std::pair<int, int>> shots;
    for (int k = 0; k < 3; ++k)
        for (const Cell &cell : board.fleet[k].cells)
            shots.push_back({cell.left + 10, cell.top + 10});
    for (int i = 0; i < 30; ++i) {
        const int c = (i * 7 + 3) % kGridSize, r = (i * 11 + 5) % kGridSize;
        shots.push_back({20 * c + 15, 20 * r + 15});
    }
    // One key that queues nothing for the first turn, then one per later turn, ESC last.
    standin::test::InjectKey(hwnd, VK_INSERT, true);
    standin::test::InjectKey(hwnd, VK_INSERT, false);
    for (size_t i = 0; i + 1 < shots.size(); ++i) {
        standin::test::InjectKey(hwnd, 'X', true);
        standin::test::InjectKey(hwnd, 'X', false);
    }
    standin::test::InjectKey(hwnd, VK_ESCAPE, true);
    standin::test::InjectKey(hwnd, VK_ESCAPE, false);
    for (auto [x, y] : shots) {
        standin::test::InjectButton(hwnd, 0, true, x, y);
        standin::test::InjectButton(hwnd, 0, false, x, y);
    }
    board.Play(win);

    int width = 0, height = 0;
    const auto pixels = standin::test::ReadClientSurface(hwnd, &width, &height);
    return WritePng(argv[1], pixels, width, height) ? 0 : 1;
}
