// blits.cpp (scenes) - block copies: BitBlt and StretchBlt between memory DCs (source
// partly or wholly outside, destination past the edges, overlapping self-copies,
// enlarging, shrinking in the default stretch mode, mirroring), and the DIB calls
// SetDIBitsToDevice and StretchDIBits from a 32-bit top-down DIB.
#include "../scene.h"

#include <cstring>

namespace scene {

namespace {

constexpr int kPicW = 8, kPicH = 6;

// An asymmetric picture whose every pixel has its own colour, so flips, offsets and
// merged pixels all show. 0x00RRGGBB, top row first.
std::vector<uint32_t> Picture()
{
    std::vector<uint32_t> p;
    for (int y = 0; y < kPicH; ++y)
        for (int x = 0; x < kPicW; ++x) {
            uint32_t r = 0x30 + x * 0x1C, g = 0x28 + y * 0x2A, b = (x + y) % 2 ? 0xE0 : 0x60;
            if (x == 0 || y == 0) // a bright L along the top and left: orientation at a glance
                r = g = 0xF8;
            p.push_back((r << 16) | (g << 8) | b);
        }
    return p;
}

BITMAPINFO Header(int w, int h)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h; // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// A w x h picture (up to 9 x 9) whose every pixel differs from every other and from the
// pattern background.
std::vector<uint32_t> SmallPicture(int w, int h)
{
    std::vector<uint32_t> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.push_back(static_cast<uint32_t>(((0x20 + x * 0x18) << 16) | ((0x20 + y * 0x18) << 8) | (0x10 + (x + y) % 2 * 0xC0)));
    return p;
}

// A memory DC holding a bitmap compatible with dc, showing the picture (or a small one).
struct Source {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ initial = nullptr;

