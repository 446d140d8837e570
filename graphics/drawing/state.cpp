// state.cpp - the window's pen, brush and font, and putting them into dcActive for the
// length of one drawing call. At most one pen, one brush and one font of a window exist:
// each setter deletes the old object before it makes the new one.
#include "../window/report.h"
#include "fontdesc.h"

#include <cstring>

color window::SetBrush(unsigned char red, unsigned char green, unsigned char blue)
{
    PumpMessages();
    const color previous = brshColor;
    if (brshObject) {
        if (DeleteObject(brshObject) != 1)
            ReportError("Fatal Error: Failed to delete brshObject in SetBrush!");
        brshObject = nullptr;
    }
    brshColor = color(red, green, blue);
    brshObject = CreateSolidBrush(RGB(red, green, blue));
    return previous;
}

color window::SetBrush(const color &brush)
{
    return SetBrush(brush.ucRed, brush.ucGreen, brush.ucBlue);
}

color window::SetBrush(double red, double green, double blue)
{
    return SetBrush(ColorComponentFromDouble(red), ColorComponentFromDouble(green),
                    ColorComponentFromDouble(blue));
}

color window::SetPen(unsigned char red, unsigned char green, unsigned char blue, int width)
{
    PumpMessages();
    const color previous = penColor;
    if (penObject) {
        if (DeleteObject(penObject) != 1)
            ReportError("Fatal Error: Failed to delete penObject in SetPen!");
        penObject = nullptr;
    }
    penWidth = width;
    penColor = color(red, green, blue);
    // Text is drawn in the pen colour; this is the only place a text colour is set.
    SetTextColor(dcActive, RGB(red, green, blue));
    // An inside-frame pen keeps a wide outline within a figure's bounding box.
    penObject = CreatePen(PS_INSIDEFRAME, width, RGB(red, green, blue));
    return previous;
}

color window::SetPen(const color &pen, int width)
{
    return SetPen(pen.ucRed, pen.ucGreen, pen.ucBlue, width);
}

color window::SetPen(double red, double green, double blue, int width)
{
    return SetPen(ColorComponentFromDouble(red), ColorComponentFromDouble(green),
                  ColorComponentFromDouble(blue), width);
}

LOGFONTA DescribeFont(int size, int style, int family, const char *face)
{
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = size;
    description.lfWeight = (style & FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    description.lfItalic = (style & FONT_ITALIC) ? 1 : 0;
    description.lfUnderline = (style & FONT_UNDERLINED) ? 1 : 0;
    // Only the three named style bits mean anything; strike-out (8) has no name in the
    // library's interface and fonts are always made without it.
    description.lfStrikeOut = 0;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    switch (family) {
    case FAMILY_MODERN: description.lfPitchAndFamily = DEFAULT_PITCH | FF_MODERN; break;
    case FAMILY_ROMAN: description.lfPitchAndFamily = DEFAULT_PITCH | FF_ROMAN; break;
    case FAMILY_SCRIPT: description.lfPitchAndFamily = DEFAULT_PITCH | FF_SCRIPT; break;
    case FAMILY_SWISS: description.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS; break;
    default: description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE; break;
    }
    if (face) {
        // The field holds 31 characters and the terminator; a longer face is cut rather
        // than written past the end of the description.
        std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
        description.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    return description;
}

void window::SetFont(int size, int style, int family, const char *face)
{
    PumpMessages();
    if (fontObject) {
        if (DeleteObject(fontObject) != 1)
            ReportError("Fatal Error: Failed to delete fontObject in SetFont!");
        fontObject = nullptr;
    }
    const LOGFONTA description = DescribeFont(size, style, family, face);
    // Selected only by the text operations, for each call.
    fontObject = CreateFontIndirectA(&description);
}

void window::SelectDrawStyle(drawstyle style)
{
    switch (style) {
    case STYLE_FILLED:
        penSaved = static_cast<HPEN>(SelectObject(dcActive, penObject));
        brshSaved = static_cast<HBRUSH>(SelectObject(dcActive, brshObject));
        SetROP2(dcActive, R2_COPYPEN);
        break;
    case STYLE_FRAME:
        penSaved = static_cast<HPEN>(SelectObject(dcActive, penObject));
        brshSaved = static_cast<HBRUSH>(SelectObject(dcActive, GetStockObject(NULL_BRUSH)));
        SetROP2(dcActive, R2_COPYPEN);
        break;
    case STYLE_INVERTED:
        // Inverting ignores colour; the stock black objects just give the figure its shape.
        penSaved = static_cast<HPEN>(SelectObject(dcActive, GetStockObject(BLACK_PEN)));
        brshSaved = static_cast<HBRUSH>(SelectObject(dcActive, GetStockObject(BLACK_BRUSH)));
        SetROP2(dcActive, R2_NOT);
        break;
    default:
        ReportError("Fatal Error: You have tried to use an invalid or unimplemented drawstyle!");
        break;
    }
}

void window::RestoreDrawStyle()
{
    // The mix mode stays: every SelectDrawStyle sets it again.
    SelectObject(dcActive, penSaved);
    SelectObject(dcActive, brshSaved);
}

void window::SelectFontObject()
{
    fontSaved = static_cast<HFONT>(SelectObject(dcActive, fontObject));
}

void window::RestoreFontObject()
{
    SelectObject(dcActive, fontSaved);
}
