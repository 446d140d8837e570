// What the sdl2 backend's wait and its choice of scale need of Xlib, apart from its other
// code: Xlib's macros (None, Bool, Status...) and its Window type would clash with the
// stand-in's.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdlib>

namespace standin::user::x11 {

void *DisplayOf(SDL_Window *window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return info.info.x11.display;
}

// Flushes what SDL wrote and says whether events already wait in Xlib's queue, where a
// poll on the connection would not see them.
bool EventsQueued(void *display) { return XEventsQueued(static_cast<Display *>(display), QueuedAfterFlush) > 0; }

int ConnectionFd(void *display) { return ConnectionNumber(static_cast<Display *>(display)); }

// The display's density, which SDL does not report on X11: Xft.dpi, what desktops set for
// a high-density screen, else the screen's own size in millimetres. Asked on a connection
// of its own, before SDL has a window.
double DisplayDpi()
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

} // namespace standin::user::x11