    explicit Source(HDC target, int w = 0, int h = 0)
    {
        const bool small = w > 0;
        if (!small) {
            w = kPicW;
            h = kPicH;
        }
        dc = CreateCompatibleDC(target);
        bitmap = CreateCompatibleBitmap(target, w, h);
        initial = SelectObject(dc, bitmap);
        std::vector<uint32_t> pic = small ? SmallPicture(w, h) : Picture();
        BITMAPINFO bmi = Header(w, h);
        SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pic.data(), &bmi, DIB_RGB_COLORS);
    }
    ~Source()
    {
        SelectObject(dc, initial);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Source(const Source &) = delete;
    Source &operator=(const Source &) = delete;
};

void AddBitBlt(std::vector<Group> &out)
{
    Group g{"bitblt", 24, 20, {}};
    // {xDst, yDst, w, h, xSrc, ySrc}
    const int blits[][6] = {{3, 3, 8, 6, 0, 0},     {3, 3, 12, 10, 0, 0},  {3, 3, 8, 6, -2, -2},  {3, 3, 8, 6, 3, 2},
                            {3, 3, 14, 12, -3, -3}, {3, 3, 8, 6, -9, 0},   {3, 3, 8, 6, 0, 7},    {3, 3, 8, 6, 20, 20},
                            {-3, -2, 8, 6, 0, 0},   {19, 16, 8, 6, 0, 0},  {-20, -20, 8, 6, 0, 0}, {3, 3, 0, 6, 0, 0},
                            {3, 3, 8, 0, 0, 0},     {3, 3, 1, 1, 5, 4},    {10, 9, 8, 6, 7, 5},   {3, 3, 8, 6, 8, 6}};
    for (const auto &b : blits)
        g.Add(Format("dst%d,%d-%dx%d-src%d,%d", b[0], b[1], b[2], b[3], b[4], b[5]), [=](HDC dc, Results &r) {
            Source src(dc);
            r(BitBlt(dc, b[0], b[1], b[2], b[3], src.dc, b[4], b[5], SRCCOPY));
        });
    // Copies within one surface, overlapping in each direction.
    const int self[][6] = {{6, 5, 14, 12, 2, 2}, {2, 2, 14, 12, 6, 5}, {5, 2, 16, 14, 2, 2}, {2, 5, 16, 12, 2, 2},
                           {2, 2, 16, 12, 2, 5}, {-4, -4, 24, 20, 0, 0}};
    for (const auto &b : self)
        g.Add(Format("self-dst%d,%d-%dx%d-src%d,%d", b[0], b[1], b[2], b[3], b[4], b[5]), [=](HDC dc, Results &r) {
            r(BitBlt(dc, b[0], b[1], b[2], b[3], dc, b[4], b[5], SRCCOPY));
        }, Background::Pattern);
    out.push_back(std::move(g));
}

void AddStretchBlt(std::vector<Group> &out)
{
    Group g{"stretchblt", 36, 30, {}};
    // {xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc}
    const int blits[][8] = {
        {2, 2, 8, 6, 0, 0, 8, 6},    {2, 2, 16, 12, 0, 0, 8, 6},  {2, 2, 13, 9, 0, 0, 8, 6},   {2, 2, 32, 26, 0, 0, 8, 6},
        {2, 2, 9, 7, 0, 0, 8, 6},    {2, 2, 32, 6, 0, 0, 8, 6},   {2, 2, 8, 26, 0, 0, 8, 6},   {2, 2, 5, 4, 0, 0, 8, 6},
        {2, 2, 4, 3, 0, 0, 8, 6},    {2, 2, 3, 2, 0, 0, 8, 6},    {2, 2, 7, 5, 0, 0, 8, 6},    {2, 2, 1, 1, 0, 0, 8, 6},
        {2, 2, 1, 6, 0, 0, 8, 6},    {2, 2, 8, 1, 0, 0, 8, 6},    {2, 2, 1, 1, 0, 0, 2, 1},    {2, 2, 1, 1, 3, 2, 1, 1},
        {18, 2, -16, 12, 0, 0, 8, 6}, {2, 14, 16, -12, 0, 0, 8, 6}, {18, 14, -16, -12, 0, 0, 8, 6},
        {2, 2, 16, 12, 8, 0, -8, 6}, {2, 2, 16, 12, 0, 6, 8, -6}, {2, 2, 16, 12, 2, 1, 4, 3},
        {2, 2, 24, 20, -2, -2, 12, 10}, {2, 2, 16, 12, 4, 3, 8, 6}, {-6, -4, 24, 18, 0, 0, 8, 6},
        {20, 16, 24, 18, 0, 0, 8, 6}, {2, 2, 0, 12, 0, 0, 8, 6},  {2, 2, 16, 12, 0, 0, 0, 6},  {18, 14, -5, -4, 0, 0, 8, 6}};
    for (const auto &b : blits)
        g.Add(Format("dst%d,%d,%d,%d-src%d,%d,%d,%d", b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]), [=](HDC dc, Results &r) {
            Source src(dc);
            r(StretchBlt(dc, b[0], b[1], b[2], b[3], src.dc, b[4], b[5], b[6], b[7], SRCCOPY));
        });
    out.push_back(std::move(g));
}

void AddDibs(std::vector<Group> &out)
{
    Group g{"dibs", 36, 30, {}};
    // SetDIBitsToDevice: {xDst, yDst, w, h, xSrc, ySrc, startScan, lines}
    const int sets[][8] = {{3, 3, 8, 6, 0, 0, 0, 6},   {3, 3, 4, 3, 2, 1, 0, 6},  {3, 3, 4, 3, 0, 0, 0, 6},
                           {3, 3, 8, 6, 0, 0, 0, 3},   {3, 3, 8, 6, 0, 0, 2, 3},  {3, 3, 12, 9, 0, 0, 0, 6},
                           {3, 3, 8, 6, -2, -1, 0, 6}, {-3, -2, 8, 6, 0, 0, 0, 6}, {31, 26, 8, 6, 0, 0, 0, 6},
                           {-40, 3, 8, 6, 0, 0, 0, 6}, {3, 3, 0, 6, 0, 0, 0, 6},  {3, 3, 8, 6, 0, 0, 0, 0}};
    for (const auto &s : sets)
        g.Add(Format("set-dst%d,%d-%dx%d-src%d,%d-scan%d+%d", s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]),
              [=](HDC dc, Results &r) {
                  std::vector<uint32_t> pic = Picture();
                  BITMAPINFO bmi = Header(kPicW, kPicH);
                  r(SetDIBitsToDevice(dc, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], pic.data(), &bmi, DIB_RGB_COLORS));
              });
    // StretchDIBits: {xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc}
    const int stretches[][8] = {
        {2, 2, 8, 6, 0, 0, 8, 6},     {2, 2, 16, 12, 0, 0, 8, 6},  {2, 2, 13, 9, 0, 0, 8, 6},  {2, 2, 32, 26, 0, 0, 8, 6},
        {2, 2, 5, 4, 0, 0, 8, 6},     {2, 2, 3, 2, 0, 0, 8, 6},    {2, 2, 1, 1, 0, 0, 8, 6},   {2, 2, 1, 1, 0, 0, 2, 1},
        {18, 2, -16, 12, 0, 0, 8, 6}, {2, 14, 16, -12, 0, 0, 8, 6}, {2, 2, 16, 12, 2, 1, 4, 3}, {2, 2, 16, 12, -2, -2, 12, 10},
        {-6, -4, 24, 18, 0, 0, 8, 6}, {20, 16, 24, 18, 0, 0, 8, 6}, {2, 2, 0, 12, 0, 0, 8, 6},  {2, 2, 8, 6, 0, 0, 8, 6}};
    for (const auto &s : stretches)
        g.Add(Format("stretch-dst%d,%d,%d,%d-src%d,%d,%d,%d", s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]),
              [=](HDC dc, Results &r) {
                  std::vector<uint32_t> pic = Picture();
                  BITMAPINFO bmi = Header(kPicW, kPicH);
                  r(StretchDIBits(dc, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], pic.data(), &bmi, DIB_RGB_COLORS, SRCCOPY));
              });
    out.push_back(std::move(g));
}

