// MessageBoxA: the window system's message box, with Win32's button sets, icons, default
// buttons and answers.
#include "common/trace.h"
#include "user/boxes.h"

#include <standin/win32.h>

namespace {

using standin::user::BoxSpec;

struct ButtonSet {
    const char *labels[3];
    int ids[3];
    int count;
    int cancel; // the button Escape and the close box pick; -1 when the box cannot be dismissed
};

// Win32's button sets by MB_TYPEMASK value; the labels are the ones its boxes show.
constexpr ButtonSet kButtonSets[] = {
    {{"OK"}, {IDOK}, 1, 0},                                                      // MB_OK
    {{"OK", "Cancel"}, {IDOK, IDCANCEL}, 2, 1},                                  // MB_OKCANCEL
    {{"Abort", "Retry", "Ignore"}, {IDABORT, IDRETRY, IDIGNORE}, 3, -1},         // MB_ABORTRETRYIGNORE
    {{"Yes", "No", "Cancel"}, {IDYES, IDNO, IDCANCEL}, 3, 2},                    // MB_YESNOCANCEL
    {{"Yes", "No"}, {IDYES, IDNO}, 2, -1},                                       // MB_YESNO
    {{"Retry", "Cancel"}, {IDRETRY, IDCANCEL}, 2, 1},                            // MB_RETRYCANCEL
    {{"Cancel", "Try Again", "Continue"}, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, 3, 0}, // MB_CANCELTRYCONTINUE
};

BoxSpec::Icon IconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return BoxSpec::Icon::Error;
    case MB_ICONQUESTION: return BoxSpec::Icon::Question;
    case MB_ICONEXCLAMATION: return BoxSpec::Icon::Warning;
    case MB_ICONASTERISK: return BoxSpec::Icon::Information;
    default: return BoxSpec::Icon::None;
    }
}

} // namespace

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    using namespace standin;
    if (trace::Enter("MessageBoxA", hWnd, lpText, lpCaption, uType))
        return 0;
    const UINT kind = uType & MB_TYPEMASK;
    if ((hWnd && !user::FindWindow(hWnd)) || kind >= sizeof kButtonSets / sizeof kButtonSets[0])
        return 0;
    const ButtonSet &set = kButtonSets[kind];

    BoxSpec box;
    box.caption = lpCaption ? lpCaption : "Error"; // Win32's caption when none is given
    box.text = lpText ? lpText : "";
    box.icon = IconFor(uType);
    for (int i = 0; i < set.count; ++i)
        box.buttons.push_back(set.labels[i]);
    const int defaultIndex = static_cast<int>((uType & MB_DEFMASK) >> 8);
    box.defaultButton = defaultIndex < set.count ? defaultIndex : 0;
    box.cancelButton = set.cancel;

    const int chosen = user::RunModalBox(hWnd, box);
    return chosen < 0 ? 0 : set.ids[chosen];
}
