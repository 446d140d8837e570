/* shapes_timing.c - the library's drawing calls timed on a 1000 x 600 surface, in plain
 * Win32: built for Linux against the stand-in and for Windows with mingw-w64 (run under
 * Wine), so the same work is timed on both. Prints one line per scene: its name and the
 * best nanoseconds per operation over several runs. bench/shapes-vs-wine.sh runs both,
 * round after round, and compares the medians. An argument runs only the scenes whose
 * names contain it (for a profiler). */
#include "timing.h"

enum { W = 1000, H = 600 };

static HDC dc, screen;
static HPEN pen, widePen;
static HBRUSH brush;
static HFONT font;

/* The library's filled style: an inside-frame pen of width 1 and a solid brush. */
static void Select(void)
{
    SelectObject(dc, pen);
    SelectObject(dc, brush);
    SetROP2(dc, R2_COPYPEN);
}

typedef void (*Scene)(int i);

/* Positions spread over the surface so that a figure of w x h stays on it. */
static int X(int i, int w) { return (i * 37) % (W - w); }
static int Y(int i, int h) { return (i * 53) % (H - h); }

static void FullRect(int i) { (void)i; Rectangle(dc, 0, 0, W, H); }
static void Rect20(int i) { int x = X(i, 20), y = Y(i, 20); Rectangle(dc, x, y, x + 20, y + 20); }
static void Ellipse40(int i) { int x = X(i, 40), y = Y(i, 30); Ellipse(dc, x, y, x + 40, y + 30); }
static void Circle200(int i) { int x = X(i, 200), y = Y(i, 200); Ellipse(dc, x, y, x + 200, y + 200); }
static void Line(int i)
{
    int x = (i * 37) % W, y = (i * 53) % H;
    MoveToEx(dc, x, y, NULL);
    LineTo(dc, (x + 97 * (i % 7)) % W, (y + 61 * (i % 5)) % H);
}
static void Line1(int i) { Line(i); }
static void Line5(int i)
{
    SelectObject(dc, widePen);
    Line(i);
    SelectObject(dc, pen);
}
static void ShortLine(int i)
{
    int x = X(i, 17), y = Y(i, 9);
    MoveToEx(dc, x, y, NULL);
    LineTo(dc, x + 17, y + 9);
}
static void Star(int i)
{
    int x = X(i, 40), y = Y(i, 40);
    POINT p[5] = {{x + 20, y}, {x + 32, y + 38}, {x, y + 14}, {x + 40, y + 14}, {x + 8, y + 38}};
    Polygon(dc, p, 5);
}
static void RoundRect40(int i) { int x = X(i, 40), y = Y(i, 30); RoundRect(dc, x, y, x + 40, y + 30, 10, 10); }
static void Pie40(int i)
{
    int x = X(i, 40), y = Y(i, 40);
    Pie(dc, x, y, x + 40, y + 40, x + 40, y + 20, x + 20, y);
}
static void Arc80(int i)
{
    int x = X(i, 80), y = Y(i, 80);
    Arc(dc, x, y, x + 80, y + 80, x + 80, y + 40, x, y + 40);
}
static void Bezier100(int i)
{
    int x = X(i, 100), y = Y(i, 100);
    POINT p[4] = {{x, y}, {x + 30, y + 100}, {x + 70, y}, {x + 100, y + 100}};
    PolyBezier(dc, p, 4);
}

/* The library's inverted style: the stock black pen and brush under R2_NOT. */
static void InvertedEllipse(int i)
{
    int x = X(i, 100), y = Y(i, 80);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetROP2(dc, R2_NOT);
    Ellipse(dc, x, y, x + 100, y + 80);
    Select();
}
/* The library's inverted ellipse: an elliptic region inverted. */
static void InvertedRegion(int i)
{
    int x = X(i, 100), y = Y(i, 80);
    HRGN rgn = CreateEllipticRgn(x, y, x + 100, y + 80);
    InvertRgn(dc, rgn);
    DeleteObject(rgn);
}

/* DrawImage: a 32-bit top-down DIB at its size, or stretched. */
static BITMAPINFO smallInfo, bigInfo;
static DWORD *smallBits, *bigBits;
static void MakeDib(BITMAPINFO *info, DWORD **bits, int w, int h)
{
    int k;
    memset(info, 0, sizeof *info);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = -h;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
    *bits = (DWORD *)malloc((size_t)w * h * 4);
    for (k = 0; k < w * h; ++k) (*bits)[k] = (DWORD)(k * 2654435761u) & 0x00FFFFFFu;
}
static void SetDib20(int i)
{
    SetDIBitsToDevice(dc, X(i, 20), Y(i, 20), 20, 20, 0, 0, 0, 20, smallBits, &smallInfo, DIB_RGB_COLORS);
}
static void StretchDib(int i)
{
    StretchDIBits(dc, X(i, 300), Y(i, 300), 300, 300, 0, 0, 400, 400, bigBits, &bigInfo, DIB_RGB_COLORS, SRCCOPY);
}