// Edges of the transfers: mirrored stretches whose source crosses the bitmap's edge,
// negative source heights of StretchDIBits, negative extents of rops without a source,
// COLORONCOLOR shrinking each way, and pattern rops with the null brush.
void AddBlitEdges(std::vector<Group> &out)
{
    Group g{"blit-edges", 20, 20, {}};
    // StretchBlt from a 4 x 4 bitmap: {xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc}
    const int mirrored[][8] = {{10, 10, -4, 4, 1, 0, 4, 4},  {10, 10, -4, 4, -1, 0, 4, 4}, {10, 10, 4, -4, 0, 1, 4, 4},
                               {10, 10, -4, -4, 2, 2, 4, 4}, {4, 4, 4, 4, 5, 0, -4, 4},   {14, 4, -8, 8, 1, 1, 4, 4},
                               {4, 4, 8, 8, 3, 0, -5, 4}};
    for (const auto &m : mirrored)
        g.Add(Format("stretch-dst%d,%d,%d,%d-src%d,%d,%d,%d", m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]),
              [=](HDC dc, Results &r) {
                  Source src(dc, 4, 4);
                  r(StretchBlt(dc, m[0], m[1], m[2], m[3], src.dc, m[4], m[5], m[6], m[7], SRCCOPY));
              }, Background::Pattern);
    // StretchDIBits of a 4 x 4 DIB (negative height: top-down), by copy and by another rop.
    const int dibs[][9] = {{10, 10, 4, -4, 0, 3, 4, -4, -4}, {10, 10, 4, -4, 0, 3, 4, -4, 4}, {10, 10, 4, 4, 0, 3, 4, -4, -4},
                           {10, 10, -4, 4, 3, 0, -4, 4, -4}, {10, 10, 4, 4, 0, 1, 4, -2, 4},  {10, 10, 6, 6, 1, 3, 2, -3, -4}};
    for (DWORD rop : {static_cast<DWORD>(SRCCOPY), static_cast<DWORD>(SRCINVERT)})
        for (const auto &d : dibs)
            g.Add(Format("dib%d-%s-dst%d,%d,%d,%d-src%d,%d,%d,%d", d[8], rop == SRCCOPY ? "copy" : "xor", d[0], d[1], d[2],
                         d[3], d[4], d[5], d[6], d[7]),
                  [=](HDC dc, Results &r) {
                      std::vector<uint32_t> pic = SmallPicture(4, 4);
                      BITMAPINFO bmi = Header(4, 4);
                      bmi.bmiHeader.biHeight = d[8];
                      r(StretchDIBits(dc, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], pic.data(), &bmi, DIB_RGB_COLORS, rop));
                  }, Background::Pattern);
    // Rops without a source over negative extents, with a white brush and with none.
    const struct {
        const char *name;
        DWORD rop;
    } patterns[] = {{"patcopy", PATCOPY}, {"patinvert", PATINVERT}, {"dstinvert", DSTINVERT},
                    {"blackness", BLACKNESS}, {"whiteness", WHITENESS}, {"merge", MERGECOPY}, {"patpaint", PATPAINT}};
    const int boxes[][4] = {{10, 2, -4, 3}, {2, 10, 3, -4}, {10, 10, -4, -4}, {2, 2, 4, 3}};
    for (int brush : {WHITE_BRUSH, NULL_BRUSH})
        for (const auto &p : patterns)
            for (const auto &b : boxes)
                g.Add(Format("%s-%s-%d,%d,%d,%d", brush == WHITE_BRUSH ? "white" : "null", p.name, b[0], b[1], b[2], b[3]),
                      [=](HDC dc, Results &r) {
                          Source src(dc, 4, 4);
                          HGDIOBJ old = SelectObject(dc, GetStockObject(brush));
                          r(BitBlt(dc, b[0], b[1], b[2], b[3], src.dc, 0, 0, p.rop));
                          SelectObject(dc, old);
                      }, Background::Pattern);
    g.Add("null-source-patcopy-stretch", [](HDC dc, Results &r) {
        HGDIOBJ old = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        r(StretchBlt(dc, 12, 12, -5, -3, nullptr, 0, 0, 2, 2, PATCOPY));
        SelectObject(dc, old);
    }, Background::Pattern);
    // COLORONCOLOR shrinking an 8 x 8 bitmap, by StretchBlt and StretchDIBits:
    // {xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc}
    const int shrinks[][8] = {{2, 0, 1, 2, 0, 0, 1, 8}, {2, 2, 2, 1, 0, 0, 8, 1}, {2, 2, 3, 3, 0, 0, 8, 8},
                              {2, 2, 5, 3, 0, 0, 8, 7}, {12, 12, -3, -3, 0, 0, 8, 8}, {2, 2, 3, 3, 7, 7, -8, -8}};
    for (int dib = 0; dib < 2; ++dib)
        for (const auto &s : shrinks)
            g.Add(Format("coloroncolor-%s-dst%d,%d,%d,%d-src%d,%d,%d,%d", dib ? "dib" : "blt", s[0], s[1], s[2], s[3], s[4],
                         s[5], s[6], s[7]),
                  [=](HDC dc, Results &r) {
                      r(SetStretchBltMode(dc, COLORONCOLOR));
                      if (dib) {
                          std::vector<uint32_t> pic = SmallPicture(8, 8);
                          BITMAPINFO bmi = Header(8, 8);
                          r(StretchDIBits(dc, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], pic.data(), &bmi,
                                          DIB_RGB_COLORS, SRCCOPY));
                      } else {
                          Source src(dc, 8, 8);
                          r(StretchBlt(dc, s[0], s[1], s[2], s[3], src.dc, s[4], s[5], s[6], s[7], SRCCOPY));
                      }
                  }, Background::Pattern);
    out.push_back(std::move(g));
}

