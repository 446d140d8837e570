// harness.cpp - runs one conformance case on a fresh memory DC and reads the pixels back,
// in plain Win32 calls only, so that the same code runs on real GDI and on the stand-in.
// Also the sheet layout shared by the recorder and the comparison.
#include "scene.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace scene {

namespace {

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

uint32_t PatternPixel(int x, int y)
{
    // Smooth enough to read by eye, different at every pixel of a cell, never grey.
    uint32_t r = static_cast<uint32_t>(60 + x * 5) & 0xFF;
    uint32_t g = static_cast<uint32_t>(50 + y * 5) & 0xFF;
    uint32_t b = static_cast<uint32_t>(140 + ((x * 3) ^ (y * 7))) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

} // namespace

Pixels MakeBackground(Background bg, int width, int height)
{
    Pixels p;
    p.width = width;
    p.height = height;
    p.data.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const uint32_t marker = (GetRValue(kMarker) << 16) | (GetGValue(kMarker) << 8) | GetBValue(kMarker);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.data[static_cast<size_t>(y) * width + x] = bg == Background::Marker ? marker : PatternPixel(x, y);
    return p;
}

Outcome Run(const Group &group, const Case &c)
{
    Outcome out;
    const int w = group.cellWidth;
    const int h = group.cellHeight;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    if (!screen || !dc || !bitmap) {
        out.failure = "could not create the memory DC and its bitmap";
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        if (screen)
            ReleaseDC(nullptr, screen);
        return out;
    }
    HGDIOBJ initial = SelectObject(dc, bitmap);

    Pixels bg = MakeBackground(c.background, w, h);
    BITMAPINFO bmi = TopDown32(w, h);
    if (SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, bg.data.data(), &bmi, DIB_RGB_COLORS) != h)
        out.failure = "SetDIBitsToDevice could not fill the background";

    Results results;
    c.draw(dc, results);
    out.results = results.Values();

    // GetDIBits wants the bitmap out of any DC.
    SelectObject(dc, initial);
    out.pixels.width = w;
    out.pixels.height = h;
    out.pixels.data.assign(static_cast<size_t>(w) * h, 0);
    bmi = TopDown32(w, h);
    if (GetDIBits(screen, bitmap, 0, h, out.pixels.data.data(), &bmi, DIB_RGB_COLORS) != h)
        out.failure = "GetDIBits could not read the surface back";
    for (uint32_t &px : out.pixels.data)
        px &= 0x00FFFFFF;

    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

SheetLayout LayoutFor(const Group &group)
{
    SheetLayout l;
    // Aim for sheets no wider than about 520 pixels.
    int perRow = (520 - kSheetGap) / (group.cellWidth + kSheetGap);
    if (perRow < 1)
        perRow = 1;
    int n = static_cast<int>(group.cases.size());
    l.columns = n < perRow ? (n > 0 ? n : 1) : perRow;
    int rows = (n + l.columns - 1) / l.columns;
    if (rows < 1)
        rows = 1;
    l.width = kSheetGap + l.columns * (group.cellWidth + kSheetGap);
    l.height = kSheetGap + rows * (group.cellHeight + kSheetGap);
    return l;
}

void PlaceCell(Pixels &sheet, const SheetLayout &layout, const Group &group, size_t index, const Pixels &cell)
{
    const int x0 = layout.CellX(index, group.cellWidth);
    const int y0 = layout.CellY(index, group.cellHeight);
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x)
            sheet.data[static_cast<size_t>(y0 + y) * sheet.width + x0 + x] = cell.data[static_cast<size_t>(y) * cell.width + x];
}

Pixels CutCell(const Pixels &sheet, const SheetLayout &layout, const Group &group, size_t index)
{
    Pixels cell;
    cell.width = group.cellWidth;
    cell.height = group.cellHeight;
    cell.data.resize(static_cast<size_t>(cell.width) * cell.height);
    const int x0 = layout.CellX(index, group.cellWidth);
    const int y0 = layout.CellY(index, group.cellHeight);
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x)
            cell.data[static_cast<size_t>(y) * cell.width + x] = sheet.data[static_cast<size_t>(y0 + y) * sheet.width + x0 + x];
    return cell;
}

std::string ResultsLine(const std::string &caseName, const std::vector<long long> &values)
{
    std::string line = caseName + "\t";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            line += ' ';
        line += std::to_string(values[i]);
    }
    return line;
}

Style Filled(int width, int penStyle)
{
    Style s;
    s.penStyle = penStyle;
    s.penWidth = width;
    return s;
}

Style Frame(int width, int penStyle)
{
    Style s = Filled(width, penStyle);
    s.brush = Style::Brush::Null;
    return s;
}

Style InvertedByRop()
{
    Style s;
    s.stockBlackPen = true;
    s.brush = Style::Brush::StockBlack;
    s.rop = R2_NOT;
    return s;
}

void WithStyle(HDC dc, const Style &style, const std::function<void()> &draw)
{
    HPEN pen = style.stockBlackPen ? nullptr : CreatePen(style.penStyle, style.penWidth, style.penColour);
    HBRUSH brush = nullptr;
    HGDIOBJ brushToSelect = nullptr;
    switch (style.brush) {
    case Style::Brush::Solid:
        brush = CreateSolidBrush(style.brushColour);
        brushToSelect = brush;
        break;
    case Style::Brush::Null:
        brushToSelect = GetStockObject(NULL_BRUSH);
        break;
    case Style::Brush::StockBlack:
        brushToSelect = GetStockObject(BLACK_BRUSH);
        break;
    case Style::Brush::StockWhite:
        brushToSelect = GetStockObject(WHITE_BRUSH);
        break;
    }
    HGDIOBJ oldPen = SelectObject(dc, style.stockBlackPen ? GetStockObject(BLACK_PEN) : pen);
    HGDIOBJ oldBrush = SelectObject(dc, brushToSelect);
    SetROP2(dc, style.rop);
    draw();
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetROP2(dc, R2_COPYPEN);
    if (pen)
        DeleteObject(pen);
    if (brush)
        DeleteObject(brush);
}

void InvertRegion(HDC dc, HRGN rgn, Results &r)
{
    r(InvertRgn(dc, rgn));
    DeleteObject(rgn);
}

std::string Format(const char *fmt, ...)
{
    char buf[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    return buf;
}

std::vector<Group> AllGroups()
{
    std::vector<Group> all;
    AddHarnessGroups(all);
    AddLineGroups(all);
    AddRectangleGroups(all);
    AddEllipseGroups(all);
    AddRoundRectGroups(all);
    AddArcGroups(all);
    AddPolygonGroups(all);
    AddBezierGroups(all);
    AddRegionGroups(all);
    AddBlitGroups(all);
    AddSequenceGroups(all);
    AddExtremeGroups(all);
    AddTextGroups(all);
    return all;
}

} // namespace scene
