/* text_metrics.c - asks real GDI (run under Wine) what a font measures: the face it
 * picked, its TEXTMETRIC and GetTextExtentPoint32A of each string given.
 * usage: text_metrics.exe FACE HEIGHT WEIGHT [--italic] [--family N] STRING...
 * Built and run by tools/text-metrics.sh. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s FACE HEIGHT WEIGHT [--italic] [--family N] STRING...\n", argv[0]);
        return 2;
    }
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = atol(argv[2]);
    lf.lfWeight = atol(argv[3]);
    lf.lfCharSet = DEFAULT_CHARSET;
    strncpy(lf.lfFaceName, argv[1], LF_FACESIZE - 1);
    int first = 4;
    while (first < argc && strncmp(argv[first], "--", 2) == 0) {
        if (strcmp(argv[first], "--italic") == 0)
            lf.lfItalic = 1;
        else if (strcmp(argv[first], "--family") == 0 && first + 1 < argc)
            lf.lfPitchAndFamily = (BYTE)strtol(argv[++first], NULL, 0);
        ++first;
    }

    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);

    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    printf("request\tface \"%s\" height %ld weight %ld italic %d family 0x%02x\n", lf.lfFaceName, (long)lf.lfHeight,
           (long)lf.lfWeight, lf.lfItalic, lf.lfPitchAndFamily);
    printf("face\t%s\n", face);
    printf("metrics\theight %ld ascent %ld descent %ld internal %ld external %ld avewidth %ld maxwidth %ld "
           "weight %ld italic %d pitchfamily 0x%02x charset %d\n",
           (long)tm.tmHeight, (long)tm.tmAscent, (long)tm.tmDescent, (long)tm.tmInternalLeading,
           (long)tm.tmExternalLeading, (long)tm.tmAveCharWidth, (long)tm.tmMaxCharWidth, (long)tm.tmWeight, tm.tmItalic,
           tm.tmPitchAndFamily, tm.tmCharSet);
    for (int i = first; i < argc; ++i) {
        SIZE size = {0, 0};
        BOOL ok = GetTextExtentPoint32A(dc, argv[i], (int)strlen(argv[i]), &size);
        printf("extent\t%ld %ld\t%d\t\"%s\"\n", (long)size.cx, (long)size.cy, ok, argv[i]);
    }

    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return 0;
}
