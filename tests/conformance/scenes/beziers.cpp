// beziers.cpp (scenes) - PolyBezier framed, as the library draws its curves: straight,
// arched, S-shaped, looped and cusped curves, all points equal, two joined segments,
// point counts that are not 3n+1, wide pens.
#include "../scene.h"

namespace scene {

namespace {

struct Curve {
    const char *name;
    std::vector<POINT> points;
};

std::vector<Curve> Curves()
{
    return {
        {"straight", {{2, 4}, {10, 10}, {18, 16}, {29, 24}}},
        {"straight-h", {{2, 15}, {9, 15}, {20, 15}, {29, 15}}},
        {"arch", {{1, 28}, {5, 1}, {25, 1}, {30, 28}}},
        {"arch-down", {{1, 3}, {5, 30}, {25, 30}, {30, 3}}},
        {"s-curve", {{2, 2}, {30, 2}, {2, 29}, {29, 29}}},
        {"loop", {{4, 20}, {30, 2}, {2, 2}, {28, 20}}},
        {"cusp", {{3, 26}, {28, 4}, {3, 4}, {28, 26}}},
        {"shallow", {{1, 16}, {10, 13}, {21, 19}, {30, 16}}},
        {"all-equal", {{15, 15}, {15, 15}, {15, 15}, {15, 15}}},
        {"end-equal", {{6, 24}, {12, 2}, {22, 2}, {6, 24}}},
        {"tiny", {{10, 10}, {11, 12}, {13, 12}, {14, 10}}},
        {"two-segments", {{1, 16}, {4, 2}, {12, 2}, {15, 16}, {18, 30}, {27, 30}, {30, 16}}},
        {"three-segments", {{2, 2}, {28, 2}, {28, 10}, {2, 10}, {2, 18}, {28, 18}, {28, 28}, {2, 28}, {2, 28}, {15, 28}}},
    };
}

void AddCurves(std::vector<Group> &out)
{
    Group g{"beziers", 32, 32, {}};
    for (int w : {1, 3, 5})
        for (const Curve &c : Curves())
            g.Add(Format("w%d-%s", w, c.name), [=, pts = c.points](HDC dc, Results &r) {
                WithStyle(dc, Frame(w), [&] { r(PolyBezier(dc, pts.data(), static_cast<DWORD>(pts.size()))); });
            });
    // Counts other than 3n+1 are refused and draw nothing.
    const std::vector<POINT> many = {{2, 2}, {28, 4}, {4, 28}, {28, 28}, {15, 2}, {2, 15}, {29, 15}};
    for (DWORD n : {0u, 1u, 2u, 3u, 5u, 6u})
        g.Add(Format("count-%u", static_cast<unsigned>(n)), [=](HDC dc, Results &r) {
            WithStyle(dc, Frame(1), [&] { r(PolyBezier(dc, many.data(), n)); });
        });
    g.Add("w10-arch", [](HDC dc, Results &r) {
        const POINT p[] = {{4, 27}, {8, 3}, {23, 3}, {27, 27}};
        WithStyle(dc, Frame(10), [&] { r(PolyBezier(dc, p, 4)); });
    });
    g.Add("w1-not-loop", [](HDC dc, Results &r) {
        const POINT p[] = {{4, 20}, {30, 2}, {2, 2}, {28, 20}};
        Style s = Frame(1);
        s.rop = R2_NOT;
        WithStyle(dc, s, [&] { r(PolyBezier(dc, p, 4)); });
    }, Background::Pattern);
    out.push_back(std::move(g));
}

// Curves at negative coordinates, partly off the surface: the halving of the subdivision
// rounds the fixed-point midpoints there. And the current position after PolyBezier.
void AddCurvesAtNegatives(std::vector<Group> &out)
{
    Group g{"beziers-negative", 32, 32, {}};
    const std::vector<Curve> curves = {
        {"left", {{-21, 3}, {-3, 41}, {14, -27}, {29, 22}}},
        {"top", {{3, -19}, {35, -3}, {-13, 25}, {27, -7}}},
        {"corner", {{-9, -13}, {-1, 37}, {33, -29}, {-3, 29}}},
        {"far", {{-97, -61}, {41, 5}, {-5, 45}, {45, -83}}},
        {"odd", {{-7, -5}, {-1, 31}, {-23, 9}, {30, 1}, {41, 13}, {-3, 27}, {15, 30}}},
    };
    for (int w : {1, 3})
        for (const Curve &c : curves)
            g.Add(Format("w%d-%s", w, c.name), [=, pts = c.points](HDC dc, Results &r) {
                WithStyle(dc, Frame(w), [&] { r(PolyBezier(dc, pts.data(), static_cast<DWORD>(pts.size()))); });
            });
    // GDI's PolyBezier neither uses nor moves the current position: the line runs from
    // where MoveToEx left it.
    g.Add("then-lineto", [](HDC dc, Results &r) {
        const POINT p[] = {{4, 4}, {12, 2}, {20, 12}, {26, 6}};
        WithStyle(dc, Frame(1), [&] {
            r(MoveToEx(dc, 3, 28, nullptr));
            r(PolyBezier(dc, p, 4));
            r(LineTo(dc, 28, 28));
        });
    });
    out.push_back(std::move(g));
}

} // namespace

void AddBezierGroups(std::vector<Group> &out)
{
    AddCurves(out);
    AddCurvesAtNegatives(out);
}

} // namespace scene