/* The library's DrawString: bold Arial 20, transparent, from the current position. */
static void Text(int i)
{
    HGDIOBJ saved = SelectObject(dc, font);
    int x = X(i, 200), y = Y(i, 30);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, x, y, NULL);
    TextOutA(dc, x, y, "MISSLE COUNT:", 13);
    SelectObject(dc, saved);
}

/* The library's GetColor: a 1 x 1 copy read back through a DIB. */
static void GetColorSequence(int i)
{
    BITMAPINFO bmi;
    DWORD pixel = 0;
    HDC tmp = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ old = SelectObject(tmp, bmp);
    memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 1;
    bmi.bmiHeader.biHeight = -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    BitBlt(tmp, 0, 0, 1, 1, dc, i % W, i % H, SRCCOPY);
    GetDIBits(dc, bmp, 0, 1, &pixel, &bmi, DIB_RGB_COLORS);
    SelectObject(tmp, old);
    DeleteObject(bmp);
    DeleteDC(tmp);
}

/* The library's UpdateBuffer: the back buffer to the screen, all but the last row and column. */
static void UpdateBufferCopy(int i) { (void)i; BitBlt(screen, 0, 0, W - 1, H - 1, dc, 0, 0, SRCCOPY); }

static void *bytes, *otherBytes;
static void Memset(int i) { memset(bytes, i & 0xFF, (size_t)W * H * 4); }
/* As many bytes as update-buffer copies, in one memcpy between two buffers of the size of
 * the two surfaces: the yardstick of a copy bound by the memory. */
static void Memcpy(int i) { (void)i; memcpy(bytes, otherBytes, (size_t)(W - 1) * (H - 1) * 4); }

static const char *only; /* a part of the scene names to run, for profiling one */

/* The best of several runs: on a shared machine the quiet moments are the comparable ones. */
enum { kRuns = 10 };

static void Time(const char *name, Scene scene, int ops)
{
    double best = 1e300;
    int run, i;
    if (only && !strstr(name, only)) return;
    scene(0); /* warm up */
    for (run = 0; run < kRuns; ++run) {
        double t0 = Now(), t;
        for (i = 0; i < ops; ++i) scene(i);
        t = (Now() - t0) / ops;
        if (t < best) best = t;
    }
    printf("%s %.0f\n", name, best);
    fflush(stdout);
}

int main(int argc, char **argv)
{
    HDC ref = GetDC(NULL);
    HBITMAP back, front;
    LOGFONTA lf;
    dc = CreateCompatibleDC(ref);
    screen = CreateCompatibleDC(ref);
    back = CreateCompatibleBitmap(ref, W, H);
    front = CreateCompatibleBitmap(ref, W, H);
    SelectObject(dc, back);
    SelectObject(screen, front);
    pen = CreatePen(PS_INSIDEFRAME, 1, RGB(20, 30, 200));
    widePen = CreatePen(PS_SOLID, 5, RGB(20, 30, 200));
    brush = CreateSolidBrush(RGB(240, 190, 40));
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = 20;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    font = CreateFontIndirectA(&lf);
    SetTextColor(dc, RGB(0, 0, 0));
    MakeDib(&smallInfo, &smallBits, 20, 20);
    MakeDib(&bigInfo, &bigBits, 400, 400);
    bytes = malloc((size_t)W * H * 4);
    otherBytes = malloc((size_t)W * H * 4);
    memset(otherBytes, 7, (size_t)W * H * 4);
    Select();
    if (argc > 1) only = argv[1];

    /* Operation counts keep each run to some milliseconds on either side. */
    Time("memset-1000x600", Memset, 200);
    Time("fill-rect-1000x600", FullRect, 200);
    Time("rect-20x20", Rect20, 20000);
    Time("ellipse-40x30", Ellipse40, 10000);
    Time("circle-200x200", Circle200, 1000);
    Time("line-w1", Line1, 20000);
    Time("line-w5", Line5, 2000);
    Time("line-17x9", ShortLine, 20000);
    Time("star", Star, 10000);
    Time("roundrect-40x30", RoundRect40, 10000);
    Time("pie-40x40", Pie40, 10000);
    Time("arc-80x80", Arc80, 5000);
    Time("bezier-100x100", Bezier100, 10000);
    Time("inverted-ellipse-100x80", InvertedEllipse, 2000);
    Time("invert-rgn-ellipse-100x80", InvertedRegion, 2000);
    Time("setdib-20x20", SetDib20, 20000);
    Time("stretchdib-400-to-300", StretchDib, 20);
    Time("text-status", Text, 2000);
    Time("getcolor", GetColorSequence, 1000);
    Time("memcpy-999x599", Memcpy, 200);
    Time("update-buffer", UpdateBufferCopy, 200);

    free(bytes);
    free(otherBytes);
    free(smallBits);
    free(bigBits);
    DeleteDC(dc);
    DeleteDC(screen);
    DeleteObject(back);
    DeleteObject(front);
    DeleteObject(pen);
    DeleteObject(widePen);
    DeleteObject(brush);
    DeleteObject(font);
    ReleaseDC(NULL, ref);
    return 0;
}
