// readback.cpp - reading one pixel of what has been drawn: copied from dcActive into a
// 1 x 1 bitmap of a temporary context, then read out of that bitmap as a 32-bit DIB.
#include "../window/report.h"
#include "../graphics.h"

#include <cstdint>
#include <memory>
#include <new>

color window::GetColor(int x, int y)
{
    std::unique_ptr<BITMAPINFOHEADER> header(new (std::nothrow) BITMAPINFOHEADER{});
    if (!header)
        throw ERROR_OUT_OF_MEMORY;
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 1;
    header->biHeight = -1; // one row, top-down
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;

    HDC dcTempBuffer = CreateCompatibleDC(dcActive);
    HBITMAP bmapTempBuffer = CreateCompatibleBitmap(dcActive, 1, 1);
    HGDIOBJ kept = SelectObject(dcTempBuffer, bmapTempBuffer);

    PumpMessages();

    // Blue, green, red, unused: the 32-bit DIB layout.
    uint8_t pixel[4] = {0, 0, 0, 0};
    const bool copied = BitBlt(dcTempBuffer, 0, 0, 1, 1, dcActive, x, y, SRCCOPY) == 1;
    if (!copied)
        ReportError("Fatal Error: Failed to BltBit in GetColor!");
    const bool read = GetDIBits(dcActive, bmapTempBuffer, 0, 1, pixel, reinterpret_cast<BITMAPINFO *>(header.get()),
                                DIB_RGB_COLORS) != 0;
    if (!read)
        ReportError("Fatal Error: Failed to GetDIBits in GetColor!");

    // A pixel that was never copied in would be whatever the new bitmap held: outside the
    // drawing area, or when the device failed, the answer is black instead.
    const bool inside = x >= 0 && y >= 0 && x < iWindowWidth && y < iWindowHeight;
    const color result = copied && read && inside ? color(pixel[2], pixel[1], pixel[0]) : color(0, 0, 0);

    SelectObject(dcTempBuffer, kept);
    if (DeleteObject(bmapTempBuffer) != 1)
        ReportError("Fatal Error: Failed to delete bmapTempBuffer in GetColor!");
    if (DeleteDC(dcTempBuffer) != 1)
        ReportError("Fatal Error: Failed to delete dcTempBuffer in GetColor!");
    return result;
}

void window::GetColor(int x, int y, double &red, double &green, double &blue)
{
    const color pixel = GetColor(x, y);
    red = ColorComponentToDouble(pixel.ucRed);
    green = ColorComponentToDouble(pixel.ucGreen);
    blue = ColorComponentToDouble(pixel.ucBlue);
}

double window::GetRed(int x, int y)
{
    return ColorComponentToDouble(GetColor(x, y).ucRed);
}

double window::GetGreen(int x, int y)
{
    return ColorComponentToDouble(GetColor(x, y).ucGreen);
}

double window::GetBlue(int x, int y)
{
    return ColorComponentToDouble(GetColor(x, y).ucBlue);
}
