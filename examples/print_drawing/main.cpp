// print_drawing - draws a small picture with an asymmetric mark and a title, then prints
// the window on one page through the print dialog: choose a printer, "Save as PDF" or
// "Cancel". A click in the window ends it; a key press prints again.
#include "graphics.h"

#include <cstdio>

namespace {

void DrawPicture(window &w)
{
    const int width = w.GetWidth(), height = w.GetHeight();
    w.SetPen(LIGHTSTEELBLUE, 1);
    w.SetBrush(ALICEBLUE);
    w.DrawRectangle(0, 0, width, height, STYLE_FILLED);

    // An F in the top-left corner shows at a glance whether the page is the right way up.
    w.SetPen(FIREBRICK, 1);
    w.SetBrush(FIREBRICK);
    w.DrawRectangle(20, 20, 35, 110, STYLE_FILLED);
    w.DrawRectangle(35, 20, 80, 35, STYLE_FILLED);
    w.DrawRectangle(35, 55, 70, 70, STYLE_FILLED);

    w.SetPen(NAVY, 3);
    w.SetBrush(GOLD);
    w.DrawCircle(width / 2, height / 2, height / 4, STYLE_FILLED);
    w.SetBrush(SEAGREEN);
    w.DrawArc(width - 220, 40, width - 40, 220, 30, 300, STYLE_FILLED);
    w.DrawLine(0, height - 1, width, height - 1, STYLE_FRAME);

    w.SetPen(BLACK, 1);
    w.SetFont(28, FONT_BOLD, FAMILY_SWISS, "Arial");
    w.DrawString(120, height - 60, "Printed with Quillgraph");
    w.UpdateBuffer();
}

} // namespace

int main()
{
    window w(600, 400, 40, 40);
    w.SetTitle("Print: a click ends, a key prints again");
    w.SetBuffering(true); // Print copies the back buffer
    DrawPicture(w);

    std::puts("Choose a printer, \"Save as PDF\" or \"Cancel\" in the print dialog.");
    w.Print();
    for (;;) {
        int x, y;
        char key;
        if (w.PollMouseClick(x, y) != CLICK_NONE)
            break;
        if (w.PollKeyPress(key) != KEY_NONE)
            w.Print();
        Delay(10);
    }
    w.SetCloseWaitsForClick(false);
    return 0;
}
