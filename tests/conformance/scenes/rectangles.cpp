// rectangles.cpp (scenes) - Rectangle in the library's styles (pen and brush, outline
// only, inverted with R2_NOT): degenerate and odd/even sizes, reversed corners, every
// inside-frame width, solid pens, boxes narrower than the pen.
#include "../scene.h"

#include <utility>

namespace scene {

namespace {

struct Look {
    const char *name;
    Style style;
    Background bg;
};

std::vector<Look> ThinLooks()
{
    return {{"fill", Filled(1), Background::Marker},
            {"frame", Frame(1), Background::Marker},
            {"not", InvertedByRop(), Background::Pattern}};
}

void AddSizes(std::vector<Group> &out)
{
    Group g{"rect-sizes", 14, 14, {}};
    const int ws[] = {0, 1, 2, 3, 4, 7};
    const int hs[] = {0, 1, 2, 3, 6};
    for (const Look &look : ThinLooks())
        for (int h : hs)
            for (int w : ws)
                g.Add(Format("%s-%dx%d", look.name, w, h), [=](HDC dc, Results &r) {
                    WithStyle(dc, look.style, [&] { r(Rectangle(dc, 3, 3, 3 + w, 3 + h)); });
                }, look.bg);
    out.push_back(std::move(g));
}

void AddReversed(std::vector<Group> &out)
{
    Group g{"rect-reversed", 16, 16, {}};
    const int boxes[][4] = {{3, 3, 12, 10}, {2, 4, 5, 13}, {4, 4, 6, 5}};
    for (const Look &look : ThinLooks())
        for (const auto &b : boxes)
            for (int swap = 0; swap < 4; ++swap) {
                int l = b[0], t = b[1], rr = b[2], bb = b[3];
                if (swap & 1)
                    std::swap(l, rr);
                if (swap & 2)
                    std::swap(t, bb);
                g.Add(Format("%s-%d,%d,%d,%d", look.name, l, t, rr, bb), [=](HDC dc, Results &r) {
                    WithStyle(dc, look.style, [&] { r(Rectangle(dc, l, t, rr, bb)); });
                }, look.bg);
            }
    out.push_back(std::move(g));
}

void AddPens(std::vector<Group> &out)
{
    Group g{"rect-pens", 30, 26, {}};
    const int widths[] = {0, 1, 2, 3, 4, 5, 7, 10};
    for (int penStyle : {PS_INSIDEFRAME, PS_SOLID})
        for (int filled = 1; filled >= 0; --filled)
            for (int w : widths) {
                const char *ps = penStyle == PS_SOLID ? "solid" : "inside";
                g.Add(Format("%s-%s-w%d", ps, filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                    Style s = filled ? Filled(w, penStyle) : Frame(w, penStyle);
                    WithStyle(dc, s, [&] { r(Rectangle(dc, 4, 4, 25, 21)); });
                });
            }
    // Odd and even box sizes with wide inside-frame pens: where the spare pixel goes.
    for (int w : {2, 3, 4, 5})
        for (int size : {12, 13})
            g.Add(Format("inside-fill-w%d-%dx%d", w, size, size + 3), [=](HDC dc, Results &r) {
                WithStyle(dc, Filled(w), [&] { r(Rectangle(dc, 5, 4, 5 + size, 4 + size + 3)); });
            });
    // Boxes narrower or lower than the pen.
    const int narrow[][4] = {{10, 10, 12, 12}, {10, 6, 13, 20}, {8, 8, 13, 13}, {6, 10, 20, 14}, {10, 10, 11, 20}};
    for (int w : {3, 5, 10})
        for (const auto &b : narrow)
            g.Add(Format("inside-fill-w%d-%dx%d", w, b[2] - b[0], b[3] - b[1]), [=](HDC dc, Results &r) {
                WithStyle(dc, Filled(w), [&] { r(Rectangle(dc, b[0], b[1], b[2], b[3])); });
            });
    // The R2_NOT mix applies to wide pens and the brush alike.
    for (int w : {2, 5})
        g.Add(Format("inside-not-w%d", w), [=](HDC dc, Results &r) {
            Style s = Filled(w);
            s.rop = R2_NOT;
            WithStyle(dc, s, [&] { r(Rectangle(dc, 4, 4, 25, 21)); });
        }, Background::Pattern);
    g.Add("stock-white-brush", [](HDC dc, Results &r) {
        Style s = Filled(1);
        s.brush = Style::Brush::StockWhite;
        WithStyle(dc, s, [&] { r(Rectangle(dc, 4, 4, 25, 21)); });
    });
    out.push_back(std::move(g));
}

} // namespace

void AddRectangleGroups(std::vector<Group> &out)
{
    AddSizes(out);
    AddReversed(out);
    AddPens(out);
}

} // namespace scene
