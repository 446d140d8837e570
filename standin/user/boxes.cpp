// Modal boxes: the one road every box takes to the backend, and the point where a
// test may answer or watch them.
#include "user/boxes.h"

#include "user/queue.h"

#include <cstdio>

namespace standin::user {

BoxHooks &TheBoxHooks()
{
    static BoxHooks hooks;
    return hooks;
}

int RunModalBox(HWND owner, const BoxSpec &box, std::string *why)
{
    const BoxHooks &hooks = TheBoxHooks();
    int chosen = hooks.answer ? hooks.answer(box) : -1;
    if (chosen < 0) {
        // The box blocks the program: what it drew must be on the screen behind the box.
        PresentDue(true);
        Window *w = FindWindow(owner);
        std::string failure;
        chosen = ActiveBackend().ShowBox(w, box, failure);
        if (chosen < 0) {
            if (failure.empty())
                failure = "the window system refused it";
            std::fprintf(stderr, "%s: %s\n(this box could not be shown: %s)\n", box.caption.c_str(),
                         box.text.c_str(), failure.c_str());
            std::fflush(stderr);
            if (why)
                *why = failure;
        }
    }
    if (hooks.shown)
        hooks.shown(owner, box, chosen);
    return chosen;
}

} // namespace standin::user
