// ship_frames.cpp - a four-cell ship, seen from above, burning, breaking and going under.
// Drawn along u (stern at 0, bow at 80) and across v; a vertical ship is the same
// drawing turned a quarter.
#include "pictures.h"

namespace art {
namespace {

const color kSea(0, 0, 90);
const color kGridBlue(0, 0, 255);
const color kWave(30, 60, 150);
const color kHull(112, 128, 144);
const color kHullEdge(47, 79, 79);
const color kDeck(169, 169, 169);
const color kScorched(64, 56, 48);
const color kFlame(255, 140, 0);
const color kDeepFlame(220, 50, 0);
const color kSmoke(105, 105, 105);
const color kSteam(220, 220, 220);
const color kFoam(235, 245, 255);
const color kOil(20, 20, 35);
const color kKeel(150, 40, 30);
const color kPlank(139, 90, 43);

void Sea(Canvas &c)
{
    c.Pen(kGridBlue);
    c.Brush(kSea);
    c.Rect(0, 0, kShip, kCell);
    c.Pen(kWave);
    for (auto [u, v] : {std::pair{6, 2}, {27, 17}, {49, 2}, {66, 17}})
        c.Line(u, v, u + 5, v);
}

// The hull between stern and bow, squeezed across to `half` (5 is afloat) and stopping
// short of the bow by `bowCut`.
void Hull(Canvas &c, const color &fill, int half, int from = 3, int to = 77)
{
    c.Pen(kHullEdge);
    c.Brush(fill);
    const int bowStart = to - 17 < from ? from : to - 17;
    c.Polygon({{from, 10 - half}, {bowStart, 10 - half}, {to, 10}, {bowStart, 10 + half}, {from, 10 + half}});
}

void Superstructure(Canvas &c, const color &deck)
{
    c.Pen(kHullEdge);
    c.Brush(deck);
    c.Rect(30, 7, 47, 14);
    c.Brush(BLACK);
    c.Circle(38, 10, 2);
    for (int u : {17, 56}) {
        c.Brush(kDeck);
        c.Circle(u, 10, 2);
        c.Line(u, 10, u + 6, 10);
    }
}

void Fire(Canvas &c, int u, int size)
{
    c.Pen(kDeepFlame);
    c.Brush(kDeepFlame);
    c.Circle(u, 10, size + 1);
    c.Pen(kFlame);
    c.Brush(kFlame);
    c.Circle(u, 10, size);
    c.Pen(YELLOW);
    c.Brush(YELLOW);
    c.Circle(u, 10, size / 2);
}

// Smoke drifts towards the stern: a trail of puffs behind a fire.
void Smoke(Canvas &c, int u, int length, const color &shade)
{
    c.Pen(shade);
    c.Brush(shade);
    for (int i = 1; i <= length; ++i)
        c.Ellipse(u - 7 * i - 3, 7 - i % 2 * 2, u - 7 * i + 4, 13 - i % 2 * 2);
}

void Bubbles(Canvas &c, std::initializer_list<std::pair<int, int>> at)
{
    c.Pen(kFoam);
    for (auto [u, v] : at)
        c.Circle(u, v, 1, STYLE_FRAME);
}

void Burning(Canvas &c, int step)
{
    Sea(c);
    const color hull = step >= 8 ? kScorched : kHull;
    Hull(c, hull, step == 9 ? 4 : 5);
    Superstructure(c, step >= 7 ? kSmoke : kDeck);
    if (step >= 6) {
        c.Pen(BLACK);
        c.Line(10, 8, 24, 12);
        c.Line(50, 12, 64, 8);
    }
    if (step >= 4)
        Smoke(c, 60, step >= 7 ? 6 : 3, step >= 8 ? kScorched : kSmoke);
    if (step == 6) { // the magazine goes up
        c.Pen(YELLOW);
        c.Brush(kFlame);
        c.Ellipse(26, 1, 54, 19);
        c.Pen(YELLOW);
        c.Brush(YELLOW);
        c.Ellipse(32, 5, 48, 15);
        return;
    }
    const int fire = step <= 5 ? step : 11 - step;
    Fire(c, 20, 1 + fire / 2);
    if (step >= 2)
        Fire(c, 52, fire / 2);
    if (step >= 3)
        Fire(c, 38, fire / 2 + 1);
    if (step == 9)
        Bubbles(c, {{8, 3}, {70, 16}});
}

void Breaking(Canvas &c, int step)
{
    Sea(c);
    switch (step) {
    case 11: // the keel cracks amidships
        Hull(c, kScorched, 5);
        Superstructure(c, kSmoke);
        c.Pen(BLACK);
        c.Polygon({{39, 4}, {42, 8}, {38, 11}, {42, 16}, {40, 16}, {36, 11}, {40, 8}, {37, 4}});
        Fire(c, 24, 2);
        Smoke(c, 24, 2, kSmoke);
        break;
    case 12: // two halves drift apart
        Hull(c, kScorched, 5, 1, 36);
        Hull(c, kScorched, 5, 44, 78);
        Bubbles(c, {{40, 6}, {41, 13}});
        Fire(c, 58, 2);
        break;
    case 13: // both halves settle, steam rising
        Hull(c, kScorched, 3, 4, 34);
        Hull(c, kScorched, 3, 46, 76);
        c.Pen(kSteam);
        c.Brush(kSteam);
        c.Ellipse(15, 3, 26, 9);
        c.Ellipse(54, 11, 66, 17);
        Bubbles(c, {{40, 10}, {38, 4}, {43, 16}});
        break;
    case 14: // wreck: bow and stern still break the surface
        c.Pen(kFoam);
        c.Brush(kSea);
        c.Ellipse(4, 4, 26, 16);
        c.Ellipse(54, 4, 78, 16);
        Hull(c, kScorched, 3, 6, 22);
        Hull(c, kScorched, 3, 58, 76);
        Bubbles(c, {{35, 8}, {43, 12}, {48, 6}});
        break;
    case 15: // gone under: an oil slick, planks and bubbles
        c.Pen(kOil);
        c.Brush(kOil);
        c.Ellipse(14, 3, 66, 17);
        c.Ellipse(30, 1, 52, 19);
        c.Pen(kPlank);
        c.Brush(kPlank);
        c.Rect(20, 8, 27, 10);
        c.Rect(47, 12, 55, 14);
        c.Rect(58, 5, 63, 7);
        Bubbles(c, {{35, 9}, {41, 13}, {10, 15}, {70, 4}});
        break;
    default: // capsized: the red keel turned to the sky
        c.Pen(kFoam);
        c.Brush(kSea);
        c.Ellipse(1, 1, 79, 19);
        Hull(c, kKeel, 4, 4, 76);
        c.Pen(kHullEdge);
        c.Line(6, 10, 70, 10);
        c.Brush(kDeck);
        c.Rect(62, 8, 66, 12);
        break;
    }
}

} // namespace

void DrawSinkFrame(window &win, int x, int y, bool vertical, int step)
{
    Canvas c(win, x, y, vertical);
    if (step <= 9)
        Burning(c, step);
    else
        Breaking(c, step);
}

} // namespace art
