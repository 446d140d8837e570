// print.cpp - Print: the window's picture on one printed page, through the system's print
// dialog. Scaled to the printable width on printers that stretch bitmaps, one to one
// otherwise; centred on the page either way.
#include "../window/report.h"
#include "../graphics.h"

#include <cstring>

namespace {

const char boxCaption[] = "Graphics Library";
const UINT boxStyle = MB_OK | MB_ICONEXCLAMATION;

#if defined(_WIN32) && !defined(_WIN64)
// The records as 32-bit Windows defines them; the library passes their own sizes.
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is 66 bytes on 32-bit Windows");
static_assert(sizeof(DOCINFOA) == 20, "DOCINFOA is 20 bytes on 32-bit Windows");
#endif

// Halving as an arithmetic shift: rounds toward minus infinity, also for negatives.
int Halved(int value)
{
    return value >> 1;
}

} // namespace

void window::Print()
{
    DOCINFOA docInfo;
    std::memset(&docInfo, 0, sizeof docInfo);
    docInfo.cbSize = sizeof docInfo;
    docInfo.lpszDocName = nullptr;
    docInfo.lpszOutput = nullptr;
    docInfo.lpszDatatype = nullptr;
    docInfo.fwType = 0;

    PumpMessages();

    // Printing still goes on afterwards, from the screen's context.
    if (!bDoubleBuffer)
        MessageBoxA(hwndWindow, "Double-buffering must be enabled for printing to work.  Sorry.", boxCaption,
                    boxStyle);

    PRINTDLGA printDialog;
    std::memset(&printDialog, 0, sizeof printDialog);
    printDialog.lStructSize = sizeof printDialog;
    printDialog.hwndOwner = hwndWindow;
    printDialog.hDevMode = nullptr;
    printDialog.hDevNames = nullptr;
    printDialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgA(&printDialog);
    // The dialog hands back the device's mode and names in memory that is the caller's
    // to free; nothing here uses them.
    if (printDialog.hDevMode)
        GlobalFree(printDialog.hDevMode);
    if (printDialog.hDevNames)
        GlobalFree(printDialog.hDevNames);
    if (chosen == 0)
        return;
    HDC dcPrinter = printDialog.hDC;

    // A refused printer's context is released too: nothing else would ever free it.
    const int rasterCaps = GetDeviceCaps(dcPrinter, RASTERCAPS);
    const char *refusal = nullptr;
    if (!(rasterCaps & RC_BITBLT))
        refusal = "Your printer does not support bitblts.  Sorry";
    else if (!(rasterCaps & RC_BITMAP64))
        refusal = "Your printer does not support bitmaps larger than 64K.  Sorry.";
    if (refusal) {
        MessageBoxA(hwndWindow, refusal, boxCaption, boxStyle);
        if (DeleteDC(dcPrinter) != 1)
            ReportError("Fatal Error: Failed to delete dcPrinter in Print!");
        return;
    }

    if (StartDocA(dcPrinter, &docInfo) <= 0)
        ReportError("Fatal Error: Failed to StartDoc in Print!");
    if (StartPage(dcPrinter) <= 0)
        ReportError("Fatal Error: Failed to StartPage in Print!");

    const int width = iWindowWidth;
    const int height = iWindowHeight;
    const int printableWidth = GetDeviceCaps(dcPrinter, HORZRES);
    const int printableHeight = GetDeviceCaps(dcPrinter, VERTRES);
    if (!(rasterCaps & RC_STRETCHBLT)) {
        const int left = Halved(printableWidth - width);
        const int top = Halved(printableHeight - height);
        if (BitBlt(dcPrinter, left, top, width, height, dcActive, 0, 0, SRCCOPY) != 1)
            ReportError("Fatal Error: Failed to BitBlt in Print!");
    } else if (width > 0) {
        // The height in floating point, truncated toward zero. A window without width has
        // no picture to scale (and would divide by zero): its page stays blank.
        const int printedHeight = static_cast<int>(static_cast<double>(printableWidth) * height / width);
        const int top = Halved(printableHeight - printedHeight);
        if (StretchBlt(dcPrinter, 0, top, printableWidth, printedHeight, dcActive, 0, 0, width, height, SRCCOPY) !=
            1)
            ReportError("Fatal Error: Failed to StretchBlt in Print!");
    }

    if (EndPage(dcPrinter) <= 0)
        ReportError("Fatal Error: Failed to EndPage in Print!");
    if (EndDoc(dcPrinter) <= 0)
        ReportError("Fatal Error: Failed to EndDoc in Print!");
    if (DeleteDC(dcPrinter) != 1)
        ReportError("Fatal Error: Failed to delete dcPrinter in Print!");
}
