// What the sdl2 backend's wait needs of Xlib, apart from its other code: Xlib's macros
// (None, Bool, Status...) and its Window type would clash with the stand-in's.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

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

} // namespace standin::user::x11
