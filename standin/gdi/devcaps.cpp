// GetDeviceCaps: what a DC's device can do and how large it is. Screen and memory DCs
// describe the display; printer DCs their page at the printer's resolution.
#include "common/trace.h"
#include "gdi/dc.h"
#include "print/printer_dc.h"
#include "user/backends/backend.h"

namespace {

using namespace standin;

// What GDI reports for a 32-bit display (and memory DCs compatible with it).
constexpr int kDisplayRasterCaps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                                   RC_BIGFONT | RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB | RC_DEVBITS;
constexpr int kDisplayDpi = 96;

int MillimetresOf(int pixels, int dpi) { return dpi > 0 ? static_cast<int>(pixels * 25.4 / dpi + 0.5) : 0; }

int DisplayCaps(int index)
{
    const SIZE screen = user::ActiveBackend().ScreenSize();
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return MillimetresOf(screen.cx, kDisplayDpi);
    case VERTSIZE: return MillimetresOf(screen.cy, kDisplayDpi);
    case HORZRES: return screen.cx;
    case VERTRES: return screen.cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return kDisplayRasterCaps;
    case LOGPIXELSX:
    case LOGPIXELSY: return kDisplayDpi;
    default: return 0; // the physical-page indexes mean nothing for a display
    }
}

int PrinterCaps(const print::PrintJob &job, int index)
{
    const print::PageGeometry &g = job.Geometry();
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return MillimetresOf(g.WidthPx(), g.xDpi);
    case VERTSIZE: return MillimetresOf(g.HeightPx(), g.yDpi);
    case HORZRES: return g.WidthPx();
    case VERTRES: return g.HeightPx();
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return static_cast<int>(job.RasterCaps());
    case LOGPIXELSX: return g.xDpi;
    case LOGPIXELSY: return g.yDpi;
    case PHYSICALWIDTH: return static_cast<int>(int64_t{g.media.width} * g.xDpi / 2540);
    case PHYSICALHEIGHT: return static_cast<int>(int64_t{g.media.length} * g.yDpi / 2540);
    case PHYSICALOFFSETX: return g.LeftPx();
    case PHYSICALOFFSETY: return g.TopPx();
    default: return 0;
    }
}

} // namespace

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    if (trace::Enter("GetDeviceCaps", hdc, index))
        return 0;
    if (!gdi::FindDC(hdc))
        return 0;
    if (const print::PrintJob *job = print::FindPrintJob(hdc))
        return PrinterCaps(*job, index);
    return DisplayCaps(index);
}