// All 256 ternary raster operations, one pixel each (code y * 16 + x), with the source
// 0xCC, the destination 0xAA and the brush 0xF0 in every channel: with a brush the pixel
// shows the code itself; with the null brush, what each operation makes of S and D alone.
void AddRopCodes(std::vector<Group> &out)
{
    Group g{"rop-codes", 16, 16, {}};
    for (int brush : {-1, NULL_BRUSH})
        g.Add(brush < 0 ? "brush-f0" : "null-brush", [=](HDC dc, Results &r) {
            std::vector<uint32_t> dest(256, 0xAAAAAA), source(256, 0xCCCCCC);
            BITMAPINFO bmi = Header(16, 16);
            SetDIBitsToDevice(dc, 0, 0, 16, 16, 0, 0, 0, 16, dest.data(), &bmi, DIB_RGB_COLORS);
            HDC src = CreateCompatibleDC(dc);
            HBITMAP bitmap = CreateCompatibleBitmap(dc, 16, 16);
            HGDIOBJ initial = SelectObject(src, bitmap);
            SetDIBitsToDevice(src, 0, 0, 16, 16, 0, 0, 0, 16, source.data(), &bmi, DIB_RGB_COLORS);
            HBRUSH solid = brush < 0 ? CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0)) : nullptr;
            HGDIOBJ old = SelectObject(dc, solid ? solid : GetStockObject(brush));
            long long failed = 0;
            for (int c = 0; c < 256; ++c)
                failed += !BitBlt(dc, c % 16, c / 16, 1, 1, src, c % 16, c / 16, static_cast<DWORD>(c) << 16);
            r(failed);
            SelectObject(dc, old);
            if (solid)
                DeleteObject(solid);
            SelectObject(src, initial);
            DeleteObject(bitmap);
            DeleteDC(src);
        });
    out.push_back(std::move(g));
}

