// text.cpp - drawing and measuring text: strings and numbers in the window's font and pen
// colour, placed by the top-left corner of their first character cell.
#include "../graphics.h"
#include "../window/report.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// Numbers are formatted here: "%d" always fits; "%f" of a huge double is cut to the
// 127 characters that fit with the terminator instead of running past the buffer.
constexpr size_t kNumberBuffer = 128;

int ByteLength(const char *text)
{
    const size_t length = std::strlen(text);
    return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

} // namespace

void window::DrawString(int x, int y, const char *text)
{
    if (!text)
        return;
    PumpMessages();
    SelectFontObject();
    if (SetBkMode(dcActive, TRANSPARENT) == 0)
        ReportError("Fatal Error: Failed to SetBkMode in DrawString!");
    // TA_UPDATECP with the left and top reference: the text starts at the current
    // position, which the next step puts at (x, y), and ends with it moved past the text.
    if (SetTextAlign(dcActive, TA_UPDATECP) == static_cast<UINT>(GDI_ERROR))
        ReportError("Fatal Error: Failed to SetTextAlign in DrawString!");
    if (MoveToEx(dcActive, x, y, nullptr) != 1)
        ReportError("Fatal Error: Failed to MoveToEx in DrawString!");
    if (TextOutA(dcActive, x, y, text, ByteLength(text)) == 0)
        ReportError("Fatal Error: Failed to TextOut in DrawString!");
    RestoreFontObject();
}

void window::DrawString(int x, int y, std::string text)
{
    DrawString(x, y, text.c_str());
}

void window::DrawNumber(int x, int y, int value)
{
    char buffer[kNumberBuffer];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    DrawString(x, y, buffer);
}

void window::DrawReal(int x, int y, double value)
{
    char buffer[kNumberBuffer];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    DrawString(x, y, buffer);
}

void window::GetStringSize(int &width, int &height, const char *text)
{
    // A null text measures as the empty one would.
    if (!text)
        text = "";
    PumpMessages();
    SelectFontObject();
    // A failed measurement leaves this 0 x 0 rather than whatever GDI left behind.
    SIZE size{0, 0};
    if (GetTextExtentPoint32A(dcActive, text, ByteLength(text), &size) != 1) {
        ReportError("Fatal Error: Failed to GetTextExtentPoint32 in GetStringSize!");
        size = SIZE{0, 0};
    }
    RestoreFontObject();
    width = size.cx;
    height = size.cy;
}

void window::GetStringSize(int &width, int &height, std::string text)
{
    GetStringSize(width, height, text.c_str());
}

void window::GetNumberSize(int &width, int &height, int value)
{
    char buffer[kNumberBuffer];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    GetStringSize(width, height, buffer);
}

void window::GetRealSize(int &width, int &height, double value)
{
    char buffer[kNumberBuffer];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    GetStringSize(width, height, buffer);
}
