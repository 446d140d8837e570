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

// A memory DC holding a bitmap compatible with dc, showing the picture.
struct Source {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ initial = nullptr;

    explicit Source(HDC target)
    {
        dc = CreateCompatibleDC(target);
        bitmap = CreateCompatibleBitmap(target, kPicW, kPicH);
        initial = SelectObject(dc, bitmap);
        std::vector<uint32_t> pic = Picture();
        BITMAPINFO bmi = Header(kPicW, kPicH);
        SetDIBitsToDevice(dc, 0, 0, kPicW, kPicH, 0, 0, 0, kPicH, pic.data(), &bmi, DIB_RGB_COLORS);
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
}

} // namespace scene
