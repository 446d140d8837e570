// surface_script.cpp - one script of library operations (every shape in every style, text,
// pictures, double buffering, read-back), run scene by scene in a window of its own, each
// window's surface and read-back values dumped. Built for Windows (real GDI) and for Linux
// (the stand-in); compare_surfaces.py holds the two dumps to each other.
//   surface_script PICTURE.jpg OUTDIR     writes OUTDIR/<scene>.ppm and OUTDIR/<scene>.txt
//   surface_script --make-picture FILE    (Linux build) encodes the picture the scenes draw
#include "graphics.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <jpeglib.h>
#include <standin/testhooks.h>
#endif

namespace {

const int kWidth = 240;
const int kHeight = 180;

// What a scene records besides its pixels: read-back values, measured sizes, and the
// boxes holding text, whose glyphs the comparison does not hold to the pixel.
class Log {
public:
    void Line(const std::string &text) { lines_.push_back(text); }
    void Color(window &win, int x, int y)
    {
        const color c = win.GetColor(x, y);
        Line("GetColor " + std::to_string(x) + " " + std::to_string(y) + " = " +
             std::to_string(c.ucRed) + " " + std::to_string(c.ucGreen) + " " + std::to_string(c.ucBlue));
    }
    // Draws text with its top-left at (x, y) and notes the box it occupies.
    void Text(window &win, int x, int y, const std::string &text)
    {
        int width = 0;
        int height = 0;
        win.GetStringSize(width, height, text);
        win.DrawString(x, y, text);
        Line("GetStringSize \"" + text + "\" = " + std::to_string(width) + " " + std::to_string(height));
        // Italic overhangs and underlines may reach a little past the measured box.
        TextBox(x - 4, y - 2, width + 8, height + 4);
    }
    void TextBox(int x, int y, int width, int height)
    {
        Line("textbox " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) +
             " " + std::to_string(height));
    }
    const std::vector<std::string> &Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

struct Scene {
    const char *name;
    std::function<void(window &, Log &, const image &)> run;
};

void Rectangles(window &win, Log &, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(CORNFLOWERBLUE);
    win.DrawRectangle(10, 10, 60, 40, STYLE_FILLED);
    win.DrawRectangle(70, 10, 120, 40, STYLE_FRAME);
    win.SetPen(FIREBRICK, 4);
    win.SetBrush(KHAKI);
    win.DrawRectangle(130, 10, 200, 50, STYLE_FILLED);
    win.DrawRectangle(10, 60, 80, 100, STYLE_FILLED, 20, 12); // rounded corners
    win.DrawRectangle(90, 60, 150, 110, STYLE_FRAME, 30, 30);
    win.SetPen(BLACK, 0);
    win.DrawRectangle(160, 60, 230, 120, STYLE_FRAME, 9, 40);
    win.DrawRectangle(120, 90, 40, 70, STYLE_FILLED); // corners given the other way round
    win.DrawRectangle(50, 50, 140, 150, STYLE_INVERTED);
    win.DrawRectangle(150, 100, 235, 175, STYLE_INVERTED, 24, 16);
    win.DrawRectangle(230, 170, 300, 260, STYLE_FILLED); // past the edge
}

void LinesAndPixels(window &win, Log &, const image &)
{
    const int widths[] = {0, 1, 2, 3, 6};
    int y = 10;
    for (int w : widths) {
        win.SetPen(NAVY, w);
        win.DrawLine(10, y, 110, y + 9, STYLE_FRAME);
        win.DrawLine(120 + 4 * w, 10, 125 + 8 * w, 100, STYLE_FRAME);
        y += 16;
    }
    win.SetPen(DARKGREEN, 1);
    for (int i = 0; i < 16; ++i)
        win.DrawLine(180, 60, 180 + (i % 4 - 2) * 25, 60 + (i / 4 - 2) * 25, STYLE_FRAME);
    win.SetPen(ORANGERED, 1);
    for (int i = 0; i < 30; ++i)
        win.DrawPixel(10 + i * 7, 150 + (i * i) % 20);
    win.DrawLine(10, 170, 230, 170, STYLE_FILLED); // refused: lines are frames only
}

void TrianglesAndPolygons(window &win, Log &, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(GOLD);
    win.DrawTriangle(10, 80, 50, 10, 90, 80, STYLE_FILLED);
    win.DrawTriangle(100, 10, 140, 80, 100, 60, STYLE_FRAME);
    win.SetPen(PURPLE, 3);
    win.SetBrush(PLUM);
    const int starX[] = {180, 195, 230, 200, 215, 180, 145, 160, 130, 165};
    const int starY[] = {10, 40, 40, 58, 90, 70, 90, 58, 40, 40};
    win.DrawPolygon(starX, starY, 10, STYLE_FILLED);
    // A pentagram: its middle is enclosed twice.
    const int pentX[] = {60, 90, 15, 105, 30};
    const int pentY[] = {100, 175, 125, 125, 175};
    win.DrawPolygon(pentX, pentY, 5, STYLE_FILLED);
    win.SetPen(BLACK, 0);
    win.DrawPolygon(pentX, pentY, 5, STYLE_FRAME);
    const int boxX[] = {120, 230, 230, 120};
    const int boxY[] = {100, 100, 170, 170};
    win.DrawPolygon(boxX, boxY, 4, STYLE_FILLED);
    win.DrawPolygon(pentX, pentY, 5, STYLE_INVERTED);
    win.DrawTriangle(110, 95, 235, 130, 140, 178, STYLE_INVERTED);
}

void CirclesAndEllipses(window &win, Log &, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(LIGHTSEAGREEN);
    win.DrawCircle(40, 40, 30, STYLE_FILLED);
    win.DrawCircle(110, 40, 25, STYLE_FRAME);
    win.SetPen(SADDLEBROWN, 5);
    win.DrawCircle(180, 40, 30, STYLE_FILLED);
    win.DrawEllipse(10, 80, 120, 120, STYLE_FILLED);
    win.SetPen(BLACK, 0);
    win.DrawEllipse(130, 80, 150, 170, STYLE_FRAME); // tall and thin
    win.DrawEllipse(160, 90, 232, 95, STYLE_FRAME);  // flat
    win.DrawEllipse(3, 3, 6, 6, STYLE_FILLED);       // tiny
    win.DrawCircle(80, 140, 45, STYLE_INVERTED);
    win.DrawEllipse(150, 100, 239, 179, STYLE_INVERTED);
}

void ArcsAndBeziers(window &win, Log &, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(ORANGE);
    win.DrawArc(10, 10, 80, 80, 30, 300, STYLE_FILLED);
    win.DrawArc(90, 10, 160, 80, 0, 90, STYLE_FRAME);
    win.DrawArc(170, 10, 230, 60, 1.0, 4.0, STYLE_FILLED, 1); // radians
    win.DrawArc(170, 60, 230, 90, 45, 45, STYLE_FRAME);        // equal angles: the whole ellipse
    win.SetPen(DARKSLATEGRAY, 4);
    win.DrawArc(10, 90, 100, 170, 200, 20, STYLE_FRAME);
    win.SetPen(MAROON, 1);
    win.DrawBezier(110, 170, 120, 90, 200, 180, 230, 100, STYLE_FRAME);
    win.SetPen(BLACK, 3);
    win.DrawBezier(110, 100, 240, 100, 100, 170, 230, 175, STYLE_FRAME);
    win.DrawArc(30, 30, 130, 130, 90, 270, STYLE_INVERTED);
    win.DrawBezier(10, 10, 60, 60, 10, 60, 60, 10, STYLE_INVERTED); // refused
}

void PenAndBrushForms(window &win, Log &log, const image &)
{
    // The three forms of each setter, and what they hand back.
    const color oldPen = win.SetPen(0.5, 0.25, 1.0, 2);
    log.Line("SetPen returned " + std::to_string(oldPen.ucRed) + " " + std::to_string(oldPen.ucGreen) +
             " " + std::to_string(oldPen.ucBlue));
    win.SetBrush(static_cast<unsigned char>(12), static_cast<unsigned char>(200), static_cast<unsigned char>(99));
    win.DrawRectangle(10, 10, 110, 80, STYLE_FILLED);
    win.SetBrush(1.5, -0.5, 0.2); // components outside 0..1 wrap, as the library defines
    win.SetPen(static_cast<unsigned char>(250), static_cast<unsigned char>(1), static_cast<unsigned char>(128), 7);
    win.DrawEllipse(120, 10, 230, 90, STYLE_FILLED);
    log.Color(win, 60, 45);
    log.Color(win, 175, 50);
    log.Color(win, 121, 50);
    log.Color(win, 230, 170);
    log.Color(win, 240, 100); // outside: black
    log.Color(win, -1, 0);
}

void DoubleBuffering(window &win, Log &log, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(SKYBLUE);
    win.DrawRectangle(5, 5, 100, 100, STYLE_FILLED); // straight to the screen
    log.Line(std::string("SetBuffering(true) returned ") + (win.SetBuffering(true) ? "true" : "false"));
    log.Color(win, 50, 50); // the fresh buffer is white
    win.SetPen(BLACK, 2);
    win.SetBrush(SALMON);
    win.DrawCircle(120, 90, 60, STYLE_FILLED);
    win.DrawRectangle(0, 0, 240, 180, STYLE_INVERTED);
    log.Color(win, 120, 90);
    win.UpdateBuffer(); // all but the last column and row
    win.SetBrush(YELLOW);
    win.DrawRectangle(10, 10, 60, 60, STYLE_FILLED); // never shown
    log.Line(std::string("SetBuffering(false) returned ") + (win.SetBuffering(false) ? "true" : "false"));
    log.Color(win, 30, 30);
    win.SetPen(BLACK, 1);
    win.DrawLine(0, 170, 240, 170, STYLE_FRAME);
}

void Pictures(window &win, Log &log, const image &picture)
{
    log.Line("picture " + std::to_string(picture.usWidth) + " x " + std::to_string(picture.usHeight));
    win.SetPen(BLACK, 1);
    win.SetBrush(LAVENDER);
    win.DrawRectangle(0, 0, 240, 180, STYLE_FILLED);
    win.DrawImage(picture, 5, 5, -1, -1);
    win.DrawImage(&picture, 60, 5, 80, 60);  // scaled up
    win.DrawImage(picture, 150, 5, 20, 15);  // scaled down
    win.DrawImage(picture, 180, 5, 50, 20);  // squashed
    win.DrawImage(picture, 225, 160, -1, -1); // past the corner
    image captured;
    win.StoreImage(captured, 0, 0, 120, 70);
    log.Line("captured " + std::to_string(captured.usWidth) + " x " + std::to_string(captured.usHeight) +
             " type " + std::to_string(captured.iType));
    win.DrawImage(captured, 10, 90, -1, -1);
    win.DrawImage(captured, 140, 90, 90, 80);
    win.StoreImage(captured, 200, 170, 60, 20); // past the edge: refused, nothing changes
    log.Color(win, 7, 7);
    log.Color(win, 100, 40);
}

void Text(window &win, Log &log, const image &)
{
    win.SetPen(BLACK, 1);
    win.SetBrush(BEIGE);
    win.DrawRectangle(0, 0, 240, 180, STYLE_FILLED);
    win.SetPen(DARKBLUE, 1);
    win.SetFont(12, 0, FAMILY_SWISS, nullptr);
    log.Text(win, 5, 5, "Missiles: 12");
    win.SetFont(16, FONT_BOLD, FAMILY_ROMAN, nullptr);
    log.Text(win, 5, 30, "Bold serif");
    win.SetFont(14, FONT_ITALIC | FONT_UNDERLINED, FAMILY_MODERN, nullptr);
    win.SetPen(DARKRED, 1);
    log.Text(win, 5, 60, "mono, italic");
    win.SetFont(10, 0, 0, "Arial");
    log.Text(win, 5, 90, "Arial by name");
    int width = 0;
    int height = 0;
    win.GetNumberSize(width, height, -4071);
    win.DrawNumber(130, 5, -4071);
    log.Line("GetNumberSize -4071 = " + std::to_string(width) + " " + std::to_string(height));
    log.TextBox(126, 3, width + 8, height + 4);
    win.GetRealSize(width, height, 3.25);
    win.DrawReal(130, 30, 3.25);
    log.Line("GetRealSize 3.25 = " + std::to_string(width) + " " + std::to_string(height));
    log.TextBox(126, 28, width + 8, height + 4);
    // Text over shapes: the background stays transparent.
    win.SetBrush(PALEGREEN);
    win.DrawRectangle(120, 110, 235, 170, STYLE_FILLED);
    win.SetFont(20, FONT_BOLD, FAMILY_SWISS, nullptr);
    win.SetPen(BLACK, 1);
    log.Text(win, 125, 120, "Zarn");
    log.Color(win, 2, 170);
}

const Scene kScenes[] = {
    {"rectangles", Rectangles},
    {"lines-pixels", LinesAndPixels},
    {"triangles-polygons", TrianglesAndPolygons},
    {"circles-ellipses", CirclesAndEllipses},
    {"arcs-beziers", ArcsAndBeziers},
    {"pen-brush-forms", PenAndBrushForms},
    {"double-buffering", DoubleBuffering},
    {"pictures", Pictures},
    {"text", Text},
};

#ifdef _WIN32
BOOL CALLBACK TakeLibraryWindow(HWND hwnd, LPARAM lParam)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != "Quillgraph Library")
        return TRUE;
    *reinterpret_cast<HWND *>(lParam) = hwnd;
    return FALSE;
}
#endif

