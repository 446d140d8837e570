/* blit_timing.c - block transfers timed in plain Win32: built for Linux against the
 * stand-in and for Windows with mingw-w64 (run under Wine), so the same work is timed on
 * both. Each scene runs once a round, rounds interleaved; prints one line per scene, its
 * name and the median nanoseconds of one operation. bench/blits-vs-wine.sh runs both.
 * copy-90k is the yardstick: 90,000 pixels copied with memcpy, as many as a 300 x 300
 * destination holds. */
#include "timing.h"

enum { W = 1000, H = 600, ROUNDS = 15, OPS = 20 };

static HDC dc, src;
static unsigned *picture, *from, *to;
static BITMAPINFO info;

static void Copy90k(void) { memcpy(to, from, 90000 * 4); }
static void Set300(void) { SetDIBitsToDevice(dc, 5, 5, 300, 300, 0, 0, 0, 400, picture, &info, DIB_RGB_COLORS); }
static void Stretch(int mode, int w, int h)
{
    SetStretchBltMode(dc, mode);
    StretchDIBits(dc, 5, 5, w, h, 0, 0, 400, 400, picture, &info, DIB_RGB_COLORS, SRCCOPY);
}
static void Shrink(void) { Stretch(COLORONCOLOR, 300, 300); }
static void ShrinkAnd(void) { Stretch(BLACKONWHITE, 300, 300); }
static void Enlarge(void) { Stretch(COLORONCOLOR, 560, 560); }
static void ShrinkXor(void)
{
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 5, 5, 300, 300, 0, 0, 400, 400, picture, &info, DIB_RGB_COLORS, SRCINVERT);
}
static void ShrinkBlt(void)
{
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 5, 5, 300, 300, src, 0, 0, 400, 400, SRCCOPY);
}
static void Blt300(void) { BitBlt(dc, 5, 5, 300, 300, src, 0, 0, SRCCOPY); }
static void Blt300Invert(void) { BitBlt(dc, 5, 5, 300, 300, src, 0, 0, SRCINVERT); }
static void Blt300And(void) { BitBlt(dc, 5, 5, 300, 300, src, 0, 0, SRCAND); }
static void Blt300Paint(void) { BitBlt(dc, 5, 5, 300, 300, src, 0, 0, SRCPAINT); }
/* Small copies spread over the destination, where the per-call work shows. */
static int next;
static void Blt20(void)
{
    next = (next + 37) % 500;
    BitBlt(dc, next, next / 2, 20, 20, src, next % 380, next % 380, SRCCOPY);
}
static void Blt20Invert(void)
{
    next = (next + 37) % 500;
    BitBlt(dc, next, next / 2, 20, 20, src, next % 380, next % 380, SRCINVERT);
}

static const struct {
    const char *name;
    void (*run)(void);
    int ops; /* a round's operations: enough for some microseconds at the least */
} scenes[] = {
    {"copy-90k", Copy90k, OPS},
    {"setdibits-300", Set300, OPS},
    {"stretchdibits-400-300-coloroncolor", Shrink, OPS},
    {"stretchdibits-400-300-blackonwhite", ShrinkAnd, OPS},
    {"stretchdibits-400-300-srcinvert", ShrinkXor, OPS},
    {"stretchdibits-400-560-coloroncolor", Enlarge, OPS},
    {"stretchblt-400-300-coloroncolor", ShrinkBlt, OPS},
    {"bitblt-300", Blt300, OPS},
    {"bitblt-300-srcinvert", Blt300Invert, OPS},
    {"bitblt-300-srcand", Blt300And, OPS},
    {"bitblt-300-srcpaint", Blt300Paint, OPS},
    {"bitblt-20", Blt20, 1000},
    {"bitblt-20-srcinvert", Blt20Invert, 1000},
};
enum { SCENES = sizeof scenes / sizeof scenes[0] };

static int Less(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

int main(void)
{
    static double times[SCENES][ROUNDS];
    HDC ref = GetDC(NULL);
    int s, r, i;
    dc = CreateCompatibleDC(ref);
    src = CreateCompatibleDC(ref);
    SelectObject(dc, CreateCompatibleBitmap(ref, W, H));
    SelectObject(src, CreateCompatibleBitmap(ref, 400, 400));
    picture = malloc(400 * 400 * 4);
    from = malloc(90000 * 4);
    to = malloc(90000 * 4);
    for (i = 0; i < 400 * 400; ++i) picture[i] = (unsigned)i * 2654435761u;
    memset(from, 7, 90000 * 4);
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 400;
    info.bmiHeader.biHeight = -400;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(src, 0, 0, 400, 400, 0, 0, 0, 400, picture, &info, DIB_RGB_COLORS);
    for (s = 0; s < SCENES; ++s) scenes[s].run(); /* warm up */
    for (r = 0; r < ROUNDS; ++r)
        for (s = 0; s < SCENES; ++s) {
            double t0 = Now();
            for (i = 0; i < scenes[s].ops; ++i) scenes[s].run();
            times[s][r] = (Now() - t0) / scenes[s].ops;
        }
    for (s = 0; s < SCENES; ++s) {
        qsort(times[s], ROUNDS, sizeof(double), Less);
        printf("%s %.0f\n", scenes[s].name, times[s][ROUNDS / 2]);
    }
    return 0;
}
