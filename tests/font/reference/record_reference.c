/* record_reference.c - asks real GDI (our Windows build, run under Wine) what it reports
 * for text: TEXTMETRIC, GetTextExtentPoint32A of a set of strings, and where TextOutA
 * with TA_UPDATECP puts the ink and the current position. Prints the table that
 * tests/font/gdi-reference.txt holds; tools/font-reference.sh runs it.
 *
 * Lines (fields separated by tabs, strings as hex bytes):
 *   F id face height weight style    style: 1 italic, 2 underline, 4 strike-out;
 *        then TEXTMETRIC: height ascent descent internal-
 *        leading external-leading ave-width max-width weight pitch-and-family charset
 *   E id text cx cy                   GetTextExtentPoint32A
 *   P id text x y cp.x cp.y  aliased: left top right bottom mask-hash
 *        default quality: left top right bottom       (ink boxes, right/bottom exclusive)
 */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define CANVAS_W 1000
#define CANVAS_H 100
#define MARKER 0x00D0E0F0u /* as the DIB holds it: B,G,R,X */

static const char *const faces[] = {"Arial", "Times New Roman", "Courier New"};
static const LONG heights[] = {10, 12, 16, 20, 24, 40, -10, -12, -16, -20, -24, -40, 0};
static const LONG weights[] = {FW_NORMAL, FW_BOLD};

/* Styled fonts, placed only: every face at these heights in these styles. */
static const LONG styledHeights[] = {12, 20, -24};
static const struct {
    LONG weight;
    int style;
} styles[] = {{FW_NORMAL, 1 | 2}, {FW_BOLD, 1 | 4}, {FW_NORMAL, 2 | 4}};

/* The game's status line and numbers, digits, punctuation, Windows-1252 letters and
 * signs, the undefined bytes, blanks, and nothing at all. */
static const char *const texts[] = {
    "ESC - EXIT      R - REFRESH      V - VOLLEYS",
    "MISSLE COUNT:",
    "SHIPS SUNK:",
    "VOLLEYS LEFT:",
    "X",
    "0", "7", "17", "18", "-42", "123", "2.500000", "0.123457", "-1234567890",
    "Missiles Fired: ",
    "Ships Sunk: ",
    "Volleys Left: ",
    "0123456789",
    "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
    "AaBbCcDdEeFfGgHhIiJjKkLlMm",
    "NnOoPpQqRrSsTtUuVvWwXxYyZz",
    "\xE9\xE8\xEA\xEB \xFC\xF6\xE4 \xDC\xD6\xC4 \xDF \xF1\xE7 \xC9\xC0\xC7",
    "\xA1\xA9\xAE\xB0\xB1\xB5\xBF\xD7\xF7\xFF",
    "\x80 \x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E",
    "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F",
    "\x81\x8D\x8F\x90\x9D",
    "   ",
    "",
};

/* Drawn with TA_UPDATECP from a moved current position. */
static const char *const placed[] = {
    "MISSLE COUNT: 17",
    "gjpqy \xC9t\xE9 AVWA_|",
};

static void hex(const char *s, char *out)
{
    static const char digits[] = "0123456789ABCDEF";
    if (!*s) {
        strcpy(out, "-");
        return;
    }
    for (; *s; ++s) {
        unsigned char c = (unsigned char)*s;
        *out++ = digits[c >> 4];
        *out++ = digits[c & 15];
    }
    *out = 0;
}

static HFONT make_font(const char *face, LONG height, LONG weight, int style, BYTE quality)
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = (style & 1) != 0;
    lf.lfUnderline = (style & 2) != 0;
    lf.lfStrikeOut = (style & 4) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = quality;
    strcpy(lf.lfFaceName, face);
    return CreateFontIndirectA(&lf);
}

