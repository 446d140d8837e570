// The X display's density, which SDL does not report on X11: Xft.dpi, what desktops set
// for a high-density screen, else the screen's own size in millimetres. Apart from the
// sdl2 backend because Xlib's macros (None, Bool, Status) clash with everything else.
#include <X11/Xlib.h>

#include <cstdlib>

namespace standin::user {

// Dots per inch, or 0 when there is no X display to ask.
double X11DisplayDpi()
{
    Display *x = XOpenDisplay(nullptr);
    if (!x)
        return 0;
    double dpi = 0;
    if (const char *xft = XGetDefault(x, "Xft", "dpi"))
        dpi = std::atof(xft);
    const int screen = DefaultScreen(x);
    if (!(dpi > 0) && DisplayWidthMM(x, screen) > 0)
        dpi = DisplayWidth(x, screen) * 25.4 / DisplayWidthMM(x, screen);
    XCloseDisplay(x);
    return dpi > 0 ? dpi : 0;
}

} // namespace standin::user
