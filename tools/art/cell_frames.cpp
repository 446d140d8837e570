// cell_frames.cpp - the one-cell pictures: a hit (a flash growing into fire and smoke)
// and a miss (a splash and spreading rings), seen from above like the board.
#include "pictures.h"

namespace art {
namespace {

const color kWater(0, 0, 0); // an unfired cell is black with a blue outline
const color kGridBlue(0, 0, 255);
const color kFlash(255, 255, 230);
const color kFlame(255, 140, 0);
const color kDeepFlame(220, 50, 0);
const color kSmoke(105, 105, 105);
const color kDarkSmoke(60, 60, 60);
const color kFoam(235, 245, 255);
const color kSpray(170, 220, 255);
const color kRing(100, 160, 230);
const color kFaintRing(40, 80, 170);

void BlankCell(Canvas &c)
{
    c.Pen(kGridBlue);
    c.Brush(kWater);
    c.Rect(0, 0, 20, 20);
}

void Disc(Canvas &c, int u, int v, int r, const color &fill)
{
    c.Pen(fill);
    c.Brush(fill);
    c.Circle(u, v, r);
}

void Ring(Canvas &c, int u, int v, int r, const color &line)
{
    c.Pen(line);
    c.Circle(u, v, r, STYLE_FRAME);
}

void Flame(Canvas &c, int u, int base, int height, int halfWidth, const color &fill)
{
    c.Pen(fill);
    c.Brush(fill);
    c.Polygon({{u - halfWidth, base}, {u, base - height}, {u + halfWidth, base}});
}

void HitFrame(Canvas &c, int step)
{
    BlankCell(c);
    switch (step) {
    case 1:
        Disc(c, 10, 10, 3, YELLOW);
        Disc(c, 10, 10, 1, kFlash);
        break;
    case 2:
        Disc(c, 10, 10, 6, kFlame);
        Disc(c, 10, 10, 4, YELLOW);
        Disc(c, 10, 10, 2, kFlash);
        break;
    case 3:
        c.Pen(YELLOW);
        c.Brush(kFlame);
        c.Polygon({{10, 1}, {12, 7}, {19, 10}, {12, 13}, {10, 19}, {8, 13}, {1, 10}, {8, 7}});
        Disc(c, 10, 10, 5, YELLOW);
        Disc(c, 10, 10, 2, kFlash);
        break;
    case 4:
        Disc(c, 10, 10, 8, kDeepFlame);
        Disc(c, 10, 10, 6, kFlame);
        Disc(c, 10, 10, 3, YELLOW);
        break;
    case 5:
        Disc(c, 6, 6, 3, kSmoke);
        Flame(c, 6, 18, 11, 4, kDeepFlame);
        Flame(c, 14, 18, 13, 4, kDeepFlame);
        Flame(c, 10, 18, 15, 5, kFlame);
        Flame(c, 10, 18, 8, 3, YELLOW);
        break;
    case 6:
        Disc(c, 6, 5, 4, kSmoke);
        Disc(c, 13, 4, 3, kDarkSmoke);
        Flame(c, 7, 18, 9, 4, kDeepFlame);
        Flame(c, 13, 18, 10, 4, kFlame);
        Flame(c, 10, 18, 5, 2, YELLOW);
        break;
    default:
        Disc(c, 7, 6, 5, kDarkSmoke);
        Disc(c, 14, 5, 4, kSmoke);
        Disc(c, 10, 10, 3, kSmoke);
        Disc(c, 7, 16, 2, kDeepFlame);
        Disc(c, 13, 16, 2, kFlame);
        Disc(c, 10, 15, 1, YELLOW);
        break;
    }
}

void MissFrame(Canvas &c, int step)
{
    BlankCell(c);
    switch (step) {
    case 1:
        c.Pen(kSpray);
        c.Brush(kSpray);
        c.Ellipse(7, 3, 14, 17);
        Disc(c, 10, 9, 2, kFoam);
        break;
    case 2:
        Ring(c, 10, 10, 4, kRing);
        for (auto [u, v] : {std::pair{4, 5}, {16, 5}, {3, 13}, {17, 14}, {10, 2}})
            Disc(c, u, v, 1, kFoam);
        Disc(c, 10, 10, 3, kFoam);
        break;
    case 3:
        Ring(c, 10, 10, 6, kRing);
        Disc(c, 10, 10, 2, kSpray);
        for (auto [u, v] : {std::pair{2, 3}, {18, 4}, {2, 17}, {17, 17}})
            Disc(c, u, v, 1, kSpray);
        break;
    case 4:
        Ring(c, 10, 10, 8, kRing);
        Ring(c, 10, 10, 4, kSpray);
        c.Pen(kFoam);
        c.Pixel(10, 10);
        break;
    default:
        Ring(c, 10, 10, 9, kFaintRing);
        Ring(c, 10, 10, 6, kRing);
        Ring(c, 10, 10, 2, kFaintRing);
        break;
    }
}

} // namespace

void DrawHitFrame(window &win, int x, int y, int step)
{
    Canvas c(win, x, y);
    HitFrame(c, step);
}

void DrawMissFrame(window &win, int x, int y, int step)
{
    Canvas c(win, x, y);
    MissFrame(c, step);
}

} // namespace art
