/* wine_text_timing.c - times real GDI (this program built for Windows, run under Wine)
 * doing what the library's DrawString does: select the font, transparent background,
 * TA_UPDATECP, MoveToEx, TextOutA of "MISSLE COUNT:" in bold Arial height 20, restore the
 * font; into a 1000 x 600 32-bit surface. Prints nanoseconds per DrawString.
 * bench/text-vs-wine.sh runs it beside the stand-in's benchmark. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static void draw_string(HDC dc, HFONT font, int x, int y, const char *text)
{
    HGDIOBJ saved = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, x, y, NULL);
    TextOutA(dc, x, y, text, (int)strlen(text));
    SelectObject(dc, saved);
}

int main(void)
{
    HDC dc = CreateCompatibleDC(NULL);
    BITMAPINFO bi;
    void *bits = NULL;
    LOGFONTA lf;
    HFONT font;
    LARGE_INTEGER frequency, start, end;
    const int rounds = 20000;
    int i;
    double best = 1e30;

    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 1000;
    bi.bmiHeader.biHeight = -600;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    SelectObject(dc, CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0));

    memset(&lf, 0, sizeof lf);
    lf.lfHeight = 20;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    font = CreateFontIndirectA(&lf);
    SetTextColor(dc, RGB(0, 0, 0));

    QueryPerformanceFrequency(&frequency);
    draw_string(dc, font, 9, 550, "MISSLE COUNT:"); /* the glyphs are cached from here on */
    for (int run = 0; run < 5; ++run) {
        double ns;
        QueryPerformanceCounter(&start);
        for (i = 0; i < rounds; ++i) draw_string(dc, font, 9, 550, "MISSLE COUNT:");
        QueryPerformanceCounter(&end);
        ns = (double)(end.QuadPart - start.QuadPart) * 1e9 / (double)frequency.QuadPart / rounds;
        if (ns < best) best = ns;
    }
    printf("%.0f\n", best);
    return 0;
}
