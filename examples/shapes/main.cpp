// shapes - one of each shape in each draw style: a row per style (filled, frame,
// inverted), a column per shape. Drawn into the back buffer and shown at once; a click
// in the window ends it. Shapes a style does not take write their error line instead.
#include "graphics.h"

#include <cstdio>

namespace {

const int cell = 70; // each shape gets a square cell this wide

void DrawShapes(window &w, drawstyle style, int top)
{
    const int starX[] = {35, 55, 5, 65, 15};
    const int starY[] = {5, 65, 28, 28, 65};
    int xs[5], ys[5];
    for (int i = 0; i < 5; ++i) {
        xs[i] = starX[i] + 5 * cell;
        ys[i] = starY[i] + top;
    }
    const int bottom = top + cell - 10;
    w.DrawLine(10, top, 60, bottom, style);
    w.DrawRectangle(cell + 5, top, 2 * cell - 5, bottom, style);
    w.DrawRectangle(2 * cell + 5, top, 3 * cell - 5, bottom, style, 20, 20);
    w.DrawTriangle(3 * cell + 5, bottom, 3 * cell + 35, top, 4 * cell - 5, bottom, style);
    w.DrawCircle(4 * cell + 35, top + 30, 28, style);
    w.DrawPolygon(xs, ys, 5, style);
    w.DrawEllipse(6 * cell + 5, top + 10, 7 * cell - 5, bottom - 10, style);
    w.DrawArc(7 * cell + 5, top, 8 * cell - 5, bottom, 30, 300, style);
    w.DrawBezier(8 * cell + 5, bottom, 8 * cell + 5, top, 9 * cell - 5, bottom, 9 * cell - 5, top, style);
    for (int x = 9 * cell + 10; x < 10 * cell - 10; x += 4)
        w.DrawPixel(x, top + 30);
}

} // namespace

int main()
{
    window w(10 * cell, 3 * cell + 10, 40, 40);
    w.SetTitle("Shapes: filled, frame, inverted");
    w.SetBuffering(true);

    // A striped ground shows what the inverted row inverts.
    for (int y = 0; y < w.GetHeight(); y += 10) {
        const bool dark = (y / 10) % 2 == 0;
        w.SetPen(dark ? LIGHTSTEELBLUE : WHITE, 1);
        w.SetBrush(dark ? LIGHTSTEELBLUE : WHITE);
        w.DrawRectangle(0, y, w.GetWidth(), y + 10, STYLE_FILLED);
    }

    w.SetPen(NAVY, 3);
    w.SetBrush(GOLD);
    const drawstyle styles[] = {STYLE_FILLED, STYLE_FRAME, STYLE_INVERTED};
    for (int row = 0; row < 3; ++row)
        DrawShapes(w, styles[row], 5 + row * cell);
    w.UpdateBuffer();

    const color centre = w.GetColor(4 * cell + 35, 35);
    std::printf("The filled circle's centre reads back as (%d, %d, %d).\n", centre.ucRed, centre.ucGreen,
                centre.ucBlue);
    std::fflush(stdout);
    return 0; // the window waits for a click as it closes
}
