// ellipses.cpp (scenes) - Ellipse filled, framed, under R2_NOT, and its elliptic region
// inverted (as the library inverts circles and ellipses): a size ladder from empty to
// 16 x 16 with odd, even, flat and tall boxes, reversed corners, and wide pens.
#include "../scene.h"

#include <array>
#include <utility>

namespace scene {

namespace {

void AddSizes(std::vector<Group> &out)
{
    Group g{"ellipse-sizes", 20, 20, {}};
    const int sizes[][2] = {{0, 0}, {0, 5},  {5, 0},   {1, 1},  {2, 2},  {3, 3},  {4, 4},  {5, 5},
                            {6, 6}, {7, 7},  {8, 8},   {9, 9},  {10, 10}, {11, 11}, {15, 15}, {16, 16},
                            {1, 6}, {2, 7},  {3, 5},   {5, 3},  {4, 7},  {7, 4},  {6, 11}, {11, 6},
                            {16, 9}, {9, 16}, {16, 5}, {2, 9},  {9, 2},  {5, 12}, {3, 13}, {4, 16}};
    for (int look = 0; look < 4; ++look)
        for (const auto &s : sizes) {
            const int w = s[0], h = s[1];
            static const char *names[] = {"fill", "frame", "rgn", "not"};
            Background bg = look >= 2 ? Background::Pattern : Background::Marker;
            g.Add(Format("%s-%dx%d", names[look], w, h), [=](HDC dc, Results &r) {
                switch (look) {
                case 0: WithStyle(dc, Filled(1), [&] { r(Ellipse(dc, 2, 2, 2 + w, 2 + h)); }); break;
                case 1: WithStyle(dc, Frame(1), [&] { r(Ellipse(dc, 2, 2, 2 + w, 2 + h)); }); break;
                case 2: InvertRegion(dc, CreateEllipticRgn(2, 2, 2 + w, 2 + h), r); break;
                default: WithStyle(dc, InvertedByRop(), [&] { r(Ellipse(dc, 2, 2, 2 + w, 2 + h)); }); break;
                }
            }, bg);
        }
    out.push_back(std::move(g));
}

void AddReversed(std::vector<Group> &out)
{
    Group g{"ellipse-reversed", 20, 20, {}};
    for (int swap = 0; swap < 4; ++swap) {
        int l = 3, t = 2, rr = 17, bb = 13;
        if (swap & 1)
            std::swap(l, rr);
        if (swap & 2)
            std::swap(t, bb);
        g.Add(Format("fill-%d,%d,%d,%d", l, t, rr, bb), [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(1), [&] { r(Ellipse(dc, l, t, rr, bb)); });
        });
        g.Add(Format("rgn-%d,%d,%d,%d", l, t, rr, bb), [=](HDC dc, Results &r) {
            InvertRegion(dc, CreateEllipticRgn(l, t, rr, bb), r);
        }, Background::Pattern);
    }
    out.push_back(std::move(g));
}

void AddPens(std::vector<Group> &out)
{
    Group g{"ellipse-pens", 30, 30, {}};
    const int boxes[][4] = {{3, 3, 27, 27}, {2, 7, 28, 22}, {4, 4, 17, 26}};
    const int widths[] = {0, 1, 2, 3, 4, 5, 7, 10};
    for (int b = 0; b < 3; ++b)
        for (int filled = 1; filled >= 0; --filled)
            for (int w : widths) {
                const std::array<int, 4> box = {boxes[b][0], boxes[b][1], boxes[b][2], boxes[b][3]};
                g.Add(Format("box%d-inside-%s-w%d", b, filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                    WithStyle(dc, filled ? Filled(w) : Frame(w), [&] { r(Ellipse(dc, box[0], box[1], box[2], box[3])); });
                });
            }
    for (int w : {2, 3, 5})
        for (int filled = 1; filled >= 0; --filled)
            g.Add(Format("box0-solid-%s-w%d", filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                Style s = filled ? Filled(w, PS_SOLID) : Frame(w, PS_SOLID);
                WithStyle(dc, s, [&] { r(Ellipse(dc, 3, 3, 27, 27)); });
            });
    for (int w : {3, 5})
        g.Add(Format("inside-not-w%d", w), [=](HDC dc, Results &r) {
            Style s = Filled(w);
            s.rop = R2_NOT;
            WithStyle(dc, s, [&] { r(Ellipse(dc, 3, 3, 27, 27)); });
        }, Background::Pattern);
    // Pens as wide as or wider than the box.
    for (int w : {5, 10})
        g.Add(Format("inside-fill-w%d-6x6", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(w), [&] { r(Ellipse(dc, 12, 12, 18, 18)); });
        });
    out.push_back(std::move(g));
}

} // namespace

void AddEllipseGroups(std::vector<Group> &out)
{
    AddSizes(out);
    AddReversed(out);
    AddPens(out);
}

} // namespace scene
