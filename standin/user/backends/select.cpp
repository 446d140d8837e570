// Which backend runs: sdl2 for programs, headless once a test or QUILLGRAPH_BACKEND has
// asked for it. Created on first use, so a program that never opens a window never
// touches the display; the runner starts with it.
#include "user/backends/backend.h"

#include "user/backends/runner.h"
#include "user/backends/settings.h"

#include "gdi/devcaps.h"

namespace standin::user {

namespace {

struct Choice {
    std::unique_ptr<Backend> backend;
    bool headless = false;
};

Choice &Selected()
{
    static Choice choice;
    return choice;
}

// GetDeviceCaps of screen and memory DCs asks for the screen through this; set as the
// program starts, it creates the backend only when first asked, as every call here does.
const bool screenSizeLookedUp = [] {
    gdi::Lookups().screenSize = [] { return ActiveBackend().ScreenSize(); };
    return true;
}();

} // namespace

Backend *CurrentBackend() { return Selected().backend.get(); }

Backend &ActiveBackend()
{
    Choice &c = Selected();
    if (!c.backend) {
        if (CurrentSettings().backend == Settings::BackendChoice::Headless)
            c.headless = true;
#ifdef STANDIN_HAVE_SDL2
        c.backend = c.headless ? MakeHeadlessBackend() : MakeSdl2Backend();
#else
        c.headless = true;
        c.backend = MakeHeadlessBackend();
#endif
        StartRunner(c.headless);
    }
    return *c.backend;
}

bool ChooseHeadlessBackend()
{
    Choice &c = Selected();
    if (c.backend)
        return c.headless;
    c.headless = true;
    return true;
}

} // namespace standin::user