// The area the window system really shows of the drawing area. The stand-in's client area
// is the drawing size; a real captioned window's frame takes a few pixels of it.
void VisibleSize(window &win, int &width, int &height)
{
    win.GetSize(width, height);
#ifdef _WIN32
    // The scenes' window is the library's one window on this thread.
    HWND hwnd = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeLibraryWindow, reinterpret_cast<LPARAM>(&hwnd));
    RECT client;
    if (hwnd && GetClientRect(hwnd, &client)) {
        width = std::min<int>(width, client.right);
        height = std::min<int>(height, client.bottom);
    }
#endif
}

// Lets the window take what its creation and showing left queued (painting, activation),
// so nothing erases the scene afterwards.
void Settle(window &win)
{
    MSG message;
    for (int i = 0; i < 500 && PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); ++i)
        win.PumpMessages();
}

bool WriteSurface(const image &surface, const std::string &path)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", surface.usWidth, surface.usHeight);
    for (int i = 0; i < surface.usWidth * surface.usHeight; ++i) {
        const unsigned char *bgrx = surface.ucpPixels + i * 4;
        const unsigned char rgb[3] = {bgrx[2], bgrx[1], bgrx[0]};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

bool WriteLog(const Log &log, const std::string &path)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    for (const std::string &line : log.Lines())
        std::fprintf(file, "%s\n", line.c_str());
    return std::fclose(file) == 0;
}

