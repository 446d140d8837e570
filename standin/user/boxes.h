// boxes.h - modal boxes (MessageBoxA, the print dialog) as the window manager shows them:
// through the active backend, recorded for tests, and answered by a test's script when
// one is waiting.
#ifndef STANDIN_USER_BOXES_H
#define STANDIN_USER_BOXES_H

#include "user/backends/backend.h"

namespace standin::user {

// Shows `box` modally over `owner` (null: no owner) and returns the index of the button
// that answered it, or -1 when no box could be shown. A box that cannot be shown is
// written to standard error instead, with the reason (also left in `why`, if given), so
// its message still reaches the user.
int RunModalBox(HWND owner, const BoxSpec &box, std::string *why = nullptr);

// Where a test attaches to every box; both empty in a program. `answer` gives the index
// of the button that answers the box as a user would, or -1 to show it; `shown` hears of
// each box and the index that answered it (-1: none).
struct BoxHooks {
    int (*answer)(const BoxSpec &box) = nullptr;
    void (*shown)(HWND owner, const BoxSpec &box, int chosen) = nullptr;
};
BoxHooks &TheBoxHooks();

} // namespace standin::user

#endif // STANDIN_USER_BOXES_H
