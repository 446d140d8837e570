// echo_input - opens a window, gives it a title, and echoes every click and key press on
// the console. Escape, or closing the window, ends it.
#include "graphics.h"

#include <cstdio>

namespace {

const char *KindName(KeyKind kind)
{
    switch (kind) {
    case KEY_CHARACTER: return "character";
    case KEY_NAVIGATION: return "navigation";
    case KEY_FUNCTION: return "function";
    case KEY_ESCAPE: return "escape";
    default: return "none";
    }
}

} // namespace

int main()
{
    window w(480, 320, 40, 40);
    w.SetTitle("Echo input: click or type, Escape ends");
    std::printf("Click in the window or press keys; Escape ends.\n");
    std::fflush(stdout);

    for (;;) {
        int x, y;
        const ClickKind click = w.PollMouseClick(x, y);
        if (click != CLICK_NONE) {
            std::printf("%s click at (%d, %d)\n", click == CLICK_LEFT ? "left" : "right", x, y);
            std::fflush(stdout);
        }
        char value;
        const KeyKind key = w.PollKeyPress(value);
        if (key == KEY_NONE)
            continue;
        const unsigned char code = static_cast<unsigned char>(value);
        if (key == KEY_CHARACTER && code >= 32 && code != 127)
            std::printf("%s key '%c' (%d)\n", KindName(key), value, code);
        else
            std::printf("%s key %d\n", KindName(key), code);
        std::fflush(stdout);
        if (key == KEY_ESCAPE)
            break;
    }
    // The Escape key's character record is still to come; leave without the closing wait.
    w.SetCloseWaitsForClick(false);
    return 0;
}