int RunScenes(const char *picturePath, const std::string &out)
{
    const image picture(picturePath, IMAGE_JPEG);
    for (const Scene &scene : kScenes) {
        auto win = std::make_unique<window>(kWidth, kHeight, 20, 20);
        win->SetCloseWaitsForClick(false);
        Settle(*win);
        Log log;
        scene.run(*win, log, picture);
        int width;
        int height;
        VisibleSize(*win, width, height);
        image surface;
        win->StoreImage(surface, 0, 0, static_cast<unsigned short>(width), static_cast<unsigned short>(height));
        if (!WriteSurface(surface, out + "/" + scene.name + ".ppm") ||
            !WriteLog(log, out + "/" + scene.name + ".txt")) {
            std::fprintf(stderr, "surface_script: cannot write into %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}

#ifndef _WIN32
// A 37 x 29 picture with soft gradients, hard edges and the default 2 x 2 chroma
// subsampling, so decoding exercises the upsampling as the game's pictures do.
int MakePicture(const char *path)
{
    const int width = 37;
    const int height = 29;
    std::vector<unsigned char> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool ring = (x - 18) * (x - 18) + (y - 14) * (y - 14) < 80;
            rgb.push_back(static_cast<unsigned char>(ring ? 230 : x * 7));
            rgb.push_back(static_cast<unsigned char>(ring ? 40 : y * 8));
            rgb.push_back(static_cast<unsigned char>((x + y) % 2 ? 200 : 60));
        }
    FILE *file = std::fopen(path, "wb");
    if (!file)
        return 1;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rgb.data() + cinfo.next_scanline * width * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0 ? 0 : 1;
}
#endif

} // namespace

int main(int argc, char **argv)
{
#ifndef _WIN32
    if (argc == 3 && std::string(argv[1]) == "--make-picture")
        return MakePicture(argv[2]);
    standin::test::UseHeadlessBackend();
#endif
    if (argc != 3) {
        std::fprintf(stderr, "usage: surface_script PICTURE.jpg OUTDIR\n");
        return 2;
    }
    return RunScenes(argv[1], argv[2]);
}