// GetDIBits of a bitmap holding the picture, in bands: the rows it hands back are drawn
// 1:1 at (2, 2) from a buffer pre-filled with a marker, so which rows came back and where
// they landed in the buffer both show.
void AddGetDIBits(std::vector<Group> &out)
{
    Group g{"getdibits", 14, 22, {}};
    // {start scan, lines, header height (negative: top-down)}
    const int reads[][3] = {{0, 6, -6}, {0, 3, -6}, {2, 3, -6}, {1, 10, -6}, {0, 6, 6}, {0, 6, -12}};
    for (int selected = 0; selected < 2; ++selected)
        for (const auto &rd : reads)
            g.Add(Format("%s-start%d-lines%d-height%d", selected ? "selected" : "unselected", rd[0], rd[1], rd[2]),
                  [=](HDC dc, Results &r) {
                      Source src(dc);
                      if (!selected)
                          SelectObject(src.dc, src.initial);
                      const int rows = rd[2] < 0 ? -rd[2] : rd[2];
                      std::vector<uint32_t> buf(static_cast<size_t>(kPicW) * rows, 0x00FF00FF);
                      BITMAPINFO bmi = Header(kPicW, rows);
                      bmi.bmiHeader.biHeight = rd[2];
                      r(GetDIBits(dc, src.bitmap, rd[0], rd[1], buf.data(), &bmi, DIB_RGB_COLORS));
                      if (!selected)
                          SelectObject(src.dc, src.bitmap); // Source puts the initial one back itself
                      BITMAPINFO show = Header(kPicW, rows);
                      show.bmiHeader.biHeight = rd[2];
                      r(SetDIBitsToDevice(dc, 2, 2, kPicW, rows, 0, 0, 0, rows, buf.data(), &show, DIB_RGB_COLORS));
                  });
    out.push_back(std::move(g));
}

} // namespace

void AddBlitGroups(std::vector<Group> &out)
{
    AddBitBlt(out);
    AddStretchBlt(out);
    AddDibs(out);
    AddGetDIBits(out);
    AddBlitEdges(out);
    AddRopCodes(out);
}

} // namespace scene
