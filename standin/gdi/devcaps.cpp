// GetDeviceCaps: what a DC's device can do and how large it is. Screen and memory DCs
// describe the display; printer DCs their page, which print/ describes.
#include "gdi/devcaps.h"

#include "common/trace.h"
#include "gdi/dc.h"

namespace {

using namespace standin;

// What GDI reports for a 32-bit display (and memory DCs compatible with it).
constexpr int kDisplayRasterCaps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                                   RC_BIGFONT | RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB | RC_DEVBITS;
constexpr int kDisplayDpi = 96;

int DisplayCaps(int index)
{
    const auto screenSize = gdi::Lookups().screenSize;
    const SIZE screen = screenSize ? screenSize() : SIZE{1920, 1080};
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return gdi::MillimetresOf(screen.cx, kDisplayDpi);
    case VERTSIZE: return gdi::MillimetresOf(screen.cy, kDisplayDpi);
    case HORZRES: return screen.cx;
    case VERTRES: return screen.cy;
    case BITSPIXEL: return gdi::kBitsPerPixel;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return kDisplayRasterCaps;
    case LOGPIXELSX:
    case LOGPIXELSY: return kDisplayDpi;
    default: return 0; // the physical-page indexes mean nothing for a display
    }
}

} // namespace

standin::gdi::DeviceLookups &standin::gdi::Lookups()
{
    static DeviceLookups lookups;
    return lookups;
}

int standin::gdi::MillimetresOf(int pixels, int dpi)
{
    return dpi > 0 ? static_cast<int>(pixels * 25.4 / dpi + 0.5) : 0;
}

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    if (trace::Enter("GetDeviceCaps", hdc, index))
        return 0;
    if (!gdi::FindDC(hdc))
        return 0;
    int value = 0;
    if (const auto printerCaps = gdi::Lookups().printerCaps; printerCaps && printerCaps(hdc, index, &value))
        return value;
    return DisplayCaps(index);
}
