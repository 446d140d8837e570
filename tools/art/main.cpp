// main.cpp - writes the game's pictures: draws each with the library in an off-screen
// window, captures it with StoreImage and encodes it as a JPEG file.
// Usage: zarn-art <output folder>
#include "pictures.h"

#include <standin/testhooks.h>

#include <cstdio>
#include <jpeglib.h>
#include <string>

namespace {

// Encodes a captured picture (B,G,R,X rows, top-down). Full-resolution colour keeps the
// one-pixel details of the 20-pixel frames crisp.
bool WriteJpeg(const image &picture, const std::string &path)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = picture.usWidth;
    cinfo.image_height = picture.usHeight;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 92, TRUE);
    for (int i = 0; i < cinfo.num_components; ++i)
        cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(picture.usWidth) * 4;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = picture.ucpPixels + cinfo.next_scanline * stride;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

template <typename Draw>
bool Store(window &win, const std::string &folder, const std::string &name, int width, int height, Draw draw)
{
    win.SetPen(WHITE, 1);
    win.SetBrush(WHITE);
    win.DrawRectangle(0, 0, win.GetWidth(), win.GetHeight(), STYLE_FILLED, 0, 0);
    draw(win);
    image picture;
    win.StoreImage(picture, 0, 0, static_cast<unsigned short>(width), static_cast<unsigned short>(height));
    if (WriteJpeg(picture, folder + "/" + name))
        return true;
    std::fprintf(stderr, "zarn-art: cannot write %s/%s\n", folder.c_str(), name.c_str());
    return false;
}

std::string Frame(int number)
{
    return "frame" + std::to_string(number) + ".jpg";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarn-art <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    standin::test::UseHeadlessBackend();
    window win(1000, 600, 0, 0);
    win.SetCloseWaitsForClick(false);

    bool ok = true;
    for (int step = 1; step <= 7; ++step)
        ok &= Store(win, folder, Frame(step), art::kCell, art::kCell,
                    [&](window &w) { art::DrawHitFrame(w, 0, 0, step); });
    for (int step = 1; step <= 5; ++step)
        ok &= Store(win, folder, Frame(20 + step), art::kCell, art::kCell,
                    [&](window &w) { art::DrawMissFrame(w, 0, 0, step); });
    for (bool vertical : {false, true}) {
        const int width = vertical ? art::kCell : art::kShip;
        const int height = vertical ? art::kShip : art::kCell;
        const int base = vertical ? 40 : 30;
        for (int step = 1; step <= 9; ++step)
            ok &= Store(win, folder, Frame(base + step), width, height,
                        [&](window &w) { art::DrawSinkFrame(w, 0, 0, vertical, step); });
        for (int step = 11; step <= 16; ++step)
            ok &= Store(win, folder, Frame(base + 10 + step), width, height,
                        [&](window &w) { art::DrawSinkFrame(w, 0, 0, vertical, step); });
    }
    ok &= Store(win, folder, "logo.jpg", art::kPoster, art::kPoster, [](window &w) { art::DrawLogo(w, 0, 0); });
    ok &= Store(win, folder, "win.jpg", art::kPoster, art::kPoster, [](window &w) { art::DrawVictory(w, 0, 0); });
    return ok ? 0 : 1;
}
