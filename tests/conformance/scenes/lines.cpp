// lines.cpp (scenes) - MoveToEx/LineTo with one-pixel and wide pens: every octant, the
// tie cases, zero length, direction, polylines, and R2_NOT.
#include "../scene.h"

namespace scene {

namespace {

void Line(HDC dc, Results &r, int x0, int y0, int x1, int y1)
{
    POINT old;
    r(MoveToEx(dc, x0, y0, &old));
    r(LineTo(dc, x1, y1));
}

void AddCosmetic(std::vector<Group> &out)
{
    Group g{"lines-thin", 24, 24, {}};
    // A fan from the centre to every third point of a square ring: all eight octants,
    // the diagonals and the axes.
    const int c = 11;
    for (int k = 0; k < 24; ++k) {
        int side = k / 6, t = (k % 6) * 3 - 9;
        int dx = side == 0 ? t : side == 1 ? 9 : side == 2 ? -t : -9;
        int dy = side == 0 ? -9 : side == 1 ? t : side == 2 ? 9 : -t;
        g.Add(Format("fan-%+d%+d", dx, dy), [=](HDC dc, Results &r) { Line(dc, r, c, c, c + dx, c + dy); });
    }
    // Ties between two pixels go to the smaller coordinate whatever the direction.
    const int ties[][4] = {{2, 2, 6, 4}, {6, 4, 2, 2}, {2, 4, 6, 2}, {6, 2, 2, 4}, {2, 2, 3, 4}, {3, 4, 2, 2},
                           {2, 2, 7, 3}, {7, 3, 2, 2}, {2, 2, 5, 5}, {5, 5, 2, 2}, {2, 7, 9, 7}, {9, 7, 2, 7},
                           {3, 1, 3, 20}, {3, 20, 3, 1}, {1, 1, 22, 12}, {22, 12, 1, 1}, {1, 12, 22, 1},
                           {4, 1, 9, 22}, {9, 22, 4, 1}, {1, 3, 22, 4}, {22, 4, 1, 3}, {0, 0, 23, 23}};
    for (const auto &t : ties) {
        int x0 = t[0], y0 = t[1], x1 = t[2], y1 = t[3];
        g.Add(Format("seg-%d,%d-%d,%d", x0, y0, x1, y1), [=](HDC dc, Results &r) { Line(dc, r, x0, y0, x1, y1); });
    }
    g.Add("zero-length", [](HDC dc, Results &r) { Line(dc, r, 5, 5, 5, 5); });
    g.Add("one-pixel", [](HDC dc, Results &r) { Line(dc, r, 5, 5, 6, 6); });
    g.Add("current-position-chain", [](HDC dc, Results &r) {
        // MoveToEx reports the old position; LineTo leaves the current position at its end.
        POINT old = {-7, -7};
        r(MoveToEx(dc, 3, 4, &old));
        r(old.x);
        r(old.y);
        r(LineTo(dc, 18, 4));
        r(LineTo(dc, 18, 19));
        r(LineTo(dc, 3, 19));
        r(LineTo(dc, 3, 4));
        r(MoveToEx(dc, 0, 0, &old));
        r(old.x);
        r(old.y);
    });
    g.Add("width-0-equals-width-1", [](HDC dc, Results &r) {
        for (int w = 0; w <= 1; ++w)
            WithStyle(dc, Frame(w), [&] { Line(dc, r, 2, 3 + w * 9, 21, 9 + w * 9); });
    });
    g.Add("solid-pen-thin", [](HDC dc, Results &r) {
        WithStyle(dc, Frame(1, PS_SOLID), [&] { Line(dc, r, 2, 20, 19, 3); });
    });
    for (int k = 0; k < 2; ++k) {
        // Under R2_NOT the joints of a LineTo chain are inverted once: each segment leaves
        // out its last pixel, which the next segment draws.
        g.Add(k ? "not-closed-chain-pattern" : "not-closed-chain", [](HDC dc, Results &r) {
            r(SetROP2(dc, R2_NOT));
            POINT old;
            MoveToEx(dc, 2, 2, &old);
            r(LineTo(dc, 20, 6));
            r(LineTo(dc, 6, 21));
            r(LineTo(dc, 2, 2));
            r(LineTo(dc, 21, 21));
        }, k ? Background::Pattern : Background::Marker);
    }
    g.Add("not-crossing", [](HDC dc, Results &r) {
        r(SetROP2(dc, R2_NOT));
        Line(dc, r, 0, 11, 24, 11);
        Line(dc, r, 11, 0, 11, 24);
        Line(dc, r, 0, 0, 24, 24);
    }, Background::Pattern);
    out.push_back(std::move(g));
}

void AddWide(std::vector<Group> &out)
{
    Group g{"lines-wide", 32, 32, {}};
    const int widths[] = {2, 3, 4, 5, 7, 10};
    struct Dir { const char *name; int x0, y0, x1, y1; };
    const Dir dirs[] = {{"h", 6, 15, 24, 15},     {"h-rev", 24, 15, 6, 15}, {"v", 15, 6, 15, 24},
                        {"diag", 7, 7, 24, 24},   {"anti", 7, 24, 24, 7},   {"shallow", 5, 10, 26, 19},
                        {"steep", 11, 4, 19, 27}, {"dot", 15, 15, 15, 15}};
    for (int w : widths)
        for (const Dir &d : dirs)
            g.Add(Format("w%d-%s", w, d.name), [=](HDC dc, Results &r) {
                WithStyle(dc, Frame(w), [&] { Line(dc, r, d.x0, d.y0, d.x1, d.y1); });
            });
    // Inside-frame changes nothing for lines: the same lines with a solid pen.
    for (int w : {3, 4})
        for (const Dir &d : {dirs[0], dirs[3]})
            g.Add(Format("solid-w%d-%s", w, d.name), [=](HDC dc, Results &r) {
                WithStyle(dc, Frame(w, PS_SOLID), [&] { Line(dc, r, d.x0, d.y0, d.x1, d.y1); });
            });
    for (int w : {3, 5, 7})
        g.Add(Format("w%d-chain", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Frame(w), [&] {
                POINT old;
                MoveToEx(dc, 5, 26, &old);
                r(LineTo(dc, 9, 6));
                r(LineTo(dc, 26, 12));
                r(LineTo(dc, 22, 26));
            });
        });
    for (int w : {2, 3, 5})
        g.Add(Format("w%d-not", w), [=](HDC dc, Results &r) {
            Style s = Frame(w);
            s.rop = R2_NOT;
            WithStyle(dc, s, [&] {
                Line(dc, r, 4, 8, 27, 8);
                Line(dc, r, 8, 4, 22, 28);
            });
        }, Background::Pattern);
    out.push_back(std::move(g));
}

} // namespace

void AddLineGroups(std::vector<Group> &out)
{
    AddCosmetic(out);
    AddWide(out);
}

} // namespace scene
