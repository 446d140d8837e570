// posters.cpp - the two large pictures: the title with a warship at sea at dusk, and the
// victory picture with fireworks over the empty sea.
#include "pictures.h"

#include <cmath>
#include <cstdint>

namespace art {
namespace {

constexpr double kPi = 3.141592653589793;

color Mix(const color &a, const color &b, int i, int n)
{
    auto channel = [&](int from, int to) { return static_cast<unsigned char>(from + (to - from) * i / n); };
    return color(channel(a.ucRed, b.ucRed), channel(a.ucGreen, b.ucGreen), channel(a.ucBlue, b.ucBlue));
}

// Horizontal bands from `top` colour to `bottom` colour, 4 pixels each.
void Gradient(window &win, int x, int y, int width, int height, const color &top, const color &bottom)
{
    const int bands = height / 4;
    for (int i = 0; i < bands; ++i) {
        const color c = Mix(top, bottom, i, bands);
        win.SetPen(c, 1);
        win.SetBrush(c);
        win.DrawRectangle(x, y + 4 * i, x + width, y + 4 * i + 4 + (i == bands - 1 ? height % 4 : 0), STYLE_FILLED, 0, 0);
    }
}

void CentredText(window &win, int centreX, int y, const char *text, const color &ink)
{
    int w = 0, h = 0;
    win.GetStringSize(w, h, text);
    win.SetPen(ink, 1);
    win.DrawString(centreX - w / 2, y, text);
}

// A title with a drop shadow, centred on centreX.
void Title(window &win, int centreX, int y, int size, const char *text, const color &ink, const color &shadow)
{
    win.SetFont(size, FONT_BOLD, FAMILY_ROMAN, "Times New Roman");
    int w = 0, h = 0;
    win.GetStringSize(w, h, text);
    win.SetPen(shadow, 1);
    win.DrawString(centreX - w / 2 + 3, y + 3, text);
    win.SetPen(ink, 1);
    win.DrawString(centreX - w / 2, y, text);
}

void Waves(window &win, int x, int y, int width, int height, const color &crest)
{
    win.SetPen(crest, 1);
    for (int row = 0; row * 22 < height - 10; ++row) {
        const int wy = y + 8 + row * 22;
        for (int wx = x + (row % 2) * 20 - 10; wx < x + width - 20; wx += 40)
            win.DrawArc(wx, wy, wx + 24, wy + 10, 20, 160, STYLE_FRAME, 0);
    }
}

void Warship(window &win, int x, int waterline)
{
    const color hull(40, 44, 56);
    const color upper(70, 76, 92);
    win.SetPen(hull, 1);
    win.SetBrush(hull);
    int hx[] = {x, x + 250, x + 232, x + 24};
    int hy[] = {waterline - 26, waterline - 30, waterline + 2, waterline + 2};
    win.DrawPolygon(hx, hy, 4, STYLE_FILLED);
    win.SetPen(upper, 1);
    win.SetBrush(upper);
    win.DrawRectangle(x + 80, waterline - 52, x + 170, waterline - 26, STYLE_FILLED, 0, 0);
    win.DrawRectangle(x + 100, waterline - 74, x + 140, waterline - 52, STYLE_FILLED, 0, 0);
    win.DrawRectangle(x + 150, waterline - 82, x + 164, waterline - 52, STYLE_FILLED, 0, 0); // funnel
    for (int tx : {x + 40, x + 196}) {                                                       // gun turrets
        win.DrawRectangle(tx, waterline - 38, tx + 26, waterline - 26, STYLE_FILLED, 0, 0);
        win.SetPen(upper, 3);
        win.DrawLine(tx + (tx < x + 100 ? 0 : 26), waterline - 33, tx + (tx < x + 100 ? -22 : 48), waterline - 37, STYLE_FRAME);
        win.SetPen(upper, 1);
    }
    win.SetPen(hull, 2);
    win.DrawLine(x + 120, waterline - 74, x + 120, waterline - 112, STYLE_FRAME); // mast
    win.DrawLine(x + 108, waterline - 100, x + 132, waterline - 100, STYLE_FRAME);
    const color smoke(150, 140, 150);
    win.SetPen(smoke, 1);
    win.SetBrush(smoke);
    for (int i = 0; i < 5; ++i)
        win.DrawEllipse(x + 150 - 22 * i, waterline - 100 - 6 * i, x + 172 - 22 * i + 4 * i, waterline - 84 - 6 * i, STYLE_FILLED);
    // Its reflection on the water.
    win.SetPen(color(20, 30, 70), 1);
    for (int i = 0; i < 5; ++i)
        win.DrawLine(x + 30 + 8 * i, waterline + 8 + 6 * i, x + 220 - 14 * i, waterline + 8 + 6 * i, STYLE_FRAME);
}

void Burst(window &win, int cx, int cy, int radius, const color &c, int rays)
{
    win.SetPen(c, 2);
    for (int i = 0; i < rays; ++i) {
        const double a = 2 * kPi * i / rays;
        const int x = cx + static_cast<int>(radius * std::cos(a));
        const int y = cy - static_cast<int>(radius * std::sin(a));
        win.DrawLine(cx + static_cast<int>(radius * 0.3 * std::cos(a)), cy - static_cast<int>(radius * 0.3 * std::sin(a)), x, y,
                     STYLE_FRAME);
        win.SetBrush(c);
        win.SetPen(c, 1);
        win.DrawCircle(x, y, 3, STYLE_FILLED);
        win.SetPen(c, 2);
    }
    win.SetPen(WHITE, 1);
    win.SetBrush(WHITE);
    win.DrawCircle(cx, cy, 3, STYLE_FILLED);
}

void Star(window &win, int cx, int cy, int outer, int inner, const color &fill, const color &edge)
{
    int xs[10], ys[10];
    for (int i = 0; i < 10; ++i) {
        const double a = kPi / 2 + kPi * i / 5;
        const int r = i % 2 ? inner : outer;
        xs[i] = cx + static_cast<int>(std::lround(r * std::cos(a)));
        ys[i] = cy - static_cast<int>(std::lround(r * std::sin(a)));
    }
    win.SetPen(edge, 2);
    win.SetBrush(fill);
    win.DrawPolygon(xs, ys, 10, STYLE_FILLED);
}

} // namespace

void DrawLogo(window &win, int x, int y)
{
    const int horizon = y + 250;
    Gradient(win, x, y, kPoster, 250, color(16, 24, 72), color(250, 160, 90));
    win.SetPen(color(255, 200, 80), 1);
    win.SetBrush(color(255, 210, 110));
    win.DrawArc(x + 250, horizon - 46, x + 346, horizon + 50, 0, 180, STYLE_FILLED, 0); // the setting sun
    Gradient(win, x, horizon, kPoster, kPoster - 250, color(30, 50, 110), color(5, 10, 40));
    win.SetPen(color(255, 190, 120), 1);
    for (int i = 0; i < 6; ++i) // the sun's glitter
        win.DrawLine(x + 270 + 3 * i, horizon + 6 + 9 * i, x + 328 - 3 * i, horizon + 6 + 9 * i, STYLE_FRAME);
    Waves(win, x, horizon + 40, kPoster, kPoster - 290, color(70, 100, 170));
    Warship(win, x + 50, horizon + 4);

    Title(win, x + kPoster / 2, y + 26, 64, "Quen's Zarn", color(255, 215, 0), color(40, 20, 10));
    win.SetFont(18, FONT_ITALIC, FAMILY_ROMAN, "Times New Roman");
    CentredText(win, x + kPoster / 2, y + 104, "seventeen ships hide in the grid", WHITE);

    win.SetPen(color(255, 215, 0), 3);
    win.DrawRectangle(x, y, x + kPoster, y + kPoster, STYLE_FRAME, 0, 0);
}

void DrawVictory(window &win, int x, int y)
{
    Gradient(win, x, y, kPoster, kPoster, color(5, 5, 30), color(20, 30, 90));
    Burst(win, x + 80, y + 80, 50, color(255, 80, 80), 12);
    Burst(win, x + 320, y + 70, 44, color(120, 255, 120), 10);
    Burst(win, x + 205, y + 45, 34, color(255, 220, 60), 14);
    Burst(win, x + 345, y + 200, 30, color(120, 180, 255), 9);
    Burst(win, x + 50, y + 215, 28, color(255, 120, 255), 9);

    // Confetti from a fixed little generator: the same picture on every build.
    uint32_t seed = 12345;
    const color confetti[] = {color(255, 215, 0), color(255, 80, 80), color(120, 200, 255), WHITE};
    for (int i = 0; i < 60; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int cx = x + 10 + static_cast<int>((seed >> 8) % 380);
        seed = seed * 1103515245u + 12345u;
        const int cy = y + 10 + static_cast<int>((seed >> 8) % 300);
        win.SetPen(confetti[i % 4], 1);
        win.SetBrush(confetti[i % 4]);
        win.DrawRectangle(cx, cy, cx + 4, cy + 3, STYLE_FILLED, 0, 0);
    }

    Title(win, x + kPoster / 2, y + 120, 72, "VICTORY!", color(255, 215, 0), color(150, 0, 0));
    win.SetFont(26, FONT_BOLD, FAMILY_SWISS, "Arial");
    CentredText(win, x + kPoster / 2, y + 215, "All 17 ships sunk", WHITE);
    win.SetFont(18, FONT_ITALIC, FAMILY_SWISS, "Arial");
    CentredText(win, x + kPoster / 2, y + 250, "The admiralty salutes you", color(200, 220, 255));

    // The medal on its ribbon.
    win.SetPen(color(120, 0, 0), 1);
    win.SetBrush(color(200, 20, 40));
    win.DrawTriangle(x + 170, y + 285, x + 200, y + 285, x + 190, y + 330, STYLE_FILLED);
    win.DrawTriangle(x + 200, y + 285, x + 230, y + 285, x + 210, y + 330, STYLE_FILLED);
    win.SetPen(color(160, 110, 0), 2);
    win.SetBrush(color(255, 200, 40));
    win.DrawCircle(x + 200, y + 345, 40, STYLE_FILLED);
    Star(win, x + 200, y + 345, 30, 12, color(255, 240, 150), color(160, 110, 0));

    win.SetPen(color(255, 215, 0), 3);
    win.DrawRectangle(x, y, x + kPoster, y + kPoster, STYLE_FRAME, 0, 0);
}

} // namespace art
