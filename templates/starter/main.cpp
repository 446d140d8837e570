// A first Quillgraph program: a window, a drawing, and a dot where you click.
#include "graphics.h"

int main()
{
    window win(400, 300, 100, 100); // a 400 x 300 drawing area, 100 pixels from the screen's corner
    win.SetTitle("My first Quillgraph program");
    win.SetPen(NAVY, 3);
    win.SetBrush(GOLD);
    win.DrawCircle(200, 120, 60, STYLE_FILLED); // a gold disc with a navy rim
    win.SetFont(20, FONT_BOLD, FAMILY_SWISS, "Arial");
    win.DrawString(130, 220, "Click anywhere"); // in the pen's colour

    int x, y;
    win.AwaitMouseClick(x, y); // waits for a click
    win.SetBrush(RED);
    win.DrawCircle(x, y, 10, STYLE_FILLED);
    return 0; // the window stays until one more click
}