/* Draws `text` with TA_UPDATECP from (x, y) and reports the ink box. */
static void place(HDC dc, DWORD *bits, HFONT font, const char *text, int x, int y, RECT *ink, POINT *cp,
                  unsigned long long *hash)
{
    int i, px, py;
    HGDIOBJ old;
    for (i = 0; i < CANVAS_W * CANVAS_H; ++i) bits[i] = MARKER;
    old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_UPDATECP | TA_LEFT | TA_TOP);
    MoveToEx(dc, x, y, NULL);
    TextOutA(dc, 500, 500, text, (int)strlen(text)); /* x and y are ignored under TA_UPDATECP */
    GdiFlush();
    GetCurrentPositionEx(dc, cp);
    SelectObject(dc, old);

    SetRect(ink, CANVAS_W, CANVAS_H, 0, 0);
    *hash = 1469598103934665603ull;
    for (py = 0; py < CANVAS_H; ++py) {
        for (px = 0; px < CANVAS_W; ++px) {
            int on = (bits[py * CANVAS_W + px] & 0xFFFFFF) != MARKER;
            *hash = (*hash ^ (unsigned)on) * 1099511628211ull;
            if (!on) continue;
            if (px < ink->left) ink->left = px;
            if (py < ink->top) ink->top = py;
            if (px + 1 > ink->right) ink->right = px + 1;
            if (py + 1 > ink->bottom) ink->bottom = py + 1;
        }
    }
}

static void record(HDC dc, DWORD *bits, int id, const char *face, LONG height, LONG weight, int style,
                   int extents)
{
    HFONT aliased = make_font(face, height, weight, style, NONANTIALIASED_QUALITY);
    HFONT standard = make_font(face, height, weight, style, DEFAULT_QUALITY);
    TEXTMETRICA tm;
    HGDIOBJ old = SelectObject(dc, aliased);
    char buffer[512];
    size_t t;

    GetTextMetricsA(dc, &tm);
    printf("F\t%d\t%s\t%ld\t%ld\t%d\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%u\t%u\n", id, face, height,
           weight, style, tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading, tm.tmExternalLeading,
           tm.tmAveCharWidth, tm.tmMaxCharWidth, tm.tmWeight, tm.tmPitchAndFamily, tm.tmCharSet);
    for (t = 0; extents && t < sizeof texts / sizeof *texts; ++t) {
        SIZE size = {-1, -1};
        GetTextExtentPoint32A(dc, texts[t], (int)strlen(texts[t]), &size);
        hex(texts[t], buffer);
        printf("E\t%d\t%s\t%ld\t%ld\n", id, buffer, size.cx, size.cy);
    }
    SelectObject(dc, old);
    for (t = 0; t < sizeof placed / sizeof *placed; ++t) {
        RECT ink, grey;
        POINT cp, greyCp;
        unsigned long long hash, greyHash;
        const int x = 7 + (int)t, y = 5 + 2 * (int)t;
        place(dc, bits, aliased, placed[t], x, y, &ink, &cp, &hash);
        place(dc, bits, standard, placed[t], x, y, &grey, &greyCp, &greyHash);
        hex(placed[t], buffer);
        printf("P\t%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%016llX\t%ld\t%ld\t%ld\t%ld\n", id, buffer, x, y,
               cp.x, cp.y, ink.left, ink.top, ink.right, ink.bottom, hash, grey.left, grey.top, grey.right,
               grey.bottom);
    }
    DeleteObject(aliased);
    DeleteObject(standard);
}

int main(void)
{
    HDC dc = CreateCompatibleDC(NULL);
    BITMAPINFO bi;
    void *bits = NULL;
    HBITMAP bitmap;
    int id = 0;
    size_t f, h, w;

    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = CANVAS_W;
    bi.bmiHeader.biHeight = -CANVAS_H;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!dc || !bitmap) return 1;
    SelectObject(dc, bitmap);

    for (f = 0; f < sizeof faces / sizeof *faces; ++f)
        for (w = 0; w < sizeof weights / sizeof *weights; ++w)
            for (h = 0; h < sizeof heights / sizeof *heights; ++h)
                record(dc, bits, id++, faces[f], heights[h], weights[w], 0, 1);
    for (f = 0; f < sizeof faces / sizeof *faces; ++f)
        for (w = 0; w < sizeof styles / sizeof *styles; ++w)
            for (h = 0; h < sizeof styledHeights / sizeof *styledHeights; ++h)
                record(dc, bits, id++, faces[f], styledHeights[h], styles[w].weight, styles[w].style, 0);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
