// devcaps.h - what GetDeviceCaps needs from the layers above gdi, looked up through
// functions they set: the window system's screen size (user/) and a printer DC's page
// (print/). gdi calls neither of them directly.
#ifndef STANDIN_GDI_DEVCAPS_H
#define STANDIN_GDI_DEVCAPS_H

#include <standin/win32.h>

namespace standin::gdi {

struct DeviceLookups {
    // The screen in pixels. Unset (a program that never touches the window system), the
    // headless backend's screen.
    SIZE (*screenSize)() = nullptr;
    // For a printer DC: sets *value to the capability of its page and returns true; false
    // for every other DC. Unset until the first printer DC is made.
    bool (*printerCaps)(HDC hdc, int index, int *value) = nullptr;
};
DeviceLookups &Lookups();

// The capabilities every DC reports alike.
constexpr int kBitsPerPixel = 32;
// Whole millimetres of a length in pixels at `dpi`, rounded to nearest.
int MillimetresOf(int pixels, int dpi);

} // namespace standin::gdi

#endif // STANDIN_GDI_DEVCAPS_H
