/* shapes_timing.c - the library's drawing calls timed on a 1000 x 600 surface, in plain
 * Win32: built for Linux against the stand-in and for Windows with mingw-w64 (run under
 * Wine), so the same work is timed on both. Prints one line per scene: its name and the
 * best nanoseconds per operation over several runs. bench/shapes-vs-wine.sh runs both. */
#ifdef _WIN32
#include <windows.h>
#else
#include <standin/win32.h>
#include <time.h>
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { W = 1000, H = 600 };

static double Now(void)
{
#ifdef _WIN32
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1e9 / (double)f.QuadPart;
#else
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e9 + (double)ts.tv_nsec;
#endif
}

static HDC dc, screen;
static HPEN pen;
static HBRUSH brush;

/* The library's filled style: an inside-frame pen of width 1 and a solid brush. */
static void Select(void)
{
    SelectObject(dc, pen);
    SelectObject(dc, brush);
}

typedef void (*Scene)(int i);

static void FullRect(int i) { (void)i; Rectangle(dc, 0, 0, W, H); }
static void Rect20(int i) { int x = (i * 37) % (W - 20), y = (i * 53) % (H - 20); Rectangle(dc, x, y, x + 20, y + 20); }
static void Ellipse40(int i) { int x = (i * 37) % (W - 40), y = (i * 53) % (H - 30); Ellipse(dc, x, y, x + 40, y + 30); }
static void Line1(int i)
{
    int x = (i * 37) % W, y = (i * 53) % H;
    MoveToEx(dc, x, y, NULL);
    LineTo(dc, (x + 97 * (i % 7)) % W, (y + 61 * (i % 5)) % H);
}
static void Star(int i)
{
    int x = (i * 37) % (W - 40), y = (i * 53) % (H - 40);
    POINT p[5] = {{x + 20, y}, {x + 32, y + 38}, {x, y + 14}, {x + 40, y + 14}, {x + 8, y + 38}};
    Polygon(dc, p, 5);
}
static void RoundRect40(int i) { int x = (i * 37) % (W - 40), y = (i * 53) % (H - 30); RoundRect(dc, x, y, x + 40, y + 30, 10, 10); }
static void Pie40(int i)
{
    int x = (i * 37) % (W - 40), y = (i * 53) % (H - 40);
    Pie(dc, x, y, x + 40, y + 40, x + 40, y + 20, x + 20, y);
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

static void *bytes;
static void Memset(int i) { memset(bytes, i & 0xFF, (size_t)W * H * 4); }

static void Time(const char *name, Scene scene, int ops)
{
    double best = 1e300;
    int run, i;
    scene(0); /* warm up */
    for (run = 0; run < 5; ++run) {
        double t0 = Now(), t;
        for (i = 0; i < ops; ++i) scene(i);
        t = (Now() - t0) / ops;
        if (t < best) best = t;
    }
    printf("%s %.0f\n", name, best);
    fflush(stdout);
}

int main(void)
{
    HDC ref = GetDC(NULL);
    HBITMAP back, front;
    dc = CreateCompatibleDC(ref);
    screen = CreateCompatibleDC(ref);
    back = CreateCompatibleBitmap(ref, W, H);
    front = CreateCompatibleBitmap(ref, W, H);
    SelectObject(dc, back);
    SelectObject(screen, front);
    pen = CreatePen(PS_INSIDEFRAME, 1, RGB(20, 30, 200));
    brush = CreateSolidBrush(RGB(240, 190, 40));
    bytes = malloc((size_t)W * H * 4);
    Select();

    Time("memset-1000x600", Memset, 200);
    Time("fill-rect-1000x600", FullRect, 200);
    Time("rect-20x20", Rect20, 20000);
    Time("ellipse-40x30", Ellipse40, 20000);
    Time("line-w1", Line1, 20000);
    Time("star", Star, 20000);
    Time("roundrect-40x30", RoundRect40, 20000);
    Time("pie-40x40", Pie40, 20000);
    Time("getcolor", GetColorSequence, 20000);
    Time("update-buffer", UpdateBufferCopy, 200);

    free(bytes);
    DeleteDC(dc);
    DeleteDC(screen);
    DeleteObject(back);
    DeleteObject(front);
    DeleteObject(pen);
    DeleteObject(brush);
    ReleaseDC(NULL, ref);
    return 0;
}
